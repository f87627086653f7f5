#include "ImageProbes.h"
#include "UiSnapshot.h"
#include "ui/controls/BasicButton.h"
#include "ui/style/ButtonLookAndFeels.h"
#include "ui/style/UiConstants.h"

#include <gtest/gtest.h>

namespace
{
using testsupport::overlaid;
const juce::Colour transparent (0x00000000);
const auto white = juce::Colours::white;

enum class Look
{
    square,
    power,
    panel,
    drop
};

struct ButtonState
{
    const char* name;
    bool down, toggled;
};
const ButtonState normal{"normal", false, false}, pressed{"pressed", true, false}, toggled{"toggled", false, true},
    toggledPressed{"toggled and pressed", true, true};

class ButtonDrawing : public ::testing::Test
{
protected:
    juce::LookAndFeel& lookFor (Look look)
    {
        switch (look)
        {
        case Look::square:
            return squareLook.get();
        case Look::power:
            return powerLook.get();
        case Look::panel:
            return panelLook.get();
        case Look::drop:
            return dropLook.get();
        }
        return squareLook.get();
    }

    juce::Image paint (Look look, int width, int height, const ButtonState& state, const juce::String& text = {},
                       juce::Button::ButtonState mouseState = juce::Button::buttonNormal)
    {
        BasicButton button;
        button.setLookAndFeel (&lookFor (look));
        button.setButtonText (text);
        button.setSize (width, height);
        button.setToggleState (state.toggled, juce::dontSendNotification);
        button.setState (state.down ? juce::Button::buttonDown : mouseState);
        auto image = testsupport::paintToImage (button);
        button.setLookAndFeel (nullptr);
        return image;
    }

    juce::SharedResourcePointer<ButtonLookAndFeel> squareLook;
    juce::SharedResourcePointer<OrangeButtonLookAndFeel> powerLook;
    juce::SharedResourcePointer<PanelButtonLookAndFeel> panelLook;
    juce::SharedResourcePointer<DropButtonLookAndFeel> dropLook;
};

// The colours a look shows in the 2-pixel margin and inside the inset rectangle for a state.
struct FillCase
{
    Look look;
    ButtonState state;
    juce::Colour margin, inside;
};

std::vector<FillCase> fillCases()
{
    const auto squareDown = overlaid (buttonOnColour, white, 0.75f);
    const auto powerDown = overlaid (powerButtonOffColour, white, 0.75f);
    return {
        {Look::square, normal, buttonOffColour, buttonOffColour},
        {Look::square, pressed, squareDown, squareDown},
        {Look::square, toggled, buttonOnColour, overlaid (buttonOnColour, white, 0.5f)},
        {Look::square, toggledPressed, buttonOnColour, overlaid (buttonOnColour, white, 0.5f)},
        {Look::power, normal, powerButtonOffColour, powerButtonOffColour},
        {Look::power, pressed, powerDown, powerDown},
        {Look::power, toggled, powerButtonOnColour, overlaid (powerButtonOnColour, white, 0.4f)},
        {Look::power, toggledPressed, powerButtonOnColour, overlaid (powerButtonOnColour, white, 0.4f)},
        // The drop look's 2-pixel border covers the margin.
        {Look::drop, normal, borderColour, comboBoxColour},
        {Look::drop, pressed, borderColour, comboBoxColour},
        {Look::drop, toggled, borderColour, comboBoxColour},
    };
}
} // namespace

// A 17-pixel button has a 1-pixel border, so its second pixel column is the margin outside the
// inset rectangle; the third is inside it. The same holds at double height for the inside.
TEST_F (ButtonDrawing, StatesFillTheMarginAndTheInsetAsEachLookSays)
{
    for (const auto& c : fillCases())
    {
        SCOPED_TRACE (testing::Message() << "look " << (int)c.look << ", " << c.state.name);
        EXPECT_TRUE (testsupport::pixelsMatch (
            paint (c.look, 50, 17, c.state),
            {{1.5f, 13.5f, c.margin, "margin"}, {3.5f, 13.5f, c.inside, "inside"}, {25.0f, 9.5f, c.inside, "middle"}}));
        EXPECT_TRUE (testsupport::pixelsMatch (paint (c.look, 100, 34, c.state), {{4.5f, 17.0f, c.inside, "inside"}}));
    }
}

