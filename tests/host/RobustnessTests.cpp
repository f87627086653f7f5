// The built bundle under the conditions demanding hosts and validators create: every sample
// rate and block size, blocks larger than announced, random automation, odd values, poisoned
// input, long tails and repeated re-activation.
#include "support/host/HostBattery.h"

#include "EngineScenarios.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <limits>

using namespace hosttest;

namespace
{
constexpr int blockSizes[] = {1, 7, 64, 333, 512, 4096, 8192};

juce::int64 samplesFor (double sampleRate, double seconds)
{
    return (juce::int64) (sampleRate * seconds);
}

// Every power switch on and every optional path engaged.
void engageEverySection (HostedSession& session)
{
    for (const auto& setting : scenarios::everySectionOn)
        EXPECT_TRUE (hostkit::setPlainValue (*session.plugin, setting.identifier, setting.plain)) << setting.identifier;
}

float peakOf (const juce::AudioBuffer<float>& block)
{
    float peak = 0.0f;
    for (int channel = 0; channel < block.getNumChannels(); ++channel)
        peak = juce::jmax (peak, block.getMagnitude (channel, 0, block.getNumSamples()));
    return peak;
}
} // namespace

class RobustnessAtRate : public testing::TestWithParam<double>
{
};

// Blocks through the VST3 layer stay within the announced size: JUCE 7.0.5's VST3 client copies
// each block into scratch buffers of that size, so a larger one overruns the heap before the
// plug-in sees it. The plug-in's own handling of larger blocks is checked in-process.
TEST_P (RobustnessAtRate, EveryBlockSizeGivesFiniteBoundedOutput)
{
    const auto sampleRate = GetParam();
    HostedSession session (sampleRate, 512, 2);
    ASSERT_TRUE (session.loaded()) << session.error;

    OutputCheck overall;
    for (size_t k = 0; k < std::size (blockSizes); ++k)
    {
        const auto blockSize = blockSizes[k];
        const auto& transport = transports()[(k + (size_t)sampleRate) % transports().size()];
        const auto runName =
            juce::String (sampleRate) + " Hz, blocks of " + juce::String (blockSize) + ", " + transport.name;
        Watchdog watchdog (runName);

        session.prepare (sampleRate, blockSize);
        session.setTransport (transport);
        Automation automation (*session.plugin, (juce::int64)sampleRate * 31 + blockSize);
        automation.randomiseAll();

        const auto total = juce::jmax (samplesFor (sampleRate, 0.25), (juce::int64)blockSize * 6);
        TestSignal signal (sampleRate, total * 6 / 10, blockSize);
        RunPlan plan;
        plan.totalSamples = total;
        plan.beforeBlock = [&automation] (juce::AudioBuffer<float>&, BlockPosition) { automation.randomiseSome (3); };

        const auto check = run (session, signal, plan);
        EXPECT_TRUE (check.clean()) << runName << ": " << check.describe();
        std::cout << runName << ": peak " << check.peak << "\n";
        overall.merge (check);
    }
    std::cout << sampleRate << " Hz overall: " << overall.describe() << "\n";
}

INSTANTIATE_TEST_SUITE_P (Rates, RobustnessAtRate,
                          testing::Values (22050.0, 44100.0, 48000.0, 88200.0, 96000.0, 192000.0),
                          [] (const testing::TestParamInfo<double>& info) { return std::to_string ((int)info.param); });

// Zero-sample blocks included: hosts send them to flush parameter changes.
TEST (Robustness, RandomBlockSizesUpToTheAnnouncedSize)
{
    const struct
    {
        double sampleRate;
        int announced;
        int channels;
    } cases[] = {{44100.0, 512, 2}, {96000.0, 64, 1}, {48000.0, 4096, 2}, {192000.0, 333, 1}};

    for (const auto& c : cases)
    {
        const auto runName = juce::String (c.sampleRate) + " Hz, announced " + juce::String (c.announced) + ", " +
                             juce::String (c.channels) + " channel(s)";
        Watchdog watchdog (runName);
        HostedSession session (c.sampleRate, c.announced, c.channels);
        ASSERT_TRUE (session.loaded()) << session.error;
        session.setTransport (transports()[(size_t)c.announced % transports().size()]);

        Automation automation (*session.plugin, c.announced);
        automation.randomiseAll();
        const auto total = samplesFor (c.sampleRate, 0.75);
        TestSignal signal (c.sampleRate, total / 2, c.announced);
        RunPlan plan;
        plan.totalSamples = total;
        plan.blockSize = [&automation, c] (juce::int64) { return automation.generator().nextInt (c.announced + 1); };
        plan.beforeBlock = [&automation] (juce::AudioBuffer<float>&, BlockPosition position)
        {
            if (position.index % 64 == 0)
                automation.randomiseAll();
            else
                automation.randomiseSome (2);
        };

        const auto check = run (session, signal, plan);
        EXPECT_TRUE (check.clean()) << runName << ": " << check.describe();
        std::cout << runName << ": " << check.describe() << "\n";
    }
}

