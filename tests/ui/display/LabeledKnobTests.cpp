#include "ParameterWatch.h"
#include "ProcessorHarness.h"
#include "UiSnapshot.h"
#include "support/display/DesktopWindow.h"
#include "ui/controls/LabeledControls.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
// A 100 x 100 labelled knob on the screen: the knob takes (0, 0, 100, 72) and its hover square
// is [19, 81) x [5, 67); the label takes (0, 70, 100, 28).
class LabeledKnobOnScreen : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!testsupport::DesktopWindow::displayAvailable())
            GTEST_SKIP() << "needs a display";
        // The system pointer stays off the window: its own events would move the hover.
        juce::Desktop::setMousePosition ({1200, 1000});
        knob.setLookAndFeel (&knobLook.get());
        wrapper.setLookAndFeel (&captionLook.get());
        wrapper.setSize (100, 100);
        knob.setValue (250.0, juce::dontSendNotification);
        window = std::make_unique<testsupport::DesktopWindow> (wrapper);
    }

    void TearDown() override
    {
        window.reset();
        knob.setLookAndFeel (nullptr);
        wrapper.setLookAndFeel (nullptr);
    }

    juce::String shown() const { return wrapper.label.getText(); }

    // Double-clicks the caption, which opens its editor with the text selected, and types.
    void typeIntoCaption (const juce::String& text)
    {
        window->doubleClick ({50.0f, 84.0f});
        ASSERT_TRUE (wrapper.label.isBeingEdited());
        window->type (text);
    }

    juce::SharedResourcePointer<BasicLookAndFeel> knobLook;
    juce::SharedResourcePointer<KnobLabelLookAndFeel> captionLook;
    BasicKnob knob{0.0f, 1000.0f, "ms"};
    LabeledKnob wrapper{"DELAY", knob};
    std::unique_ptr<testsupport::DesktopWindow> window;
};

const juce::KeyPress returnKey (juce::KeyPress::returnKey);
} // namespace

// Entering the wrapper at a point shows the value where the point lies inside the knob's hover
// square or the label, and the caption elsewhere; leaving restores the caption at once.
TEST_F (LabeledKnobOnScreen, HoverSquareAndLabelShowTheValueText)
{
    struct Case
    {
        float x, y;
        bool showsValue;
    };
    const Case cases[] = {
        {19, 5, true},   {80, 66, true}, {50, 36, true},  {18, 30, false}, {81, 30, false}, {50, 4, false},
        {50, 67, false}, {2, 2, false},  {98, 69, false}, {50, 70, true},  {99, 97, true},  {50, 98, false},
    };
    for (const auto& c : cases)
    {
        window->leave();
        ASSERT_EQ (shown(), "DELAY");
        window->move ({c.x, c.y});
        EXPECT_EQ (shown(), c.showsValue ? "250 ms" : "DELAY") << c.x << ", " << c.y;
    }
    window->leave();
    EXPECT_EQ (shown(), "DELAY");
}

TEST_F (LabeledKnobOnScreen, ValueTextFollowsTheKnobOnlyWhileHovered)
{
    window->move ({50, 36});
    knob.setValue (300.0);
    testsupport::pumpMessages (50);
    EXPECT_EQ (shown(), "300 ms");

    window->leave();
    knob.setValue (400.0);
    testsupport::pumpMessages (50);
    EXPECT_EQ (shown(), "DELAY");
}

// Off the knob's square and the label but still inside the wrapper, the value text stays until
// 3000 ms after the last move.
TEST_F (LabeledKnobOnScreen, CaptionReturnsThreeSecondsAfterTheLastMoveOffTheKnob)
{
    window->move ({50, 36});
    window->move ({3, 30});
    EXPECT_EQ (shown(), "250 ms");

    testsupport::pumpMessages (2000);
    window->move ({4, 30});
    testsupport::pumpMessages (2000);
    EXPECT_EQ (shown(), "250 ms") << "each move starts the countdown again";

    // The countdown ends 1000 ms from here; a loaded machine may deliver the tick late.
    for (int waited = 0; waited < 4000 && shown() != "DELAY"; waited += 50)
        testsupport::pumpMessages (50);
    EXPECT_EQ (shown(), "DELAY");
}

