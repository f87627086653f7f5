// Hosts save and restore the state on threads of their own (autosave, project load) while the
// user loads presets on the message thread: the texts the preset manager keeps cross threads.
#include "ScratchPresets.h"
#include "StateBlobs.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace testsupport;

namespace
{
const juce::String tagMark ("/tagged/");

// A text that names its state's tag, long enough to live on the heap as every real path does.
juce::String taggedText (int tag, const juce::String& what)
{
    return tagMark + juce::String (tag) + "/" + juce::String::repeatedString ("x", 48) + "/" + what;
}

juce::String tagOf (const juce::String& text)
{
    return text.fromFirstOccurrenceOf (tagMark, false, false).upToFirstOccurrenceOf ("/", false, false);
}

// A state whose preset path, sub-preset paths and text entries all carry the tag.
juce::MemoryBlock taggedState (int tag)
{
    Attributes attributes{{"PresetPathName:", taggedText (tag, "Preset.dod")}};
    for (int k = 1; k <= numberOfSubPresetSlots; ++k)
        attributes.push_back ({"SubPreset:" + juce::String (k), taggedText (tag, "sub" + juce::String (k))});
    for (int k = 1; k <= PresetManager::numberOfTextEntries; ++k)
        attributes.push_back ({"TxEnt:" + juce::String (k), taggedText (tag, "text" + juce::String (k))});
    return blobOfChildren ({attributes});
}
} // namespace

// Every state saved meanwhile holds the texts of one whole state: none read half-replaced.
TEST (PresetStateThreads, HostThreadSavesWhileTheMessageThreadLoadsStatesAndPresetFiles)
{
    ScratchPresets scratch;
    auto& presets = scratch.presets;
    std::vector<juce::MemoryBlock> states;
    for (int tag = 0; tag < 6; ++tag)
        states.push_back (taggedState (tag));
    const auto presetFile = scratch.place ("Presets/Tagged.dod", states[0]).getFullPathName();

    applyState (*scratch.processor, states[1]);
    std::atomic<bool> loading{true};
    std::vector<juce::MemoryBlock> saved;
    std::thread host (
        [&]
        {
            while (loading && saved.size() < 3000)
                saved.push_back (stateOf (*scratch.processor));
        });

    for (int round = 0; round < 1500; ++round)
    {
        if (round % 7 == 0)
        {
            // As the patch bar's arrows do: the path first, then the file's bytes.
            presets.writeText (presets.presetPath, presetFile);
            presets.loadPresetFile (presetFile);
        }
        else
            applyState (*scratch.processor, states[(size_t)round % states.size()]);
    }
    loading = false;
    host.join();

    ASSERT_FALSE (saved.empty());
    for (const auto& blob : saved)
    {
        const auto element = presetElementOf (blob);
        ASSERT_NE (element, nullptr);
        const auto tag = tagOf (element->getStringAttribute ("SubPreset:1"));
        ASSERT_TRUE (tag.isNotEmpty());
        const auto path = element->getStringAttribute ("PresetPathName:");
        EXPECT_TRUE (path == presetFile || tagOf (path) == tag) << path;
        for (int k = 1; k <= numberOfSubPresetSlots; ++k)
            EXPECT_EQ (tagOf (element->getStringAttribute ("SubPreset:" + juce::String (k))), tag);
        for (int k = 1; k <= PresetManager::numberOfTextEntries; ++k)
            EXPECT_EQ (tagOf (element->getStringAttribute ("TxEnt:" + juce::String (k))), tag);
    }

    // What the message thread loaded last is what stays.
    EXPECT_EQ (presets.readText (presets.presetName), "Preset");
    EXPECT_EQ (tagOf (presets.readText (presets.textEntries[19])), juce::String ((1499 % states.size())));
}
