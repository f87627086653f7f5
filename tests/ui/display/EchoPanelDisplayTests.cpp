#include "ParameterWatch.h"
#include "ScratchPresets.h"
#include "UiSnapshot.h"
#include "support/display/DesktopWindow.h"
#include "support/display/ModalAnswerer.h"
#include "ui/panels/EchoPanel.h"

#include <gtest/gtest.h>

#include <memory>

using testsupport::pumpMessages;

namespace
{
// The echo panel at design size in a window of its own, on a processor whose presets live in a
// scratch folder.
class EchoPanelOnScreen : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!testsupport::DesktopWindow::displayAvailable())
            GTEST_SKIP() << "needs a display";
        panel = std::make_unique<EchoPanel> (scratch.processor.get());
        window = std::make_unique<testsupport::DesktopWindow> (*panel);
    }

    void TearDown() override
    {
        window.reset();
        panel.reset();
    }

    juce::RangedAudioParameter& parameter (const juce::String& identifier)
    {
        return *scratch.processor->apvts.getParameter (identifier);
    }

    float plain (const juce::String& identifier)
    {
        auto& p = parameter (identifier);
        return p.convertFrom0to1 (p.getValue());
    }

    void setPlain (const juce::String& identifier, float value)
    {
        auto& p = parameter (identifier);
        p.setValueNotifyingHost (p.convertTo0to1 (value));
        pumpMessages (20);
    }

    juce::Point<float> centreOf (juce::Component& component)
    {
        return panel->getLocalArea (&component, component.getLocalBounds()).getCentre().toFloat();
    }

    testsupport::ScratchPresets scratch;
    std::unique_ptr<EchoPanel> panel;
    std::unique_ptr<testsupport::DesktopWindow> window;
};
} // namespace

TEST_F (EchoPanelOnScreen, FeedbackKnobShowsItsValueWhileHoveredAndTakesTypedValues)
{
    ASSERT_TRUE (window->grabFocus());
    auto& label = panel->feedbackLabeled.label;

    window->move (centreOf (panel->feedbackKnob));
    EXPECT_EQ (label.getText(), "40 %");
    window->leave();
    EXPECT_EQ (label.getText(), "FEEDBACK");

    const auto typeIntoLabel = [&] (const juce::String& text)
    {
        window->doubleClick (centreOf (label));
        pumpMessages (20);
        ASSERT_TRUE (label.isBeingEdited()) << text;
        window->type (text);
        window->pressKey (juce::KeyPress (juce::KeyPress::returnKey));
        pumpMessages (50);
    };
    const auto normalised = [&] { return parameter ("echoFeedback").getValue(); };

    typeIntoLabel ("abc");
    EXPECT_EQ (normalised(), 0.0f);
    typeIntoLabel ("55 %");
    EXPECT_NEAR (normalised(), 0.458333f, 1.0e-6f);
    typeIntoLabel ("nan");
    EXPECT_NEAR (normalised(), 0.458333f, 1.0e-6f);
}

TEST_F (EchoPanelOnScreen, MouseWheelStepsEveryMenuButTheSyncMode)
{
    const auto wheelDown = [&] (BasicComboBox& box) { window->wheel (centreOf (box), -0.25f); };

    for (const auto deltaY : {-0.25f, 0.25f})
    {
        window->wheel (centreOf (panel->syncBox), deltaY);
        pumpMessages (20);
        EXPECT_EQ (plain ("echoSync"), 1.0f);
    }

    // Factor mode first: its "Auto" shows the factor rate.
    const std::pair<const char*, BasicComboBox EchoPanel::*> steppedMenus[] = {
        {"echoFactorMode", &EchoPanel::factorModeBox}, {"echoFactorRate", &EchoPanel::factorRateBox},
        {"echoRateLeft", &EchoPanel::rateLeftBox},     {"echoRateRight", &EchoPanel::rateRightBox},
        {"echoMin", &EchoPanel::minimumBox},           {"echoMax", &EchoPanel::maximumBox},
        {"echoMixMode", &EchoPanel::mixModeBox},
    };
    for (const auto& [identifier, box] : steppedMenus)
    {
        setPlain (identifier, 0.0f);
        ASSERT_TRUE ((panel.get()->*box).isShowing()) << identifier;
        wheelDown (panel.get()->*box);
        pumpMessages (20);
        EXPECT_EQ (plain (identifier), 1.0f) << identifier;
    }
}

TEST_F (EchoPanelOnScreen, DoubleClickAfterASyncChangeReturnsTheTimeTo500)
{
    setPlain ("echoTime", 100.0f);
    setPlain ("echoSync", 0.0f);
    ASSERT_TRUE (panel->timeKnob.isShowing());
    testsupport::ParameterWatch watch (*scratch.processor);

    window->doubleClick (centreOf (panel->timeKnob));
    pumpMessages (20);

    EXPECT_NEAR (plain ("echoTime"), 500.0f, 0.001f);
    EXPECT_EQ (watch.gesturesBegun ("echoTime"), watch.gesturesEnded ("echoTime"));
}

TEST_F (EchoPanelOnScreen, SaveAndLoadButtonsStoreAndRestoreTheEchoGroup)
{
    testsupport::ModalAnswerer answerer;
    ASSERT_TRUE (answerer.hasFocus());
    setPlain ("echoFeedback", 90.0f);
    setPlain ("echoSync", 0.0f);

    answerer.choose ({"Save-As..."}).enterText ("Mine", "Confirm");
    window->click (centreOf (panel->saveButton));
    const auto file = scratch.root.getChildFile ("SubPresets/Mine.Esp");
    EXPECT_EQ (file.getSize(), 92);

    setPlain ("echoFeedback", 10.0f);
    setPlain ("echoSync", 1.0f);
    setPlain ("echoInput", -30.0f);
    answerer.choose ({"Mine"});
    window->click (centreOf (panel->loadButton));
    pumpMessages (20);

    EXPECT_NEAR (plain ("echoFeedback"), 90.0f, 0.01f);
    EXPECT_NEAR (panel->feedbackKnob.getValue(), 90.0, 0.01);
    EXPECT_EQ (plain ("echoSync"), 0.0f);
    EXPECT_TRUE (panel->timeLabeled.isVisible());
    EXPECT_NEAR (plain ("echoInput"), 0.0f, 0.01f) << "the input level is part of the echo's sub-preset";
    EXPECT_EQ (answerer.shown,
               juce::StringArray ({"Save ECHO Sub Preset | - | NEW FOLDER... | - | Save-As...",
                                   "Save As: Enter New Sub-Preset Name []", "Load ECHO Sub Preset | - | Mine*"}));
    EXPECT_EQ (answerer.problems(), juce::StringArray());
}
