#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A rotary control that carries its own colours and unit suffix and makes its own value texts:
// they stay in force after a parameter attachment has installed the parameter's.
class BasicKnob : public juce::Slider
{
public:
    BasicKnob (float minimum, float maximum, const juce::String& suffixText);
    ~BasicKnob() override;

    double getValueFromText (const juce::String& text) override;
    juce::String getTextFromValue (double value) override;

    juce::Colour fillColour{0xFFC1CED2};
    juce::Colour outlineColour{0xFF30373A};
    juce::Colour pointerColour{0xFF312E2C};
    juce::String suffix;

private:
    JUCE_DECLARE_NON_COPYABLE (BasicKnob)
};

// A knob that shows decibels, "-INF dB" at its floor.
class DecibelKnob : public BasicKnob
{
public:
    DecibelKnob (float minimum, float maximum);
    ~DecibelKnob() override;

    double getValueFromText (const juce::String& text) override;
    juce::String getTextFromValue (double value) override;

    float floorValue = -100.0f;

private:
    JUCE_DECLARE_NON_COPYABLE (DecibelKnob)
};

// The two knob looks: one drawing routine, differing in which colour goes where and in the
// pointer's length. They sit beside the knob because they draw with its colour fields.
class BasicLookAndFeel : public juce::LookAndFeel_V4
{
public:
    void drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                           float rotaryStartAngle, float rotaryEndAngle, juce::Slider& slider) override;
};

class BlackKnobLookAndFeel : public juce::LookAndFeel_V4
{
public:
    void drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                           float rotaryStartAngle, float rotaryEndAngle, juce::Slider& slider) override;
};
