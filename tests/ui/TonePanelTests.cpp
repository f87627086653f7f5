#include "AttachmentSlots.h"
#include "AutomatingHost.h"
#include "BindingChecks.h"
#include "ExpectedPalette.h"
#include "ProcessorHarness.h"
#include "UiSnapshot.h"
#include "UserEdits.h"
#include "engine/RandomGenerator.h"
#include "ui/panels/MasterPanel.h"
#include "ui/panels/SectionRandomiser.h"
#include "ui/panels/TonePanel.h"

#include <gtest/gtest.h>

#include <thread>

using namespace testsupport;

namespace
{
class TonePanelTest : public testing::Test
{
protected:
    juce::RangedAudioParameter& parameter (const juce::String& identifier)
    {
        return *harness.processor->apvts.getParameter (identifier);
    }

    ProcessorHarness harness;
    std::unique_ptr<TonePanel> panel = std::make_unique<TonePanel> (harness.processor.get());
};

struct KnobBinding
{
    const char* identifier;
    juce::Slider& (*knob) (TonePanel&);
};

// Every knob of the panel and of its band panel.
const KnobBinding knobBindings[] = {
    {"toneDrive", [] (TonePanel& p) -> juce::Slider& { return p.driveKnob; }},
    {"toneLowGain", [] (TonePanel& p) -> juce::Slider& { return p.lowGainKnob; }},
    {"toneMidGain", [] (TonePanel& p) -> juce::Slider& { return p.midGainKnob; }},
    {"toneHiGain", [] (TonePanel& p) -> juce::Slider& { return p.highGainKnob; }},
    {"toneShape", [] (TonePanel& p) -> juce::Slider& { return p.shapeKnob; }},
    {"toneSaturation", [] (TonePanel& p) -> juce::Slider& { return p.saturationKnob; }},
    {"toneSatGain", [] (TonePanel& p) -> juce::Slider& { return p.saturationGainKnob; }},
    {"toneDamper", [] (TonePanel& p) -> juce::Slider& { return p.damperKnob; }},
    {"toneLowFreq", [] (TonePanel& p) -> juce::Slider& { return p.bandPanel.lowFrequencyKnob; }},
    {"toneLowQ", [] (TonePanel& p) -> juce::Slider& { return p.bandPanel.lowQKnob; }},
    {"toneMidFreq", [] (TonePanel& p) -> juce::Slider& { return p.bandPanel.midFrequencyKnob; }},
    {"toneMidQ", [] (TonePanel& p) -> juce::Slider& { return p.bandPanel.midQKnob; }},
    {"toneHiFreq", [] (TonePanel& p) -> juce::Slider& { return p.bandPanel.highFrequencyKnob; }},
    {"toneHiQ", [] (TonePanel& p) -> juce::Slider& { return p.bandPanel.highQKnob; }},
};

// How many draws of the editor's generator lead from the given words to its current ones.
int drawsSince (std::uint32_t seed, std::uint32_t xorWord)
{
    std::atomic<std::uint32_t> sum{seed}, exclusive{xorWord};
    for (int draws = 0; draws <= 1000; ++draws)
    {
        if (sum.load() == SeedX.load() && exclusive.load() == XorU.load())
            return draws;
        drawRandom (sum, exclusive);
    }
    return -1;
}

constexpr int toneDrawsPerRandomise = 14;

} // namespace

TEST_F (TonePanelTest, EveryKnobAndSwitchIsBoundBothWaysToItsParameter)
{
    for (const auto& binding : knobBindings)
        expectKnobBound (harness, binding.identifier, binding.knob (*panel));
    EXPECT_FALSE (panel->lowCutSwitch.getToggleState());
    expectSwitchBound (harness, "toneLowCut", panel->lowCutSwitch);
    EXPECT_TRUE (panel->powerSwitch.getToggleState());
    expectSwitchBound (harness, "tonePower", panel->powerSwitch);
}

TEST_F (TonePanelTest, OpensWithTheBandPanelHiddenAndEverythingElseShown)
{
    EXPECT_FALSE (panel->bandPanel.isVisible());
    EXPECT_FALSE (panel->bandToggle.getToggleState());
    for (auto* child : panel->getChildren())
    {
        if (child != &panel->bandPanel)
        {
            EXPECT_TRUE (child->isVisible()) << child->getBounds().toString().toStdString();
        }
    }
    for (auto* child : panel->bandPanel.getChildren())
        EXPECT_TRUE (child->isVisible());
}

// The band panel covers the low-cut switch and the gains but not its own toggle.
TEST_F (TonePanelTest, ChildrenStackInTheirDrawingOrder)
{
    auto& p = *panel;
    const std::vector<juce::Component*> bottomToTop = {&p.labeledDriveKnob,
                                                       &p.lowCutSwitch,
                                                       &p.labeledLowGainKnob,
                                                       &p.labeledMidGainKnob,
                                                       &p.labeledHighGainKnob,
                                                       &p.bandPanel,
                                                       &p.bandToggle,
                                                       &p.labeledShapeKnob,
                                                       &p.labeledSaturationKnob,
                                                       &p.labeledSaturationGainKnob,
                                                       &p.labeledDamperKnob,
                                                       &p.powerSwitch,
                                                       &p.loadButton,
                                                       &p.saveButton,
                                                       &p.randomiseButton};
    const auto& children = p.getChildren();
    EXPECT_EQ (std::vector<juce::Component*> (children.begin(), children.end()), bottomToTop);
}

