#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The editor's one linear control (the echo length), with the knobs' value texts.
class BasicSlider : public juce::Slider
{
public:
    BasicSlider (float minimum, float maximum, const juce::String& suffixText);
    ~BasicSlider() override;

    double getValueFromText (const juce::String& text) override;
    juce::String getTextFromValue (double value) override;

    juce::String suffix;

private:
    JUCE_DECLARE_NON_COPYABLE (BasicSlider)
};
