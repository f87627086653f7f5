// The tail the bundle reports to its host: a host that stops processing a silent track once the
// reported tail has passed must not cut off the echo's repeats.
#include "support/host/HostBattery.h"

#include "EngineScenarios.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <limits>

using namespace hosttest;

namespace
{
constexpr double rate = 48000.0;
constexpr float minus100Decibels = 1.0e-5f;

std::unique_ptr<HostedSession> sessionWith (const std::vector<scenarios::Setting>& settings, double tempo = 120.0)
{
    auto session = std::make_unique<HostedSession> (rate, 512, 2);
    if (!session->loaded())
        return session;
    for (const auto& setting : settings)
        EXPECT_TRUE (hostkit::setPlainValue (*session->plugin, setting.identifier, setting.plain))
            << setting.identifier;
    session->setTransport ({"playing", tempo, 0.0, true, true, 0.0});
    return session;
}

// How long a full-scale click rings before the output stays below -100 dBFS for good, after a
// second of silence in which the fresh instance fades in.
double ringSeconds (HostedSession& session, double longest)
{
    juce::AudioBuffer<float> block (2, session.blockSize);
    for (int i = 0; i < (int)rate / session.blockSize; ++i)
    {
        block.clear();
        session.processBlock (block);
    }

    juce::int64 lastAudible = -1;
    for (juce::int64 start = 0; start < (juce::int64) (longest * rate); start += block.getNumSamples())
    {
        block.clear();
        if (start == 0)
            for (int channel = 0; channel < 2; ++channel)
                block.setSample (channel, 0, 1.0f);
        session.processBlock (block);
        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < block.getNumSamples(); ++i)
                if (std::abs (block.getSample (channel, i)) >= minus100Decibels)
                    lastAudible = juce::jmax (lastAudible, start + i);
    }
    return (double)(lastAudible + 1) / rate;
}
} // namespace

// The reported tail reaches at least to the last repeat above -100 dBFS, without reporting
// minutes where seconds ring.
TEST (Tail, CoversTheRepeatsUntilTheyFallBelowMinus100Decibels)
{
    const struct
    {
        const char* name;
        std::vector<scenarios::Setting> settings;
    } cases[] = {
        {"defaults (beats, 40 % feedback)", {}},
        {"90 % feedback every 100 ms", {{"echoSync", 0.0f}, {"echoTime", 100.0f}, {"echoFeedback", 90.0f}}},
        {"ping-pong with the left offset",
         {{"echoSync", 0.0f},
          {"echoTime", 250.0f},
          {"echoOffsetMs", 150.0f},
          {"echoFeedback", 70.0f},
          {"echoPingPong", 1.0f}}},
        {"auto factor, melt sent to the echo",
         {{"echoFactorMode", 1.0f}, {"echoMax", 3.0f}, {"meltEchoSend", 100.0f}, {"echoFeedback", 60.0f}}},
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        const auto session = sessionWith (c.settings);
        ASSERT_TRUE (session->loaded()) << session->error;

        const auto tail = session->plugin->getTailLengthSeconds();
        ASSERT_TRUE (std::isfinite (tail));
        const auto rings = ringSeconds (*session, tail + 2.0);
        std::cout << c.name << ": tail " << tail << " s, rings for " << rings << " s\n";
        EXPECT_GT (rings, 0.5);
        EXPECT_GE (tail, rings);
        EXPECT_LE (tail, 2.0 * rings + 1.0);
    }
}

TEST (Tail, IsNoneWithoutEchoOrMeltAndEndlessWhileTheRepeatsNeverFade)
{
    const auto infinite = std::numeric_limits<double>::infinity();
    const struct
    {
        const char* name;
        std::vector<scenarios::Setting> settings;
        double lowest, highest;
    } cases[] = {
        {"echo and melt off", {{"echoPower", 0.0f}, {"meltPower", 0.0f}}, 0.0, 0.0},
        {"echo off: the melt's delay", {{"echoPower", 0.0f}}, 0.01, 0.1},
        {"loop on", {{"echoLoop", 1.0f}, {"echoFeedback", 10.0f}}, infinite, infinite},
        {"feedback 100 %", {{"echoFeedback", 100.0f}}, infinite, infinite},
        {"feedback 120 %", {{"echoFeedback", 120.0f}}, infinite, infinite},
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        const auto session = sessionWith (c.settings);
        ASSERT_TRUE (session->loaded()) << session->error;
        const auto tail = session->plugin->getTailLengthSeconds();
        EXPECT_GE (tail, c.lowest);
        EXPECT_LE (tail, c.highest);
    }
}

// In beats the repeat time follows the tempo of the latest block: half the tempo, twice the tail.
TEST (Tail, FollowsTheHostTempoInBeats)
{
    double tails[2] = {};
    const double tempos[2] = {120.0, 60.0};
    for (int k = 0; k < 2; ++k)
    {
        const auto session = sessionWith ({{"meltPower", 0.0f}, {"echoSync", 1.0f}}, tempos[k]);
        ASSERT_TRUE (session->loaded()) << session->error;
        juce::AudioBuffer<float> block (2, 512);
        block.clear();
        session->processBlock (block);
        tails[k] = session->plugin->getTailLengthSeconds();
    }
    EXPECT_GT (tails[0], 0.0);
    EXPECT_NEAR (tails[1], 2.0 * tails[0], 2.0 / rate);
}
