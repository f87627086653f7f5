#include "MeltProbe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

using melttest::delayAt;
using melttest::meltHarness;
using testsupport::ProcessorHarness;

namespace
{
const auto pi = juce::MathConstants<double>::pi;

void playFrom (ProcessorHarness& harness, double ppq, double tempo = 120.0)
{
    harness.playHead.playing = true;
    harness.playHead.ppq = ppq;
    harness.playHead.tempo = tempo;
}
} // namespace

// The line is written before it is read, so a fixed delay of 10 ms lands one sample late.
TEST (Melt, ZeroDepthDelaysOneSampleMoreThanTenMilliseconds)
{
    struct Case
    {
        double sampleRate;
        int channels;
        double expectedDelay;
    };
    // At 22.05 kHz 10 ms is 220.5 samples, so the impulse splits over two samples.
    const Case cases[] = {
        {48000.0, 2, 481.0}, {44100.0, 2, 442.0}, {96000.0, 1, 961.0}, {192000.0, 2, 1921.0}, {22050.0, 1, 221.5}};

    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << c.sampleRate << " Hz, " << c.channels << " channels");
        auto h = meltHarness (c.sampleRate, c.channels, 512, {{"meltDepth", 0.0f}});
        // Past the output's 10 ms fade-in at every rate, which would otherwise pass some dry input.
        constexpr int at = 4000;
        auto buffer = h->impulse (8000, at);
        h->process (buffer);

        for (int channel = 0; channel < c.channels; ++channel)
        {
            double sum = 0.0, moment = 0.0;
            for (int n = 0; n < buffer.getNumSamples(); ++n)
            {
                sum += buffer.getSample (channel, n);
                moment += (n - at) * (double)buffer.getSample (channel, n);
            }
            EXPECT_NEAR (sum, 1.0, 1e-5);
            EXPECT_NEAR (moment / sum, c.expectedDelay, 1e-3);
        }
    }
}

// Wow synced at a one-beat cycle (rate index 5) swings 16 ms around 18 ms, and its phase comes
// from the host position at every sample, whatever the block size or start position.
TEST (Melt, SyncedWowFollowsTheBeatPosition)
{
    struct Case
    {
        int blockSize;
        double startBeat;
    };
    struct Point
    {
        double beatFraction, expectedMs;
    };
    const Point points[] = {{0.0, 18.0}, {0.25, 14.0}, {0.5, 18.0}, {0.75, 22.0}};

    for (const auto& c : {Case{512, 0.0}, Case{333, 8.0}, Case{64, 2.5}})
    {
        SCOPED_TRACE (testing::Message() << "blocks of " << c.blockSize << " from beat " << c.startBeat);
        auto h = meltHarness (48000.0, 2, c.blockSize,
                              {{"meltFlowSync", 1.0f},
                               {"meltWowRate", 5.0f},
                               {"meltFlowMix", 0.0f},
                               {"meltFlowLevel", 100.0f},
                               {"meltDropoutPower", 0.0f}});
        playFrom (*h, c.startBeat);
        auto buffer = melttest::saw (*h, 130000);
        h->process (buffer);

        // Beat 4 after the start lies past every ramp and glide; a beat is 24000 samples.
        for (const auto& point : points)
        {
            const auto beat = std::floor (c.startBeat) + 4.0 + point.beatFraction;
            const auto n = (int)std::lround ((beat - c.startBeat) * 24000.0);
            const auto delay = melttest::delayOfEitherChannel (buffer, n, 48000.0, 0.025);
            EXPECT_NEAR (delay * 1000.0, point.expectedMs, 0.002) << "at beat " << beat;
        }
    }
}

