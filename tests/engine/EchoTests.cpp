#include "ProcessorHarness.h"

#include "engine/EchoSection.h"
#include "engine/MeltSection.h"
#include "engine/SoftClip.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using testsupport::ProcessorHarness;

namespace
{
// The echo alone: the other sections pass the signal, the echo's output is all wet, unfiltered,
// and its delay follows a change at once (no glide).
void isolateEcho (ProcessorHarness& h)
{
    h.setPlain ("tonePower", 0.0f);
    h.setPlain ("meltPower", 0.0f);
    h.setPlain ("dryWetMix", 100.0f);
    h.setPlain ("echoMix", 100.0f);
    h.setPlain ("echoFilter", 0.0f);
    h.setPlain ("echoGlide", 0.0f);
    h.setPlain ("echoFeedback", 0.0f);
}

int loudestSample (const juce::AudioBuffer<float>& buffer, int channel, int from, int to)
{
    auto best = from;
    for (int i = from; i < to; ++i)
        if (std::abs (buffer.getSample (channel, i)) > std::abs (buffer.getSample (channel, best)))
            best = i;
    return best;
}

float peakLevel (const juce::AudioBuffer<float>& buffer, int channel, int from, int to)
{
    auto peak = 0.0f;
    for (int i = from; i < to; ++i)
        peak = std::max (peak, std::abs (buffer.getSample (channel, i)));
    return peak;
}

// The time parameter's 0.001 ms grid lies off the binary one, so a set time misses a whole
// number of samples by a hair; the mirror takes the exact time so that repeats land on samples.
void setExactTime (ProcessorHarness& h, float milliseconds)
{
    h.setPlain ("echoTime", milliseconds);
    h.processor->pluginParameters.echoTimeValue.store (milliseconds);
}

juce::AudioBuffer<float> impulseOn (int channels, int channel, int numSamples, float level)
{
    juce::AudioBuffer<float> buffer (channels, numSamples);
    buffer.clear();
    buffer.setSample (channel, 0, level);
    return buffer;
}
} // namespace

TEST (Echo, FirstRepeatComesOneSampleLateAndLaterOnesTwo)
{
    // A loop value of 0.5 gives softClip (0.5), then each repeat is halved and clipped again.
    const auto first = softClip (0.5f);
    const auto second = softClip (0.5f * first);
    const auto third = softClip (0.5f * second);
    EXPECT_NEAR (first, 0.4850852f, 1e-6f);
    EXPECT_NEAR (second, 0.2407998f, 1e-6f);
    EXPECT_NEAR (third, 0.1201855f, 1e-6f);

    // With an exact time every repeat lands on one sample. Set through the host parameter the
    // time is a hair longer (its 0.001 ms grid), so each repeat spreads a fraction of a sample
    // onto its neighbour: the same samples, levels lower by that fraction.
    const struct
    {
        double sampleRate;
        float milliseconds;
        bool exactTime;
    } cases[] = {{22050.0, 200.0f, true},  {44100.0, 200.0f, true},  {48000.0, 250.0f, true},
                 {96000.0, 200.0f, true},  {192000.0, 200.0f, true}, {48000.0, 250.0f, false},
                 {22050.0, 200.0f, false}, {192000.0, 200.0f, false}};
    for (const auto& c : cases)
        for (int channels : {1, 2})
        {
            SCOPED_TRACE (testing::Message()
                          << c.sampleRate << " Hz, " << c.milliseconds << " ms"
                          << (c.exactTime ? "" : " through the parameter") << ", " << channels << " channel(s)");
            ProcessorHarness h (c.sampleRate, 512, channels);
            isolateEcho (h);
            h.setPlain ("echoSync", 0.0f);
            if (c.exactTime)
                setExactTime (h, c.milliseconds);
            else
                h.setPlain ("echoTime", c.milliseconds);
            h.setPlain ("echoFeedback", 50.0f);
            h.settle (0.1);

            const auto delay = (int)std::lround (c.milliseconds * 0.001 * c.sampleRate);
            const auto length = 4 * delay;
            auto buffer = h.impulse (length, 0, 0.5f);
            h.process (buffer);

            // A delay off the sample grid by a fraction moves at most that fraction of a repeat's
            // level onto a neighbour on each pass through the line.
            const auto time = (double)h.processor->pluginParameters.echoTimeValue.load();
            const auto offGrid = std::abs (time * 0.001 * c.sampleRate - delay);
            const auto levelTolerance = (float)(3.0 * offGrid);
            const int expectedAt[] = {delay + 1, 2 * delay + 3, 3 * delay + 5};
            const float expectedLevel[] = {first, second, third};
            for (int channel = 0; channel < channels; ++channel)
            {
                auto from = 1;
                for (int r = 0; r < 3; ++r)
                {
                    EXPECT_LE (peakLevel (buffer, channel, from, expectedAt[r]), levelTolerance)
                        << "before repeat " << r + 1;
                    EXPECT_NEAR (buffer.getSample (channel, expectedAt[r]), expectedLevel[r], levelTolerance)
                        << "repeat " << r + 1;
                    from = expectedAt[r] + 1;
                }
                EXPECT_LE (peakLevel (buffer, channel, from, length), levelTolerance);
            }
        }
}

