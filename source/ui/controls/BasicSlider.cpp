#include "ui/controls/BasicSlider.h"

#include "ui/controls/ValueText.h"

BasicSlider::BasicSlider (float minimum, float maximum, const juce::String& suffixText) : suffix (suffixText)
{
    setTextBoxStyle (juce::Slider::NoTextBox, false, 0, 0);
    setSliderStyle (juce::Slider::LinearBar);
    setRange (minimum, maximum, 0.0);
}

BasicSlider::~BasicSlider() = default;

// A text that reads as not a number leaves the fader where it is.
double BasicSlider::getValueFromText (const juce::String& text)
{
    return valueText::numberBeforeFirstBlank (text, getRange()).value_or (getValue());
}

juce::String BasicSlider::getTextFromValue (double value)
{
    return valueText::withSuffix (value, suffix);
}
