#pragma once

#include "engine/PluginProcessor.h"
#include "presets/PresetManager.h"

#include <juce_core/juce_core.h>

#include <cstring>
#include <memory>
#include <ostream>

namespace juce
{
// Failed comparisons of snapshots and answered menus print their lines.
inline void PrintTo (const StringArray& lines, std::ostream* out)
{
    *out << "\n    " << lines.joinIntoString ("\n    ");
}
} // namespace juce

namespace testsupport
{
// A processor whose preset manager works in a preset root of its own, inside a scratch folder
// that is removed afterwards (the scratch folder also shows anything written beside the root).
// The scratch folder lies in the test process's own home folder, which no other process uses.
class ScratchPresets
{
public:
    ScratchPresets()
        : scratch (juce::File::getSpecialLocation (juce::File::userHomeDirectory)
                       .getNonexistentChildFile ("scratch", "", false)),
          root (scratch.getChildFile ("Rirorezo3")), processor (std::make_unique<Rirorezo3AudioProcessor>()),
          presets (*processor->presetManager)
    {
        root.createDirectory();
        presets.rootPath = root.getFullPathName();
    }

    ~ScratchPresets() { scratch.deleteRecursively(); }

    // A file below the root with the given bytes, its folders made as needed.
    juce::File place (const juce::String& relativePath, const juce::MemoryBlock& contents) const
    {
        const auto file = root.getChildFile (relativePath);
        file.getParentDirectory().createDirectory();
        file.replaceWithData (contents.getData(), contents.getSize());
        return file;
    }

    juce::File place (const juce::String& relativePath, const char* text = "old") const
    {
        return place (relativePath, juce::MemoryBlock (text, std::strlen (text)));
    }

    juce::File folder (const juce::String& relativePath) const
    {
        const auto made = root.getChildFile (relativePath);
        made.createDirectory();
        return made;
    }

    juce::String path (const juce::String& relativePath) const
    {
        return root.getChildFile (relativePath).getFullPathName();
    }

    // Every file and folder below the scratch folder with its bytes, to show that nothing changed.
    juce::StringArray snapshot() const
    {
        juce::StringArray entries;
        for (const auto& entry :
             juce::RangedDirectoryIterator (scratch, true, "*", juce::File::findFilesAndDirectories))
        {
            const auto& file = entry.getFile();
            juce::MemoryBlock bytes;
            if (!file.isDirectory())
                file.loadFileAsData (bytes);
            entries.add (file.getRelativePathFrom (scratch) +
                         (file.isDirectory() ? "/" : " " + bytes.toBase64Encoding()));
        }
        entries.sort (false);
        return entries;
    }

    const juce::File scratch;
    const juce::File root;
    std::unique_ptr<Rirorezo3AudioProcessor> processor;
    PresetManager& presets;
};

inline juce::MemoryBlock contentsOf (const juce::File& file)
{
    juce::MemoryBlock bytes;
    file.loadFileAsData (bytes);
    return bytes;
}
} // namespace testsupport