TEST (Echo, BeatModeTimesFollowRateTempoOffsetAndLink)
{
    const struct
    {
        int rateLeft, rateRight;
        float offset;
        bool link;
        double tempo;
        int expectedLeft, expectedRight;
    } cases[] = {
        {7, 7, 0.0f, false, 120.0, 18001, 18001},   // 0.75 beat at half a second per beat
        {5, 11, 0.0f, false, 120.0, 24001, 6001},   // one beat left, a quarter right
        {5, 11, 0.0f, true, 120.0, 24001, 24001},   // linked: the right takes the left rate
        {5, 5, 100.0f, false, 120.0, 31201, 24001}, // the offset stretches only the left
        {7, 7, 0.0f, false, 60.0, 36001, 36001},
        // A tempo that is not positive or not a number counts as absent: 120 bpm.
        {7, 7, 0.0f, false, 0.0, 18001, 18001},
        {7, 7, 0.0f, false, -90.0, 18001, 18001},
        {7, 7, 0.0f, false, std::numeric_limits<double>::quiet_NaN(), 18001, 18001},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << "rates " << c.rateLeft << "/" << c.rateRight << ", offset " << c.offset
                                         << ", link " << c.link << ", " << c.tempo << " bpm");
        ProcessorHarness h (48000.0, 512, 2);
        isolateEcho (h);
        h.playHead.tempo = c.tempo;
        h.setPlain ("echoSync", 1.0f);
        h.setPlain ("echoRateLeft", (float)c.rateLeft);
        h.setPlain ("echoRateRight", (float)c.rateRight);
        h.setPlain ("echoOffset", c.offset);
        h.setPlain ("echoLink", c.link ? 1.0f : 0.0f);
        h.settle (0.1);

        auto buffer = h.impulse (40000, 0, 0.5f);
        h.process (buffer);
        EXPECT_EQ (loudestSample (buffer, 0, 1, 40000), c.expectedLeft);
        EXPECT_EQ (loudestSample (buffer, 1, 1, 40000), c.expectedRight);
    }
}

TEST (Echo, MillisecondOffsetLengthensOnlyTheLeftAndLinkDoesNothing)
{
    for (bool link : {false, true})
    {
        ProcessorHarness h (48000.0, 512, 2);
        isolateEcho (h);
        h.setPlain ("echoSync", 0.0f);
        h.setPlain ("echoTime", 100.0f);
        h.setPlain ("echoOffsetMs", 50.0f);
        h.setPlain ("echoLink", link ? 1.0f : 0.0f);
        h.settle (0.1);

        auto buffer = h.impulse (10000, 0, 0.5f);
        h.process (buffer);
        EXPECT_EQ (loudestSample (buffer, 0, 1, 10000), 7201);
        EXPECT_EQ (loudestSample (buffer, 1, 1, 10000), 4801);
    }
}

