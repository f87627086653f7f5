#include "ui/style/ButtonLookAndFeels.h"

#include "ui/style/UiConstants.h"

#include <optional>

namespace
{
// What one look paints for a button; an empty entry means the look leaves that step out.
struct ButtonStyle
{
    std::optional<juce::Colour> colourEntries; // the look's button and caption colour entries
    std::optional<juce::Colour> baseFill;
    bool showsPressed;
    std::optional<juce::Colour> pressedFill; // under the pressed veil
    std::optional<juce::Colour> toggledFill; // under the toggled veil
    float toggledVeil;
    float borderDivisor;  // border thickness trunc(h / divisor) ...
    float fixedBorder;    // ... or this thickness when the divisor is 0
    float captionDivisor; // caption height h / divisor; 0 leaves the caption to JUCE
};

const ButtonStyle& squareButton()
{
    static const ButtonStyle style{
        medButtonColour, buttonOffColour, true, buttonOnColour, buttonOnColour, 0.5f, 11.333333f, 0.0f, 1.4f};
    return style;
}

const ButtonStyle& powerButton()
{
    static const ButtonStyle style{
        medButtonColour, powerButtonOffColour, true, std::nullopt, powerButtonOnColour, 0.4f, 8.666667f, 0.0f, 0.0f};
    return style;
}

const ButtonStyle& panelButton()
{
    static const ButtonStyle style{std::nullopt, std::nullopt, false, std::nullopt, std::nullopt,
                                   0.0f,         12.0f,        0.0f,  0.0f};
    return style;
}

const ButtonStyle& dropButton()
{
    static const ButtonStyle style{comboBoxColour, comboBoxColour, false, std::nullopt, std::nullopt,
                                   0.0f,           0.0f,           2.0f,  1.5f};
    return style;
}

void fillWithWhiteVeil (juce::Graphics& g, juce::Rectangle<int> area, float opacity)
{
    g.setColour (juce::Colours::white);
    g.setOpacity (opacity);
    g.fillRect (area);
}

// The highlight flags JUCE passes are never read: no button shows a mouse-over state.
void drawButton (juce::LookAndFeel& look, juce::Graphics& g, juce::Button& button, const ButtonStyle& style)
{
    const auto width = button.getWidth();
    const auto height = button.getHeight();
    const juce::Rectangle<int> full (0, 0, width, height);
    const juce::Rectangle<int> inset (2, 2, juce::jmax (0, width - 4), juce::jmax (0, height - 4));

    if (style.colourEntries)
        for (auto id :
             {juce::TextButton::buttonColourId, juce::TextButton::textColourOnId, juce::TextButton::textColourOffId})
            look.setColour (id, *style.colourEntries);

    if (style.baseFill)
    {
        g.setColour (*style.baseFill);
        g.fillRect (full);
    }

    if (style.showsPressed && button.getState() == juce::Button::buttonDown)
    {
        if (style.pressedFill)
        {
            g.setColour (*style.pressedFill);
            g.fillRect (full);
        }
        fillWithWhiteVeil (g, full, 0.75f);
    }

    if (style.toggledFill && button.getToggleState())
    {
        g.setColour (*style.toggledFill);
        g.fillRect (full);
        fillWithWhiteVeil (g, inset, style.toggledVeil);
    }

    const auto border =
        style.borderDivisor > 0.0f ? std::trunc ((float)height / style.borderDivisor) : style.fixedBorder;
    g.setColour (borderColour);
    g.drawRect (full.toFloat(), border);

    if (style.captionDivisor > 0.0f)
    {
        g.setColour (labelTextColour);
        g.setFont (buttonFont);
        g.setFont ((float)height / style.captionDivisor);
        g.drawFittedText (button.getButtonText(), inset, juce::Justification::centred, 1);
    }
}
} // namespace

void ButtonLookAndFeel::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour&, bool, bool)
{
    drawButton (*this, g, button, squareButton());
}

// The caption is drawn with the background, by drawButtonBackground.
void ButtonLookAndFeel::drawButtonText (juce::Graphics&, juce::TextButton&, bool, bool) {}

void OrangeButtonLookAndFeel::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour&, bool,
                                                    bool)
{
    drawButton (*this, g, button, powerButton());
}

void PanelButtonLookAndFeel::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour&, bool,
                                                   bool)
{
    const auto width = (float)button.getWidth();
    const auto height = (float)button.getHeight();
    g.setColour (borderColour);
    for (auto barTop : {height / 3.0f, height / 1.7142857f})
        g.fillRect (juce::Rectangle<float> (width / 16.666666f, barTop, width / 1.1363636f, height / 12.0f));

    drawButton (*this, g, button, panelButton());
}

void DropButtonLookAndFeel::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour&, bool,
                                                  bool)
{
    drawButton (*this, g, button, dropButton());
}

void DropButtonLookAndFeel::drawButtonText (juce::Graphics&, juce::TextButton&, bool, bool) {}