// Each value source sets every parameter before every block.
TEST (Robustness, OddParameterValuesNeverPoisonTheOutput)
{
    const auto nan = std::numeric_limits<float>::quiet_NaN();
    const auto infinity = std::numeric_limits<float>::infinity();
    const struct
    {
        const char* name;
        std::vector<float> values; // empty: uniform random
    } sources[] = {
        {"uniform random", {}},
        {"range ends only", {0.0f, 1.0f}},
        {"not a number", {nan}},
        {"outside 0..1 and infinite", {-1.0f, 2.0f, 1.0e30f, -infinity, infinity}},
    };

    for (const auto& source : sources)
    {
        Watchdog watchdog (source.name);
        HostedSession session (48000.0, 256, 2);
        ASSERT_TRUE (session.loaded()) << session.error;
        session.setTransport (transports()[1]);
        Automation automation (*session.plugin, 7);

        TestSignal signal (48000.0, samplesFor (48000.0, 0.6), 3);
        RunPlan plan;
        plan.totalSamples = samplesFor (48000.0, 1.0);
        plan.beforeBlock = [&] (juce::AudioBuffer<float>&, BlockPosition)
        {
            for (auto* parameter : automation.parameters)
            {
                const auto& values = source.values;
                parameter->setValue (values.empty()
                                         ? automation.generator().nextFloat()
                                         : values[(size_t)automation.generator().nextInt ((int)values.size())]);
            }
        };
        auto check = run (session, signal, plan);

        // Sensible values afterwards must bring sound back: a poisoned state would stay silent or broken.
        automation.randomiseAll();
        engageEverySection (session);
        automation.set ("dryWetMix", 1.0f);
        automation.set ("outputVolume", 0.9f);
        TestSignal after (48000.0, samplesFor (48000.0, 1.0), 4);
        plan.beforeBlock = nullptr;
        plan.totalSamples = samplesFor (48000.0, 0.5);
        check.merge (run (session, after, plan));
        EXPECT_TRUE (check.clean()) << source.name << ": " << check.describe();
    }
}

// With the dry/wet mix at 0 the output is the dry input, so the block frame's replacement of
// non-finite input by 0 can be seen sample for sample, and a NaN anywhere in the processed
// path would show as NaN (NaN times 0).
TEST (Robustness, NonFiniteInputBecomesSilenceAndFiniteInputPassesUntouched)
{
    const float poison[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity()};
    for (const int channels : {2, 1})
    {
        HostedSession session (48000.0, 128, channels);
        ASSERT_TRUE (session.loaded()) << session.error;
        Watchdog watchdog ("non-finite input, " + juce::String (channels) + " channel(s)");
        session.setTransport (transports()[3]);
        Automation automation (*session.plugin, 11);
        automation.randomiseAll();
        engageEverySection (session);
        automation.set ("dryWetMix", 0.0f);

        juce::AudioBuffer<float> expected;
        juce::int64 mismatches = 0, firstMismatch = -1;
        TestSignal signal (48000.0, samplesFor (48000.0, 0.8), 5);
        RunPlan plan;
        plan.totalSamples = samplesFor (48000.0, 1.0);
        plan.blockSize = [] (juce::int64 index) { return index % 5 == 0 ? 128 : 1 + (int)(index * 37 % 128); };
        plan.beforeBlock = [&] (juce::AudioBuffer<float>& input, BlockPosition position)
        {
            auto& random = automation.generator();
            for (int channel = 0; channel < input.getNumChannels(); ++channel)
                for (int i = 0; i < input.getNumSamples(); ++i)
                    if (position.index % 7 == 3 || random.nextInt (16) == 0)
                        input.setSample (channel, i, poison[random.nextInt (3)]);
            expected.makeCopyOf (input);
            for (int channel = 0; channel < expected.getNumChannels(); ++channel)
                for (int i = 0; i < expected.getNumSamples(); ++i)
                    if (!std::isfinite (expected.getSample (channel, i)))
                        expected.setSample (channel, i, 0.0f);
        };
        plan.afterBlock = [&] (const juce::AudioBuffer<float>& output, BlockPosition position)
        {
            for (int channel = 0; channel < output.getNumChannels(); ++channel)
                for (int i = 0; i < output.getNumSamples(); ++i)
                    if (output.getSample (channel, i) != expected.getSample (channel, i) && mismatches++ == 0)
                        firstMismatch = position.start + i;
        };

        const auto check = run (session, signal, plan);
        EXPECT_TRUE (check.clean()) << channels << " channel(s): " << check.describe();
        EXPECT_EQ (mismatches, 0) << channels << " channel(s): first differing sample " << firstMismatch;
    }
}

