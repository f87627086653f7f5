#include "ToneAndMasterFixture.h"

#include "engine/SoftClip.h"
#include "engine/ToneSection.h"

#include <gtest/gtest.h>

using tonetest::isolatedHarness;
using tonetest::sineGainDb;

namespace
{
struct RateCase
{
    double sampleRate;
    int channels;
};

class ToneAtRate : public ::testing::TestWithParam<RateCase>
{
};

// 22.05 kHz puts the 20 kHz damper and high-shelf start values above Nyquist.
INSTANTIATE_TEST_SUITE_P (Rates, ToneAtRate,
                          ::testing::Values (RateCase{22050.0, 2}, RateCase{44100.0, 2}, RateCase{48000.0, 2},
                                             RateCase{48000.0, 1}, RateCase{192000.0, 2}));
} // namespace

TEST_P (ToneAtRate, FlatTonePassesOneKilohertzAtUnityGain)
{
    auto h = isolatedHarness (GetParam().sampleRate, GetParam().channels);
    auto start = h->sine ((int)(0.1 * h->sampleRate), 1000.0);
    h->process (start);
    EXPECT_TRUE (testsupport::allFiniteAndNormal (start));

    for (int channel = 0; channel < GetParam().channels; ++channel)
        EXPECT_NEAR (sineGainDb (*h, 1000.0, channel), 0.0, 0.001);
}

TEST_P (ToneAtRate, ExtremeSettingsStayFinite)
{
    struct Setting
    {
        const char* id;
        float low, high;
    };
    const Setting settings[] = {
        {"toneDrive", 0.0f, 12.0f},      {"toneLowGain", -24.0f, 12.0f},    {"toneMidGain", -24.0f, 12.0f},
        {"toneHiGain", -24.0f, 12.0f},   {"toneLowFreq", 80.0f, 800.0f},    {"toneMidFreq", 120.0f, 3000.0f},
        {"toneHiFreq", 800.0f, 5000.0f}, {"toneLowQ", 0.5f, 2.0f},          {"toneMidQ", 0.5f, 3.0f},
        {"toneHiQ", 0.5f, 2.0f},         {"toneSaturation", 0.0f, 100.0f},  {"toneShape", 0.0f, 100.0f},
        {"toneSatGain", 0.0f, 100.0f},   {"toneDamper", 3000.0f, 20000.0f}, {"ruvuvMelt", 0.0f, 100.0f},
        {"noiseLevel", 0.0f, 100.0f},    {"outputVolume", -100.0f, 12.0f}};

    for (const auto high : {false, true})
    {
        auto h = isolatedHarness (GetParam().sampleRate, GetParam().channels);
        h->setPlain ("toneLowCut", high ? 1.0f : 0.0f);
        for (const auto& setting : settings)
            h->setPlain (setting.id, high ? setting.high : setting.low);

        auto loud = h->sine ((int)(0.2 * h->sampleRate), 60.0, 1.0f);
        h->process (loud);
        auto after = h->silence ((int)(0.2 * h->sampleRate));
        h->process (after);
        EXPECT_TRUE (testsupport::allFiniteAndNormal (loud)) << (high ? "high" : "low");
        EXPECT_TRUE (testsupport::allFiniteAndNormal (after)) << (high ? "high" : "low");
    }
}

TEST (ToneSection, SmoothersStartAtTheirInitialValuesAndRampForTheirLengths)
{
    using Case = tonetest::SmootherCase<ToneSection>;
    const Case cases[] = {
        {"drive", &ToneSection::smoothDrive, 0.0f, 220},
        {"low frequency", &ToneSection::smoothLowFreq, 30.0f, 1102},
        {"low Q", &ToneSection::smoothLowQ, 0.1f, 220},
        {"low gain", &ToneSection::smoothLowGain, 0.0f, 220},
        {"mid frequency", &ToneSection::smoothMidFreq, 1000.0f, 1102},
        {"mid Q", &ToneSection::smoothMidQ, 0.1f, 220},
        {"mid gain", &ToneSection::smoothMidGain, 0.0f, 220},
        {"high frequency", &ToneSection::smoothHiFreq, 20000.0f, 1102},
        {"high Q", &ToneSection::smoothHiQ, 0.1f, 220},
        {"high gain", &ToneSection::smoothHiGain, 0.0f, 220},
        {"shape", &ToneSection::smoothShape, 1.0f, 220},
        {"saturation gain", &ToneSection::smoothSatGain, 0.0f, 220},
        {"damper", &ToneSection::smoothDamper, 20000.0f, 1102},
        {"saturation", &ToneSection::smoothSaturation, 0.0f, 220},
        {"ruvuv", &ToneSection::smoothRuvuv, 0.0f, 220},
    };
    tonetest::expectSmoothers (&Rirorezo3AudioProcessor::toneSection, cases);
}

