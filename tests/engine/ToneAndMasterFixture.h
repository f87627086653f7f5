#pragma once

#include "ProcessorHarness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
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
constexpr double settlingSeconds = 0.1;

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

// One smoother of a section record: its value after construction and the steps its ramp takes at
// 22.05 kHz, where 10 ms is 220.5 samples and 50 ms 1102.5, so a rounded length would show.
template <typename Record> struct SmootherCase
{
    const char* name;
    typename Record::Ramp Record::*ramp;
    float initial;
    int stepsAt22050;
};

// Steps the smoother takes to a new target, counted sample by sample.
template <typename Ramp> int rampSteps (Ramp& ramp)
{
    ramp.setTargetValue (ramp.getTargetValue() + 1.0f);
    int steps = 0;
    for (; ramp.isSmoothing(); ++steps)
        ramp.getNextValue();
    return steps;
}

// Checks a section's smoothers on a fresh processor: their initial values, that preparation keeps
// them, the length of the ramps it sets, and that a later preparation ends a ramp at its target.
template <typename Record, std::size_t count>
void expectSmoothers (std::unique_ptr<Record> Rirorezo3AudioProcessor::*section,
                      const SmootherCase<Record> (&cases)[count])
{
    Rirorezo3AudioProcessor processor;
    auto& record = *(processor.*section);
    for (const auto& c : cases)
    {
        EXPECT_EQ ((record.*c.ramp).getCurrentValue(), c.initial) << c.name;
        EXPECT_EQ ((record.*c.ramp).getTargetValue(), c.initial) << c.name;
    }

    const auto prepare = [&processor]
    {
        processor.setRateAndBufferSizeDetails (22050.0, 512);
        processor.prepareToPlay (22050.0, 512);
    };
    prepare();
    for (const auto& c : cases)
    {
        EXPECT_EQ ((record.*c.ramp).getCurrentValue(), c.initial) << c.name;
        EXPECT_EQ (rampSteps (record.*c.ramp), c.stepsAt22050) << c.name;
        (record.*c.ramp).setTargetValue (c.initial + 2.0f);
    }

    prepare();
    for (const auto& c : cases)
    {
        EXPECT_FALSE ((record.*c.ramp).isSmoothing()) << c.name;
        EXPECT_EQ ((record.*c.ramp).getCurrentValue(), c.initial + 2.0f) << c.name;
    }
}
} // namespace tonetest