// Border thickness in whole pixels: trunc(h / 11.333333) for the square look, trunc(h / 8.666667)
// for the power look, trunc(h / 12) for the panel look, always 2 for the drop look.
TEST_F (ButtonDrawing, BorderThicknessFollowsTheHeight)
{
    struct Case
    {
        Look look;
        int height;
        int border;
        juce::Colour inside;
    };
    const Case cases[] = {
        {Look::square, 11, 0, buttonOffColour},     {Look::square, 17, 1, buttonOffColour},
        {Look::square, 23, 2, buttonOffColour},     {Look::square, 34, 3, buttonOffColour},
        {Look::power, 8, 0, powerButtonOffColour},  {Look::power, 13, 1, powerButtonOffColour},
        {Look::power, 17, 1, powerButtonOffColour}, {Look::power, 18, 2, powerButtonOffColour},
        {Look::power, 26, 3, powerButtonOffColour}, {Look::drop, 11, 2, comboBoxColour},
        {Look::drop, 34, 2, comboBoxColour},        {Look::panel, 11, 0, transparent},
        {Look::panel, 12, 1, transparent},          {Look::panel, 24, 2, transparent},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << "look " << (int)c.look << ", height " << c.height);
        const auto image = paint (c.look, 60, c.height, normal);
        const auto middle = (float)c.height * 0.5f;
        std::vector<testsupport::PixelProbe> probes{{c.border + 0.5f, middle, c.inside, "first pixel inside"}};
        if (c.border > 0)
        {
            probes.push_back ({c.border - 0.5f, middle, borderColour, "last border pixel on the left"});
            probes.push_back ({59.5f - c.border + 1, middle, borderColour, "last border pixel on the right"});
            probes.push_back ({30.0f, c.border - 0.5f, borderColour, "last border pixel on the top"});
            probes.push_back ({30.0f, c.height - c.border + 0.5f, borderColour, "last border pixel at the bottom"});
        }
        EXPECT_TRUE (testsupport::pixelsMatch (image, probes));
    }
}

// The panel look's two bars: x from w / 16.666666, w / 1.1363636 wide, at h / 3 and
// h / 1.7142857, h / 12 high; nothing between them.
TEST_F (ButtonDrawing, PanelLookDrawsTwoBarsAndNoBackground)
{
    for (auto size : {juce::Point<int> (50, 12), juce::Point<int> (100, 24)})
    {
        const auto w = (float)size.x, h = (float)size.y;
        const auto left = w / 16.666666f, right = left + w / 1.1363636f, bar = h / 12.0f;
        const auto top1 = h / 3.0f, top2 = h / 1.7142857f;
        EXPECT_TRUE (
            testsupport::pixelsMatch (paint (Look::panel, size.x, size.y, normal),
                                      {{w * 0.5f, top1 + bar * 0.5f, borderColour, "upper bar"},
                                       {w * 0.5f, top2 + bar * 0.5f, borderColour, "lower bar"},
                                       {left + 0.5f, top1 + bar * 0.5f, borderColour, "upper bar's left end"},
                                       {right - 0.5f, top2 + bar * 0.5f, borderColour, "lower bar's right end"},
                                       {left - 1.0f, top1 + bar * 0.5f, transparent, "left of the bars"},
                                       {w * 0.5f, (top1 + bar + top2) * 0.5f, transparent, "between the bars"},
                                       {w * 0.5f, top1 - 1.0f, transparent, "above the bars"},
                                       {w * 0.5f, top2 + bar + 1.0f, transparent, "below the bars"}}))
            << size.x << "x" << size.y;
    }
}

