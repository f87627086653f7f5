#include "AttachmentSlots.h"
#include "AutomatingHost.h"
#include "ExpectedPalette.h"
#include "ImageProbes.h"
#include "OpenedEditor.h"
#include "ProcessorHarness.h"
#include "UiSnapshot.h"

#include <gtest/gtest.h>

using namespace testsupport;

namespace
{
const juce::StringArray allGroups{"ToneHidden", "Tone",     "MeltFlow", "MeltDropout",
                                  "MeltJump",   "MeltMain", "Echo",     "Master"};
} // namespace

// At design size with the default settings: each panel's body and header, the dark tab strip
// with FLOW on, the section power switches on, and the stripes between the master knobs.
TEST (WholeEditor, DesignSizeShowsEveryPanelAndTheDefaultSwitchStates)
{
    ProcessorHarness harness;
    OpenedEditor editor (*harness.processor);
    ASSERT_EQ (editor->getWidth(), 777);
    const auto snapshot = paintToImage (*editor);

    const auto toggledOn = [] (juce::Colour on, float veil) { return overlaid (on, juce::Colours::white, veil); };
    EXPECT_TRUE (
        pixelsMatch (snapshot, {
                                   {5.5f, 200.5f, palette::background, "palette::background beside the panels"},
                                   {317.5f, 146.5f, palette::panel, "tone body below the knobs"},
                                   {277.5f, 55.5f, palette::panelHeader, "tone header"},
                                   {31.5f, 55.5f, toggledOn (palette::powerOn, 0.4f), "tone power on"},
                                   {217.5f, 171.5f, palette::panelHeader, "melt header"},
                                   {337.5f, 189.5f, palette::panel, "melt body beside the tabs"},
                                   {25.5f, 192.5f, toggledOn (palette::buttonOn, 0.5f), "FLOW tab on"},
                                   {122.5f, 192.5f, palette::buttonOff, "DROPOUT tab off"},
                                   {67.5f, 207.5f, toggledOn (palette::powerOn, 0.4f), "flow power on"},
                                   {586.5f, 53.5f, palette::panelHeader, "echo header"},
                                   {480.5f, 55.5f, toggledOn (palette::powerOn, 0.4f), "echo power on"},
                                   {566.5f, 133.5f, palette::panel, "echo body"},
                                   {516.5f, 147.5f, palette::line, "echo divider"},
                                   {340.5f, 362.5f, palette::stripe, "palette::stripe between the master knobs"},
                               }));
}

// Closing the editor empties every attachment slot before any control goes, and afterwards
// host edits and state loads reach the engine without touching a destroyed control.
TEST (WholeEditor, ClosingEmptiesEverySlotAndLaterHostEditsStillWork)
{
    ProcessorHarness harness;
    {
        OpenedEditor editor (*harness.processor);
        EXPECT_EQ (occupiedSlots (harness.processor->pluginParameters), slotsOccupiedByGroups (allGroups));
        harness.setPlain ("echoFeedback", 80.0f);
    }
    EXPECT_EQ (occupiedSlots (harness.processor->pluginParameters), slotsOccupiedByGroups ({}));

    juce::MemoryBlock state;
    harness.processor->getStateInformation (state);
    harness.setPlain ("echoFeedback", 10.0f);
    harness.setPlain ("meltFlowSync", 1.0f);
    harness.processor->setStateInformation (state.getData(), static_cast<int> (state.getSize()));
    pumpMessages (20);
    EXPECT_NEAR (harness.getPlain ("echoFeedback"), 80.0f, 0.01f);
    EXPECT_NEAR (harness.processor->pluginParameters.echoFeedbackValue.load(), 0.8f, 1.0e-4f);
}

// A host keeps playing and automating (switches, menus, randomise and page switches among them)
// while the user opens and closes the editor: nothing pending may outlive its panel.
TEST (WholeEditorThreads, OpenAndCloseRepeatedlyWhileAudioRunsAndTheHostAutomates)
{
    ProcessorHarness harness;
    AutomatingHost host (harness,
                         {"toneDrive", "toneRnd", "meltFlowSync", "meltDropoutPanelSwitch", "meltJumpPanelRnd",
                          "echoSync", "echoRateLeft", "echoLink", "echoFactorMode", "echoRnd", "outputVolume"},
                         7);

    for (int opening = 0; opening < 25; ++opening)
    {
        OpenedEditor editor (*harness.processor);
        pumpMessages (opening % 5);
    }
    host.stop();
    pumpMessages (20);

    EXPECT_EQ (occupiedSlots (harness.processor->pluginParameters), slotsOccupiedByGroups ({}));
    auto block = harness.silence (harness.blockSize);
    harness.processBlock (block);
    EXPECT_TRUE (allFiniteAndNormal (block));
}
