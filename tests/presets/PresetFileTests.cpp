#include "ScratchPresets.h"
#include "StateBlobs.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
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

TEST (PresetFile, FailedSaveKeepsTheOldFileTheNameAndThePathsAndSaysWhy)
{
    enum class Obstacle
    {
        none,
        sizeLimit,
        folderAtTarget,
        fileAsFolder
    };
    const auto longName = juce::String::repeatedString ("n", 280);
    const auto longPath = juce::String::repeatedString ("folder/", 600) + "Warm";
    const struct
    {
        const char* what;
        juce::String name;
        Obstacle obstacle;
        juce::String reason;
    } obstacles[] = {
        {"cut off part-way", "Warm", Obstacle::sizeLimit, juce::String (std::strerror (EFBIG)) + "."},
        {"onto a folder", "Warm", Obstacle::folderAtTarget, juce::String (std::strerror (EISDIR)) + "."},
        {"a name too long", longName, Obstacle::none, "The name is too long for the file system."},
        {"a path too long", longPath, Obstacle::none, "Its path is too long for the file system."},
        {"its folder a file", "Warm", Obstacle::fileAsFolder, "A part of its folder's path is a file, not a folder."},
    };
    for (const bool subPreset : {false, true})
        for (const auto& o : obstacles)
        {
            SCOPED_TRACE (juce::String (subPreset ? "sub-preset " : "preset ") + o.what);
            ScratchPresets scratch;
            scatterParameters (*scratch.processor);
            const juce::String folder (subPreset ? "SubPresets" : "Presets");
            const auto target = scratch.path (folder) + "/" + o.name + (subPreset ? ".Esp" : ".dod");
            if (o.obstacle == Obstacle::folderAtTarget)
                juce::File (target).createDirectory();
            else if (o.obstacle == Obstacle::sizeLimit)
                scratch.place (juce::File (target).getRelativePathFrom (scratch.root), "old");
            else if (o.obstacle == Obstacle::fileAsFolder)
                scratch.place (folder, "old");
            scratch.presets.presetPath = "/before/Before.dod";
            scratch.presets.presetName = "Before";
            scratch.presets.subPresetPaths[4] = "/before/Before.Esp";
            const auto before = scratch.snapshot();

            juce::Result saved = juce::Result::ok();
            const auto save = [&]
            {
                saved = subPreset ? scratch.presets.saveSubPresetFile (4, target)
                                  : scratch.presets.savePresetFile (&scratch.presets.presetPath, target);
            };
            if (o.obstacle == Obstacle::sizeLimit)
                withFileSizeLimit (40, save); // less than either new file, more than the old one
            else
                save();

            EXPECT_EQ (saved.getErrorMessage(), o.reason);
            EXPECT_EQ (scratch.snapshot(), before);
            EXPECT_EQ (scratch.presets.presetPath, "/before/Before.dod");
            EXPECT_EQ (scratch.presets.presetName, "Before");
            EXPECT_EQ (scratch.presets.subPresetPaths[4], "/before/Before.Esp");
        }
}
