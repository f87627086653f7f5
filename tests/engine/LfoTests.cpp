#include "engine/LFO.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace
{
enum class Mode
{
    flow,
    dropout
};

// The drift's draws; the tests here do not depend on their values.
AdditiveFeedbackRandom drift (1);

LFO runningLfo (double phaseIncrement, float randDepth = 0.0f)
{
    LFO lfo;
    lfo.sampleRate = 48000.0;
    lfo.phaseInc = lfo.randInc = phaseIncrement;
    lfo.randDepth = randDepth;
    lfo.enabled = true;
    return lfo;
}

// One sample as the melt drives it: a left call and a right call, each half an increment.
float sample (LFO& lfo, int shape, Mode mode, bool synced = false)
{
    const auto left = lfo.getMelt (shape, synced, 0.0f, 0.0f, mode == Mode::flow, mode == Mode::dropout, drift);
    lfo.getMelt (shape, synced, 0.0f, 0.0f, mode == Mode::flow, mode == Mode::dropout, drift);
    return left;
}
} // namespace

TEST (Lfo, DisabledRecordReturnsHalfAndStandsStill)
{
    auto lfo = runningLfo (0.01, 0.5f);
    lfo.enabled = false;
    lfo.phase = 0.3;
    lfo.randPhase = 0.7;
    lfo.randSmooth = 2.0f;

    for (int i = 0; i < 100; ++i)
        EXPECT_EQ (sample (lfo, 0, Mode::flow), 0.5f);

    EXPECT_EQ (lfo.phase, 0.3);
    EXPECT_EQ (lfo.randPhase, 0.7);
    EXPECT_EQ (lfo.randSmooth, 2.0f);
}

TEST (Lfo, SineStartsAtHalfAndFallsToAQuarterAfterAQuarterCycle)
{
    auto lfo = runningLfo (0.25);
    EXPECT_EQ (sample (lfo, 0, Mode::flow), 0.5f);
    EXPECT_NEAR (sample (lfo, 0, Mode::flow), 0.25f, 1e-6);
    EXPECT_NEAR (sample (lfo, 0, Mode::flow), 0.5f, 1e-6);
    EXPECT_NEAR (sample (lfo, 0, Mode::flow), 0.75f, 1e-6);
}

TEST (Lfo, EveryShapeStaysInItsModesRange)
{
    // The soft square's steepened sine tops out at atan (1 / 0.01), a little short of the pi / 2
    // that the curve approaches.
    const auto softSquarePeak = 0.5f * (float)std::atan (100.0) / 1.5f;
    struct Case
    {
        int shape;
        Mode mode;
        float low, high;
    };
    const Case cases[] = {
        {0, Mode::flow, 0.25f, 0.75f},  {1, Mode::flow, 0.25f, 0.75f},
        {2, Mode::flow, 0.25f, 0.75f},  {3, Mode::flow, 0.25f, 0.75f},
        {0, Mode::dropout, 0.0f, 1.0f}, {1, Mode::dropout, 0.5f - softSquarePeak, 0.5f + softSquarePeak},
        {2, Mode::dropout, 0.0f, 1.0f}, {3, Mode::dropout, 0.0f, 1.0f},
    };

    for (const auto& c : cases)
    {
        auto lfo = runningLfo (1.0 / 1000.0);
        auto low = 1.0f, high = 0.0f;
        for (int i = 0; i < 2000; ++i)
        {
            const auto value = sample (lfo, c.shape, c.mode);
            low = std::min (low, value);
            high = std::max (high, value);
        }
        SCOPED_TRACE (testing::Message() << "shape " << c.shape << (c.mode == Mode::flow ? " flow" : " dropout"));
        EXPECT_NEAR (low, c.low, 2e-4);
        EXPECT_NEAR (high, c.high, 2e-4);
    }
}

TEST (Lfo, ShapeOutsideTheListGivesHalfWithoutMovingThePhase)
{
    for (const auto shape : {-1, 4, 100})
    {
        auto lfo = runningLfo (0.01);
        lfo.phase = 0.2;
        EXPECT_EQ (sample (lfo, shape, Mode::flow), 0.5f);
        EXPECT_EQ (lfo.phase, 0.2);
    }
}

// Before the drift clock first wraps there is no random target, so the drift factor is
// 1 - depth: it slows a free-running oscillator and shrinks a synced one.
TEST (Lfo, DriftDepthSlowsFreeRunningAndShrinksSynced)
{
    struct Case
    {
        float depth;
        double expectedPhaseAfter100;
    };
    for (const auto& c : {Case{0.0f, 0.01}, Case{0.5f, 0.005}, Case{1.0f, 0.0}})
    {
        auto lfo = runningLfo (1e-4, c.depth);
        for (int i = 0; i < 100; ++i)
            sample (lfo, 0, Mode::flow);
        EXPECT_NEAR (lfo.phase, c.expectedPhaseAfter100, 1e-12) << "depth " << c.depth;
    }

    auto synced = runningLfo (1e-4, 0.5f);
    synced.phase = 0.25;
    EXPECT_NEAR (synced.getMelt (0, true, 0.0f, 0.0f, true, false, drift), 0.5f - 0.25f * 0.5f, 1e-6);
}

TEST (Lfo, PhaseOffsetsShiftTheReadOnly)
{
    auto lfo = runningLfo (0.0);
    EXPECT_NEAR (lfo.getMelt (0, false, 0.25f, 0.0f, true, false, drift), 0.25f, 1e-6);
    EXPECT_NEAR (lfo.getMelt (0, false, 0.0f, 0.75f, true, false, drift), 0.75f, 1e-6);
    EXPECT_NEAR (lfo.getMelt (0, false, 0.25f, 0.0f, false, true, drift), 0.0f, 1e-6);
    EXPECT_EQ (lfo.phase, 0.0);
}

TEST (Lfo, StrongDriftKeepsTheOutputFinite)
{
    auto lfo = runningLfo (15.0 / 48000.0, 1.0f);
    for (int i = 0; i < 480000; ++i)
    {
        const auto value = sample (lfo, i / 120000, Mode::flow);
        ASSERT_TRUE (std::isfinite (value));
        ASSERT_GT (lfo.phase, -1.0);
        ASSERT_LT (lfo.phase, 1.0);
    }
}
