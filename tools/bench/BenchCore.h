#pragma once

// The benchmark's cases, timing and table, shared by the in-process and the bundle program.
// Each program supplies how to create a prepared processor and how to find its parameters.

#include <juce_audio_processors/juce_audio_processors.h>

#include "EngineScenarios.h"
#include "ScriptedPlayHead.h"

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace bench
{
enum class Signal
{
    music,
    silenceAfterLoud
};

struct Case
{
    const char* name;
    double sampleRate;
    int blockSize;
    int channels;
    Signal signal;
    std::vector<scenarios::Setting> settings;
    std::vector<scenarios::Sweep> automation;
    // The real-time factor the case must reach on its own; every case must also reach
    // minimumShareOfDefaults of the defaults case (the first row).
    double targetFactor = 0.0;
};

constexpr double minimumShareOfDefaults = 0.33;

// One line a case.
inline const std::vector<Case> cases{
    {"defaults", 48000.0, 512, 2, Signal::music, {}, {}, 100.0},
    {"every section on, filters automated", 48000.0, 512, 2, Signal::music, scenarios::everySectionOn,
     scenarios::filterSweeps, 60.0},
    {"silence after loud (denormals)", 48000.0, 512, 2, Signal::silenceAfterLoud, scenarios::ringingEcho, {}},
    {"melt: wow, flutter, drop-out, jump", 48000.0, 512, 2, Signal::music, scenarios::wholeMelt, {}},
    {"echo shortest time (0.5 ms)", 48000.0, 512, 2, Signal::music, scenarios::shortestEcho, {}},
    {"echo longest time (1000 ms)", 48000.0, 512, 2, Signal::music, scenarios::longestEcho, {}},
    {"beats, synced melt, host playing", 48000.0, 512, 2, Signal::music, scenarios::beatsWithHostPlaying, {}},
    {"block 32", 48000.0, 32, 2, Signal::music, {}, {}},
    {"block 4096", 48000.0, 4096, 2, Signal::music, {}, {}},
    {"44.1 kHz", 44100.0, 512, 2, Signal::music, {}, {}},
    {"96 kHz", 96000.0, 512, 2, Signal::music, {}, {}},
    {"mono", 48000.0, 512, 1, Signal::music, {}, {}},
};

// How long each case runs, and which cases run: "--seconds S" of audio per timed run, "--runs N"
// timed runs, "--only TEXT" for the cases whose name contains TEXT. Short runs of one case
// suit an instruction count under a profiler.
struct Options
{
    double secondsPerRun = 10.0;
    int timedRuns = 5;
    juce::String only;
};

inline Options takeTableOptions (juce::StringArray& arguments)
{
    Options options;
    const auto take = [&arguments] (const char* name) -> std::optional<juce::String>
    {
        const auto index = arguments.indexOf (name);
        if (index < 0 || index + 1 >= arguments.size())
            return std::nullopt;
        const auto value = arguments[index + 1];
        arguments.removeRange (index, 2);
        return value;
    };
    if (const auto seconds = take ("--seconds"))
        options.secondsPerRun = juce::jmax (0.01, seconds->getDoubleValue());
    if (const auto runs = take ("--runs"))
        options.timedRuns = juce::jmax (1, runs->getIntValue());
    if (const auto only = take ("--only"))
        options.only = *only;
    return options;
}

// A steady, deterministic programme: a chord with a little noise, at a sensible level.
inline juce::AudioBuffer<float> makeMusic (int channels, int numSamples, double sampleRate, float level)
{
    juce::AudioBuffer<float> buffer (channels, numSamples);
    std::minstd_rand random (7);
    std::uniform_real_distribution<float> noise (-1.0f, 1.0f);
    for (int i = 0; i < numSamples; ++i)
    {
        const auto t = i / sampleRate;
        const auto chord = std::sin (juce::MathConstants<double>::twoPi * 220.0 * t) +
                           0.5 * std::sin (juce::MathConstants<double>::twoPi * 277.18 * t) +
                           0.3 * std::sin (juce::MathConstants<double>::twoPi * 329.63 * t);
        for (int c = 0; c < channels; ++c)
            buffer.setSample (c, i, level * (float)(0.5 * chord) + 0.02f * noise (random));
    }
    return buffer;
}

// The host plays at 120 bpm from beat 0 throughout.
inline ScriptedPlayHead playingHost()
{
    ScriptedPlayHead playHead;
    playHead.tempo = 120.0;
    playHead.ppq = 0.0;
    playHead.playing = true;
    return playHead;
}

struct Target
{
    // A prepared processor for the rate, block size and channel count; null when it cannot be had.
    std::function<std::unique_ptr<juce::AudioProcessor> (double sampleRate, int blockSize, int channels)> create;
    std::function<juce::AudioProcessorParameter*(juce::AudioProcessor&, const juce::String& id)> findParameter;
    // Called around every processBlock; the in-process program counts heap allocations there.
    std::function<void (bool inside)> aroundBlock = [] (bool) {};
    std::function<long()> allocations;
};

struct Result
{
    double realTimeFactor = 0.0;
    long allocations = -1;
    juce::String problem;
};

class Runner
{
public:
    Runner (const Target& targetToUse, const Case& caseToRun, const Options& optionsToUse)
        : target (targetToUse), benchCase (caseToRun), options (optionsToUse)
    {
    }

    ~Runner()
    {
        if (processor != nullptr)
            processor->releaseResources();
    }

    // Creates and prepares the processor, sets the case's parameters and makes its programme;
    // the problem when any of it fails.
    juce::String prepare()
    {
        Result result;
        processor = target.create (benchCase.sampleRate, benchCase.blockSize, benchCase.channels);
        if (processor == nullptr)
            return "cannot create the processor";
        processor->setPlayHead (&playHead);
        if (!apply (result))
            return result.problem;

        const auto runLength = (int)(options.secondsPerRun * benchCase.sampleRate);
        source = makeMusic (benchCase.channels, runLength, benchCase.sampleRate, 0.5f);
        block.setSize (benchCase.channels, benchCase.blockSize);
        return {};
    }

    // Times the prepared processor, on whichever thread calls it.
    Result measure()
    {
        Result result;
        // The warm-up run also brings the denormal case to its ringing tail.
        processAll (benchCase.signal == Signal::silenceAfterLoud ? 1.0f : 0.0f);
        if (benchCase.signal == Signal::silenceAfterLoud)
            source.clear();

        const auto allocationsBefore = target.allocations ? target.allocations() : 0;
        std::vector<double> factors;
        for (int run = 0; run < options.timedRuns; ++run)
        {
            const auto start = std::chrono::steady_clock::now();
            processAll (0.0f);
            const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
            factors.push_back (options.secondsPerRun / juce::jmax (elapsed.count(), 1.0e-9));
        }
        std::sort (factors.begin(), factors.end());
        result.realTimeFactor = factors[factors.size() / 2];
        if (target.allocations)
            result.allocations = target.allocations() - allocationsBefore;
        return result;
    }

    Result run()
    {
        Result result;
        result.problem = prepare();
        return result.problem.isEmpty() ? measure() : result;
    }

private:
    struct Swept
    {
        juce::AudioProcessorParameter* parameter;
        float low, high;
    };

    bool apply (Result& result)
    {
        for (const auto& setting : benchCase.settings)
        {
            auto* parameter = target.findParameter (*processor, setting.identifier);
            if (parameter == nullptr)
                return fail (result, setting.identifier);
            parameter->setValueNotifyingHost (normalised (*parameter, setting.plain));
        }
        for (const auto& sweep : benchCase.automation)
        {
            auto* parameter = target.findParameter (*processor, sweep.identifier);
            if (parameter == nullptr)
                return fail (result, sweep.identifier);
            swept.push_back ({parameter, normalised (*parameter, sweep.low), normalised (*parameter, sweep.high)});
        }
        return true;
    }

    static bool fail (Result& result, const char* id)
    {
        result.problem = juce::String ("no parameter ") + id;
        return false;
    }

    static float normalised (juce::AudioProcessorParameter& parameter, float plain)
    {
        return juce::jlimit (0.0f, 1.0f, parameter.getValueForText (juce::String (plain)));
    }

    // The whole source in blocks; the optional extra gain makes the pre-roll of the denormal case loud.
    void processAll (float extraGain)
    {
        juce::MidiBuffer midi;
        const auto length = source.getNumSamples();
        for (int start = 0; start < length; start += benchCase.blockSize)
        {
            const auto count = juce::jmin (benchCase.blockSize, length - start);
            block.setSize (benchCase.channels, count, false, false, true);
            for (int c = 0; c < benchCase.channels; ++c)
                block.copyFrom (c, 0, source.getReadPointer (c, start), count, 1.0f + extraGain);

            automate();
            target.aroundBlock (true);
            processor->processBlock (block, midi);
            target.aroundBlock (false);
            playHead.advance (count, benchCase.sampleRate);
        }
    }

    void automate()
    {
        if (swept.empty())
            return;
        ++blockCount;
        // A slow triangle over about a second, so every block lands on a new value.
        const auto period = juce::jmax (2, (int)(benchCase.sampleRate / benchCase.blockSize));
        const auto phase = (float)(blockCount % period) / (float)period;
        const auto position = phase < 0.5f ? 2.0f * phase : 2.0f - 2.0f * phase;
        for (const auto& entry : swept)
            entry.parameter->setValueNotifyingHost (entry.low + (entry.high - entry.low) * position);
    }

    const Target& target;
    const Case& benchCase;
    const Options& options;
    std::unique_ptr<juce::AudioProcessor> processor;
    ScriptedPlayHead playHead = playingHost();
    juce::AudioBuffer<float> source, block;
    std::vector<Swept> swept;
    long blockCount = 0;
};

constexpr const char* parallelCaseName = "instances at once, a thread each";
constexpr double parallelTargetRatio = 0.9;

// Tracks of one host at full speed: as many instances as the machine has cores (at most 8), at
// defaults, each played on a thread of its own, against one instance alone in the same run. An
// instance that queues on anything the others share falls behind the one alone.
inline void runParallel (const Target& target, const Options& options)
{
    if (options.only.isNotEmpty() && !juce::String (parallelCaseName).contains (options.only))
        return;

    const auto& defaults = cases.front();
    const auto alone = Runner (target, defaults, options).run();
    if (alone.problem.isNotEmpty())
    {
        std::printf ("%s: %s\n", parallelCaseName, alone.problem.toRawUTF8());
        return;
    }

    const auto count = juce::jlimit (1, 8, (int)std::thread::hardware_concurrency());
    std::vector<std::unique_ptr<Runner>> runners;
    for (int i = 0; i < count; ++i)
    {
        auto& runner = runners.emplace_back (std::make_unique<Runner> (target, defaults, options));
        if (const auto problem = runner->prepare(); problem.isNotEmpty())
        {
            std::printf ("%s: %s\n", parallelCaseName, problem.toRawUTF8());
            return;
        }
    }

    // Every thread starts timing at once, so the instances really run side by side.
    std::vector<Result> results ((size_t)count);
    std::atomic<int> waiting{count};
    std::vector<std::thread> threads;
    for (int i = 0; i < count; ++i)
        threads.emplace_back (
            [&, i]
            {
                waiting.fetch_sub (1);
                while (waiting.load() > 0)
                    std::this_thread::yield();
                results[(size_t)i] = runners[(size_t)i]->measure();
            });
    for (auto& thread : threads)
        thread.join();

    std::printf ("%d %s (%s), on %u cores; one alone: %.1fx real time\n", count, parallelCaseName, defaults.name,
                 std::thread::hardware_concurrency(), alone.realTimeFactor);
    std::printf ("%-40s %12s %10s %10s %7s\n", "instance", "x real time", "vs alone", "target", "");
    for (int i = 0; i < count; ++i)
    {
        const auto ratio = results[(size_t)i].realTimeFactor / alone.realTimeFactor;
        std::printf ("%-40d %12.1f %10.2f %10.2f %7s\n", i + 1, results[(size_t)i].realTimeFactor, ratio,
                     parallelTargetRatio, ratio >= parallelTargetRatio ? "met" : "MISSED");
    }
    std::fflush (stdout);
}

// Runs every case and prints one row a case, each compared with the first (defaults) case and
// with its target.
inline void runAll (const Target& target, const char* title, const Options& options)
{
    std::printf ("%s: real-time factor, median of %d runs of %.2f s audio\n", title, options.timedRuns,
                 options.secondsPerRun);
    std::printf ("%-40s %8s %6s %4s %12s %10s %10s %7s %12s\n", "case", "rate", "block", "ch", "x real time",
                 "vs default", "target", "", "allocations");

    double defaults = 0.0;
    for (const auto& benchCase : cases)
    {
        if (options.only.isNotEmpty() && !juce::String (benchCase.name).contains (options.only))
            continue;
        const auto result = Runner (target, benchCase, options).run();
        if (result.problem.isNotEmpty())
        {
            std::printf ("%-40s %s\n", benchCase.name, result.problem.toRawUTF8());
            continue;
        }
        if (defaults == 0.0)
            defaults = result.realTimeFactor;

        const auto targetFactor = juce::jmax (benchCase.targetFactor, minimumShareOfDefaults * defaults);
        const auto allocations = result.allocations < 0 ? juce::String ("-") : juce::String (result.allocations);
        std::printf ("%-40s %8.0f %6d %4d %12.1f %10.2f %10.1f %7s %12s\n", benchCase.name, benchCase.sampleRate,
                     benchCase.blockSize, benchCase.channels, result.realTimeFactor, result.realTimeFactor / defaults,
                     targetFactor, result.realTimeFactor >= targetFactor ? "met" : "MISSED", allocations.toRawUTF8());
        std::fflush (stdout);
    }
    std::printf ("targets: defaults at least 100x real time, every section on at least 60x; no case below %.2f of "
                 "the defaults\n",
                 minimumShareOfDefaults);
    std::fflush (stdout);
    runParallel (target, options);
}

// The length of a soak asked for on the command line ("--soak [SECONDS]", ten minutes by
// default), taken out of the arguments; empty when no soak was asked for.
inline std::optional<double> takeSoakOption (juce::StringArray& arguments)
{
    const auto index = arguments.indexOf ("--soak");
    if (index < 0)
        return std::nullopt;
    auto seconds = 600.0;
    if (index + 1 < arguments.size() && arguments[index + 1].containsOnly ("0123456789."))
    {
        seconds = arguments[index + 1].getDoubleValue();
        arguments.remove (index + 1);
    }
    arguments.remove (index);
    return seconds;
}

struct Memory
{
    long residentKiB = 0;
    size_t heapInUse = 0;
};

inline Memory currentMemory()
{
    Memory memory;
    std::ifstream status ("/proc/self/status");
    for (std::string line; std::getline (status, line);)
        if (line.rfind ("VmRSS:", 0) == 0)
            memory.residentKiB = std::stol (line.substr (6));
    memory.heapInUse = mallinfo2().uordblks;
    return memory;
}

// A long run at 48 kHz in stereo blocks of 512, some parameters set to random values before every
// block and all of them now and then, the host playing at 120 bpm. Prints the real-time factor of
// each tenth of the run, the memory before and after and every fault in the output; returns
// false when the output held a sample that is not finite.
inline bool runSoak (const Target& target, double seconds)
{
    constexpr double sampleRate = 48000.0;
    constexpr int blockSize = 512, channels = 2, changesPerBlock = 8, blocksBetweenFullChanges = 2000;
    auto processor = target.create (sampleRate, blockSize, channels);
    if (processor == nullptr)
    {
        std::printf ("soak: cannot create the processor\n");
        return false;
    }
    auto playHead = playingHost();
    processor->setPlayHead (&playHead);
    std::vector<juce::AudioProcessorParameter*> parameters;
    for (auto* parameter : processor->getParameters())
        if (parameter != processor->getBypassParameter())
            parameters.push_back (parameter);

    const auto source = makeMusic (channels, (int)(10.0 * sampleRate), sampleRate, 0.5f);
    juce::AudioBuffer<float> block (channels, blockSize);
    juce::MidiBuffer midi;
    std::minstd_rand random (11);
    std::uniform_real_distribution<float> unit (0.0f, 1.0f);
    std::uniform_int_distribution<size_t> pick (0, parameters.size() - 1);

    const auto totalBlocks = (long)(seconds * sampleRate / blockSize);
    const auto blocksPerStretch = std::max (1L, (totalBlocks + 9) / 10);
    long nonFinite = 0, firstNonFiniteBlock = -1;
    float peak = 0.0f;
    std::printf ("soak: %.0f s of audio at 48 kHz, stereo blocks of %d, random automation every block\n", seconds,
                 blockSize);
    std::printf ("%12s %14s %12s\n", "audio (s)", "x real time", "peak");
    const auto memoryBefore = currentMemory();
    const auto allocationsBefore = target.allocations ? target.allocations() : 0;

    // Only processBlock is timed: the automation and the output scan are the soak's own work.
    std::chrono::duration<double> stretchProcessing{0.0};
    float stretchPeak = 0.0f;
    for (long index = 0; index < totalBlocks; ++index)
    {
        const auto start = (int)((index * blockSize) % (source.getNumSamples() - blockSize));
        for (int c = 0; c < channels; ++c)
            block.copyFrom (c, 0, source, c, start, blockSize);
        if (index % blocksBetweenFullChanges == 0)
            for (auto* parameter : parameters)
                parameter->setValueNotifyingHost (unit (random));
        for (int i = 0; i < changesPerBlock; ++i)
            parameters[pick (random)]->setValueNotifyingHost (unit (random));

        const auto blockStart = std::chrono::steady_clock::now();
        target.aroundBlock (true);
        processor->processBlock (block, midi);
        target.aroundBlock (false);
        stretchProcessing += std::chrono::steady_clock::now() - blockStart;
        playHead.advance (blockSize, sampleRate);

        for (int c = 0; c < channels; ++c)
            for (int i = 0; i < blockSize; ++i)
            {
                const auto value = block.getSample (c, i);
                if (!std::isfinite (value))
                {
                    if (nonFinite++ == 0)
                        firstNonFiniteBlock = index;
                }
                else
                    stretchPeak = std::max (stretchPeak, std::abs (value));
            }

        if ((index + 1) % blocksPerStretch == 0 || index + 1 == totalBlocks)
        {
            const auto blocksInStretch = (index % blocksPerStretch) + 1;
            std::printf ("%12.1f %14.1f %12.3f\n", (index + 1) * blockSize / sampleRate,
                         blocksInStretch * blockSize / sampleRate / std::max (stretchProcessing.count(), 1.0e-9),
                         stretchPeak);
            std::fflush (stdout);
            peak = std::max (peak, stretchPeak);
            stretchPeak = 0.0f;
            stretchProcessing = {};
        }
    }

    const auto memoryAfter = currentMemory();
    std::printf ("memory before: %ld KiB resident, %zu bytes of heap in use\n", memoryBefore.residentKiB,
                 memoryBefore.heapInUse);
    std::printf ("memory after:  %ld KiB resident, %zu bytes of heap in use\n", memoryAfter.residentKiB,
                 memoryAfter.heapInUse);
    if (target.allocations)
        std::printf ("heap allocations inside processBlock: %ld\n", target.allocations() - allocationsBefore);
    std::printf ("largest output peak: %.3f\n", peak);
    if (nonFinite > 0)
        std::printf ("NOT FINITE: %ld output samples, the first in block %ld\n", nonFinite, firstNonFiniteBlock);
    else
        std::printf ("every output sample finite\n");

    processor->releaseResources();
    return nonFinite == 0;
}
} // namespace bench
