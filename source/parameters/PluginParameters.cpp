#include "parameters/PluginParameters.h"

#include <array>
#include <cmath>
#include <limits>
#include <vector>

// The static strings, defined stem by stem in member order (ID, Name, ParamName, Label).
#define TR(text) juce::translate (text)
#define RAW(text) juce::String (text)
#define PARAM_FLOAT(stem, g, c, name, paramName, label, ...)                                                           \
    const juce::String PluginParameters::stem##ID = #stem;                                                             \
    const juce::String PluginParameters::stem##Name = name;                                                            \
    const juce::String PluginParameters::stem##ParamName = paramName;                                                  \
    const juce::String PluginParameters::stem##Label = label;
#define PARAM_DECIBEL PARAM_FLOAT
#define PARAM_INT(stem, g, c, name, paramName, ...)                                                                    \
    const juce::String PluginParameters::stem##ID = #stem;                                                             \
    const juce::String PluginParameters::stem##Name = name;                                                            \
    const juce::String PluginParameters::stem##ParamName = paramName;
#define PARAM_BOOL PARAM_INT
#define PARAM_PAGE(stem, g, c, name, def)                                                                              \
    const juce::String PluginParameters::stem##ID = #stem;                                                             \
    const juce::String PluginParameters::stem##Name = name;
RIROREZO3_PARAMETER_TABLE
#undef PARAM_FLOAT
#undef PARAM_DECIBEL
#undef PARAM_INT
#undef PARAM_BOOL
#undef PARAM_PAGE
#undef TR
#undef RAW

juce::String floatValueToText (float value, int maximumLength)
{
    return juce::String (static_cast<double> (value)).substring (0, maximumLength);
}

float floatTextToValue (const juce::String& text)
{
    // A text that reads as NaN counts as no number at all, so NaN never reaches a parameter.
    const auto value = text.getFloatValue();
    return std::isnan (value) ? 0.0f : value;
}

namespace
{
constexpr auto LINEAR = std::numeric_limits<float>::quiet_NaN();
constexpr int numberOfHostParameters = 90;
constexpr int numberOfPlaceholders = 9;

juce::NormalisableRange<float> makeRange (float start, float end, float interval, float centre)
{
    juce::NormalisableRange<float> range{start, end, interval};
    if (!std::isnan (centre))
        range.setSkewForCentre (centre);
    return range;
}

std::unique_ptr<juce::RangedAudioParameter> makeFloat (const juce::String& id, const juce::String& name,
                                                       const juce::String& label, float start, float end,
                                                       float interval, float centre, float defaultValue)
{
    return std::make_unique<juce::AudioParameterFloat> (
        juce::ParameterID{id, 1}, name, makeRange (start, end, interval, centre), defaultValue, label,
        juce::AudioProcessorParameter::genericParameter, floatValueToText, floatTextToValue);
}
} // namespace

