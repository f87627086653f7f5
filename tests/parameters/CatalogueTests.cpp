#include "parameters/PluginParameters.h"

#include <gtest/gtest.h>

#include <cmath>

// The text functions shared by every float parameter, called directly.
TEST (ParameterTexts, ValuesReadInGeneralNotationWithSixDigits)
{
    const struct
    {
        float value;
        int maximumLength;
        const char* text;
    } cases[] = {
        {0.5f, 128, "0.5"},        {120.0f, 128, "120"}, {-24.0f, 128, "-24"},
        {20000.0f, 128, "20000"},  {1.2f, 128, "1.2"},   {12345.67f, 128, "12345.7"},
        {19999.99f, 128, "20000"}, {1800.0f, 3, "180"},  {1800.0f, 0, ""},
        {0.0f, 128, "0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ (floatValueToText (c.value, c.maximumLength), juce::String (c.text)) << c.value;
}

TEST (ParameterTexts, TextsReadAsTheirLeadingNumberAndNaNAsNoNumber)
{
    const struct
    {
        const char* text;
        float value;
    } cases[] = {
        {"500", 500.0f}, {"  500 ms", 500.0f}, {"5e2", 500.0f}, {"-6 dB", -6.0f},
        {"abc", 0.0f},   {"", 0.0f},           {"nan", 0.0f},   {"NaN", 0.0f},
    };
    for (const auto& c : cases)
        EXPECT_EQ (floatTextToValue (c.text), c.value) << c.text;

    EXPECT_TRUE (std::isinf (floatTextToValue ("-inf")));
}

TEST (ParameterStrings, IdentifiersAreTheStemsAndCaptionsKeepTheirExactTexts)
{
    EXPECT_EQ (PluginParameters::toneDriveID, "toneDrive");
    EXPECT_EQ (PluginParameters::meltFlowPanelSwitchID, "meltFlowPanelSwitch");
    EXPECT_EQ (PluginParameters::toneMidFreqLabel, "hz");
    EXPECT_EQ (PluginParameters::toneLowFreqLabel, "Hz");
    EXPECT_EQ (PluginParameters::meltJumpRndLabel, "Ms");
    EXPECT_EQ (PluginParameters::echoTimeLabel, "ms");
    EXPECT_EQ (PluginParameters::toneLowQLabel, "");
    EXPECT_EQ (PluginParameters::tonePowerName, "");
    EXPECT_EQ (PluginParameters::echoRndName, "!?!");
    EXPECT_EQ (PluginParameters::meltFlowPowerParamName, PluginParameters::meltPowerParamName);
    EXPECT_EQ (PluginParameters::echoPowerParamName, "Echo On/Off");

    juce::StringArray identifiers;
#define PARAM_ANY(stem, ...) identifiers.add (PluginParameters::stem##ID);
#include "parameters/ForEachParameter.h"
    EXPECT_EQ (identifiers.size(), 81);
    identifiers.removeDuplicates (false);
    EXPECT_EQ (identifiers.size(), 81);
}