// The caption of the square and drop looks: the bold font at h / 1.4 (square) or h / 1.5 (drop),
// one line centred in the inset rectangle, in the label text colour.
TEST_F (ButtonDrawing, CaptionIsCentredInTheInsetAtItsHeight)
{
    struct Case
    {
        Look look;
        int width, height;
        float divisor;
        juce::Colour background;
        const char* text;
    };
    const Case cases[] = {
        {Look::square, 47, 17, 1.4f, buttonOffColour, "LOAD"},  {Look::square, 94, 34, 1.4f, buttonOffColour, "LOAD"},
        {Look::square, 30, 17, 1.4f, buttonOffColour, "!?!"},   {Look::square, 240, 70, 1.4f, buttonOffColour, "SAVE"},
        {Look::drop, 200, 19, 1.5f, comboBoxColour, "Default"}, {Look::drop, 400, 38, 1.5f, comboBoxColour, "Default"},
        {Look::drop, 240, 70, 1.5f, comboBoxColour, "SAVE"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << c.text << " " << c.width << "x" << c.height);
        const auto image = paint (c.look, c.width, c.height, normal, c.text);
        const juce::Rectangle<int> inset (2, 2, c.width - 4, c.height - 4);
        const auto reference =
            testsupport::paintedWith (c.width, c.height,
                                      [&] (juce::Graphics& g)
                                      {
                                          g.fillAll (c.background);
                                          g.setColour (labelTextColour);
                                          g.setFont (buttonFont.withHeight ((float)c.height / c.divisor));
                                          g.drawFittedText (c.text, inset, juce::Justification::centred, 1);
                                      });
        const auto border = c.look == Look::drop ? 2 : (int)((float)c.height / 11.333333f);
        const auto inner = juce::Rectangle<int> (0, 0, c.width, c.height).reduced (juce::jmax (border, 2));
        const auto ink = testsupport::inkBounds (image, c.background, 24, inner);
        EXPECT_FALSE (ink.isEmpty());
        EXPECT_EQ (ink, testsupport::inkBounds (reference, c.background, 24, inner));
        EXPECT_TRUE (testsupport::anyPixelClose (image, labelTextColour, inner, 24));
    }
}

// Below 5 pixels the inset rectangle is empty: no caption, no inner veil.
TEST_F (ButtonDrawing, TinyButtonsDrawNoCaption)
{
    for (auto look : {Look::square, Look::drop})
    {
        EXPECT_TRUE (testsupport::imagesEqual (paint (look, 4, 17, normal, "LOAD"), paint (look, 4, 17, normal)));
        EXPECT_TRUE (testsupport::imagesEqual (paint (look, 47, 4, normal, "LOAD"), paint (look, 47, 4, normal)));
    }
}

// No look shows a mouse-over state: a hovered button paints exactly as a resting one. The panel
// look shows no pressed or toggled state either.
TEST_F (ButtonDrawing, MouseOverChangesNothing)
{
    for (auto look : {Look::square, Look::power, Look::panel, Look::drop})
        for (const auto& state : {normal, toggled})
            EXPECT_TRUE (testsupport::imagesEqual (paint (look, 47, 17, state, "LOAD", juce::Button::buttonOver),
                                                   paint (look, 47, 17, state, "LOAD")))
                << "look " << (int)look << " " << state.name;

    for (const auto& state : {pressed, toggled, toggledPressed})
        EXPECT_TRUE (testsupport::imagesEqual (paint (Look::panel, 50, 12, state), paint (Look::panel, 50, 12, normal)))
            << state.name;
}

// The power look leaves its caption to JUCE, which draws it in the look's own button colour.
TEST_F (ButtonDrawing, PowerLookCaptionIsJucesInTheButtonColour)
{
    const auto image = paint (Look::power, 60, 34, normal, "ON");
    EXPECT_TRUE (testsupport::anyPixelClose (image, medButtonColour, image.getBounds().reduced (6), 12));
}
