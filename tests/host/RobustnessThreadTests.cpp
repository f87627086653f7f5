// The built bundle while other threads change its parameters and its state as the audio runs,
// as hosts with editors, automation lanes and background project saves do.
#include "support/host/HostBattery.h"

#include <gtest/gtest.h>

#include <atomic>
#include <iostream>

using namespace hosttest;

namespace
{
constexpr double rate = 48000.0;

juce::int64 samplesFor (double seconds)
{
    return (juce::int64) (rate * seconds);
}

} // namespace

// The message thread sets values the way an editor does, another thread the way a host's
// automation thread does, and a third asks for the tail as hosts do, while the audio thread
// processes.
TEST (RobustnessThreads, AutomationFromOtherThreadsWhileAudioRuns)
{
    HostedSession session (rate, 256, 2);
    ASSERT_TRUE (session.loaded()) << session.error;
    Watchdog watchdog ("automation from other threads");
    session.setTransport (transports()[3]);

    Automation onMessageThread (*session.plugin, 23), onAutomationThread (*session.plugin, 29),
        onAudioThread (*session.plugin, 31);
    TestSignal signal (rate, samplesFor (1.5), 9);
    RunPlan plan;
    plan.totalSamples = samplesFor (2.5);
    plan.beforeBlock = [&] (juce::AudioBuffer<float>&, BlockPosition) { onAudioThread.randomiseSome (1); };

    std::atomic<bool> tailsValid{true};
    const auto check = runConcurrently (session, signal, plan,
                                        {[&]
                                         {
                                             onAutomationThread.randomiseSome (4);
                                             std::this_thread::yield();
                                         },
                                         [&]
                                         {
                                             if (!(session.plugin->getTailLengthSeconds() >= 0.0))
                                                 tailsValid = false;
                                             std::this_thread::yield();
                                         }},
                                        [&] { onMessageThread.randomiseSome (8); });

    EXPECT_TRUE (check.clean()) << check.describe();
    EXPECT_TRUE (tailsValid);
    std::cout << "automation from other threads: " << check.describe() << "\n";
}

// A background thread saves and restores the state, good and damaged, while the audio runs
// and the message thread moves parameters. Afterwards the state must still carry every value.
TEST (RobustnessThreads, StateGetAndSetFromBackgroundThreadWhileAudioRuns)
{
    HostedSession session (rate, 512, 2);
    ASSERT_TRUE (session.loaded()) << session.error;
    Watchdog watchdog ("state from a background thread");
    session.setTransport (transports()[1]);

    Automation onMessageThread (*session.plugin, 37), setUp (*session.plugin, 41);
    setUp.randomiseAll();
    settleThroughState (*session.plugin);
    juce::MemoryBlock saved;
    session.plugin->getStateInformation (saved);
    const auto savedValues = setUp.values();

    juce::Random random (43);
    const auto damaged = damagedStates (componentState (saved), random);
    // Each state call waits for the message thread, so the audio, which runs far faster than
    // real time, goes on until every damaged state has been through the plug-in.
    std::atomic<size_t> next{0};
    TestSignal signal (rate, samplesFor (1.5), 10);
    RunPlan plan;
    plan.totalSamples = samplesFor (2.5);
    plan.keepRunning = [&] { return next < damaged.size(); };

    const auto check =
        runConcurrently (session, signal, plan,
                         {[&]
                          {
                              juce::MemoryBlock current;
                              session.plugin->getStateInformation (current);
                              session.plugin->setStateInformation (current.getData(), (int)current.getSize());
                              const auto bad = hostStateWithComponent (damaged[next++ % damaged.size()]);
                              session.plugin->setStateInformation (bad.getData(), (int)bad.getSize());
                              session.plugin->setStateInformation (saved.getData(), (int)saved.getSize());
                          }},
                         [&] { onMessageThread.randomiseSome (2); });

    EXPECT_TRUE (check.clean()) << check.describe();
    EXPECT_GE (next.load(), damaged.size()) << "the state thread did not get through every damaged state";

    session.plugin->setStateInformation (saved.getData(), (int)saved.getSize());
    const auto restored = setUp.values();
    for (size_t i = 0; i < savedValues.size(); ++i)
        EXPECT_EQ (restored[i], savedValues[i]) << setUp.parameters[i]->getName (64);
}
