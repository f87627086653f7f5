#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <cfloat>
#include <cmath>

// The identifier that keys a host parameter in saved states and sub-preset tables.
inline juce::String parameterIdentifier (const juce::AudioProcessorParameter& parameter)
{
    if (auto* withID = dynamic_cast<const juce::AudioProcessorParameterWithID*> (&parameter))
        return withID->paramID;
    return {};
}

// The first parameter of the processor's list with exactly this identifier, or null.
inline juce::AudioProcessorParameter* findParameterByIdentifier (const juce::AudioProcessor& processor,
                                                                 const juce::String& identifier)
{
    for (auto* parameter : processor.getParameters())
        if (parameterIdentifier (*parameter) == identifier)
            return parameter;
    return nullptr;
}

// Sets a parameter to a normalised value read from a state or a file and tells its listeners at
// once (the engine's mirror, attached controls, the host). Bytes from outside can hold anything:
// a value that is not a finite float is skipped, the others are held to 0..1.
inline void applyStoredValue (juce::AudioProcessorParameter& parameter, double value)
{
    if (!std::isfinite (value) || std::abs (value) > FLT_MAX)
        return;
    const auto normalised = static_cast<float> (juce::jlimit (0.0, 1.0, value));
    parameter.setValue (normalised);
    parameter.sendValueChangedMessageToListeners (normalised);
}
