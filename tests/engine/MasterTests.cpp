#include "ToneAndMasterFixture.h"

#include "engine/MasterSection.h"

#include <gtest/gtest.h>

using tonetest::isolatedHarness;

namespace
{
// Tone, melt and echo all off, so the master sees the input itself as the processed signal.
std::unique_ptr<testsupport::ProcessorHarness> masterOnly (double sampleRate = 48000.0, int channels = 2)
{
    auto h = isolatedHarness (sampleRate, channels);
    h->setPlain ("tonePower", 0.0f);
    return h;
}

// Noise alone: silence in, the given noise level and ruvuv, the generator seeded so runs compare.
juce::AudioBuffer<float> noiseOnSilence (float noisePercent, float ruvuv, int numSamples, double sampleRate = 48000.0)
{
    auto h = masterOnly (sampleRate);
    h->setPlain ("noiseLevel", noisePercent);
    h->setPlain ("ruvuvMelt", ruvuv);
    h->processor->instanceRandom.reseed (1234);
    auto output = h->silence (numSamples);
    h->process (output);
    return output;
}

// Mean power around a frequency, from Hann-windowed frames, by Goertzel.
double powerAround (const juce::AudioBuffer<float>& buffer, int start, double frequency, double sampleRate)
{
    constexpr int frame = 4096;
    double total = 0;
    int frames = 0;
    for (int offset = start; offset + frame <= buffer.getNumSamples(); offset += frame / 2, ++frames)
    {
        const auto coefficient = 2.0 * std::cos (juce::MathConstants<double>::twoPi * frequency / sampleRate);
        double previous = 0, beforePrevious = 0;
        for (int i = 0; i < frame; ++i)
        {
            const auto window = 0.5 - 0.5 * std::cos (juce::MathConstants<double>::twoPi * i / (frame - 1));
            const auto next = window * buffer.getSample (0, offset + i) + coefficient * previous - beforePrevious;
            beforePrevious = previous;
            previous = next;
        }
        total += previous * previous + beforePrevious * beforePrevious - coefficient * previous * beforePrevious;
    }
    return total / frames;
}
} // namespace

TEST (MasterSection, SmoothersStartAtZeroAndRampForTenMilliseconds)
{
    using Case = tonetest::SmootherCase<MasterSection>;
    const Case cases[] = {
        {"output volume", &MasterSection::smoothOutputVolume, 0.0f, 220},
        {"dry/wet mix", &MasterSection::smoothDryWetMix, 0.0f, 220},
        {"noise level", &MasterSection::smoothNoiseLevel, 0.0f, 220},
    };
    tonetest::expectSmoothers (&Rirorezo3AudioProcessor::masterSection, cases);
}

TEST (MasterSection, OutputVolumeScalesTheProcessedSignal)
{
    struct Case
    {
        float decibels;
        float gain;
    };
    const Case cases[] = {{0.0f, 1.0f}, {-6.0f, 0.501187205f}, {12.0f, 3.98107171f}, {-100.0f, 0.0f}};

    for (const auto channels : {1, 2})
        for (const auto& c : cases)
        {
            auto h = masterOnly (48000.0, channels);
            h->setPlain ("outputVolume", c.decibels);
            h->settle (tonetest::settlingSeconds);
            const auto input = h->sine (4800, 440.0);
            auto output = input;
            h->process (output);
            for (int channel = 0; channel < channels; ++channel)
                for (int i = 0; i < input.getNumSamples(); ++i)
                    ASSERT_FLOAT_EQ (output.getSample (channel, i), input.getSample (channel, i) * c.gain)
                        << c.decibels << " dB, channel " << channel << ", sample " << i;
        }
}

TEST (MasterSection, DryWetMixFollowsTheEqualPowerLaw)
{
    // At -6 dB the wet part is the input times 0.501187; the dry part never takes the volume.
    struct Case
    {
        float percent;
        float gain;
    };
    const Case cases[] = {{100.0f, 0.501187205f},
                          {50.0f, (1.0f + 0.501187205f) * 0.707106781f},
                          {25.0f, 0.866025404f + 0.501187205f * 0.5f}};

    for (const auto& c : cases)
    {
        auto h = masterOnly();
        h->setPlain ("outputVolume", -6.0f);
        h->setPlain ("dryWetMix", c.percent);
        h->settle (tonetest::settlingSeconds);
        auto signal = h->constant (512, 0.5f);
        h->process (signal);
        EXPECT_NEAR (signal.getSample (0, 511), 0.5f * c.gain, 1.0e-6) << c.percent;
        EXPECT_NEAR (signal.getSample (1, 511), 0.5f * c.gain, 1.0e-6) << c.percent;
    }
}

