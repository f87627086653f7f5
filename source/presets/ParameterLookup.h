#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

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