// Synced, the depth steps down with the rate index in whole milliseconds (a quarter of them for
// the flutter): a quarter cycle after a cycle starts the delay is 10 ms plus a quarter of the
// depth, three quarters on it is 10 ms plus three quarters of it.
TEST (Melt, SyncedDepthStepsWithTheRateIndex)
{
    struct Case
    {
        const char* rateParameter;
        int rate;
        float mix;
        double cycleBeats, depthMs;
    };
    const Case cases[] = {
        {"meltWowRate", 0, 0.0f, 4.0, 25.0},        {"meltWowRate", 3, 0.0f, 4.0 / 3.0, 20.0},
        {"meltWowRate", 12, 0.0f, 1.0 / 6.0, 2.0},  {"meltFlutterRate", 0, 100.0f, 1.0, 12.5},
        {"meltFlutterRate", 5, 100.0f, 0.375, 7.5}, {"meltFlutterRate", 12, 100.0f, 0.0625, 0.25},
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << c.rateParameter << " " << c.rate);
        auto h = meltHarness (48000.0, 2, 512,
                              {{"meltFlowSync", 1.0f},
                               {c.rateParameter, (float)c.rate},
                               {"meltFlowMix", c.mix},
                               {"meltFlowLevel", 100.0f},
                               {"meltDropoutPower", 0.0f}});
        playFrom (*h, 0.0);
        auto buffer = melttest::saw (*h, 170000);
        h->process (buffer);

        // The first cycle from beat 4 on lies past every ramp and glide; a beat is 24000 samples.
        const auto cycleStart = std::ceil (4.0 / c.cycleBeats) * c.cycleBeats;
        for (const auto& [cycleFraction, depthShare] : {std::pair{0.25, 0.25}, std::pair{0.75, 0.75}})
        {
            const auto n = (int)std::lround ((cycleStart + cycleFraction * c.cycleBeats) * 24000.0);
            const auto delay = melttest::delayOfEitherChannel (buffer, n, 48000.0, 0.03);
            EXPECT_NEAR (delay * 1000.0, 10.0 + depthShare * c.depthMs, 0.002) << "at cycle fraction " << cycleFraction;
        }
    }
}

// With the flow switched off its oscillators stand at the middle, so the delay settles at 10 ms
// plus half the depth, and the chorus adds no dry signal.
TEST (Melt, FlowSwitchedOffSettlesTheDelayAtHalfItsDepth)
{
    auto h = meltHarness (48000.0, 2, 512,
                          {{"meltFlowPower", 0.0f},
                           {"meltWowFreq", 0.25f},
                           {"meltFlowMix", 0.0f},
                           {"meltFlowLevel", 100.0f},
                           {"meltDropoutPower", 0.0f},
                           {"meltChorus", 100.0f}});
    auto buffer = melttest::saw (*h, 60000);
    h->process (buffer);

    // The outputs glide from 0 by 0.0002 of the gap per sample and snap within 0.01 of 0.5.
    for (int n = 25000; n < buffer.getNumSamples(); n += 97)
        EXPECT_NEAR (melttest::delayOfEitherChannel (buffer, n, 48000.0, 0.03) * 1000.0, 22.5, 1e-3) << "sample " << n;
}

TEST (Melt, FreeRunningFlowModulatesAtItsFrequency)
{
    struct Case
    {
        const char* frequencyParameter;
        float frequency;
        float mix;
    };
    const Case cases[] = {{"meltWowFreq", 0.25f, 0.0f},
                          {"meltWowFreq", 2.0f, 0.0f},
                          {"meltWowFreq", 4.0f, 0.0f},
                          {"meltFlutterFreq", 5.0f, 100.0f},
                          {"meltFlutterFreq", 15.0f, 100.0f}};

    constexpr double rate = 48000.0;
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << c.frequencyParameter << " " << c.frequency);
        auto h = meltHarness (rate, 2, 512,
                              {{c.frequencyParameter, c.frequency},
                               {"meltFlowMix", c.mix},
                               {"meltFlowLevel", 100.0f},
                               {"meltDropoutPower", 0.0f}});
        auto buffer = melttest::saw (*h, (int)(9 * rate));
        h->process (buffer);

        std::vector<double> trace;
        for (int n = (int)rate; n < buffer.getNumSamples(); ++n)
            trace.push_back (melttest::delayOfEitherChannel (buffer, n, rate, 0.04));
        const auto [low, high] = std::minmax_element (trace.begin(), trace.end());
        const auto middle = 0.5 * (*low + *high);

        std::vector<double> upwardCrossings;
        for (size_t i = 1; i < trace.size(); ++i)
            if (trace[i - 1] < middle && trace[i] >= middle)
                upwardCrossings.push_back ((double)i - (trace[i] - middle) / (trace[i] - trace[i - 1]));

        ASSERT_GE (upwardCrossings.size(), 2u);
        const auto seconds = (upwardCrossings.back() - upwardCrossings.front()) / rate;
        EXPECT_NEAR ((double)(upwardCrossings.size() - 1) / seconds, c.frequency, c.frequency * 1e-3);
    }
}

