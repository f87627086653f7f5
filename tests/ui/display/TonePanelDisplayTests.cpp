#include "ProcessorHarness.h"
#include "ScratchPresets.h"
#include "UiSnapshot.h"
#include "support/display/DesktopWindow.h"
#include "support/display/ModalAnswerer.h"
#include "ui/panels/TonePanel.h"

#include <gtest/gtest.h>

using namespace testsupport;

namespace
{
class TonePanelOnScreen : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!DesktopWindow::displayAvailable())
            GTEST_SKIP() << "needs a display";
        panel = std::make_unique<TonePanel> (harness.processor.get());
        window = std::make_unique<DesktopWindow> (*panel);
    }

    void TearDown() override
    {
        window.reset();
        panel.reset();
    }

    // The centre of a component of the panel, in the panel's coordinates.
    juce::Point<float> centreOf (juce::Component& child) const
    {
        return panel->getLocalArea (&child, child.getLocalBounds()).toFloat().getCentre();
    }

    void clickToggle() { window->click (centreOf (panel->bandToggle)); }

    ProcessorHarness harness;
    std::unique_ptr<TonePanel> panel;
    std::unique_ptr<DesktopWindow> window;
};

// A point of the band panel's own background, clear of its knobs (in the tone panel's
// coordinates: the band panel sits at (61, 24) at design size).
const juce::Point<float> bandBackground{116.0f, 54.0f};
} // namespace

TEST_F (TonePanelOnScreen, BandToggleShowsAndHidesTheBandPanelWhichHidesItselfLeavingTheToggleOn)
{
    auto& band = panel->bandPanel;
    const auto step = [&] (const char* what, bool toggleOn, bool bandShown)
    {
        EXPECT_EQ (panel->bandToggle.getToggleState(), toggleOn) << what;
        EXPECT_EQ (band.isVisible(), bandShown) << what;
    };

    clickToggle();
    step ("first click", true, true);
    clickToggle();
    step ("second click", false, false);
    clickToggle();
    step ("third click", true, true);

    window->press (bandBackground);
    window->release ({20.0f, 54.0f});
    step ("released left of the band panel", true, false);

    clickToggle();
    step ("click after the self-hide", false, false);
    clickToggle();
    step ("one more click", true, true);
}

// The release test region is the page's width by 79/54 of its height: at 72 pixels high it
// ends at y 105 of the page (129 of the tone panel), below the page's bottom edge.
TEST_F (TonePanelOnScreen, ReleaseOfABackgroundPressHidesTheBandPanelOnlyOutsideItsTestRegion)
{
    const struct
    {
        const char* where;
        juce::Point<float> release;
        bool hides;
    } cases[] = {
        {"where it was pressed", bandBackground, false},
        {"over a band knob", {200.0f, 90.0f}, false},
        {"last row of the region, below the page", {116.0f, 128.0f}, false},
        {"first row past the region", {116.0f, 129.0f}, true},
        {"last column of the page", {225.0f, 54.0f}, false},
        {"just right of the page", {226.0f, 54.0f}, true},
        {"just left of the page", {60.0f, 54.0f}, true},
        {"just above the page", {116.0f, 23.0f}, true},
    };
    for (const auto& c : cases)
    {
        panel->bandPanel.setVisible (true);
        window->press (bandBackground);
        window->release (c.release);
        EXPECT_EQ (panel->bandPanel.isVisible(), !c.hides) << c.where;
    }

    // A press on a knob is the knob's: releasing it far away leaves the page open.
    panel->bandPanel.setVisible (true);
    window->press (centreOf (*panel->bandPanel.labeledLowQKnob.knob));
    window->release ({400.0f, 5.0f});
    EXPECT_TRUE (panel->bandPanel.isVisible());
}

// The high-frequency knob shows its value without a unit; the others keep their suffixes.
TEST_F (TonePanelOnScreen, HoveringAKnobShowsItsValueTextInItsCaption)
{
    clickToggle();
    const struct
    {
        LabeledKnob& knob;
        const char* caption;
        const char* valueText;
    } cases[] = {
        {panel->bandPanel.labeledLowFrequencyKnob, "FREQ", "120 Hz"},
        {panel->bandPanel.labeledMidFrequencyKnob, "FREQ", "1800 hz"},
        {panel->bandPanel.labeledHighFrequencyKnob, "FREQ", "2500"},
        {panel->bandPanel.labeledHighQKnob, "Q", "0.5"},
        {panel->labeledDriveKnob, "DRIVE", "0.0 db"},
        {panel->labeledShapeKnob, "SHAPE", "0 %"},
        {panel->labeledDamperKnob, "DAMPER", "20000 Hz"},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ (c.knob.label.getText(), c.caption);
        window->move (centreOf (*c.knob.knob));
        EXPECT_EQ (c.knob.label.getText(), c.valueText);
        window->leave();
        EXPECT_EQ (c.knob.label.getText(), c.caption);
    }
}

TEST (TonePanelSubPresets, SaveStoresTheToneGroupAndLoadBringsItBack)
{
    if (!DesktopWindow::displayAvailable())
        GTEST_SKIP() << "needs a display";
    ScratchPresets scratch;
    ModalAnswerer answerer;
    ASSERT_TRUE (answerer.hasFocus());
    TonePanel panel (scratch.processor.get());
    auto& drive = *scratch.processor->apvts.getParameter ("toneDrive");
    auto& midFrequency = *scratch.processor->apvts.getParameter ("toneMidFreq");
    drive.setValueNotifyingHost (0.25f);
    midFrequency.setValueNotifyingHost (0.75f);
    const auto savedDrive = drive.getValue();
    const auto savedMidFrequency = midFrequency.getValue();

    answerer.choose ({"Save-As..."}).enterText ("Warm", "Confirm");
    panel.saveButton.triggerClick();
    pumpMessages (100);
    const auto warm = scratch.root.getChildFile ("SubPresets/Warm.Tsp");
    EXPECT_EQ (warm.getSize(), 64);

    drive.setValueNotifyingHost (0.9f);
    midFrequency.setValueNotifyingHost (0.1f);
    answerer.choose ({"Warm"});
    panel.loadButton.triggerClick();
    pumpMessages (100);

    EXPECT_EQ (drive.getValue(), savedDrive);
    EXPECT_EQ (midFrequency.getValue(), savedMidFrequency);
    EXPECT_NEAR (panel.driveKnob.getValue(), drive.convertFrom0to1 (savedDrive), 1.0e-4) << "the knob follows";
    EXPECT_EQ (answerer.shown.size(), 3);
    EXPECT_EQ (answerer.problems(), juce::StringArray());
}
