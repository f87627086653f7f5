#include "ui/controls/Knobs.h"

#include "ui/controls/ValueText.h"

BasicKnob::BasicKnob (float minimum, float maximum, const juce::String& suffixText) : suffix (suffixText)
{
    setTextBoxStyle (juce::Slider::NoTextBox, false, 0, 0);
    setSliderStyle (juce::Slider::RotaryHorizontalVerticalDrag);
    setRange (minimum, maximum, 0.0);
}

BasicKnob::~BasicKnob() = default;

// A text that reads as not a number leaves the knob where it is.
double BasicKnob::getValueFromText (const juce::String& text)
{
    return valueText::numberBeforeFirstBlank (text, getRange()).value_or (getValue());
}

juce::String BasicKnob::getTextFromValue (double value)
{
    return valueText::withSuffix (value, suffix);
}

DecibelKnob::DecibelKnob (float minimum, float maximum) : BasicKnob (minimum, maximum, {})
{
    floorValue = -100.0f;
}

DecibelKnob::~DecibelKnob() = default;

// The cut is case-sensitive on purpose: the knob's own " dB" and " db" endings are not cut, so
// its "-INF dB" goes to the number reader, which reads minus infinity: the bottom of the range.
double DecibelKnob::getValueFromText (const juce::String& text)
{
    const auto number = text.upToFirstOccurrenceOf ("DB", false, false).trim();
    if (number.equalsIgnoreCase ("-INF"))
        return floorValue;
    return valueText::readNumber (number, getRange()).value_or (getValue());
}

juce::String DecibelKnob::getTextFromValue (double value)
{
    if (value == 0.0)
        return "0.0 db";
    if (value <= -100.0)
        return "-INF dB";
    return (value >= 0.0 ? "+" : "") + juce::String (value, 2) + " dB";
}

namespace
{
// Which of the knob's colours each look paints where, and where its pointer starts (in radii
// above the centre).
struct KnobLook
{
    juce::Colour BasicKnob::*body;
    juce::Colour BasicKnob::*ring;
    juce::Colour BasicKnob::*pointer;
    float pointerTop;
};

const KnobLook basicKnobLook{&BasicKnob::fillColour, &BasicKnob::outlineColour, &BasicKnob::pointerColour, -0.75f};
const KnobLook blackKnobLook{&BasicKnob::outlineColour, &BasicKnob::outlineColour, &BasicKnob::fillColour, -0.9f};

void drawKnob (juce::Graphics& g, const KnobLook& look, const BasicKnob& knob, int x, int y, int width, int height,
               float sliderPos, float rotaryStartAngle, float rotaryEndAngle)
{
    const auto radius = juce::jmin ((float)width / 2.5f, (float)height / 2.5f);
    const auto centreX = (float)x + (float)width * 0.5f;
    const auto centreY = (float)y + (float)height * 0.5f;
    const juce::Rectangle<float> square (centreX - radius, centreY - radius, radius * 2.0f, radius * 2.0f);

    g.setColour (knob.*look.body);
    g.fillEllipse (square);
    g.setColour (knob.*look.ring);
    g.drawEllipse (square, radius / 3.0f);

    juce::Path pointer;
    pointer.addRectangle (-radius / 12.0f, look.pointerTop * radius, radius / 6.0f, 0.55f * radius);
    const auto angle = rotaryStartAngle + sliderPos * (rotaryEndAngle - rotaryStartAngle);
    pointer.applyTransform (juce::AffineTransform::rotation (angle).translated (centreX, centreY));
    g.setColour (knob.*look.pointer);
    g.fillPath (pointer);
}

} // namespace

// Sliders other than the plug-in's knobs keep JUCE's own rotary drawing.
void BasicLookAndFeel::drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                                         float rotaryStartAngle, float rotaryEndAngle, juce::Slider& slider)
{
    if (auto* knob = dynamic_cast<BasicKnob*> (&slider))
        drawKnob (g, basicKnobLook, *knob, x, y, width, height, sliderPos, rotaryStartAngle, rotaryEndAngle);
    else
        LookAndFeel_V4::drawRotarySlider (g, x, y, width, height, sliderPos, rotaryStartAngle, rotaryEndAngle, slider);
}

void BlackKnobLookAndFeel::drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                                             float rotaryStartAngle, float rotaryEndAngle, juce::Slider& slider)
{
    if (auto* knob = dynamic_cast<BasicKnob*> (&slider))
        drawKnob (g, blackKnobLook, *knob, x, y, width, height, sliderPos, rotaryStartAngle, rotaryEndAngle);
    else
        LookAndFeel_V4::drawRotarySlider (g, x, y, width, height, sliderPos, rotaryStartAngle, rotaryEndAngle, slider);
}
