// A host restores states on a thread of its own (project load, undo of a plug-in change) while
// the editor paints, opens and closes on the message thread.
#include "AutomatingHost.h"
#include "OpenedEditor.h"
#include "PatchBarButtons.h"
#include "StateBlobs.h"
#include "UiSnapshot.h"
#include "engine/PluginProcessor.h"
#include "presets/PresetManager.h"

#include <gtest/gtest.h>

#include <atomic>
#include <list>
#include <thread>
#include <vector>

using namespace testsupport;

namespace
{
constexpr int stateCount = 6;

juce::String presetNameOf (int index)
{
    return "Preset " + juce::String (index);
}

juce::Point<int> editorSizeOf (int index)
{
    return index % 2 == 0 ? juce::Point<int> (1000, 521) : juce::Point<int> (900, 469);
}

// Whole states as a host stores them, each with a preset name, an editor size and values of its own.
std::vector<juce::MemoryBlock> namedStates()
{
    Rirorezo3AudioProcessor source;
    auto& presets = *source.presetManager;
    std::vector<juce::MemoryBlock> states;
    for (int index = 0; index < stateCount; ++index)
    {
        presets.presetPath = "/host/projects/" + presetNameOf (index) + ".dod";
        presets.editorWidth = editorSizeOf (index).x;
        presets.editorHeight = editorSizeOf (index).y;
        scatterParameters (source, index);
        states.push_back (stateOf (source));
    }
    return states;
}

} // namespace

TEST (EditorThreads, HostThreadLoadsStatesWhileTheWholeEditorPaints)
{
    const auto states = namedStates();
    Rirorezo3AudioProcessor processor;
    OpenedEditor editor (processor);

    constexpr int paints = 30;
    std::atomic<int> painted{0};
    int loads = 0;
    std::thread host (
        [&]
        {
            do
                applyState (processor, states[(size_t)(loads++ % stateCount)]);
            while (painted < paints);
        });
    for (; painted < paints; ++painted)
    {
        paintToImage (*editor);
        pumpMessages (1);
    }
    host.join();

    pumpMessages (20);
    paintToImage (*editor);
    EXPECT_EQ (patchBarButton (*editor, false).getButtonText(), presetNameOf ((loads - 1) % stateCount));
}

TEST (EditorThreads, HostThreadLoadsStatesWhileEditorsOpenAndClose)
{
    const auto states = namedStates();
    Rirorezo3AudioProcessor processor;

    // The editors never paint, so every state read asks for the open editor to be resized.
    constexpr int openings = 60;
    std::atomic<int> opened{0};
    std::thread host (
        [&]
        {
            for (int load = 0; opened < openings; ++load)
                applyState (processor, states[(size_t)(load % stateCount)]);
        });
    for (; opened < openings; ++opened)
    {
        OpenedEditor editor (processor);
        pumpMessages (opened % 3);
    }
    host.join();
    pumpMessages (20);

    // The deferred resize still reaches an editor opened afterwards.
    OpenedEditor editor (processor);
    std::thread ([&] { applyState (processor, states[1]); }).join();
    pumpMessages (20);
    EXPECT_EQ (juce::Point<int> (editor->getWidth(), editor->getHeight()), editorSizeOf (1));
}

// Tracks of a host play at once, each instance on an audio thread of its own with its drift and
// noise drawing and its parameters automated, while another instance's editor opens, paints and
// closes on the message thread.
TEST (EditorThreads, InstancesPlayOnTheirOwnThreadsWhileAnotherEditorOpensAndCloses)
{
    constexpr int tracks = 4;
    std::list<ProcessorHarness> harnesses;
    std::list<AutomatingHost> hosts;
    for (int track = 0; track < tracks; ++track)
    {
        auto& harness = harnesses.emplace_back (48000.0, 64, 2);
        harness.setPlain ("meltFlowRnd", 100.0f);
        harness.setPlain ("meltDropoutPower", 1.0f);
        hosts.emplace_back (harness,
                            std::vector<const char*>{"noiseLevel", "meltFlowLevel", "meltDropoutRnd", "dryWetMix"}, 7);
    }

    Rirorezo3AudioProcessor processor;
    for (int opening = 0; opening < 10; ++opening)
    {
        OpenedEditor editor (processor);
        paintToImage (*editor);
        pumpMessages (2);
    }
    for (auto& host : hosts)
        host.stop();

    for (auto& harness : harnesses)
    {
        auto block = harness.silence (harness.blockSize);
        harness.processBlock (block);
        EXPECT_TRUE (allFiniteAndNormal (block));
    }
}
