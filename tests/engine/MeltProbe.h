#pragma once

#include "ProcessorHarness.h"

#include <cmath>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace melttest
{
// A prepared processor with the tone and echo switched off and no drift, so the melt alone
// shapes the signal and two harnesses given the same input stay sample-identical.
inline std::unique_ptr<testsupport::ProcessorHarness>
meltHarness (double sampleRate = 48000.0, int channels = 2, int blockSize = 512,
             const std::vector<std::pair<const char*, float>>& settings = {})
{
    auto harness = std::make_unique<testsupport::ProcessorHarness> (sampleRate, blockSize, channels);
    harness->setPlain ("tonePower", 0.0f);
    harness->setPlain ("echoPower", 0.0f);
    harness->setPlain ("meltFlowRnd", 0.0f);
    harness->setPlain ("meltDropoutRnd", 0.0f);
    for (const auto& [identifier, value] : settings)
        harness->setPlain (identifier, value);
    return harness;
}

// A rising sawtooth, half a tooth later on the right: within one tooth the value tells exactly
// which input sample it came from, so the output reveals the delay at every sample, and at
// least one channel is away from a tooth's edge.
constexpr int sawPeriod = 16384;

inline int sawPosition (int channel, int n)
{
    return n + channel * sawPeriod / 2;
}

inline float sawValue (int channel, int n)
{
    return (float)(sawPosition (channel, n) % sawPeriod) / (float)sawPeriod;
}

inline juce::AudioBuffer<float> saw (const testsupport::ProcessorHarness& harness, int numSamples)
{
    auto buffer = harness.silence (numSamples);
    for (int c = 0; c < buffer.getNumChannels(); ++c)
        for (int n = 0; n < numSamples; ++n)
            buffer.setSample (c, n, sawValue (c, n));
    return buffer;
}

// The melt's delay time in seconds at output sample n, read back from the sawtooth (after
// removing the dry share the chorus adds): the output interpolates the input one sample behind
// the delay time. Empty where the taps may straddle a tooth's edge, given the longest delay.
inline std::optional<double> delayAt (const juce::AudioBuffer<float>& output, int channel, int n, double sampleRate,
                                      double longestSeconds, float dryShare = 0.0f)
{
    const auto position = sawPosition (channel, n);
    const auto reach = (int)std::ceil (longestSeconds * sampleRate) + 3;
    if (position % sawPeriod < reach)
        return std::nullopt;
    const auto value = output.getSample (channel, n) - dryShare * sawValue (channel, n);
    const auto source = (double)(position - position % sawPeriod) + (double)value * sawPeriod;
    return ((double)position - 1.0 - source) / sampleRate;
}

// For channels that share one delay time: whichever channel is away from a tooth's edge.
inline double delayOfEitherChannel (const juce::AudioBuffer<float>& output, int n, double sampleRate,
                                    double longestSeconds)
{
    if (const auto left = delayAt (output, 0, n, sampleRate, longestSeconds))
        return *left;
    return delayAt (output, 1, n, sampleRate, longestSeconds).value();
}
} // namespace melttest