// Return applies the typed text as the knob reads it, limited to the range, an infinite number at
// its end; a text that reads as not a number leaves the knob where it was. The caption under the
// pointer then shows the value the knob holds, not the typed text.
TEST_F (LabeledKnobOnScreen, TypedValueAppliesOnReturn)
{
    ASSERT_TRUE (window->grabFocus());
    struct Case
    {
        const char* typed;
        double value;
        const char* shown;
    };
    const Case cases[] = {
        {"500", 500.0, "500 ms"},   {"12.5 ms", 12.5, "12.5 ms"}, {"2000", 1000.0, "1000 ms"},
        {"-5", 0.0, "0 ms"},        {"abc", 0.0, "0 ms"},         {"nan", 250.0, "250 ms"},
        {"inf", 1000.0, "1000 ms"}, {"-inf", 0.0, "0 ms"},        {"1e999", 1000.0, "1000 ms"},
    };
    for (const auto& c : cases)
    {
        knob.setValue (250.0, juce::dontSendNotification);
        typeIntoCaption (c.typed);
        window->pressKey (returnKey);
        testsupport::pumpMessages (50);
        EXPECT_FALSE (wrapper.label.isBeingEdited());
        EXPECT_EQ (knob.getValue(), c.value) << c.typed;
        EXPECT_EQ (shown(), c.shown) << c.typed;
    }
}

// A typed value applied while the pointer is off the wrapper leaves the caption in place.
TEST_F (LabeledKnobOnScreen, TypedValueAppliedAwayFromTheWrapperRestoresTheCaption)
{
    ASSERT_TRUE (window->grabFocus());
    typeIntoCaption ("600");
    window->leave();
    window->pressKey (returnKey);
    testsupport::pumpMessages (50);
    EXPECT_EQ (knob.getValue(), 600.0);
    EXPECT_EQ (shown(), "DELAY");
}

// Bound to a parameter, a typed value reaches it and the host, an infinite one as the range's end;
// a text that reads as not a number changes nothing there either.
TEST_F (LabeledKnobOnScreen, TypedValueReachesTheBoundParameterAndTheHost)
{
    ASSERT_TRUE (window->grabFocus());
    testsupport::ProcessorHarness harness;
    juce::AudioProcessorValueTreeState::SliderAttachment attachment (harness.processor->apvts, "echoFeedback", knob);
    testsupport::ParameterWatch watch (*harness.processor);

    typeIntoCaption ("75.5 %");
    window->pressKey (returnKey);
    testsupport::pumpMessages (50);
    EXPECT_NEAR (harness.getPlain ("echoFeedback"), 75.5f, 0.01f);
    EXPECT_GE (watch.changes ("echoFeedback"), 1);

    watch.reset();
    for (const char* typed : {"nan %", "NaN"})
    {
        typeIntoCaption (typed);
        window->pressKey (returnKey);
        testsupport::pumpMessages (50);
    }
    EXPECT_NEAR (harness.getPlain ("echoFeedback"), 75.5f, 0.01f);
    EXPECT_EQ (watch.totalChanges(), 0);

    typeIntoCaption ("inf");
    window->pressKey (returnKey);
    testsupport::pumpMessages (50);
    EXPECT_EQ (harness.getPlain ("echoFeedback"), 120.0f);
    EXPECT_GE (watch.changes ("echoFeedback"), 1);
}

// Escape, or a click anywhere else, ends the edit without touching the value.
TEST_F (LabeledKnobOnScreen, AbandonedEditKeepsTheValue)
{
    ASSERT_TRUE (window->grabFocus());
    const std::function<void()> abandon[] = {
        [this] { window->pressKey (juce::KeyPress (juce::KeyPress::escapeKey)); },
        [this] {
            window->click ({50, 36});
        },
    };
    for (const auto& abandonEdit : abandon)
    {
        typeIntoCaption ("900");
        abandonEdit();
        testsupport::pumpMessages (50);
        EXPECT_FALSE (wrapper.label.isBeingEdited());
        EXPECT_EQ (knob.getValue(), 250.0);
    }
}

// While the user types, neither pointer moves, nor leaving, nor a change of the value from
// elsewhere (automation) replaces the text or closes the editor.
TEST_F (LabeledKnobOnScreen, EditSurvivesMovesAndValueChanges)
{
    ASSERT_TRUE (window->grabFocus());
    typeIntoCaption ("600");
    // The pointer is still over the caption, where a value change would otherwise show.
    knob.setValue (300.0, juce::sendNotificationSync);
    window->move ({30, 84});
    ASSERT_TRUE (wrapper.label.isBeingEdited());
    window->move ({50, 36});
    window->move ({3, 30});
    window->leave();
    ASSERT_TRUE (wrapper.label.isBeingEdited());

    window->pressKey (returnKey);
    testsupport::pumpMessages (50);
    EXPECT_EQ (knob.getValue(), 600.0);
}