// With DC in, the output is the drop-out gain: 1 - level × (1 + ruvuv / 100) × the dropout
// oscillator, here a sine over one beat read at the phase knob's offset. The right channel's call
// comes after the left one has stepped half the free-running increment, which the synced phase
// does not undo, so it reads that much further on.
TEST (Melt, DropoutDipFollowsItsSyncedPhaseLevelAndRuvuv)
{
    struct Case
    {
        bool power;
        float level, phase, ruvuv;
    };
    const Case cases[] = {{true, 100.0f, 0.0f, 0.0f},  {true, 100.0f, 0.25f, 0.0f},  {true, 50.0f, 0.0f, 0.0f},
                          {true, 50.0f, 0.0f, 100.0f}, {true, 100.0f, 0.0f, 100.0f}, {false, 100.0f, 0.0f, 0.0f}};

    constexpr double freeFrequency = 8.0;
    constexpr double rightChannelLead = 0.5 * freeFrequency / 48000.0;

    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << "power " << c.power << " level " << c.level << " phase " << c.phase
                                         << " ruvuv " << c.ruvuv);
        auto h = meltHarness (48000.0, 2, 512,
                              {{"meltDropoutPower", c.power ? 1.0f : 0.0f},
                               {"meltDropoutSync", 1.0f},
                               {"meltDropoutRate", 0.0f},
                               {"meltDropoutFreq", (float)freeFrequency},
                               {"meltDropoutType", 0.0f},
                               {"meltDropoutLevel", c.level},
                               {"meltDropoutPhase", c.phase},
                               {"ruvuvMelt", c.ruvuv}});
        playFrom (*h, 0.0);
        auto buffer = h->constant (120000, 1.0f);
        h->process (buffer);

        for (const auto fraction : {0.0, 0.125, 0.25, 0.5, 0.75})
        {
            const auto n = (int)((4.0 + fraction) * 24000.0);
            for (int channel = 0; channel < 2; ++channel)
            {
                const auto dropout =
                    0.5 - 0.5 * std::sin (2.0 * pi * (fraction + c.phase + channel * rightChannelLead));
                const auto dip =
                    c.power ? std::clamp (dropout * c.level / 100.0 * (1.0 + c.ruvuv / 100.0), 0.0, 1.0) : 0.0;
                EXPECT_NEAR (buffer.getSample (channel, n), 1.0 - dip, 1e-5)
                    << "channel " << channel << " at beat fraction " << fraction;
            }
        }
    }
}

// Chorus 100 reads the right channel's oscillators half a cycle away from the left's and adds
// the undelayed input at full level.
TEST (Melt, ChorusSpreadsTheChannelsAndAddsTheDrySignal)
{
    auto h = meltHarness (48000.0, 2, 512,
                          {{"meltFlowSync", 1.0f},
                           {"meltWowRate", 5.0f},
                           {"meltFlowMix", 0.0f},
                           {"meltFlowLevel", 100.0f},
                           {"meltDropoutPower", 0.0f},
                           {"meltChorus", 100.0f}});
    playFrom (*h, 0.0);
    auto buffer = melttest::saw (*h, 120000);
    h->process (buffer);

    struct Point
    {
        int channel;
        double beatFraction, expectedMs;
    };
    const Point points[] = {{0, 0.25, 14.0}, {1, 0.25, 22.0}, {0, 0.75, 22.0}, {1, 0.75, 14.0}};
    for (const auto& point : points)
    {
        // Pick the beat whose sample keeps this channel's taps inside one tooth.
        for (const auto beat : {3.0, 4.0})
        {
            const auto n = (int)((beat + point.beatFraction) * 24000.0);
            if (const auto delay = delayAt (buffer, point.channel, n, 48000.0, 0.025, 1.0f))
            {
                EXPECT_NEAR (*delay * 1000.0, point.expectedMs, 0.002)
                    << "channel " << point.channel << " at " << point.beatFraction;
                break;
            }
        }
    }
}

// In mono only channel 0 is processed, but every oscillator still runs at the stereo speed.
TEST (Melt, MonoProcessesChannelZeroExactlyAsStereoLeft)
{
    const std::vector<std::pair<const char*, float>> settings = {
        {"meltChorus", 60.0f}, {"meltDropoutLevel", 80.0f}, {"meltFlowLevel", 100.0f}, {"ruvuvMelt", 40.0f}};
    auto mono = meltHarness (48000.0, 1, 512, settings);
    auto stereo = meltHarness (48000.0, 2, 512, settings);

    auto monoBuffer = mono->sine (96000, 700.0);
    auto stereoBuffer = stereo->sine (96000, 700.0);
    mono->process (monoBuffer);
    stereo->process (stereoBuffer);

    for (int n = 0; n < monoBuffer.getNumSamples(); ++n)
        ASSERT_EQ (monoBuffer.getSample (0, n), stereoBuffer.getSample (0, n)) << "sample " << n;
}