// Every section on and fully wet: after poisoned blocks the engine must still sound, not merely
// hide the poison.
TEST (Robustness, PoisonedInputLeavesTheEngineSounding)
{
    HostedSession session (44100.0, 512, 2);
    ASSERT_TRUE (session.loaded()) << session.error;
    Watchdog watchdog ("poisoned input, every section on");
    session.setTransport (transports()[1]);
    Automation automation (*session.plugin, 13);
    engageEverySection (session);
    automation.set ("noiseLevel", 0.0f);

    const auto total = samplesFor (44100.0, 2.0);
    TestSignal signal (44100.0, total, 6);
    float latePeak = 0.0f;
    RunPlan plan;
    plan.totalSamples = total;
    plan.beforeBlock = [] (juce::AudioBuffer<float>& input, BlockPosition position)
    {
        if (position.index < 40 && position.index % 4 == 1)
            for (int channel = 0; channel < input.getNumChannels(); ++channel)
                input.setSample (channel, (int)(position.index * 97 % input.getNumSamples()),
                                 position.index % 8 == 1 ? std::numeric_limits<float>::quiet_NaN()
                                                         : std::numeric_limits<float>::infinity());
    };
    plan.afterBlock = [&] (const juce::AudioBuffer<float>& output, BlockPosition position)
    {
        if (position.start > total / 2)
            latePeak = juce::jmax (latePeak, peakOf (output));
    };

    const auto check = run (session, signal, plan);
    EXPECT_TRUE (check.clean()) << check.describe();
    EXPECT_GT (latePeak, 0.01f) << "the output went silent after poisoned input";
}

// Full feedback rings on through a long silence; once the feedback is off the tail must die
// away to nothing, with no subnormal or runaway value on the way.
TEST (Robustness, LoudFeedbackThenLongSilenceDiesAwayCleanly)
{
    const auto rate = 48000.0;
    HostedSession session (rate, 512, 2);
    ASSERT_TRUE (session.loaded()) << session.error;
    Watchdog watchdog ("loud feedback then silence");
    Automation automation (*session.plugin, 17);
    for (const auto* identifier : {"echoFeedback", "toneDrive", "toneSaturation", "toneSatGain", "meltEchoSend"})
        automation.set (identifier, 1.0f);

    const auto feedbackOffAt = samplesFor (rate, 12.0);
    const auto total = samplesFor (rate, 24.0);
    TestSignal signal (rate, samplesFor (rate, 2.0), 8);
    float lastSecondPeak = 0.0f;
    RunPlan plan;
    plan.totalSamples = total;
    plan.beforeBlock = [&] (juce::AudioBuffer<float>& input, BlockPosition position)
    {
        if (position.start <= feedbackOffAt && feedbackOffAt < position.start + input.getNumSamples())
            for (const auto* identifier : {"echoFeedback", "meltEchoSend"})
                automation.set (identifier, 0.0f);
    };
    plan.afterBlock = [&] (const juce::AudioBuffer<float>& output, BlockPosition position)
    {
        if (position.start >= total - samplesFor (rate, 1.0))
            lastSecondPeak = juce::jmax (lastSecondPeak, peakOf (output));
    };

    const auto check = run (session, signal, plan);
    EXPECT_TRUE (check.clean()) << check.describe();
    EXPECT_LT (lastSecondPeak, 1.0e-4f) << "the tail did not die away: " << check.describe();
    std::cout << "feedback run: " << check.describe() << ", last second peak " << lastSecondPeak << "\n";
}