TEST_F (TonePanelTest, ChildBoundsFollowTheDesignAtDesignAndDoubleSize)
{
    auto& p = *panel;
    auto& band = p.bandPanel;
    const struct
    {
        const char* what;
        juce::Component& child;
        juce::Rectangle<int> atDesign, atDouble;
    } cases[] = {
        {"drive", p.labeledDriveKnob, {3, 43, 55, 55}, {6, 86, 110, 110}},
        {"low cut", p.lowCutSwitch, {67, 26, 50, 17}, {134, 52, 100, 34}},
        {"low gain", p.labeledLowGainKnob, {64, 43, 55, 55}, {128, 86, 110, 110}},
        {"mid gain", p.labeledMidGainKnob, {116, 43, 55, 55}, {232, 86, 110, 110}},
        {"high gain", p.labeledHighGainKnob, {168, 43, 55, 55}, {336, 86, 110, 110}},
        {"shape", p.labeledShapeKnob, {225, 43, 55, 55}, {450, 86, 110, 110}},
        {"saturation", p.labeledSaturationKnob, {274, 43, 55, 55}, {548, 86, 110, 110}},
        {"saturation gain", p.labeledSaturationGainKnob, {322, 43, 55, 55}, {644, 86, 110, 110}},
        {"damper", p.labeledDamperKnob, {378, 43, 55, 55}, {756, 86, 110, 110}},
        // 95.5 design units truncate to 95 at design size and 191 at double size.
        {"band toggle", p.bandToggle, {117, 95, 50, 12}, {234, 191, 100, 24}},
        {"power", p.powerSwitch, {6, 6, 16, 13}, {12, 12, 32, 26}},
        {"load", p.loadButton, {301, 4, 47, 17}, {602, 8, 94, 34}},
        {"save", p.saveButton, {352, 4, 47, 17}, {704, 8, 94, 34}},
        {"randomise", p.randomiseButton, {402, 4, 30, 17}, {804, 8, 60, 34}},
        {"band panel", band, {61, 24, 165, 72}, {122, 48, 330, 144}},
        // The band panel lays its knobs out against 84 units of height while it is placed at 72.
        {"low frequency", band.labeledLowFrequencyKnob, {12, 3, 38, 32}, {24, 6, 76, 65}},
        {"low Q", band.labeledLowQKnob, {12, 37, 38, 32}, {24, 75, 76, 65}},
        {"mid frequency", band.labeledMidFrequencyKnob, {63, 3, 38, 32}, {126, 6, 76, 65}},
        {"mid Q", band.labeledMidQKnob, {63, 37, 38, 32}, {126, 75, 76, 65}},
        {"high frequency", band.labeledHighFrequencyKnob, {112, 3, 38, 32}, {224, 6, 76, 65}},
        {"high Q", band.labeledHighQKnob, {112, 37, 38, 32}, {224, 75, 76, 65}},
    };

    EXPECT_EQ (p.getBounds(), juce::Rectangle<int> (0, 0, 437, 108)) << "built at its design size";
    for (const auto& c : cases)
        EXPECT_EQ (c.child.getBounds(), c.atDesign) << c.what << " at 437 by 108";
    p.setSize (874, 216);
    for (const auto& c : cases)
        EXPECT_EQ (c.child.getBounds(), c.atDouble) << c.what << " at 874 by 216";
}

TEST_F (TonePanelTest, PaintsBodyHeaderAndDividersAndTheBandPanelOverTheEqualiser)
{
    const struct
    {
        const char* what;
        int x, y;
        juce::Colour colour;
    } probes[] = {
        {"body under the drive knob", 30, 102, palette::panel},
        {"body right of the damper", 433, 80, palette::panel},
        {"header between title and buttons", 250, 10, palette::panelHeader},
        {"input divider", 61, 60, palette::line},
        {"saturation divider", 225, 30, palette::line},
        {"damper divider", 376, 30, palette::line},
        {"equaliser base line", 62, 95, palette::line},
        {"rounded corner outside the body", 0, 107, juce::Colours::transparentBlack},
    };
    auto image = paintToImage (*panel);
    for (const auto& probe : probes)
        EXPECT_TRUE (coloursClose (image.getPixelAt (probe.x, probe.y), probe.colour))
            << probe.what << ": " << image.getPixelAt (probe.x, probe.y).toDisplayString (true);

    panel->bandPanel.setVisible (true);
    image = paintToImage (*panel);
    // Between the band panel's knob columns, over where the low gain knob is.
    EXPECT_TRUE (coloursClose (image.getPixelAt (116, 54), palette::panelHeader));
    EXPECT_TRUE (coloursClose (image.getPixelAt (116, 95), palette::panelHeader)) << "covers the base line";
}

