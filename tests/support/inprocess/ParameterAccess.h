#pragma once

#include "presets/ParameterLookup.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <stdexcept>

// Reaching a processor's parameters by identifier, as the tests of every subsystem do.
namespace testsupport
{
// The parameter with this identifier; a test that names one the processor lacks fails.
inline juce::AudioProcessorParameter& parameterOf (const juce::AudioProcessor& processor,
                                                   const juce::String& identifier)
{
    auto* parameter = findParameterByIdentifier (processor, identifier);
    if (parameter == nullptr)
        throw std::runtime_error (("no parameter " + identifier).toStdString());
    return *parameter;
}

inline float normalisedValueOf (const juce::AudioProcessor& processor, const juce::String& identifier)
{
    return parameterOf (processor, identifier).getValue();
}

// Sets a parameter to a plain value (in its own unit), notifying its listeners as the host does.
inline void setPlainValue (juce::AudioProcessor& processor, const juce::String& identifier, float plainValue)
{
    auto& parameter = dynamic_cast<juce::RangedAudioParameter&> (parameterOf (processor, identifier));
    parameter.setValueNotifyingHost (parameter.convertTo0to1 (plainValue));
}
} // namespace testsupport