TEST (MasterSection, MixRampsTowardFullWetStayFinite)
{
    // A float ramp that adds the same rounded step each sample can pass its end point; at 100 %
    // that would take the dry gain's square root below zero.
    for (const auto rate : {44100.0, 192000.0})
    {
        auto h = masterOnly (rate);
        for (auto percent = 89.0f; percent < 100.0f; percent += 0.1f)
            for (const auto target : {percent, 100.0f})
            {
                h->setPlain ("dryWetMix", target);
                auto signal = h->sine ((int)(0.011 * rate), 440.0);
                h->process (signal);
                ASSERT_TRUE (testsupport::allFiniteAndNormal (signal)) << rate << " Hz, from " << percent << " %";
            }
    }
}

TEST (MasterSection, MixAtZeroIsTheDryInputBitForBit)
{
    // The tone stage drives and saturates hard, so any wet leak would show.
    for (const auto& [volume, noise] : {std::pair{12.0f, 100.0f}, {-100.0f, 0.0f}, {0.0f, 50.0f}})
    {
        auto h = isolatedHarness();
        h->setPlain ("dryWetMix", 0.0f);
        h->setPlain ("outputVolume", volume);
        h->setPlain ("noiseLevel", noise);
        h->setPlain ("toneDrive", 12.0f);
        h->setPlain ("toneSaturation", 100.0f);
        const auto input = h->sine (9600, 300.0, 0.9f);
        auto output = input;
        h->process (output);
        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < input.getNumSamples(); ++i)
                ASSERT_EQ (output.getSample (channel, i), input.getSample (channel, i)) << volume << " " << noise;
    }
}

TEST (MasterSection, ChangeTakesEffectFromTheBlocksSecondSample)
{
    auto h = masterOnly();
    h->settle (tonetest::settlingSeconds);
    h->setPlain ("outputVolume", -100.0f);
    auto signal = h->constant (512, 0.5f);
    h->process (signal);
    EXPECT_EQ (signal.getSample (0, 0), 0.5f);
    EXPECT_NEAR (signal.getSample (0, 1), 0.5f * (1.0f - 1.0f / 480.0f), 1.0e-6);
    EXPECT_EQ (signal.getSample (0, 481), 0.0f);
}

TEST (MasterSection, FirstBlockStartsAsTheDryInput)
{
    // Volume and mix ramp up from 0 after preparation; an overdriven tone makes the wet part differ.
    auto h = isolatedHarness();
    h->setPlain ("toneDrive", 12.0f);
    auto signal = h->constant (1024, 0.2f);
    h->process (signal);
    EXPECT_EQ (signal.getSample (0, 0), 0.2f);
    EXPECT_NEAR (signal.getSample (0, 1023), 0.2f * 3.98107171f, 1.0e-3);
}

TEST (MasterSection, NoiseIsTheSameOnBothChannelsAtItsExpectedLevel)
{
    for (const auto rate : {22050.0, 44100.0, 48000.0, 192000.0})
    {
        const auto noise = noiseOnSilence (100.0f, 0.0f, (int)rate * 2, rate);
        EXPECT_TRUE (testsupport::allFiniteAndNormal (noise)) << rate;
        for (int i = 0; i < noise.getNumSamples(); ++i)
            ASSERT_EQ (noise.getSample (0, i), noise.getSample (1, i)) << rate;
        if (rate == 48000.0)
        {
            EXPECT_NEAR (tonetest::rms (noise, 0, 4800, noise.getNumSamples() - 4800), 0.0066, 0.0003);
        }
    }
}

TEST (MasterSection, RuvuvRaisesTheNoiseFivefold)
{
    const auto plain = noiseOnSilence (100.0f, 0.0f, 9600);
    const auto boosted = noiseOnSilence (100.0f, 100.0f, 9600);
    for (int i = 0; i < plain.getNumSamples(); ++i)
        ASSERT_NEAR (boosted.getSample (0, i), 5.0f * plain.getSample (0, i), 1.0e-6) << i;
    EXPECT_GT (plain.getMagnitude (0, 0, 9600), 0.01f);
}

TEST (MasterSection, NoiseIsLoudBelowTheCornerAndQuietAbove)
{
    // 1.2 below 250 Hz against 0.08 above: about 23.5 dB apart.
    const auto rate = 48000.0;
    const auto noise = noiseOnSilence (100.0f, 0.0f, (int)rate * 20);
    const auto low = powerAround (noise, 4800, 30.0, rate);
    const auto high = powerAround (noise, 4800, 8000.0, rate);
    EXPECT_NEAR (10.0 * std::log10 (low / high), 20.0 * std::log10 (1.2 / 0.08), 1.5);
}

TEST (MasterSection, NoiseIsDrawnOncePerSampleWhateverTheNoiseLevel)
{
    constexpr int numSamples = 1000;
    AdditiveFeedbackRandom expected (99);
    for (int i = 0; i < numSamples; ++i)
        expected.next();
    const auto expectedNext = expected.next();

    for (const auto level : {0.0f, 100.0f})
    {
        auto h = masterOnly();
        h->setPlain ("noiseLevel", level);
        h->processor->instanceRandom.reseed (99);
        auto signal = h->sine (numSamples, 440.0);
        h->process (signal);
        EXPECT_EQ (h->processor->instanceRandom.next(), expectedNext) << level;
    }
}
