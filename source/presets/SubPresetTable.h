#pragma once

#include <juce_core/juce_core.h>

#include <cstdint>

// One entry of a sub-preset group: how the entry is treated, and the parameter it names.
struct SubPresetParam
{
    std::int32_t flags;
    juce::String paramID;
};

// Entry flags: stored and randomised (0), stored but never randomised, a reserved four-byte
// slot, not stored at all (a bit), and the end of the list.
namespace SubPresetFlags
{
constexpr std::int32_t stored = 0;
constexpr std::int32_t storedNotRandomised = 0x100;
constexpr std::int32_t reservedSlot = 0x400;
constexpr std::int32_t notStoredBit = 0x8000;
constexpr std::int32_t endOfList = 0xFF;
constexpr std::int32_t notRandomisedBits = 0x8500;
} // namespace SubPresetFlags

// One sub-preset group: its menus' title, its folder below the preset root, its file
// extension and its entries in file order, ended by an entry flagged endOfList.
struct SubPresetST
{
    juce::String title;
    juce::String folder;
    juce::String extension;
    SubPresetParam params[100];
};

constexpr int numberOfSubPresetSlots = 20;
// Only the first groups are defined (tone, melt flow, melt drop-out, melt jump, echo); the rest
// stay empty.
constexpr int numberOfSubPresetGroups = 5;

extern const juce::String directorySeperator;
extern const SubPresetST SubPresets[numberOfSubPresetSlots];
// The empty entry that brackets each folder's files in a menu build's file list.
extern const juce::String pmDummy;
