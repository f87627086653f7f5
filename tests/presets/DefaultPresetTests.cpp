#include "ProcessorHarness.h"
#include "StateBlobs.h"
#include "presets/PresetFolder.h"
#include "presets/PresetManager.h"

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>

using namespace testsupport;

namespace
{
class DefaultPreset : public testing::Test
{
protected:
    void TearDown() override
    {
        presetsFolder.deleteRecursively();
        if (root.existsAsFile())
            root.deleteFile();
    }

    // What a fresh instance without any default preset holds.
    static std::vector<float> defaults() { return parameterValues (*std::make_unique<Rirorezo3AudioProcessor>()); }

    // Writes a default preset from a processor with its own values, path and sub-preset paths.
    std::vector<float> writeDefaultFromScatteredState()
    {
        Rirorezo3AudioProcessor source;
        scatterParameters (source, 3);
        source.presetManager->presetPath = "/elsewhere/Warm.dod";
        source.presetManager->subPresetPaths[4] = "/elsewhere/Echo.Esp";
        presetsFolder.createDirectory();
        const auto blob = stateOf (source);
        EXPECT_TRUE (defaultFile.replaceWithData (blob.getData(), blob.getSize()));
        return parameterValues (source);
    }

    const juce::File root{presetRootPath ("Rirorezo3")};
    const juce::File presetsFolder{root.getChildFile ("Presets")};
    const juce::File defaultFile{presetsFolder.getChildFile ("Default.dod")};
};
} // namespace

TEST_F (DefaultPreset, AbsentLeavesDefaultsAndTheNameUntitled)
{
    Rirorezo3AudioProcessor processor;
    const auto& presets = *processor.presetManager;

    EXPECT_TRUE (root.isDirectory());
    EXPECT_EQ (presets.rootPath, root.getFullPathName());
    EXPECT_EQ (presets.presetName, "Untitled");
    EXPECT_TRUE (presets.presetPath.isEmpty());
    for (int k = 0; k < 20; ++k)
        EXPECT_TRUE (presets.subPresetPaths[k].isEmpty() && presets.textEntries[k].isEmpty());
    EXPECT_EQ (std::vector<int> ({presets.editorWidth, presets.editorHeight, presets.savedEditorWidth,
                                  presets.savedEditorHeight, presets.editorSizePending}),
               std::vector<int> ({0, 0, 0, 0, -1}));
}

TEST_F (DefaultPreset, PresentIsAdoptedWithThePathStoredInIt)
{
    const auto written = writeDefaultFromScatteredState();

    Rirorezo3AudioProcessor processor;
    const auto& presets = *processor.presetManager;
    EXPECT_EQ (parameterValues (processor), written);
    EXPECT_EQ (presets.presetPath, "/elsewhere/Warm.dod");
    EXPECT_EQ (presets.presetName, "Warm");
    EXPECT_EQ (presets.subPresetPaths[4], "/elsewhere/Echo.Esp");
    EXPECT_EQ (presets.editorSizePending, 0);
}

TEST_F (DefaultPreset, UnreadableOrInvalidFilesLeaveTheDefaults)
{
    struct Case
    {
        const char* what;
        std::function<void()> place;
        const char* expectedName;
    };
    const Case cases[] = {
        {"garbage", [this] { defaultFile.replaceWithText ("not a state at all"); }, "Default.dod"},
        {"a folder", [this] { defaultFile.createDirectory(); }, "Untitled"},
        {"a FIFO", [this] { ASSERT_EQ (mkfifo (defaultFile.getFullPathName().toRawUTF8(), 0600), 0); }, "Untitled"},
        {"a valid state padded beyond 16 MiB",
         [this]
         {
             writeDefaultFromScatteredState();
             juce::FileOutputStream out (defaultFile);
             ASSERT_TRUE (out.openedOk());
             out.setPosition (16 * 1024 * 1024);
             out.writeByte (0);
         },
         "Untitled"},
    };

    const auto expected = defaults();
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        presetsFolder.deleteRecursively();
        presetsFolder.createDirectory();
        c.place();

        ProcessorHarness harness;
        EXPECT_EQ (parameterValues (*harness.processor), expected);
        EXPECT_EQ (harness.processor->presetManager->presetName, c.expectedName);
        EXPECT_TRUE (harness.processor->presetManager->presetPath.isEmpty());

        auto audio = harness.sine (2048, 330.0);
        harness.process (audio);
        EXPECT_TRUE (allFiniteAndNormal (audio));
    }
}

TEST_F (DefaultPreset, AFileInPlaceOfTheRootFolderLeavesAWorkingInstance)
{
    root.deleteRecursively();
    ASSERT_TRUE (root.create());

    ProcessorHarness harness;
    EXPECT_EQ (parameterValues (*harness.processor), defaults());
    EXPECT_EQ (harness.processor->presetManager->presetName, "Untitled");
    auto audio = harness.sine (2048, 330.0);
    harness.process (audio);
    EXPECT_TRUE (allFiniteAndNormal (audio));
}
