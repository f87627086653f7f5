#include "MeltProbe.h"

#include "GeneratorRestart.h"

#include <gtest/gtest.h>

#include <cmath>

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

// The stretches (first and last sample) over which the output with jumps differs from the output
// without, each after a stretch of equal output: with curve 0 the extra delay returns to 0 at the
// top of each swell, which is no new jump.
struct Span
{
    int first, last;
};

std::vector<Span> jumpSpans (const juce::AudioBuffer<float>& withJumps, const juce::AudioBuffer<float>& without)
{
    constexpr int quietBeforeAJump = 1000;
    std::vector<Span> spans;
    for (int n = 0; n < withJumps.getNumSamples(); ++n)
    {
        if (withJumps.getSample (0, n) == without.getSample (0, n))
            continue;
        if (spans.empty() || n - spans.back().last > quietBeforeAJump)
            spans.push_back ({n, n});
        spans.back().last = n;
    }
    return spans;
}

std::vector<int> firstSamples (const std::vector<Span>& spans)
{
    std::vector<int> firsts;
    for (const auto& span : spans)
        firsts.push_back (span.first);
    return firsts;
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

    std::vector<Span> spans (int numSamples)
    {
        auto a = nyquistTone (*withJumps, numSamples);
        auto b = nyquistTone (*without, numSamples);
        withJumps->process (a);
        without->process (b);
        return jumpSpans (a, b);
    }

    std::vector<int> starts (int numSamples) { return firstSamples (spans (numSamples)); }

    void moveTo (double ppq)
    {
        withJumps->playHead.ppq = ppq;
        without->playHead.ppq = ppq;
    }

    std::unique_ptr<ProcessorHarness> withJumps, without;
};
} // namespace

// From the generator's first state (as in a fresh process), four-beat periods with random
// lateness up to a period: the jump at the transport start draws the lateness of the next
// boundary, and so on.
TEST (MeltJump, JumpsFallOnBoundariesLateByTheirRandomOffsets)
{
    const auto settings = audibleJumps ({{"meltJumpRate", 6.0f}, {"meltJumpRnd", 1.0f}, {"meltJumpCurve", 0.0f}});
    const std::vector<int> expected{0, 111250, 215629, 327136};
    constexpr int numSamples = 340000;

    // Playing from the first block after preparation: the first jump fires at once but rises
    // while the levels still fade in, so it becomes audible only later.
    {
        testsupport::restartGenerator (JSeedX, JXorU);
        auto withJumps = meltHarness (48000.0, 2, 512, settings);
        auto without = meltHarness (48000.0, 2, 512, settings);
        without->setPlain ("meltJumpPower", 0.0f);
        for (auto* h : {withJumps.get(), without.get()})
        {
            h->playHead.playing = true;
            h->playHead.ppq = 0.0;
        }

        auto a = nyquistTone (*withJumps, numSamples);
        auto b = nyquistTone (*without, numSamples);
        withJumps->process (a);
        without->process (b);
        const auto starts = firstSamples (jumpSpans (a, b));

        ASSERT_EQ (starts.size(), expected.size());
        EXPECT_LT (starts.front(), 3000);
        EXPECT_EQ (std::vector<int> (starts.begin() + 1, starts.end()),
                   std::vector<int> (expected.begin() + 1, expected.end()));
    }

    // After the levels have arrived every jump is audible from its first sample.
    {
        JumpPair pair (settings);
        testsupport::restartGenerator (JSeedX, JXorU);
        EXPECT_EQ (pair.starts (numSamples), expected);
    }
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

// A swell lasts its rise (at least 60 ms), a thousandth of a beat at the top and its fall (at
// least 60 ms too).
TEST (MeltJump, SwellFallsBackOverTheRelease)
{
    struct Case
    {
        float releaseBeats;
        double tempo;
        double expectedLength;
    };
    const Case cases[] = {
        {0.0f, 120.0, 2880.0 + 24.0 + 2880.0},
        {0.8f, 120.0, 2880.0 + 24.0 + 19200.0},
        {0.8f, 60.0, 2880.0 + 48.0 + 38400.0},
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << "release " << c.releaseBeats << " at " << c.tempo << " bpm");
        JumpPair pair (audibleJumps ({{"meltJumpRelease", c.releaseBeats}, {"meltJumpRate", 6.0f}}), c.tempo);
        const auto spans = pair.spans (60000);
        ASSERT_EQ (spans.size(), 1u);
        EXPECT_EQ (spans.front().first, 0);
        // The echo stage steps a running envelope once more per block, shortening it a little.
        const auto length = spans.front().last + 1 - spans.front().first;
        EXPECT_NEAR (length, c.expectedLength, c.expectedLength * 0.004 + 2.0);
    }
}

// A host loop that moves the position back by more than a quarter period restarts the boundary
// tracking: it fires at once only when it lands within 0.01 period after a boundary.
TEST (MeltJump, LoopBackFiresOnlyWhenItLandsJustAfterABoundary)
{
    struct Case
    {
        double landingBeat;
        int expectedFirst;
    };
    // Four-beat periods: 0.01 period is 0.04 beat. Landing at 4.08 waits for beat 8.
    for (const auto& c : {Case{4.02, 0}, Case{4.08, (int)std::lround ((8.0 - 4.08) * 24000.0)}})
    {
        SCOPED_TRACE (testing::Message() << "loop back to beat " << c.landingBeat);
        JumpPair pair (audibleJumps ({{"meltJumpRate", 6.0f}}));
        ASSERT_EQ (pair.starts (6 * 24000), (std::vector<int>{0, 4 * 24000}));

        pair.moveTo (c.landingBeat);
        const auto starts = pair.starts (100000);
        ASSERT_FALSE (starts.empty());
        EXPECT_NEAR (starts.front(), c.expectedFirst, 1);
    }
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
        // Whole teeth, so the sawtooth runs on without a seam into the measured buffer.
        auto warmUp = melttest::saw (*h, 3 * melttest::sawPeriod);
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
