#include "ui/style/LabelLookAndFeels.h"

#include "ui/style/UiConstants.h"

namespace
{
struct CaptionStyle
{
    const juce::Colour& colour;
    float extraHeight;
    int top;
};

// Only the label's text and size count: its own colour settings play no part in the caption.
void drawCaption (juce::Graphics& g, const juce::Label& label, const CaptionStyle& style)
{
    const auto width = label.getWidth();
    const auto height = label.getHeight();
    g.setColour (style.colour);
    g.setFont (knobFont);
    g.setFont ((float)height + style.extraHeight);
    g.drawFittedText (label.getText(), juce::Rectangle<int> (0, style.top, width, height), juce::Justification::centred,
                      1);
}
} // namespace

void ComboLabelLookAndFeel::drawLabel (juce::Graphics& g, juce::Label& label)
{
    drawCaption (g, label, {labelTextColour, 0.0f, 1});
}

void KnobLabelLookAndFeel::drawLabel (juce::Graphics& g, juce::Label& label)
{
    drawCaption (g, label, {labelTextColour, 0.0f, 0});
}

void KnobSmWhiteLabelLookAndFeel::drawLabel (juce::Graphics& g, juce::Label& label)
{
    drawCaption (g, label, {headerTextColour, 3.0f, 0});
}

void SliderLabelLookAndFeel::drawLabel (juce::Graphics& g, juce::Label& label)
{
    drawCaption (g, label, {labelTextColour, 0.0f, 1});
}
