#pragma once

#include <juce_core/juce_core.h>

// Presets and sub-presets are small; anything larger, or anything that is not a regular file
// (a folder, a FIFO, a device), is treated as unreadable so a load can never block or balloon.
constexpr juce::int64 maximumPresetFileBytes = 16 * 1024 * 1024;

// Reads the whole file into the block; false, with the block untouched, when it is unreadable.
bool readPresetFile (const juce::File& file, juce::MemoryBlock& contents);

// Replaces the file with exactly these bytes, or leaves whatever was there untouched and says why
// in a sentence for the user: the bytes go to a hidden file beside the target first, which is
// moved over it only once every byte is on disk. Missing parent folders are created; a folder at
// the target is never replaced, and neither is anything at a path that is not a full one.
juce::Result replaceFileSafely (const juce::String& targetPath, const juce::MemoryBlock& contents);

// A preset's name as shown: the last path component without its extension.
inline juce::String fileNameWithoutExtension (const juce::String& path)
{
    const auto name = path.fromLastOccurrenceOf (juce::File::getSeparatorString(), false, false);
    const auto lastDot = name.lastIndexOfChar ('.');
    return lastDot > 0 ? name.substring (0, lastDot) : name;
}
