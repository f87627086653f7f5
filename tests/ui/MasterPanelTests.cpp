#include "AttachmentSlots.h"
#include "BindingChecks.h"
#include "ExpectedPalette.h"
#include "ProcessorHarness.h"
#include "UiSnapshot.h"
#include "ui/panels/MasterPanel.h"

#include <gtest/gtest.h>

using namespace testsupport;

namespace
{
class MasterPanelTest : public testing::Test
{
protected:
    ProcessorHarness harness;
    std::unique_ptr<MasterPanel> panel = std::make_unique<MasterPanel> (harness.processor.get());
};
} // namespace

TEST_F (MasterPanelTest, EveryKnobIsShownAndBoundBothWaysToItsParameter)
{
    const struct
    {
        const char* identifier;
        juce::Slider& knob;
        juce::Component& placed;
    } knobs[] = {
        {"ruvuvMelt", panel->ruvuvKnob, panel->ruvuvKnob},
        {"outputVolume", panel->outputVolumeKnob, panel->labeledOutputVolumeKnob},
        {"dryWetMix", panel->dryWetKnob, panel->labeledDryWetKnob},
        {"noiseLevel", panel->noiseKnob, panel->labeledNoiseKnob},
    };
    for (const auto& k : knobs)
    {
        EXPECT_TRUE (k.placed.isVisible()) << k.identifier;
        EXPECT_EQ (k.placed.getParentComponent(), panel.get()) << k.identifier;
        expectKnobBound (harness, k.identifier, k.knob);
    }
}

TEST_F (MasterPanelTest, KnobsSitAtTheirDesignRectanglesAndDoubleWithThePanel)
{
    const struct
    {
        const char* what;
        juce::Component& child;
        juce::Rectangle<int> atDesign;
    } cases[] = {
        {"mondo", panel->ruvuvKnob, {120, 1, 56, 56}},
        {"output volume", panel->labeledOutputVolumeKnob, {300, 9, 55, 55}},
        {"dry/wet", panel->labeledDryWetKnob, {26, 9, 55, 55}},
        {"noise", panel->labeledNoiseKnob, {214, 9, 55, 55}},
    };
    EXPECT_EQ (panel->getBounds(), juce::Rectangle<int> (0, 0, 382, 70));
    for (const auto& c : cases)
        EXPECT_EQ (c.child.getBounds(), c.atDesign) << c.what;
    panel->setSize (764, 140);
    for (const auto& c : cases)
        EXPECT_EQ (c.child.getBounds(), c.atDesign * 2) << c.what << " at 764 by 140";
}

// The editor's stripes must show between the knobs, so the panel paints only its word.
TEST_F (MasterPanelTest, PaintsNoBackgroundOnlyTheRuvuvWordUnderTheRedKnob)
{
    const auto image = paintToImage (*panel);
    for (const auto& gap : {juce::Point<int> (5, 30), juce::Point<int> (100, 30), juce::Point<int> (195, 30),
                            juce::Point<int> (285, 30), juce::Point<int> (370, 5), juce::Point<int> (60, 68)})
        EXPECT_EQ (image.getPixelAt (gap.x, gap.y).getAlpha(), 0) << gap.toString();

    EXPECT_TRUE (coloursClose (image.getPixelAt (148, 29), palette::redKnob)) << "mondo knob body";

    int inked = 0;
    for (int y = 58; y < 70; ++y)
        for (int x = 113; x < 181; ++x)
            inked += coloursClose (image.getPixelAt (x, y), palette::labelText, 8);
    EXPECT_GT (inked, 30) << "the word in the label colour";
}

TEST_F (MasterPanelTest, ClosingEmptiesTheMasterSlotsAndLaterEditsTouchNoControl)
{
    EXPECT_EQ (occupiedSlots (harness.processor->pluginParameters), slotsOccupiedByGroups ({"Master"}));
    panel->outputVolumeKnob.setValue (-12.0, juce::sendNotificationSync);
    panel.reset();

    EXPECT_EQ (occupiedSlots (harness.processor->pluginParameters), slotsOccupiedByGroups ({}));
    for (const auto* identifier : {"ruvuvMelt", "outputVolume", "dryWetMix", "noiseLevel"})
        harness.setNormalised (identifier, 0.25f);
    juce::MemoryBlock state;
    harness.processor->getStateInformation (state);
    harness.processor->setStateInformation (state.getData(), static_cast<int> (state.getSize()));
    pumpMessages (20);
    EXPECT_FLOAT_EQ (harness.processor->apvts.getParameter ("noiseLevel")->getValue(), 0.25f);
}