// Switched off, the melt passes the audio and freezes its line: switched on again it plays out
// what it held, from where it stopped.
TEST (Melt, SwitchedOffPassesAudioAndFreezesItsLine)
{
    auto h = meltHarness (48000.0, 2, 512, {{"meltDepth", 0.0f}});

    auto first = h->impulse (512, 100);
    h->process (first);

    h->setPlain ("meltPower", 0.0f);
    auto passing = h->sine (1024, 440.0);
    const auto input = passing;
    h->process (passing);
    for (int channel = 0; channel < 2; ++channel)
        for (int n = 0; n < passing.getNumSamples(); ++n)
            ASSERT_NEAR (passing.getSample (channel, n), input.getSample (channel, n), 1e-6);

    h->setPlain ("meltPower", 1.0f);
    auto resumed = h->silence (512);
    h->process (resumed);

    // The impulse went in at line position 100 and leaves 481 positions later, at 581.
    for (int channel = 0; channel < 2; ++channel)
    {
        const auto* samples = resumed.getReadPointer (channel);
        const auto peak = std::max_element (samples, samples + resumed.getNumSamples()) - samples;
        EXPECT_EQ (peak, 581 - 512);
        EXPECT_NEAR (samples[peak], 1.0f, 1e-4);
    }
}

// Every control at an extreme and odd transports: the output stays finite and normal.
TEST (Melt, ExtremeSettingsAndTransportsStayFinite)
{
    struct Transport
    {
        double sampleRate;
        std::optional<double> tempo;
        std::optional<double> ppq;
        bool playing;
    };
    const auto nan = std::numeric_limits<double>::quiet_NaN();
    const auto inf = std::numeric_limits<double>::infinity();
    const Transport transports[] = {
        {48000.0, 0.0, 0.0, true},    {48000.0, -50.0, 3.0, true},  {22050.0, nan, nan, true},
        {192000.0, inf, 1e300, true}, {44100.0, 1e-9, 0.0, true},   {48000.0, 1e12, 7.0, true},
        {48000.0, 999.0, -1e6, true}, {96000.0, 30.0, 1e15, false},
    };
    const std::vector<std::pair<const char*, float>> extremes = {
        {"meltFlowSync", 1.0f},     {"meltDropoutSync", 1.0f},    {"meltWowRate", 12.0f},    {"meltFlutterRate", 12.0f},
        {"meltDropoutRate", 12.0f}, {"meltJumpRate", 12.0f},      {"meltFlowRnd", 100.0f},   {"meltDropoutRnd", 100.0f},
        {"meltFlowLevel", 100.0f},  {"meltDropoutLevel", 100.0f}, {"meltJumpLevel", 100.0f}, {"meltJumpRnd", 1.0f},
        {"meltJumpSnag", 0.0f},     {"meltJumpRelease", 0.0f},    {"meltChorus", 100.0f},    {"ruvuvMelt", 100.0f},
        {"meltDropoutType", 1.0f},  {"meltFlowType", 1.0f},
    };

    for (const auto& t : transports)
    {
        SCOPED_TRACE (testing::Message() << t.sampleRate << " Hz, tempo " << t.tempo.value_or (-1) << " ppq "
                                         << t.ppq.value_or (-1));
        auto h = meltHarness (t.sampleRate, 2, 512, extremes);
        h->playHead.tempo = t.tempo;
        h->playHead.ppq = t.ppq;
        h->playHead.playing = t.playing;

        for (const auto freeRunning : {false, true})
        {
            h->setPlain ("meltFlowSync", freeRunning ? 0.0f : 1.0f);
            h->setPlain ("meltDropoutSync", freeRunning ? 0.0f : 1.0f);
            auto buffer = h->sine ((int)t.sampleRate, 300.0, 1.0f);
            h->process (buffer);
            auto quiet = h->silence ((int)t.sampleRate);
            h->process (quiet);
            EXPECT_TRUE (testsupport::allFiniteAndNormal (buffer));
            EXPECT_TRUE (testsupport::allFiniteAndNormal (quiet));
        }
    }
}
