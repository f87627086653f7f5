#pragma once

#include "HostKit.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// Fixtures for driving the built bundle the way demanding hosts and validators do.
namespace hosttest
{
// Far above anything the plug-in should produce at full drive and feedback; output beyond it
// means a section has run away.
constexpr float peakLimit = 256.0f;

// Gathers what the output of a run must satisfy, block by block.
class OutputCheck
{
public:
    void inspect (const juce::AudioBuffer<float>& block);
    bool clean() const { return nonFinite == 0 && subnormal == 0 && peak <= peakLimit; }
    juce::String describe() const;
    void merge (const OutputCheck& other);

    juce::int64 samples = 0;
    juce::int64 nonFinite = 0;
    juce::int64 subnormal = 0;
    juce::int64 firstFault = -1;
    float peak = 0.0f;
};

// A deterministic test programme: a gliding tone, noise bursts and full-scale clicks, then
// silence, so tails and decays are heard as well as loud input.
class TestSignal
{
public:
    TestSignal (double sampleRate, juce::int64 programmeLength, juce::int64 seed);
    void fill (juce::AudioBuffer<float>& block);

private:
    double sampleRate;
    juce::int64 programmeLength;
    juce::int64 position = 0;
    double phase = 0.0;
    juce::Random random;
};

// Every automatable parameter of the instance (the wrapper's bypass left out), set the way a
// host's automation sets it.
class Automation
{
public:
    Automation (juce::AudioPluginInstance& plugin, juce::int64 seed);

    void randomiseAll();
    void randomiseSome (int count);
    void setAll (float normalisedValue);
    void set (const juce::String& identifier, float normalisedValue);
    std::vector<float> values() const;
    juce::Random& generator() { return random; }

    std::vector<juce::AudioProcessorParameter*> parameters;

private:
    juce::Random random;
};

// A transport as a host may report it; a loop length above 0 jumps back to exactly 0.0.
struct Transport
{
    const char* name;
    std::optional<double> tempo;
    std::optional<double> ppq;
    bool playing;
    bool reportsPosition;
    double loopLength;
};

// The transports every run rotates through.
const std::vector<Transport>& transports();

// One loaded instance of the bundle with its play head.
class HostedSession
{
public:
    HostedSession (double sampleRate, int blockSize, int channels);

    bool loaded() const { return plugin != nullptr; }
    // Releases and prepares again, as a host does on re-activation.
    void prepare (double sampleRate, int blockSize);
    void setTransport (const Transport& transport);
    void processBlock (juce::AudioBuffer<float>& block);

    std::unique_ptr<juce::AudioPluginInstance> plugin;
    ScriptedPlayHead playHead;
    juce::String error;
    double sampleRate;
    int blockSize;
    int channels;

private:
    double loopLength = 0.0;
    juce::MidiBuffer midi;
};

// Where a block lies in its run.
struct BlockPosition
{
    juce::int64 index = 0;
    juce::int64 start = 0;
};

// How a run feeds the instance: its length, the size of each block (the announced one when
// not given), what happens before each block (automation, poisoned input) and what is measured
// after it, all on the audio thread. A run that must cover work done on other threads goes on
// past its length, through the silence after the programme, while keepRunning says so.
struct RunPlan
{
    juce::int64 totalSamples = 0;
    std::function<bool()> keepRunning;
    std::function<int (juce::int64 blockIndex)> blockSize;
    std::function<void (juce::AudioBuffer<float>& input, BlockPosition)> beforeBlock;
    std::function<void (const juce::AudioBuffer<float>& output, BlockPosition)> afterBlock;
};

OutputCheck run (HostedSession& session, TestSignal& signal, const RunPlan& plan);

// Runs the plan on an audio thread of its own while each background task repeats on a thread
// of its own and the calling (message) thread repeats its step and dispatches messages, until
// the audio is done. Background tasks may take the message manager lock.
OutputCheck runConcurrently (HostedSession& session, TestSignal& signal, const RunPlan& plan,
                             const std::vector<std::function<void()>>& backgroundTasks,
                             const std::function<void()>& messageThreadStep);

// Ends the whole test process as a failure when a run does not finish in time: a hung run can
// neither be stopped nor reported otherwise.
class Watchdog
{
public:
    explicit Watchdog (juce::String runName, std::chrono::seconds limit = std::chrono::seconds (120));
    ~Watchdog();

private:
    juce::String runName;
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::thread thread;
};

using hostkit::componentState;
using hostkit::hostStateWithComponent;

// Saves and restores the state, so the hosting layer's parameter values become the plug-in's
// own (snapped to steps, choices and switches) and can be compared with a later restore.
void settleThroughState (juce::AudioPluginInstance& plugin);

// Damaged forms of a good component state: cut short, bytes flipped (same size), or noise.
std::vector<juce::MemoryBlock> damagedStates (const juce::MemoryBlock& good, juce::Random& random);
} // namespace hosttest