TEST (ToneSection, BandGainsReachTheirSetting)
{
    struct Case
    {
        const char* id;
        float decibels;
        double frequency;
        double expectedDb;
    };
    // The mid band's own frequency and Q are their defaults, 1800 Hz and 0.5.
    const Case cases[] = {
        {"toneDrive", 12.0f, 1000.0, 20.0 * std::log10 (3.98107)},
        {"toneMidGain", 12.0f, 1800.0, 12.0},
        {"toneMidGain", -24.0f, 1800.0, -24.0},
    };

    for (const auto& c : cases)
    {
        auto h = isolatedHarness();
        h->setPlain (c.id, c.decibels);
        h->settle (tonetest::settlingSeconds);
        EXPECT_NEAR (sineGainDb (*h, c.frequency), c.expectedDb, 1.0e-4) << c.id << " " << c.decibels;
    }
}

TEST (ToneSection, ShelvesMoveOnlyTheirOwnEndOfTheSpectrum)
{
    struct Case
    {
        const char* id;
        double insideFrequency, outsideFrequency;
    };
    // Low shelf at 120 Hz, high shelf at 2500 Hz: each band far inside and far outside.
    const Case cases[] = {{"toneLowGain", 15.0, 6000.0}, {"toneHiGain", 15000.0, 60.0}};

    for (const auto& c : cases)
        for (const auto decibels : {-24.0f, 12.0f})
        {
            auto h = isolatedHarness();
            h->setPlain ("toneDamper", 20000.0f);
            h->settle (tonetest::settlingSeconds);
            const auto flatInside = sineGainDb (*h, c.insideFrequency);
            h->setPlain (c.id, decibels);
            h->settle (tonetest::settlingSeconds);
            EXPECT_NEAR (sineGainDb (*h, c.insideFrequency) - flatInside, decibels, 1.0) << c.id << " " << decibels;
            EXPECT_NEAR (sineGainDb (*h, c.outsideFrequency), 0.0, 0.5) << c.id << " " << decibels;
        }
}

TEST (ToneSection, SaturationFoldsDirectCurrentThroughTheShapedSine)
{
    struct Case
    {
        float input, shape, saturationGain, saturation, ruvuv;
        double expected;
    };
    // Shape widens the fold, saturation gain lowers the sine's input and raises its make-up,
    // ruvuv raises both input and fold; at partial saturation the dry equaliser output is mixed in.
    const Case cases[] = {
        {1.0f, 0.0f, 0.0f, 100.0f, 0.0f, 0.100976512},   {0.5f, 0.0f, 0.0f, 100.0f, 0.0f, 0.117707163},
        {0.1f, 0.0f, 0.0f, 100.0f, 0.0f, 0.0810621},     {0.5f, 100.0f, 0.0f, 100.0f, 0.0f, 0.105783574},
        {0.5f, 0.0f, 100.0f, 100.0f, 0.0f, 0.494373947}, {0.5f, 0.0f, 0.0f, 100.0f, 100.0f, 0.10911569},
        {0.5f, 40.0f, 30.0f, 60.0f, 20.0f, 0.330767274}, {-0.3f, 100.0f, 100.0f, 100.0f, 100.0f, 0.460013688},
    };

    for (const auto& c : cases)
    {
        auto h = isolatedHarness();
        h->setPlain ("toneShape", c.shape);
        h->setPlain ("toneSatGain", c.saturationGain);
        h->setPlain ("toneSaturation", c.saturation);
        h->setPlain ("ruvuvMelt", c.ruvuv);
        h->settle (tonetest::settlingSeconds);
        auto signal = h->constant ((int)(0.2 * h->sampleRate), c.input);
        h->process (signal);
        for (int channel = 0; channel < 2; ++channel)
            EXPECT_NEAR (signal.getSample (channel, signal.getNumSamples() - 1), c.expected, 2.0e-6)
                << c.input << " " << c.shape << " " << c.saturationGain << " " << c.saturation << " " << c.ruvuv;
    }
}

TEST (ToneSection, SaturationOffIgnoresShapeAndSaturationGain)
{
    auto reference = isolatedHarness();
    auto expected = reference->sine (24000, 440.0, 0.8f);
    reference->process (expected);

    for (const auto& [shape, gain] : {std::pair{100.0f, 0.0f}, {0.0f, 100.0f}, {63.0f, 17.0f}})
    {
        auto h = isolatedHarness();
        h->setPlain ("toneShape", shape);
        h->setPlain ("toneSatGain", gain);
        auto output = h->sine (24000, 440.0, 0.8f);
        h->process (output);
        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < output.getNumSamples(); ++i)
                ASSERT_EQ (output.getSample (channel, i), expected.getSample (channel, i)) << shape << " " << gain;
    }
}

