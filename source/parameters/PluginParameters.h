#pragma once

#include "parameters/ListenerAdaptors.h"
#include "parameters/ParameterTable.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <cstdint>
#include <memory>

// The parameter model: the static strings that name the 81 listened parameters, the layout of
// all 90 host parameters, and per instance the engine's plain-value mirror, the editor's
// attachment slots and the listener adaptors that keep the mirror current.
class PluginParameters
{
public:
    explicit PluginParameters (juce::AudioProcessorValueTreeState& tree);
    ~PluginParameters();

    static juce::AudioProcessorValueTreeState::ParameterLayout createParameterLayout();

    void detachToneHiddenControls();
    void detachToneControls();
    void detachMeltFlowControls();
    void detachMeltDropoutControls();
    void detachMeltJumpControls();
    void detachMeltMainControls();
    void detachEchoControls();
    void detachMasterControls();

    // Static strings, in member order.
#define PARAM_FLOAT(stem, ...) static const juce::String stem##ID, stem##Name, stem##ParamName, stem##Label;
#define PARAM_DECIBEL(stem, ...) static const juce::String stem##ID, stem##Name, stem##ParamName, stem##Label;
#define PARAM_INT(stem, ...) static const juce::String stem##ID, stem##Name, stem##ParamName;
#define PARAM_BOOL(stem, ...) static const juce::String stem##ID, stem##Name, stem##ParamName;
#define PARAM_PAGE(stem, ...) static const juce::String stem##ID, stem##Name;
    RIROREZO3_PARAMETER_TABLE
#undef PARAM_FLOAT
#undef PARAM_DECIBEL
#undef PARAM_INT
#undef PARAM_BOOL
#undef PARAM_PAGE

    // 1. The plain values, in engine units, at the converted defaults.
#define PARAM_FLOAT(stem, g, c, n, p, l, start, end, i, centre, def, scale)                                            \
    std::atomic<float> stem##Value{FloatListener::convert (def, scale)};
#define PARAM_DECIBEL(stem, g, c, n, p, l, start, end, i, centre, def)                                                 \
    std::atomic<float> stem##Value{FloatDecibelListener::convert (def, decibelFloor)};
#define PARAM_INT(stem, g, c, n, p, max, def) std::atomic<std::int32_t> stem##Value{def};
#define PARAM_BOOL(stem, g, c, n, p, def) std::atomic<bool> stem##Value{def};
#define PARAM_PAGE(stem, g, c, n, def) std::atomic<bool> stem##Value{def};
    RIROREZO3_PARAMETER_TABLE
#undef PARAM_FLOAT
#undef PARAM_DECIBEL
#undef PARAM_INT
#undef PARAM_BOOL
#undef PARAM_PAGE

    // 2. The parameter tree the attachments and listeners belong to.
    juce::AudioProcessorValueTreeState* apvts;

    // 3. The attachment slots, filled and emptied by the editor panels.
#define PARAM_FLOAT(stem, ...) std::unique_ptr<juce::AudioProcessorValueTreeState::SliderAttachment> stem##Attachment;
#define PARAM_DECIBEL(stem, ...) std::unique_ptr<juce::AudioProcessorValueTreeState::SliderAttachment> stem##Attachment;
#define PARAM_INT(stem, ...) std::unique_ptr<juce::AudioProcessorValueTreeState::ComboBoxAttachment> stem##Attachment;
#define PARAM_BOOL(stem, ...) std::unique_ptr<juce::AudioProcessorValueTreeState::ButtonAttachment> stem##Attachment;
#define PARAM_PAGE(stem, ...) std::unique_ptr<juce::AudioProcessorValueTreeState::ButtonAttachment> stem##Attachment;
    RIROREZO3_PARAMETER_TABLE
#undef PARAM_FLOAT
#undef PARAM_DECIBEL
#undef PARAM_INT
#undef PARAM_BOOL
#undef PARAM_PAGE

    // 4. The listener adaptors, each pointed at the value of its own stem.
#define PARAM_FLOAT(stem, g, c, n, p, l, start, end, i, centre, def, scale)                                            \
    FloatListener stem##Listener{&stem##Value, scale};
#define PARAM_DECIBEL(stem, ...) FloatDecibelListener stem##Listener{&stem##Value, decibelFloor};
#define PARAM_INT(stem, ...) IntegerListener stem##Listener{&stem##Value, 0, 1};
#define PARAM_BOOL(stem, ...) BoolListener stem##Listener{&stem##Value};
#define PARAM_PAGE(stem, ...) BoolListener stem##Listener{&stem##Value};
    RIROREZO3_PARAMETER_TABLE
#undef PARAM_FLOAT
#undef PARAM_DECIBEL
#undef PARAM_INT
#undef PARAM_BOOL
#undef PARAM_PAGE

private:
    static constexpr float decibelFloor = -100.0f;

    JUCE_DECLARE_NON_COPYABLE (PluginParameters)
};

// The value-to-text and text-to-value pair shared by every float parameter.
juce::String floatValueToText (float value, int maximumLength);
float floatTextToValue (const juce::String& text);
