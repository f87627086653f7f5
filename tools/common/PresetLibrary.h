#pragma once

// A generated preset library and a folder menu built over it without showing it, shared by the
// folder menu tests and the preset benchmark.

#include "presets/PresetManager.h"

#include <juce_core/juce_core.h>

namespace presetlibrary
{
// Names whose order ignoring case differs from their byte order: "set 000", "Set 001", ...
inline juce::String folderName (int index)
{
    return (index % 2 == 0 ? "set " : "Set ") + juce::String (index).paddedLeft ('0', 3);
}

inline juce::String presetName (int index)
{
    return (index % 2 == 0 ? "preset " : "Preset ") + juce::String (index).paddedLeft ('0', 3);
}

// Writes folders sub-folders below the folder, each holding presetsPerFolder empty files with
// the extension, named by folderName and presetName. They are made in an order that is neither
// their menu order nor their byte order, so a walk that follows the file system's order shows.
inline void write (const juce::File& folder, int folders, int presetsPerFolder, const juce::String& extension)
{
    // Stepping by a prime larger than either count visits every index once, out of order.
    constexpr int scramble = 7919;
    for (int f = 0; f < folders; ++f)
    {
        const auto subFolder = folder.getChildFile (folderName (f * scramble % folders));
        subFolder.createDirectory();
        for (int p = 0; p < presetsPerFolder; ++p)
            subFolder.getChildFile (presetName (p * scramble % presetsPerFolder) + extension).create();
    }
}

// One build of the folder's menu as the menus start it, without showing it; returns the number of
// files it lists.
inline int buildMenu (PresetManager& presets, const juce::String& folderPath, const juce::String& extension,
                      bool saveMode, const juce::String& currentPath = {})
{
    presets.fileCount = presets.lastMenuIndex = presets.tickedItemId = presets.currentItemId = 0;
    presets.unlistedFileCount = 0;
    presets.saveMode = saveMode ? -1 : 0;
    presets.fileList.clear();
    for (auto& menu : presets.menus)
        menu.clear();
    auto current = currentPath;
    return presets.getDirMenu (folderPath, extension, &current);
}
} // namespace presetlibrary