TEST (Echo, FactorSitsBetweenItsLimitsOrSwitchesWithTheBeat)
{
    // Limits 0.5 and 2.0 of 100 ms: 2400 or 9600 samples; halfway between them 6000.
    const struct
    {
        bool automatic;
        float length;
        int expected;
    } cases[] = {
        {false, -100.0f, 2401}, {false, 0.0f, 6001}, {false, 100.0f, 9601}, {true, -100.0f, 2401}, {true, 100.0f, 9601},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << (c.automatic ? "Auto" : "Manual") << ", length " << c.length);
        ProcessorHarness h (48000.0, 512, 2);
        isolateEcho (h);
        h.setPlain ("echoSync", 0.0f);
        h.setPlain ("echoTime", 100.0f);
        h.setPlain ("echoMin", 4.0f);
        h.setPlain ("echoMax", 3.0f);
        h.setPlain ("echoFactorMode", c.automatic ? 1.0f : 0.0f);
        h.setPlain ("echoLength", c.length);
        h.settle (0.1);

        auto buffer = h.impulse (12000, 0, 0.5f);
        h.process (buffer);
        EXPECT_EQ (loudestSample (buffer, 0, 1, 12000), c.expected);
    }
}

TEST (Echo, AutoFactorAtLengthZeroIsShortInTheFirstHalfOfEachPeriodAndLongInTheSecond)
{
    // Factor period one beat = 24000 samples at 120 bpm, playing from 0.
    ProcessorHarness h (48000.0, 500, 1);
    isolateEcho (h);
    h.playHead.playing = true;
    h.setPlain ("echoSync", 0.0f);
    h.setPlain ("echoTime", 100.0f);
    h.setPlain ("echoMin", 4.0f);
    h.setPlain ("echoMax", 3.0f);
    h.setPlain ("echoFactorMode", 1.0f);
    h.setPlain ("echoFactorRate", 11.0f);
    h.setPlain ("echoLength", 0.0f);
    h.settle (1.0);

    // The play head is on a whole beat: an impulse early in the period, one early in its second half.
    auto buffer = h.silence (24000);
    buffer.setSample (0, 1000, 0.5f);
    buffer.setSample (0, 12500, 0.5f);
    h.process (buffer);
    EXPECT_EQ (loudestSample (buffer, 0, 1001, 12000), 1000 + 2401);
    EXPECT_EQ (loudestSample (buffer, 0, 12501, 24000), 12500 + 9601);
}

TEST (Echo, PingPongSendsTheLeftInputRightFirstAndIgnoresTheRightInput)
{
    const auto delay = 4800;
    for (int inputChannel : {0, 1})
    {
        SCOPED_TRACE (inputChannel);
        ProcessorHarness h (48000.0, 512, 2);
        isolateEcho (h);
        h.setPlain ("echoSync", 0.0f);
        setExactTime (h, 100.0f);
        h.setPlain ("echoFeedback", 50.0f);
        h.setPlain ("echoPingPong", 1.0f);
        h.settle (0.1);

        auto buffer = impulseOn (2, inputChannel, 4 * delay, 0.5f);
        h.process (buffer);
        if (inputChannel == 1)
        {
            EXPECT_EQ (peakLevel (buffer, 0, 0, 4 * delay), 0.0f);
            EXPECT_EQ (peakLevel (buffer, 1, 1, 4 * delay), 0.0f);
            continue;
        }

        const struct
        {
            int channel, at;
            float level;
        } repeats[] = {{1, delay + 1, softClip (0.5f)},
                       {0, 2 * delay + 3, softClip (0.5f * softClip (0.5f))},
                       {1, 3 * delay + 5, softClip (0.5f * softClip (0.5f * softClip (0.5f)))}};
        for (const auto& r : repeats)
        {
            EXPECT_FLOAT_EQ (buffer.getSample (r.channel, r.at), r.level) << "at " << r.at;
            buffer.setSample (r.channel, r.at, 0.0f);
        }
        EXPECT_EQ (peakLevel (buffer, 0, 1, 4 * delay), 0.0f);
        EXPECT_EQ (peakLevel (buffer, 1, 0, 4 * delay), 0.0f);
    }
}

