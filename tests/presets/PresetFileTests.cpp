#include "ScratchPresets.h"
#include "StateBlobs.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

#include <sys/resource.h>

using namespace testsupport;

namespace
{
// Runs the action while the process may write no file beyond the given size, so that a write
// fails part-way as it does on a full disk.
void withFileSizeLimit (rlim_t bytes, const std::function<void()>& action)
{
    rlimit previous{};
    ASSERT_EQ (getrlimit (RLIMIT_FSIZE, &previous), 0);
    auto limited = previous;
    limited.rlim_cur = bytes;
    const auto previousHandler = std::signal (SIGXFSZ, SIG_IGN);
    ASSERT_EQ (setrlimit (RLIMIT_FSIZE, &limited), 0);
    action();
    setrlimit (RLIMIT_FSIZE, &previous);
    std::signal (SIGXFSZ, previousHandler);
}

juce::MemoryBlock bytesOfSize (size_t size)
{
    juce::MemoryBlock bytes (size);
    bytes.fillWith ('x');
    return bytes;
}
} // namespace

TEST (PresetFile, SavedPresetIsExactlyTheStateAndReloadsUnderItsOwnPath)
{
    ScratchPresets source;
    scatterParameters (*source.processor, 3);
    source.presets.subPresetPaths[2] = "/somewhere/Drop.Mdsp";
    // A larger file is there already: nothing of it may remain.
    const auto target = source.place ("Presets/Warm.dod", bytesOfSize (100000));

    source.presets.savePresetFile (&source.presets.presetPath, target.getFullPathName());

    EXPECT_EQ (source.presets.presetPath, target.getFullPathName());
    EXPECT_EQ (source.presets.presetName, "Warm");
    EXPECT_EQ (contentsOf (target), stateOf (*source.processor));
    EXPECT_EQ (target.getParentDirectory().getNumberOfChildFiles (juce::File::findFilesAndDirectories), 1);

    // Loaded as a copy, the preset takes the copy's path and name, not the path stored inside.
    ScratchPresets other;
    const auto copy = other.place ("Presets/Copy.dod", contentsOf (target));
    other.presets.presetPath = copy.getFullPathName();
    other.presets.loadPresetFile (other.presets.presetPath);

    EXPECT_EQ (parameterValues (*other.processor), parameterValues (*source.processor));
    EXPECT_EQ (other.presets.presetPath, copy.getFullPathName());
    EXPECT_EQ (other.presets.presetName, "Copy");
    EXPECT_EQ (other.presets.subPresetPaths[2], "/somewhere/Drop.Mdsp");
    EXPECT_EQ (other.presets.loadingPresetFile, 0);
}

TEST (PresetFile, UnreadableFileChangesNothingAndAnInvalidOneOnlyTheName)
{
    const struct
    {
        const char* what;
        std::function<void (ScratchPresets&)> make;
        const char* nameAfter;
    } cases[] = {
        {"bytes that are no state", [] (ScratchPresets& s) { s.place ("Presets/Junk.dod", "no state"); }, "Junk"},
        {"a folder", [] (ScratchPresets& s) { s.folder ("Presets/Junk.dod"); }, "Untitled"},
        {"over 16 MiB", [] (ScratchPresets& s) { s.place ("Presets/Junk.dod", bytesOfSize (16 * 1024 * 1024 + 1)); },
         "Untitled"},
        {"missing", [] (ScratchPresets&) {}, "Untitled"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        ScratchPresets scratch;
        c.make (scratch);
        const auto before = parameterValues (*scratch.processor);

        scratch.presets.loadPresetFile (scratch.path ("Presets/Junk.dod"));

        EXPECT_EQ (parameterValues (*scratch.processor), before);
        EXPECT_EQ (scratch.presets.presetName, c.nameAfter);
        EXPECT_EQ (scratch.presets.loadingPresetFile, 0);
    }
}

TEST (PresetFile, FailedSaveKeepsTheOldFileTheNameAndThePaths)
{
    const struct
    {
        const char* what;
        bool subPreset;
        bool ontoFolder;
    } cases[] = {
        {"preset cut off part-way", false, false},
        {"preset onto a folder", false, true},
        {"sub-preset cut off part-way", true, false},
        {"sub-preset onto a folder", true, true},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        ScratchPresets scratch;
        scatterParameters (*scratch.processor);
        const auto target = c.subPreset ? scratch.path ("SubPresets/Wide.Esp") : scratch.path ("Presets/Warm.dod");
        if (c.ontoFolder)
            juce::File (target).createDirectory();
        else
            scratch.place (juce::File (target).getRelativePathFrom (scratch.root), "old");
        scratch.presets.presetPath = "/before/Before.dod";
        scratch.presets.presetName = "Before";
        scratch.presets.subPresetPaths[4] = "/before/Before.Esp";
        const auto before = scratch.snapshot();

        const auto save = [&]
        {
            if (c.subPreset)
                scratch.presets.saveSubPresetFile (4, target);
            else
                scratch.presets.savePresetFile (&scratch.presets.presetPath, target);
        };
        if (c.ontoFolder)
            save();
        else
            withFileSizeLimit (40, save); // less than either new file, more than the old one

        EXPECT_EQ (scratch.snapshot(), before);
        EXPECT_EQ (scratch.presets.presetPath, "/before/Before.dod");
        EXPECT_EQ (scratch.presets.presetName, "Before");
        EXPECT_EQ (scratch.presets.subPresetPaths[4], "/before/Before.Esp");
    }
}