// Hosts re-activate at new rates and sizes, sometimes releasing or preparing twice in a row;
// after each re-activation the old echo must not come back.
TEST (Robustness, PrepareAndReleaseAgainAndAgainStartsEachRunClean)
{
    const double rates[] = {48000.0, 192000.0, 22050.0, 96000.0, 44100.0, 88200.0};
    HostedSession session (48000.0, 512, 2);
    ASSERT_TRUE (session.loaded()) << session.error;
    Watchdog watchdog ("prepare and release cycles");
    Automation automation (*session.plugin, 19);
    automation.set ("echoFeedback", 0.8f);
    // The echo's feedback filters keep their state across re-activation by design, and what they
    // hold re-enters the loop; with them out of the path the cleared line must stay silent.
    automation.set ("echoFilter", 0.0f);

    for (int cycle = 0; cycle < 12; ++cycle)
    {
        const auto rate = rates[cycle % 6];
        const auto blockSize = blockSizes[cycle % 7];
        session.prepare (rate, blockSize);
        if (cycle % 3 == 1)
            session.prepare (rate, blockSize);
        session.setTransport (transports()[(size_t)cycle % transports().size()]);

        TestSignal loud (rate, samplesFor (rate, 0.2), cycle);
        RunPlan plan;
        plan.totalSamples = samplesFor (rate, 0.3);
        auto check = run (session, loud, plan);

        session.plugin->releaseResources();
        if (cycle % 4 == 2)
            session.plugin->releaseResources();
        session.prepare (rate, blockSize);

        // What the filters still ring after re-activation is gone within 50 ms of silence.
        TestSignal silence (rate, 0, 0);
        float latePeak = 0.0f;
        plan.totalSamples = samplesFor (rate, 0.3);
        plan.afterBlock = [&] (const juce::AudioBuffer<float>& output, BlockPosition position)
        {
            if (position.start > samplesFor (rate, 0.05))
                latePeak = juce::jmax (latePeak, peakOf (output));
        };
        check.merge (run (session, silence, plan));

        const auto runName = "cycle " + juce::String (cycle) + " at " + juce::String (rate) + " Hz, blocks of " +
                             juce::String (blockSize);
        EXPECT_TRUE (check.clean()) << runName << ": " << check.describe();
        EXPECT_LT (latePeak, 1.0e-3f) << runName << ": the echo came back after re-activation";
    }
}

// A damaged state either fails as a whole or, when the damage spared the plug-in's own bytes,
// restores the saved values; it never leaves a mixture, and audio goes on cleanly after it.
TEST (Robustness, DamagedStateChangesNothingOrRestoresTheSavedValues)
{
    HostedSession session (48000.0, 512, 2);
    ASSERT_TRUE (session.loaded()) << session.error;
    Watchdog watchdog ("damaged states");
    Automation automation (*session.plugin, 47);
    automation.randomiseAll();
    settleThroughState (*session.plugin);
    juce::MemoryBlock saved;
    session.plugin->getStateInformation (saved);
    const auto savedValues = automation.values();

    juce::Random random (53);
    const auto good = componentState (saved);
    const auto damaged = damagedStates (good, random);
    for (size_t k = 0; k < damaged.size(); ++k)
    {
        automation.randomiseAll();
        settleThroughState (*session.plugin);
        const auto before = automation.values();
        const auto bad = hostStateWithComponent (damaged[k]);
        session.plugin->setStateInformation (bad.getData(), (int)bad.getSize());
        const auto after = automation.values();

        // Flipped bytes may turn one value into another valid one; only cut and noise states
        // are all or nothing.
        const bool flippedBytes = damaged[k].getSize() == good.getSize();
        if (!flippedBytes)
            EXPECT_TRUE (after == before || after == savedValues)
                << "damaged state " << k << " of " << damaged[k].getSize() << " bytes";

        TestSignal signal (48000.0, samplesFor (48000.0, 0.05), (juce::int64)k);
        RunPlan plan;
        plan.totalSamples = samplesFor (48000.0, 0.1);
        const auto check = run (session, signal, plan);
        EXPECT_TRUE (check.clean()) << "after damaged state " << k << ": " << check.describe();
    }
}
