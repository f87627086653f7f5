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

// Finds a host parameter by its identifier.
juce::AudioProcessorParameter* findParameter (juce::AudioPluginInstance& plugin, const juce::String& identifier);

// Sets a parameter, found by its identifier, to a plain value (in its own unit) as a host's
// automation does; false when there is no such parameter.
bool setPlainValue (juce::AudioPluginInstance& plugin, const juce::String& identifier, float plainValue);
juce::String parameterIdentifier (juce::AudioProcessorParameter& parameter);
// The identifier under which the VST3 client publishes a parameter of the given identifier.
juce::String vst3ParameterId (const juce::String& identifier);

// The plug-in's own state blob, which a preset file holds as it is, starts with this magic and a
// 32-bit length.
constexpr juce::uint32 stateBlobMagic = 0x21324356;
bool isStateBlob (const juce::MemoryBlock& bytes);
// The blob at the front of a component state (the VST3 client appends data of its own), cut by its
// length field.
juce::MemoryBlock stateBlobIn (const juce::MemoryBlock& component);

// The component state inside the hosting layer's state (its "VST3PluginState" envelope), and the
// reverse.
juce::MemoryBlock componentState (const juce::MemoryBlock& hostState);
juce::MemoryBlock hostStateWithComponent (const juce::MemoryBlock& component);

// What to hand the hosted instance's setStateInformation for the bytes of a file: a preset file
// or a state blob as the component state, a hosting layer's state of this plug-in as it is;
// empty for anything else.
juce::MemoryBlock hostStateForFile (const juce::MemoryBlock& bytes);

// Reads a preset file, a plug-in state or a host's saved state from disk for the hosted instance
// (as hostStateForFile); empty, with the reason, when it is missing, unreadable or none of these.
juce::MemoryBlock readHostStateFile (const juce::File& file, juce::String& error);
} // namespace hostkit
