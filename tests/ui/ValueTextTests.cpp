#include "ProcessorHarness.h"
#include "ui/controls/BasicSlider.h"
#include "ui/controls/Knobs.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{
constexpr double infinity = std::numeric_limits<double>::infinity();
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

// The controls under test sit at this value, so a reading that keeps the value shows as it.
constexpr double currentValue = 7.0;

struct TextCase
{
    double value;
    const char* suffix;
    const char* text;
};

struct ReadCase
{
    const char* text;
    double value;
};

template <typename Control> void expectTexts (Control& control, const TextCase& c)
{
    control.suffix = c.suffix;
    EXPECT_EQ (control.getTextFromValue (c.value), c.text) << c.value << " with suffix \"" << c.suffix << "\"";
}

template <typename Control> void expectReadings (Control& control, const ReadCase& c)
{
    control.setValue (currentValue, juce::dontSendNotification);
    EXPECT_EQ (control.getValueFromText (c.text), c.value) << "\"" << c.text << "\"";
}

// Knob and fader share their texts: the value with six significant digits and its unit; they
// read the number before the first blank.
const TextCase plainTexts[] = {
    {250.0, "ms", "250 ms"},
    {0.5, "", "0.5"},
    {1234567.0, "", "1.23457e+06"},
    {1234.567, "Hz", "1234.57 Hz"},
    {-6.5, "%", "-6.5 %"},
    {50.0, "", "50"},
    {0.0, "ms", "0 ms"},
};

// A text that reads as not a number leaves the control at its value; an infinite number stands
// for the end of the control's range (-100 to 100 here) on its side.
const ReadCase plainReadings[] = {
    {"250 ms", 250.0},
    {"12.5", 12.5},
    {"abc", 0.0},
    {" 250", 0.0},
    {"", 0.0},
    {"-3.5e1 Hz", -35.0},
    {"42ms", 42.0},
    {"nan", currentValue},
    {"inf", 100.0},
    {"-inf ms", -100.0},
    {"1e999", 100.0},
    {"-1e999 Hz", -100.0},
    {"NaN %", currentValue},
};
} // namespace

TEST (KnobTexts, ValueWithSixSignificantDigitsAndItsUnit)
{
    BasicKnob knob (0.0f, 100.0f, "ms");
    for (const auto& c : plainTexts)
        expectTexts (knob, c);
}

TEST (KnobTexts, ReadsTheNumberBeforeTheFirstBlank)
{
    BasicKnob knob (-100.0f, 100.0f, "ms");
    for (const auto& c : plainReadings)
        expectReadings (knob, c);
}

TEST (FaderTexts, SameTextsAsTheKnobs)
{
    BasicSlider fader (-100.0f, 100.0f, "");
    for (const auto& c : plainTexts)
        expectTexts (fader, c);
    for (const auto& c : plainReadings)
        expectReadings (fader, c);
}

TEST (DecibelKnobTexts, SignedTwoDecimalsWithTheFloorShownAsMinusInfinity)
{
    DecibelKnob knob (-100.0f, 12.0f);
    const std::pair<double, const char*> cases[] = {
        {0.0, "0.0 db"},     {-0.0, "0.0 db"},    {0.001, "+0.00 dB"},    {-0.001, "-0.00 dB"},
        {12.0, "+12.00 dB"}, {3.0, "+3.00 dB"},   {-6.5, "-6.50 dB"},     {-99.999, "-100.00 dB"},
        {-100.0, "-INF dB"}, {-150.0, "-INF dB"}, {-infinity, "-INF dB"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ (knob.getTextFromValue (value), text) << value;
}

TEST (DecibelKnobTexts, ReadsTheNumberBeforeAnUpperCaseDbAndMinusInfinityAsTheFloor)
{
    DecibelKnob knob (-100.0f, 12.0f);
    const ReadCase cases[] = {
        {"-inf", -100.0},
        {" -INF ", -100.0},
        {"-Inf", -100.0},
        {"-6DB", -6.0},
        {"-6 dB", -6.0},
        {"+3.00 dB", 3.0},
        {"0.0 db", 0.0},
        {"abc", 0.0},
        // The knob's own floor text is not cut and reads as minus infinity: the floor again.
        {"-INF dB", -100.0},
        {"nan", currentValue},
        {"inf", 12.0},
        {"1e999 DB", 12.0},
    };
    for (const auto& c : cases)
        expectReadings (knob, c);
}

// Values that should never reach a control still give a text rather than a crash.
TEST (ControlTexts, NonFiniteValuesStillGiveAText)
{
    BasicKnob knob (0.0f, 1.0f, "ms");
    DecibelKnob decibels (-100.0f, 12.0f);
    BasicSlider fader (-100.0f, 100.0f, "");
    for (auto value : {notANumber, infinity, -infinity})
    {
        EXPECT_TRUE (knob.getTextFromValue (value).endsWith (" ms"));
        EXPECT_TRUE (decibels.getTextFromValue (value).endsWith ("dB"));
        EXPECT_TRUE (fader.getTextFromValue (value).isNotEmpty());
    }
}

// A slider attachment installs the parameter's own text functions on the control; the knob's
// and the fader's texts must stay in force.
TEST (ControlTexts, StayTheControlsOwnUnderAParameterAttachment)
{
    testsupport::ProcessorHarness harness;
    auto& tree = harness.processor->apvts;

    DecibelKnob knob (-100.0f, 12.0f);
    BasicSlider fader (-100.0f, 100.0f, "");
    juce::AudioProcessorValueTreeState::SliderAttachment knobAttachment (tree, "outputVolume", knob);
    juce::AudioProcessorValueTreeState::SliderAttachment faderAttachment (tree, "echoLength", fader);

    EXPECT_EQ (knob.getTextFromValue (-6.5), "-6.50 dB");
    EXPECT_EQ (knob.getValueFromText ("-inf"), -100.0);
    EXPECT_EQ (fader.getTextFromValue (50.0), "50");
    EXPECT_EQ (fader.getValueFromText ("-20 x"), -20.0);
}