TEST (ToneSection, SoftClipCurveIsOddAndFlattensToOneSixtyFourth)
{
    EXPECT_FLOAT_EQ (softClip (1.0f), 513.0f / 576.0f);
    EXPECT_EQ (softClip (8.0f), 1.0f);
    for (const auto y : {0.3f, 2.0f, 8.0f, 100.0f})
        EXPECT_EQ (softClip (-y), -softClip (y));
    EXPECT_NEAR (softClip (1.0e5f) / 1.0e5f, 1.0 / 64.0, 1.0e-6);
    EXPECT_NEAR (softClip (0.001f), 0.001f, 1.0e-8);
}

TEST (ToneSection, LowCutResonanceFollowsTheLowQ)
{
    // A high-pass at its corner has a gain equal to its Q; the low shelf at 0 dB adds nothing.
    for (const auto q : {0.5f, 1.0f, 2.0f})
    {
        auto h = isolatedHarness();
        h->setPlain ("toneLowCut", 1.0f);
        h->setPlain ("toneLowFreq", 200.0f);
        h->setPlain ("toneLowQ", q);
        h->settle (tonetest::settlingSeconds);
        EXPECT_NEAR (sineGainDb (*h, 200.0), 20.0 * std::log10 (q), 0.02) << q;
    }
}

TEST (ToneSection, LowCutSwitchRemovesDirectCurrentOnlyWhileOn)
{
    for (const auto on : {false, true})
    {
        auto h = isolatedHarness();
        h->setPlain ("toneLowCut", on ? 1.0f : 0.0f);
        auto signal = h->constant ((int)(0.5 * h->sampleRate), 0.5f);
        h->process (signal);
        EXPECT_NEAR (signal.getSample (0, signal.getNumSamples() - 1), on ? 0.0f : 0.5f, 1.0e-4) << on;
    }
}

TEST (ToneSection, RuvuvLowersTheDamperCutoff)
{
    struct Case
    {
        float damper, ruvuv;
        double cutoff;
    };
    // A Butterworth low-pass is 3.01 dB down at its cutoff.
    const Case cases[] = {{3000.0f, 100.0f, 1200.0}, {3000.0f, 0.0f, 3000.0}, {12000.0f, 50.0f, 11100.0}};

    for (const auto& c : cases)
    {
        auto h = isolatedHarness();
        h->setPlain ("toneDamper", c.damper);
        h->setPlain ("ruvuvMelt", c.ruvuv);
        h->settle (tonetest::settlingSeconds);
        EXPECT_NEAR (sineGainDb (*h, c.cutoff), -3.0103, 0.02) << c.damper << " " << c.ruvuv;
    }
}

TEST (ToneSection, PowerOffPassesAudioUntouched)
{
    auto h = isolatedHarness();
    h->setPlain ("tonePower", 0.0f);
    h->setPlain ("toneDrive", 12.0f);
    h->setPlain ("toneSaturation", 80.0f);
    h->setPlain ("toneLowCut", 1.0f);
    h->settle (tonetest::settlingSeconds);

    const auto input = h->sine (4800, 700.0, 0.7f);
    auto output = input;
    h->process (output);
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < input.getNumSamples(); ++i)
            ASSERT_EQ (output.getSample (channel, i), input.getSample (channel, i));
}

TEST (ToneSection, SmoothersKeepMovingWhilePoweredOff)
{
    // Drive raised while off: on return it is already there, not ramping from 0 dB.
    auto h = isolatedHarness (48000.0, 2, 64);
    h->settle (tonetest::settlingSeconds);
    h->setPlain ("tonePower", 0.0f);
    h->setPlain ("toneDrive", 12.0f);
    auto off = h->constant (960, 0.1f);
    h->process (off);

    h->setPlain ("tonePower", 1.0f);
    auto on = h->constant (64, 0.1f);
    h->process (on);
    EXPECT_NEAR (on.getSample (0, 63), 0.398107f, 1.0e-3);
}

TEST (ToneSection, ChannelsAreFilteredApart)
{
    auto h = isolatedHarness();
    h->setPlain ("toneMidGain", 12.0f);
    auto signal = h->sine (24000, 1800.0, 0.5f);
    signal.clear (1, 0, signal.getNumSamples());
    h->process (signal);
    EXPECT_EQ (signal.getMagnitude (1, 0, signal.getNumSamples()), 0.0f);
    EXPECT_GT (signal.getMagnitude (0, 12000, 12000), 1.5f);
}

TEST (ToneSection, FirstBlockAfterPreparationFadesIn)
{
    // The master crossfades from the dry input into the wet path while the tone's drive and
    // shelf gains rise from 0, so halfway through the ramps the output dips well below the input.
    auto h = isolatedHarness();
    auto signal = h->constant (4800, 0.5f);
    h->process (signal);
    EXPECT_EQ (signal.getSample (0, 0), 0.5f);
    EXPECT_LT (signal.getSample (0, 240), 0.45f);
    EXPECT_NEAR (signal.getSample (0, 4799), 0.5f, 1.0e-4);
}