TEST_F (TonePanelTest, RandomiseButtonRandomisesTheToneGroup)
{
    ProcessorHarness reference;
    const auto seed = SeedX.load();
    const auto xorWord = XorU.load();

    click (panel->randomiseButton);

    EXPECT_EQ (drawsSince (seed, xorWord), toneDrawsPerRandomise);
    SeedX = seed;
    XorU = xorWord;
    randomiseSubPresetGroup (*reference.processor, 0);
    for (auto* p : reference.processor->getParameters())
    {
        const auto& identifier = dynamic_cast<juce::AudioProcessorParameterWithID&> (*p).paramID;
        EXPECT_EQ (parameter (identifier).getValue(), p->getValue()) << identifier;
    }
    EXPECT_FALSE (panel->randomiseButton.getToggleState()) << "a push button";
}

// Host automation, a preset or a sub-preset load may flip the switch: each flip is one run.
using TonePanelThreads = TonePanelTest;
TEST_F (TonePanelThreads, RandomiseSwitchChangedElsewhereRunsTheRandomiserOncePerChange)
{
    const struct
    {
        const char* what;
        float value;
        bool fromAudioThread;
        int runs;
    } steps[] = {
        {"on", 1.0f, false, 1},           {"on again", 1.0f, false, 0},      {"off", 0.0f, false, 1},
        {"on, automated", 1.0f, true, 1}, {"off, automated", 0.0f, true, 1},
    };
    for (const auto& step : steps)
    {
        SCOPED_TRACE (step.what);
        const auto seed = SeedX.load();
        const auto xorWord = XorU.load();
        if (step.fromAudioThread)
            std::thread ([&] { harness.setPlain ("toneRnd", step.value); }).join();
        else
            harness.setPlain ("toneRnd", step.value);
        pumpMessages (50);
        EXPECT_EQ (drawsSince (seed, xorWord), step.runs * toneDrawsPerRandomise);
        EXPECT_EQ (panel->randomiseButton.getToggleState(), step.value >= 0.5f);
    }
}

// Opening an editor must not change the sound: a switch that is already on is only shown.
TEST_F (TonePanelTest, OpeningThePanelWithTheRandomiseSwitchOnRandomisesNothing)
{
    panel.reset();
    harness.setPlain ("toneRnd", 1.0f);
    const auto seed = SeedX.load();
    const auto xorWord = XorU.load();
    const auto lowFrequency = parameter ("toneLowFreq").getValue();

    panel = std::make_unique<TonePanel> (harness.processor.get());
    pumpMessages (20);

    EXPECT_TRUE (panel->randomiseButton.getToggleState());
    EXPECT_EQ (drawsSince (seed, xorWord), 0);
    EXPECT_EQ (parameter ("toneLowFreq").getValue(), lowFrequency);

    harness.setPlain ("toneRnd", 0.0f);
    EXPECT_EQ (drawsSince (seed, xorWord), toneDrawsPerRandomise) << "later changes still run it";
}

TEST_F (TonePanelTest, ClosingEmptiesExactlyTheToneSlotsAndLaterEditsTouchNoControl)
{
    MasterPanel master (harness.processor.get());
    EXPECT_EQ (occupiedSlots (harness.processor->pluginParameters),
               slotsOccupiedByGroups ({"Tone", "ToneHidden", "Master"}));

    dragTo (panel->bandPanel.midFrequencyKnob, 900.0);
    click (panel->bandToggle);
    panel.reset();

    EXPECT_EQ (occupiedSlots (harness.processor->pluginParameters), slotsOccupiedByGroups ({"Master"}));
    for (const auto& binding : knobBindings)
        harness.setNormalised (binding.identifier, 0.6f);
    for (const auto* identifier : {"toneLowCut", "toneRnd", "tonePower"})
        harness.setPlain (identifier, 1.0f);
    juce::MemoryBlock state;
    harness.processor->getStateInformation (state);
    harness.processor->setStateInformation (state.getData(), static_cast<int> (state.getSize()));
    pumpMessages (20);
    EXPECT_NEAR (harness.getPlain ("toneMidFreq"), parameter ("toneMidFreq").convertFrom0to1 (0.6f), 0.01f);
}

// Host automation keeps arriving from the audio thread while editors open and close: its
// pending control updates and randomiser runs must die with the panels.
TEST (ToneAndMasterPanelsThreads, OpenAndCloseRepeatedlyWhileTheHostPlaysAndAutomates)
{
    ProcessorHarness harness;
    AutomatingHost host (harness, {"toneLowFreq", "toneDrive", "toneRnd", "tonePower", "outputVolume"}, 10);

    for (int editor = 0; editor < 40; ++editor)
    {
        auto tone = std::make_unique<TonePanel> (harness.processor.get());
        MasterPanel master (harness.processor.get());
        pumpMessages (editor % 4);
    }
    host.stop();
    pumpMessages (20);

    EXPECT_EQ (occupiedSlots (harness.processor->pluginParameters), slotsOccupiedByGroups ({}));
}
