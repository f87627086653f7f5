#pragma once

#include "ScriptedPlayHead.h"
#include "engine/PluginProcessor.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>
#include <optional>

namespace testsupport
{
// An in-process processor prepared as a host would: layout, rate, block size, play head.
class ProcessorHarness
{
public:
    explicit ProcessorHarness (double sampleRate = 48000.0, int blockSize = 512, int channels = 2);

    // Sets a parameter by identifier to a plain value, notifying its listeners as the host does.
    void setPlain (const juce::String& identifier, float plainValue);
    void setNormalised (const juce::String& identifier, float normalisedValue);
    float getPlain (const juce::String& identifier) const;

    // Processes the buffer in place in blocks of the prepared size; while playing, the play head
    // moves on after each block at its tempo.
    void process (juce::AudioBuffer<float>& buffer);
    void processBlock (juce::AudioBuffer<float>& block);

    // A buffer of the harness's channel count, silent.
    juce::AudioBuffer<float> silence (int numSamples) const;
    juce::AudioBuffer<float> impulse (int numSamples, int at = 0, float level = 1.0f) const;
    juce::AudioBuffer<float> sine (int numSamples, double frequency, float level = 0.5f) const;
    juce::AudioBuffer<float> constant (int numSamples, float level) const;

    // Processes silence for a while, so that ramps and glides arrive before a test listens.
    void settle (double seconds);

    std::unique_ptr<Rirorezo3AudioProcessor> processor;
    // Reports 120 bpm from beat 0, stopped, until a test says otherwise.
    ScriptedPlayHead playHead;
    double sampleRate;
    int blockSize;
    int channels;
};

// Every sample finite and no subnormal value.
bool allFiniteAndNormal (const juce::AudioBuffer<float>& buffer);
} // namespace testsupport