TEST (Echo, LoopKeepsEveryRepeatAtUnityGainWhateverTheFeedback)
{
    ProcessorHarness h (48000.0, 512, 2);
    isolateEcho (h);
    h.setPlain ("echoSync", 0.0f);
    setExactTime (h, 50.0f);
    h.setPlain ("echoLoop", 1.0f);
    h.settle (0.1);

    const auto delay = 2400;
    auto buffer = h.impulse (20 * delay, 0, 0.5f);
    h.process (buffer);
    auto expected = softClip (0.5f);
    auto at = delay + 1;
    for (int r = 0; r < 15; ++r)
    {
        EXPECT_FLOAT_EQ (buffer.getSample (0, at), expected) << "repeat " << r + 1;
        expected = softClip (expected);
        at += delay + 2;
    }
}

TEST (Echo, FilterShapesTheRepeatsInsideTheLoop)
{
    // A repeat through the low-pass at 800 Hz and high-pass at 20 Hz, against the dry level.
    const struct
    {
        double frequency;
        bool filterOn;
        float minimumGain, maximumGain;
    } cases[] = {
        {200.0, true, 0.8f, 1.0f},
        {8000.0, true, 0.0f, 0.05f},
        {8000.0, false, 0.8f, 1.0f},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << c.frequency << " Hz, filter " << c.filterOn);
        ProcessorHarness h (48000.0, 512, 2);
        isolateEcho (h);
        h.setPlain ("echoSync", 0.0f);
        h.setPlain ("echoTime", 100.0f);
        h.setPlain ("echoFilter", c.filterOn ? 1.0f : 0.0f);
        h.setPlain ("echoLpFreq", 800.0f);
        h.setPlain ("echoHpFreq", 20.0f);
        h.settle (0.2);

        auto buffer = h.sine (9600, c.frequency, 0.25f);
        h.process (buffer);
        const auto gain = peakLevel (buffer, 0, 7200, 9600) / 0.25f;
        EXPECT_GE (gain, c.minimumGain);
        EXPECT_LE (gain, c.maximumGain);
    }
}

TEST (Echo, FilterStaysStableWhenTheLowPassLiesAboveHalfTheSampleRate)
{
    for (double rate : {22050.0, 32000.0})
    {
        SCOPED_TRACE (rate);
        ProcessorHarness h (rate, 512, 2);
        isolateEcho (h);
        h.setPlain ("echoSync", 0.0f);
        h.setPlain ("echoTime", 20.0f);
        h.setPlain ("echoFeedback", 90.0f);
        h.setPlain ("echoFilter", 1.0f);
        h.setPlain ("echoLpFreq", 20000.0f);

        auto buffer = h.sine ((int)rate * 2, 440.0, 0.5f);
        h.process (buffer);
        EXPECT_TRUE (testsupport::allFiniteAndNormal (buffer));
        EXPECT_LT (peakLevel (buffer, 0, 0, buffer.getNumSamples()), 2.0f);
        EXPECT_GT (peakLevel (buffer, 0, buffer.getNumSamples() / 2, buffer.getNumSamples()), 0.1f);
    }
}

TEST (Echo, SwitchedOffItPassesTheAudioAndLeavesNoStaleRepeats)
{
    // The ringing runs for a whole lap of the lines, so every slot holds an old repeat unless the
    // switched-off stage silenced it.
    constexpr double rate = 192000.0;
    constexpr int delay = 19200;
    for (int channels : {1, 2})
    {
        SCOPED_TRACE (channels);
        ProcessorHarness h (rate, 512, channels);
        isolateEcho (h);
        h.setPlain ("echoSync", 0.0f);
        h.setPlain ("echoTime", 100.0f);
        h.setPlain ("echoFeedback", 90.0f);
        h.setPlain ("echoMix", 50.0f);
        h.settle (0.1);

        auto ringing = h.sine (EchoSection::delayCapacity, 330.0);
        h.process (ringing);

        h.setPlain ("echoPower", 0.0f);
        auto passed = h.sine (2 * delay, 550.0);
        const auto original = passed;
        h.process (passed);
        for (int channel = 0; channel < channels; ++channel)
            for (int i = 0; i < passed.getNumSamples(); ++i)
                ASSERT_EQ (passed.getSample (channel, i), original.getSample (channel, i)) << "sample " << i;

        h.setPlain ("echoPower", 1.0f);
        auto after = h.silence (4 * delay);
        h.process (after);
        for (int channel = 0; channel < channels; ++channel)
            EXPECT_EQ (peakLevel (after, channel, 0, after.getNumSamples()), 0.0f);
    }
}

