#pragma once

#include <juce_audio_formats/juce_audio_formats.h>
#include <juce_audio_processors/juce_audio_processors.h>

#include "ScriptedPlayHead.h"

#include <memory>
#include <optional>

// Loads the built VST3 bundle through JUCE's own VST3 hosting, as a real host does.
namespace hostkit
{
// The bundle this build produced.
juce::File builtBundle();

// Loads the bundle and prepares it with a stereo or mono layout; null with a reason on failure.
std::unique_ptr<juce::AudioPluginInstance> loadPlugin (const juce::File& bundle, double sampleRate, int blockSize,
                                                       int channels, juce::String& error);

// The state to hand the hosted instance for a saved state: a hosting-layer state as it stands, or
// the plug-in's own state (a preset file) wrapped as the component state a host would keep.
juce::MemoryBlock hostStateFor (const juce::MemoryBlock& savedState);

// Finds a host parameter by its identifier.
juce::AudioProcessorParameter* findParameter (juce::AudioPluginInstance& plugin, const juce::String& identifier);
juce::String parameterIdentifier (juce::AudioProcessorParameter& parameter);
// The identifier under which the VST3 client publishes a parameter of the given identifier.
juce::String vst3ParameterId (const juce::String& identifier);
} // namespace hostkit