juce::AudioProcessorValueTreeState::ParameterLayout PluginParameters::createParameterLayout()
{
    // The table is in member order; the host's list is in creation order.
    std::array<std::unique_ptr<juce::RangedAudioParameter>, numberOfHostParameters> byCreation;

#define PARAM_FLOAT(stem, g, creation, n, p, l, start, end, interval, centre, def, ...)                                \
    byCreation[creation - 1] = makeFloat (stem##ID, stem##ParamName, stem##Label, start, end, interval, centre, def);
#define PARAM_DECIBEL PARAM_FLOAT
#define PARAM_INT(stem, g, creation, n, p, max, def)                                                                   \
    byCreation[creation - 1] =                                                                                         \
        std::make_unique<juce::AudioParameterInt> (juce::ParameterID{stem##ID, 1}, stem##ParamName, 0, max, def);
#define PARAM_BOOL(stem, g, creation, n, p, def)                                                                       \
    byCreation[creation - 1] = std::make_unique<juce::AudioParameterBool> (                                            \
        juce::ParameterID{stem##ID, 1}, stem##ParamName, def, juce::AudioParameterBoolAttributes());
#define PARAM_PAGE(stem, g, creation, n, def)                                                                          \
    byCreation[creation - 1] = std::make_unique<juce::AudioParameterBool> (juce::ParameterID{stem##ID, 1}, stem##Name, \
                                                                           def, juce::AudioParameterBoolAttributes());
    RIROREZO3_PARAMETER_TABLE
#undef PARAM_FLOAT
#undef PARAM_DECIBEL
#undef PARAM_INT
#undef PARAM_BOOL
#undef PARAM_PAGE

    for (int i = 1; i <= numberOfPlaceholders; ++i)
        byCreation[static_cast<size_t> (numberOfHostParameters - numberOfPlaceholders + i - 1)] =
            makeFloat ("param" + juce::String (i), "param " + juce::String (i), "%", 0.0f, 1.0f, 0.001f, LINEAR, 0.0f);

    std::vector<std::unique_ptr<juce::RangedAudioParameter>> parameters;
    for (auto& parameter : byCreation)
    {
        jassert (parameter != nullptr);
        parameters.push_back (std::move (parameter));
    }

    return {parameters.begin(), parameters.end()};
}

PluginParameters::PluginParameters (juce::AudioProcessorValueTreeState& tree) : apvts (&tree)
{
    // Registering does not call the adaptor: the values keep their initial values.
#define PARAM_ANY(stem, ...) apvts->addParameterListener (stem##ID, &stem##Listener);
#include "parameters/ForEachParameter.h"
}

namespace
{
enum class ControlGroup
{
    ToneHidden,
    Tone,
    MeltFlow,
    MeltDropout,
    MeltJump,
    MeltMain,
    Echo,
    Master
};
} // namespace

// Expands the table into one statement per slot of the given group, in member order.
#define PARAM_FOR_GROUP(wanted)                                                                                        \
    {                                                                                                                  \
        constexpr auto group = ControlGroup::wanted;                                                                   \
        RIROREZO3_PARAMETER_TABLE                                                                                      \
    }
#define PARAM_ANY(stem, rowGroup, ...)                                                                                 \
    if constexpr (group == ControlGroup::rowGroup)                                                                     \
    {                                                                                                                  \
        PARAM_STATEMENT (stem)                                                                                         \
    }
#define PARAM_FLOAT PARAM_ANY
#define PARAM_DECIBEL PARAM_ANY
#define PARAM_INT PARAM_ANY
#define PARAM_BOOL PARAM_ANY
#define PARAM_PAGE PARAM_ANY

#define PARAM_STATEMENT(stem) stem##Attachment.reset();
// clang-format off
void PluginParameters::detachToneHiddenControls() PARAM_FOR_GROUP (ToneHidden)
void PluginParameters::detachToneControls() PARAM_FOR_GROUP (Tone)
void PluginParameters::detachMeltFlowControls() PARAM_FOR_GROUP (MeltFlow)
void PluginParameters::detachMeltDropoutControls() PARAM_FOR_GROUP (MeltDropout)
void PluginParameters::detachMeltJumpControls() PARAM_FOR_GROUP (MeltJump)
void PluginParameters::detachMeltMainControls() PARAM_FOR_GROUP (MeltMain)
void PluginParameters::detachEchoControls() PARAM_FOR_GROUP (Echo)
void PluginParameters::detachMasterControls() PARAM_FOR_GROUP (Master)
#undef PARAM_STATEMENT

// Group by group: empty the group's slots, then remove that group's adaptors.
#define PARAM_STATEMENT(stem) apvts->removeParameterListener (stem##ID, &stem##Listener);
PluginParameters::~PluginParameters()
{
    detachToneHiddenControls();
    PARAM_FOR_GROUP (ToneHidden)
    detachToneControls();
    PARAM_FOR_GROUP (Tone)
    detachMeltFlowControls();
    PARAM_FOR_GROUP (MeltFlow)
    detachMeltDropoutControls();
    PARAM_FOR_GROUP (MeltDropout)
    detachMeltJumpControls();
    PARAM_FOR_GROUP (MeltJump)
    detachMeltMainControls();
    PARAM_FOR_GROUP (MeltMain)
    detachEchoControls();
    PARAM_FOR_GROUP (Echo)
    detachMasterControls();
    PARAM_FOR_GROUP (Master)
}
// clang-format on
#undef PARAM_STATEMENT

#undef PARAM_FLOAT
#undef PARAM_DECIBEL
#undef PARAM_INT
#undef PARAM_BOOL
#undef PARAM_PAGE
#undef PARAM_ANY
#undef PARAM_FOR_GROUP
