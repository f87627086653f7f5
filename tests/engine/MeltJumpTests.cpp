#include "MeltProbe.h"

#include "engine/RandomGenerator.h"

#include <gtest/gtest.h>

#include <algorithm>

using melttest::meltHarness;
using testsupport::ProcessorHarness;

namespace
{
using Settings = std::vector<std::pair<const char*, float>>;

// A full-scale tone at half the sample rate: any change of the delay, however small, changes
// every output sample.
juce::AudioBuffer<float> nyquistTone (const ProcessorHarness& harness, int numSamples)
{
    auto buffer = harness.silence (numSamples);
    for (int c = 0; c < buffer.getNumChannels(); ++c)
        for (int n = 0; n < numSamples; ++n)
            buffer.setSample (c, n, n % 2 == 0 ? 0.5f : -0.5f);
    return buffer;
}

// Jumps audible from their first sample: a short rise, and curve 100 so the extra delay grows
// all the way up and only returns to 0 at the end of the release. Flow and drop-outs are off so
// two harnesses differ only by their jumps.
Settings audibleJumps (Settings more = {})
{
    Settings settings = {{"meltJumpLevel", 100.0f},
                         {"meltJumpCurve", 100.0f},
                         {"meltJumpSnag", 0.0f},
                         {"meltFlowPower", 0.0f},
                         {"meltDropoutPower", 0.0f}};
    settings.insert (settings.end(), more.begin(), more.end());
    return settings;
}

// The samples at which the output with jumps starts to differ from the output without.
std::vector<int> jumpStarts (const juce::AudioBuffer<float>& withJumps, const juce::AudioBuffer<float>& without)
{
    std::vector<int> starts;
    auto differing = false;
    for (int n = 0; n < withJumps.getNumSamples(); ++n)
    {
        const auto differs = withJumps.getSample (0, n) != without.getSample (0, n);
        if (differs && !differing)
            starts.push_back (n);
        differing = differs;
    }
    return starts;
}

// Two harnesses run a second with jumps switched off while the transport is stopped; then the
// first switches them on and both start playing from beat 0.
struct JumpPair
{
    explicit JumpPair (const Settings& settings, double tempo = 120.0)
        : withJumps (meltHarness (48000.0, 2, 512, settings)), without (meltHarness (48000.0, 2, 512, settings))
    {
        for (auto* h : {withJumps.get(), without.get()})
        {
            h->setPlain ("meltJumpPower", 0.0f);
            h->playHead.tempo = tempo;
            auto warmUp = nyquistTone (*h, 48000);
            h->process (warmUp);
            h->playHead.playing = true;
            h->playHead.ppq = 0.0;
        }
        withJumps->setPlain ("meltJumpPower", 1.0f);
    }

    std::vector<int> starts (int numSamples)
    {
        auto a = nyquistTone (*withJumps, numSamples);
        auto b = nyquistTone (*without, numSamples);
        withJumps->process (a);
        without->process (b);
        jumpOutput = a;
        return jumpStarts (a, b);
    }

    std::unique_ptr<ProcessorHarness> withJumps, without;
    juce::AudioBuffer<float> jumpOutput;
};
} // namespace

// From the generator's first state, one-beat periods with random lateness up to a period: the
// first jump fires at the transport start and draws the lateness of the next boundary.
TEST (MeltJump, JumpsFallOnBoundariesLateByTheirRandomOffsets)
{
    JSeedX = 0xE9B820CFu;
    JXorU = 0xD74A3516u;

    auto withJumps = meltHarness (48000.0, 2, 512, audibleJumps ({{"meltJumpRate", 6.0f}, {"meltJumpRnd", 1.0f}}));
    auto without = meltHarness (
        48000.0, 2, 512, audibleJumps ({{"meltJumpRate", 6.0f}, {"meltJumpRnd", 1.0f}, {"meltJumpPower", 0.0f}}));
    for (auto* h : {withJumps.get(), without.get()})
    {
        h->playHead.playing = true;
        h->playHead.ppq = 0.0;
    }

    auto a = nyquistTone (*withJumps, 340000);
    auto b = nyquistTone (*without, 340000);
    withJumps->process (a);
    without->process (b);
    const auto starts = jumpStarts (a, b);

    // The first jump rises while the levels still fade in, so its first audible sample comes late.
    ASSERT_FALSE (starts.empty());
    EXPECT_LT (starts.front(), 3000);
    const std::vector<int> later (std::find_if (starts.begin(), starts.end(), [] (int n) { return n > 3000; }),
                                  starts.end());
    EXPECT_EQ (later, (std::vector<int>{111250, 215629, 327136}));
}