TEST (Echo, SilenceAfterMaximumFeedbackStaysBoundedAndFreeOfSubnormals)
{
    const struct
    {
        bool loop, filter;
    } cases[] = {{false, false}, {false, true}, {true, false}, {true, true}};
    for (const auto& c : cases)
        for (int channels : {1, 2})
        {
            SCOPED_TRACE (testing::Message() << "loop " << c.loop << ", filter " << c.filter << ", " << channels);
            ProcessorHarness h (48000.0, 512, channels);
            isolateEcho (h);
            h.setPlain ("echoSync", 0.0f);
            h.setPlain ("echoTime", 30.0f);
            h.setPlain ("echoFeedback", 120.0f);
            h.setPlain ("echoLoop", c.loop ? 1.0f : 0.0f);
            h.setPlain ("echoFilter", c.filter ? 1.0f : 0.0f);
            h.setPlain ("echoPingPong", channels == 2 ? 1.0f : 0.0f);

            auto burst = h.sine (48000, 180.0, 1.0f);
            h.process (burst);
            auto quiet = h.silence (480000);
            h.process (quiet);
            EXPECT_TRUE (testsupport::allFiniteAndNormal (quiet));
            EXPECT_LT (peakLevel (quiet, 0, 0, quiet.getNumSamples()), 1.5f);

            // With half the feedback the repeats halve each pass, down through the smallest floats,
            // and must reach silence without a subnormal on the way. The filters' snap to zero
            // can leave a faint limit cycle in the loop, far below hearing.
            h.setPlain ("echoFeedback", 50.0f);
            h.setPlain ("echoLoop", 0.0f);
            auto decay = h.silence (480000);
            h.process (decay);
            EXPECT_TRUE (testsupport::allFiniteAndNormal (decay));
            EXPECT_LE (peakLevel (decay, 0, 240000, decay.getNumSamples()), c.filter ? 1.0e-5f : 0.0f);
        }
}

TEST (Echo, OddTempoPositionAndExtremeSettingsNeitherHangNorLeaveTheFiniteRange)
{
    const auto nan = std::numeric_limits<double>::quiet_NaN();
    const auto inf = std::numeric_limits<double>::infinity();
    const struct
    {
        std::optional<double> tempo, ppq;
    } transports[] = {{0.0, 0.0},
                      {120.0, nan},
                      {nan, inf},
                      {-1.0, -1.0e300},
                      {1.0e-300, 1.0e300},
                      {1.0e300, 3.0},
                      {std::nullopt, std::nullopt}};
    for (const auto& t : transports)
        for (float sync : {0.0f, 1.0f})
        {
            SCOPED_TRACE (testing::Message()
                          << "tempo " << t.tempo.value_or (-2) << ", ppq " << t.ppq.value_or (-2) << ", sync " << sync);
            ProcessorHarness h (44100.0, 512, 2);
            h.setPlain ("meltEchoSend", 100.0f);
            h.setPlain ("echoSync", sync);
            h.setPlain ("echoFactorMode", 1.0f);
            h.setPlain ("echoFactorRate", 12.0f);
            h.setPlain ("echoRateLeft", 0.0f);
            h.setPlain ("echoOffset", 100.0f);
            h.setPlain ("echoTime", 1000.0f);
            h.setPlain ("echoOffsetMs", 150.0f);
            h.setPlain ("echoFeedback", 120.0f);
            h.setPlain ("echoGlide", 100.0f);
            h.playHead.tempo = t.tempo;
            h.playHead.ppq = t.ppq;
            h.playHead.playing = true;

            auto buffer = h.sine (44100, 500.0, 1.0f);
            h.process (buffer);
            EXPECT_TRUE (testsupport::allFiniteAndNormal (buffer));
        }
}

