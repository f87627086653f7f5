#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The fader: a thin track over a printed scale of tick marks, with a rectangular cap.
class FaderLookAndFeel : public juce::LookAndFeel_V4
{
public:
    void drawLinearSlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPos, float minSliderPos,
                           float maxSliderPos, juce::Slider::SliderStyle style, juce::Slider& slider) override;
    void drawLinearSliderThumb (juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                                float minSliderPos, float maxSliderPos, juce::Slider::SliderStyle style,
                                juce::Slider& slider) override;
};
