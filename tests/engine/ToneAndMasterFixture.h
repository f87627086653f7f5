#pragma once

#include "ProcessorHarness.h"

#include <cmath>
#include <memory>

namespace tonetest
{
// A prepared processor with the melt and echo switched off, so only the tone and master stages
// shape the signal.
inline std::unique_ptr<testsupport::ProcessorHarness> isolatedHarness (double sampleRate = 48000.0, int channels = 2,
                                                                       int blockSize = 512)
{
    auto harness = std::make_unique<testsupport::ProcessorHarness> (sampleRate, blockSize, channels);
    harness->setPlain ("meltPower", 0.0f);
    harness->setPlain ("echoPower", 0.0f);
    return harness;
}

// Long enough for every ramp of both stages to end.
inline void settle (testsupport::ProcessorHarness& harness)
{
    auto quiet = harness.silence ((int)(0.1 * harness.sampleRate));
    harness.process (quiet);
}

inline juce::AudioBuffer<float> constant (const testsupport::ProcessorHarness& harness, int numSamples, float level)
{
    auto buffer = harness.silence (numSamples);
    for (int c = 0; c < buffer.getNumChannels(); ++c)
        juce::FloatVectorOperations::fill (buffer.getWritePointer (c), level, numSamples);
    return buffer;
}

// Amplitude of the sinusoid at the frequency, by a least-squares fit of sine and cosine, which
// is exact for a pure tone whatever the number of cycles.
inline double amplitudeAt (const juce::AudioBuffer<float>& buffer, int channel, int start, int count, double frequency,
                           double sampleRate)
{
    double ss = 0, sc = 0, cc = 0, ys = 0, yc = 0;
    for (int i = start; i < start + count; ++i)
    {
        const auto phase = juce::MathConstants<double>::twoPi * frequency * i / sampleRate;
        const auto s = std::sin (phase), c = std::cos (phase), y = (double)buffer.getSample (channel, i);
        ss += s * s;
        sc += s * c;
        cc += c * c;
        ys += y * s;
        yc += y * c;
    }
    const auto determinant = ss * cc - sc * sc;
    const auto p = (ys * cc - yc * sc) / determinant;
    const auto q = (yc * ss - ys * sc) / determinant;
    return std::sqrt (p * p + q * q);
}

// The settled processor's gain in dB for a sine at the frequency, on the given channel.
inline double sineGainDb (testsupport::ProcessorHarness& harness, double frequency, int channel = 0)
{
    const auto length = (int)(0.5 * harness.sampleRate);
    const auto input = harness.sine (length, frequency, 0.25f);
    auto output = input;
    harness.process (output);
    const auto start = length / 2;
    return juce::Decibels::gainToDecibels (
        amplitudeAt (output, channel, start, length - start, frequency, harness.sampleRate) /
            amplitudeAt (input, channel, start, length - start, frequency, harness.sampleRate),
        -1000.0);
}

inline double rms (const juce::AudioBuffer<float>& buffer, int channel, int start, int count)
{
    double sum = 0;
    for (int i = start; i < start + count; ++i)
        sum += (double)buffer.getSample (channel, i) * buffer.getSample (channel, i);
    return std::sqrt (sum / count);
}
} // namespace tonetest