TEST (Echo, HugeFiniteInputLeavesTheOutputFinite)
{
    for (int channels : {1, 2})
    {
        ProcessorHarness h (48000.0, 512, channels);
        isolateEcho (h);
        h.setPlain ("echoSync", 0.0f);
        h.setPlain ("echoTime", 5.0f);
        h.setPlain ("echoFeedback", 120.0f);
        h.setPlain ("echoFilter", 1.0f);
        h.setPlain ("echoMix", 50.0f);
        h.settle (0.1);

        auto buffer = h.silence (4800);
        for (int channel = 0; channel < channels; ++channel)
            for (int i = 0; i < 4800; i += 7)
                buffer.setSample (channel, i, (i % 2 == 0 ? 1.0f : -1.0f) * 1.0e30f);
        h.process (buffer);
        EXPECT_TRUE (testsupport::allFiniteAndNormal (buffer));

        auto after = h.silence (4800);
        h.process (after);
        EXPECT_TRUE (testsupport::allFiniteAndNormal (after));
    }
}

TEST (Echo, StepsTheMeltsRampsEveryBlockWhetherOrNotTheMeltIsOn)
{
    // Each ramp starts from 0 after the first preparation, so after a few blocks its value tells how
    // many steps it took: the melt's own (three a sample for the flow level while on, else one),
    // plus the echo's per block (two for the flow level, one for the others, and the drop-out level
    // and a second ruvuv step only while the melt and its drop-outs are both on).
    constexpr int blocks = 4;
    constexpr int blockSize = 512;
    const struct
    {
        bool meltOn, dropoutOn;
        int flowLevel, ruvuv, dropoutLevel;
    } cases[] = {
        {false, false, blockSize + 2, blockSize + 1, blockSize},
        {false, true, blockSize + 2, blockSize + 1, blockSize},
        {true, false, 3 * blockSize + 2, blockSize + 1, blockSize},
        {true, true, 3 * blockSize + 2, blockSize + 2, blockSize + 1},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << "melt " << c.meltOn << ", drop-outs " << c.dropoutOn);
        ProcessorHarness h (48000.0, blockSize, 2);
        h.setPlain ("meltPower", c.meltOn ? 1.0f : 0.0f);
        h.setPlain ("meltDropoutPower", c.dropoutOn ? 1.0f : 0.0f);
        for (const auto* identifier :
             {"meltFlowMix", "meltFlowLevel", "ruvuvMelt", "meltDropoutLevel", "meltJumpLevel", "meltJumpCurve"})
            h.setPlain (identifier, 100.0f);
        h.settle (blocks * blockSize / h.sampleRate);

        const auto& melt = *h.processor->meltSection;
        const auto stepsTaken = [] (const MeltSection::Ramp& ramp)
        { return (int)std::lround (ramp.getCurrentValue() / ramp.getTargetValue() * 14400.0); };
        EXPECT_EQ (stepsTaken (melt.smoothFlowLevel), blocks * c.flowLevel);
        EXPECT_EQ (stepsTaken (melt.smoothRuvuv), blocks * c.ruvuv);
        EXPECT_EQ (stepsTaken (melt.smoothDropoutLevel), blocks * c.dropoutLevel);
        for (const auto* ramp : {&melt.smoothFlowMix, &melt.smoothJumpLevel, &melt.smoothJumpCurve})
            EXPECT_EQ (stepsTaken (*ramp), blocks * (blockSize + 1));
    }
}

