#include "ui/style/FaderLookAndFeel.h"

#include "ui/style/UiConstants.h"

#include <cmath>

// The scale is laid out on the slider's own size, not on the bar rectangle JUCE passes.
void FaderLookAndFeel::drawLinearSlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                                         float minSliderPos, float maxSliderPos, juce::Slider::SliderStyle style,
                                         juce::Slider& slider)
{
    const auto faderWidth = (float)slider.getWidth();
    const auto faderHeight = (float)slider.getHeight();

    g.setColour (borderColour);
    g.fillRect (juce::Rectangle<float> (faderWidth / 12.972973f, faderHeight / 2.3076923f, faderWidth / 1.1707317f,
                                        faderHeight / 6.0f));

    // Ticks every 24th of the width from the 2nd to the 22nd; the ends and the middle are wider.
    for (auto rowTop : {faderHeight / 6.0f, faderHeight / 1.5f})
        for (int k = 2; k <= 22; ++k)
        {
            const bool major = k == 2 || k == 12 || k == 22;
            g.fillRect (juce::Rectangle<float> (faderWidth / (24.0f / (float)k), rowTop,
                                                major ? faderWidth / 60.0f : faderWidth / 96.0f, faderHeight / 4.8f));
        }

    const auto outline = juce::jmin ((float)juce::jmin (width, height) * 0.45f, 15.0f) * 0.1f;
    g.drawRect (juce::Rectangle<float> (0.0f, 0.0f, faderWidth, faderHeight), outline);

    g.setColour (sliderBaseColour);
    g.drawRect (juce::Rectangle<int> (x, y, width, height).toFloat(), 1.0f);

    drawLinearSliderThumb (g, x, y, width, height, sliderPos, minSliderPos, maxSliderPos, style, slider);
}

// Unlike the other controls the cap does react to the pointer and the focus: its colour grows
// stronger while hovered, dragged or focused, and fades when the fader is disabled.
void FaderLookAndFeel::drawLinearSliderThumb (juce::Graphics& g, int, int, int, int, float sliderPos, float, float,
                                              juce::Slider::SliderStyle, juce::Slider& slider)
{
    const auto faderWidth = (float)slider.getWidth();
    const auto faderHeight = (float)slider.getHeight();
    const bool enabled = slider.isEnabled();
    const bool hovered = enabled && (slider.isMouseOverOrDragging() || slider.isMouseButtonDown());
    const bool focused = slider.hasKeyboardFocus (false);

    g.setColour (slider.findColour (juce::Slider::rotarySliderFillColourId)
                     .withMultipliedSaturation (focused || hovered ? 1.3f : 0.9f)
                     .withMultipliedAlpha (enabled ? 1.0f : 0.7f));
    g.fillRect (
        juce::Rectangle<float> (0.87f * sliderPos + 2.0f, faderHeight / 6.0f, faderWidth / 9.6f, faderHeight / 1.5f));

    g.setColour (headerTextColour);
    g.fillRect (juce::Rectangle<float> (std::trunc (sliderPos + 7.0f) / 1.1368421f, faderHeight / 4.0f,
                                        faderWidth / 48.0f, faderHeight / 2.0f));
}