TEST (MeltJump, TransportStartFiresAtOnceOrWaitsForTheNextBoundary)
{
    struct Case
    {
        float startPercent;
        int expectedFirst;
    };
    // Start 50 puts the position half a period before the boundary: two beats at 120 bpm.
    for (const auto& c : {Case{0.0f, 0}, Case{90.0f, 0}, Case{100.0f, 0}, Case{50.0f, 48000}})
    {
        JumpPair pair (audibleJumps ({{"meltJumpStart", c.startPercent}, {"meltJumpRate", 6.0f}}));
        const auto starts = pair.starts (60000);
        ASSERT_FALSE (starts.empty()) << "start " << c.startPercent;
        EXPECT_NEAR (starts.front(), c.expectedFirst, 1) << "start " << c.startPercent;
    }
}

TEST (MeltJump, BoundariesPassedWhileSwitchedOffDoNotFireWhenSwitchedOn)
{
    JumpPair pair (audibleJumps ({{"meltJumpRate", 6.0f}}));
    pair.withJumps->setPlain ("meltJumpPower", 0.0f);
    auto before = pair.starts (60000);
    EXPECT_TRUE (before.empty());

    pair.withJumps->setPlain ("meltJumpPower", 1.0f);
    const auto after = pair.starts (60000);
    ASSERT_FALSE (after.empty());
    // The next boundary is four beats after the start, 96000 samples, 36000 into this run.
    EXPECT_NEAR (after.front(), 36000, 1);
}

// The extra delay rises over the snag, never faster than 60 ms, to
// 0.1 × level × e × (1 - e) × (1 + 2 × ruvuv / 100) with e = (1 - 0.6 × curve / 100) at the top.
TEST (MeltJump, SwellRisesOverTheSnagToTheCurvesHeight)
{
    struct Case
    {
        float snagBeats, curve, ruvuv;
        double tempo;
        double expectedRise, expectedPeakMs;
    };
    const Case cases[] = {
        {0.0f, 100.0f, 0.0f, 120.0, 2880.0, 24.0},
        {0.02f, 100.0f, 0.0f, 120.0, 2880.0, 24.0},
        {0.8f, 100.0f, 0.0f, 120.0, 19200.0, 24.0},
        {0.8f, 100.0f, 0.0f, 60.0, 38400.0, 24.0},
        {0.5f, 100.0f, 100.0f, 120.0, 12000.0, 72.0},
        {0.5f, 0.0f, 0.0f, 120.0, 12000.0 / std::sqrt (2.0), 25.0},
        {0.5f, 0.0f, 50.0f, 120.0, 12000.0 / std::sqrt (2.0), 50.0},
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << "snag " << c.snagBeats << " curve " << c.curve << " ruvuv " << c.ruvuv
                                         << " at " << c.tempo << " bpm");
        auto h = meltHarness (48000.0, 2, 512,
                              audibleJumps ({{"meltJumpSnag", c.snagBeats},
                                             {"meltJumpCurve", c.curve},
                                             {"ruvuvMelt", c.ruvuv},
                                             {"meltFlowLevel", 0.0f},
                                             {"meltJumpPower", 0.0f},
                                             {"meltJumpRate", 0.0f}}));
        h->playHead.tempo = c.tempo;
        auto warmUp = melttest::saw (*h, 48000);
        h->process (warmUp);
        h->setPlain ("meltJumpPower", 1.0f);
        h->playHead.playing = true;
        h->playHead.ppq = 0.0;

        auto buffer = melttest::saw (*h, 60000);
        h->process (buffer);

        auto peak = 0.0;
        auto peakAt = 0;
        for (int n = 0; n < buffer.getNumSamples(); ++n)
        {
            const auto delay = melttest::delayOfEitherChannel (buffer, n, 48000.0, 0.09);
            if (delay > peak + 1e-7)
            {
                peak = delay;
                peakAt = n;
            }
        }
        EXPECT_NEAR ((peak - 0.01) * 1000.0, c.expectedPeakMs, 0.01);
        // The echo stage may step the envelope once more per block, shortening the rise by a fraction.
        EXPECT_NEAR (peakAt, c.expectedRise, c.expectedRise * 0.004 + 2.0);
    }
}