TEST (Echo, DelayFollowsTheMeltsLastOutputsEvenWithTheMeltSwitchedOff)
{
    // The melt runs with its flow switched off until its wow output rests at 0.5, then is switched
    // off: the echo still reads that frozen output, so with flow mix 0, flow level 100 % and ruvuv
    // 0 its delay factor grows by 0.5 x send x 0.01 (100 ms stretched by 0.25 % or 0.5 %).
    const struct
    {
        float send;
        int expected;
    } cases[] = {{0.0f, 4801}, {50.0f, 4813}, {100.0f, 4825}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.send);
        ProcessorHarness h (48000.0, 512, 2);
        isolateEcho (h);
        h.setPlain ("meltPower", 1.0f);
        h.setPlain ("meltFlowPower", 0.0f);
        h.setPlain ("meltDropoutPower", 0.0f);
        h.setPlain ("meltFlowMix", 0.0f);
        h.setPlain ("meltFlowLevel", 100.0f);
        h.setPlain ("ruvuvMelt", 0.0f);
        h.setPlain ("meltJumpLevel", 0.0f);
        h.setPlain ("meltEchoSend", c.send);
        h.setPlain ("echoSync", 0.0f);
        setExactTime (h, 100.0f);
        h.settle (1.0);
        h.setPlain ("meltPower", 0.0f);
        h.settle (1.0);

        auto buffer = h.impulse (9600, 0, 0.5f);
        h.process (buffer);
        EXPECT_EQ (loudestSample (buffer, 0, 1, 9600), c.expected);
        EXPECT_EQ (loudestSample (buffer, 1, 1, 9600), c.expected);
    }
}

TEST (Echo, MeltDropOutsDuckTheWholeBlockByTheMeltsLastDropOutValue)
{
    // DC through the melt with full-level sine drop-outs (no randomness, flow off) comes out as
    // 0.5 x (1 - dropout) per sample. The echo, all dry, then scales each whole block by
    // 1 - 0.5 x send x dropout, with the drop-out value of the melt's last sample in that block.
    constexpr int blockSize = 512;
    const auto prepare = [] (ProcessorHarness& h, bool dropoutOn, float send)
    {
        h.setPlain ("tonePower", 0.0f);
        h.setPlain ("dryWetMix", 100.0f);
        h.setPlain ("meltFlowPower", 0.0f);
        h.setPlain ("meltDropoutPower", dropoutOn ? 1.0f : 0.0f);
        h.setPlain ("meltDropoutType", 0.0f);
        h.setPlain ("meltDropoutSync", 0.0f);
        h.setPlain ("meltDropoutRnd", 0.0f);
        h.setPlain ("meltDropoutLevel", 100.0f);
        h.setPlain ("ruvuvMelt", 0.0f);
        h.setPlain ("meltJumpLevel", 0.0f);
        h.setPlain ("meltEchoSend", send);
        h.setPlain ("echoMix", 0.0f);
    };

    const struct
    {
        bool dropoutOn;
        float send;
    } cases[] = {{true, 100.0f}, {true, 50.0f}, {false, 100.0f}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << "drop-outs " << c.dropoutOn << ", send " << c.send);
        ProcessorHarness unducked (48000.0, blockSize, 2);
        ProcessorHarness ducked (48000.0, blockSize, 2);
        prepare (unducked, c.dropoutOn, 0.0f);
        prepare (ducked, c.dropoutOn, c.send);

        auto deepestDip = 0.0f;
        for (int block = 0; block < 200; ++block)
        {
            auto plain = unducked.constant (blockSize, 0.5f);
            auto scaled = ducked.constant (blockSize, 0.5f);
            unducked.processBlock (plain);
            ducked.processBlock (scaled);
            if (block < 100)
                continue;

            const auto dropout = c.dropoutOn ? 1.0f - plain.getSample (0, blockSize - 1) / 0.5f : 0.0f;
            deepestDip = std::max (deepestDip, dropout);
            const auto gain = 1.0f - 0.5f * c.send * 0.01f * dropout;
            for (int channel = 0; channel < 2; ++channel)
                for (int i = 0; i < blockSize; ++i)
                    ASSERT_NEAR (scaled.getSample (channel, i), gain * plain.getSample (channel, i), 1.0e-5f)
                        << "block " << block << ", sample " << i;
        }
        EXPECT_GT (deepestDip, c.dropoutOn ? 0.9f : -1.0f);
    }
}
