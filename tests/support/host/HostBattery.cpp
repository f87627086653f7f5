#include "HostBattery.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace hosttest
{
void OutputCheck::inspect (const juce::AudioBuffer<float>& block)
{
    for (int i = 0; i < block.getNumSamples(); ++i)
    {
        for (int channel = 0; channel < block.getNumChannels(); ++channel)
        {
            const auto value = block.getSample (channel, i);
            const bool finite = std::isfinite (value);
            const bool isSubnormal = finite && std::fpclassify (value) == FP_SUBNORMAL;
            if (finite)
                peak = juce::jmax (peak, std::abs (value));
            nonFinite += finite ? 0 : 1;
            subnormal += isSubnormal ? 1 : 0;
            if ((!finite || isSubnormal) && firstFault < 0)
                firstFault = samples + i;
        }
    }
    samples += block.getNumSamples();
}

juce::String OutputCheck::describe() const
{
    juce::String text;
    text << samples << " samples, peak " << juce::String (peak, 4) << " ("
         << juce::String (juce::Decibels::gainToDecibels (peak), 1) << " dBFS), " << nonFinite << " not finite, "
         << subnormal << " subnormal";
    if (firstFault >= 0)
        text << ", first at sample " << firstFault;
    return text;
}

void OutputCheck::merge (const OutputCheck& other)
{
    if (firstFault < 0 && other.firstFault >= 0)
        firstFault = samples + other.firstFault;
    samples += other.samples;
    nonFinite += other.nonFinite;
    subnormal += other.subnormal;
    peak = juce::jmax (peak, other.peak);
}

TestSignal::TestSignal (double rate, juce::int64 length, juce::int64 seed)
    : sampleRate (rate), programmeLength (length), random (seed)
{
}

void TestSignal::fill (juce::AudioBuffer<float>& block)
{
    const auto burstPeriod = (juce::int64) (0.25 * sampleRate);
    const auto burstLength = (juce::int64) (0.03 * sampleRate);
    const auto clickPeriod = (juce::int64) (0.5 * sampleRate);
    for (int i = 0; i < block.getNumSamples(); ++i, ++position)
    {
        float left = 0.0f, right = 0.0f;
        if (position < programmeLength)
        {
            // The tone glides from 80 Hz to about 5 kHz every three seconds.
            const auto glide = std::fmod ((double)position / sampleRate, 3.0) / 3.0;
            phase = std::fmod (phase + juce::MathConstants<double>::twoPi * 80.0 * std::pow (64.0, glide) / sampleRate,
                               juce::MathConstants<double>::twoPi);
            left = right = 0.35f * (float)std::sin (phase);
            if (position % burstPeriod < burstLength)
            {
                left += 0.8f * (random.nextFloat() * 2.0f - 1.0f);
                right += 0.8f * (random.nextFloat() * 2.0f - 1.0f);
            }
            if (position % clickPeriod == 0)
            {
                left = 1.0f;
                right = -1.0f;
            }
        }
        block.setSample (0, i, left);
        if (block.getNumChannels() > 1)
            block.setSample (1, i, right);
    }
}

Automation::Automation (juce::AudioPluginInstance& plugin, juce::int64 seed) : random (seed)
{
    for (auto* parameter : plugin.getParameters())
        if (parameter != plugin.getBypassParameter() && parameter->isAutomatable())
            parameters.push_back (parameter);
}

void Automation::randomiseAll()
{
    for (auto* parameter : parameters)
        parameter->setValue (random.nextFloat());
}

void Automation::randomiseSome (int count)
{
    for (int i = 0; i < count; ++i)
        parameters[(size_t)random.nextInt ((int)parameters.size())]->setValue (random.nextFloat());
}

void Automation::setAll (float normalisedValue)
{
    for (auto* parameter : parameters)
        parameter->setValue (normalisedValue);
}

void Automation::set (const juce::String& identifier, float normalisedValue)
{
    const auto published = hostkit::vst3ParameterId (identifier);
    for (auto* parameter : parameters)
        if (const auto id = hostkit::parameterIdentifier (*parameter); id == identifier || id == published)
            parameter->setValue (normalisedValue);
}

std::vector<float> Automation::values() const
{
    std::vector<float> result;
    for (auto* parameter : parameters)
        result.push_back (parameter->getValue());
    return result;
}

const std::vector<Transport>& transports()
{
    static const std::vector<Transport> table{
        {"stopped, no tempo", std::nullopt, std::nullopt, false, true, 0.0},
        {"playing from 0 at 120", 120.0, 0.0, true, true, 0.0},
        {"playing, no musical position", 97.0, 0.0, true, false, 0.0},
        {"looping two beats at 174", 174.0, 0.0, true, true, 2.0},
        {"playing far out at 300", 300.0, 1.0e7, true, true, 0.0},
        {"stopped at 20 from beat 16", 20.0, 16.0, false, true, 0.0},
        {"playing at 999 from beat -4", 999.0, -4.0, true, true, 0.0},
        {"playing at 1 bpm", 1.0, 3.0, true, true, 0.0},
    };
    return table;
}

HostedSession::HostedSession (double rate, int block, int channelCount)
    : sampleRate (rate), blockSize (block), channels (channelCount)
{
    plugin = hostkit::loadPlugin (hostkit::builtBundle(), sampleRate, blockSize, channels, error);
    if (plugin != nullptr)
        plugin->setPlayHead (&playHead);
}

void HostedSession::prepare (double rate, int block)
{
    sampleRate = rate;
    blockSize = block;
    plugin->releaseResources();
    plugin->setRateAndBufferSizeDetails (sampleRate, blockSize);
    plugin->prepareToPlay (sampleRate, blockSize);
}

void HostedSession::setTransport (const Transport& transport)
{
    playHead.tempo = transport.tempo;
    playHead.ppq = transport.ppq;
    playHead.playing = transport.playing;
    playHead.reportsPosition = transport.reportsPosition;
    loopLength = transport.loopLength;
}

void HostedSession::processBlock (juce::AudioBuffer<float>& block)
{
    midi.clear();
    plugin->processBlock (block, midi);
    playHead.advance (block.getNumSamples(), sampleRate);
    if (loopLength > 0.0 && playHead.ppq && *playHead.ppq >= loopLength)
        playHead.ppq = 0.0;
}

OutputCheck run (HostedSession& session, TestSignal& signal, const RunPlan& plan)
{
    OutputCheck check;
    juce::AudioBuffer<float> block (session.channels, session.blockSize);
    for (BlockPosition position; position.start < plan.totalSamples || (plan.keepRunning && plan.keepRunning());
         ++position.index)
    {
        const auto size = plan.blockSize ? plan.blockSize (position.index) : session.blockSize;
        block.setSize (session.channels, size, false, false, true);
        signal.fill (block);
        if (plan.beforeBlock)
            plan.beforeBlock (block, position);
        session.processBlock (block);
        check.inspect (block);
        if (plan.afterBlock)
            plan.afterBlock (block, position);
        position.start += size;
    }
    return check;
}

OutputCheck runConcurrently (HostedSession& session, TestSignal& signal, const RunPlan& plan,
                             const std::vector<std::function<void()>>& backgroundTasks,
                             const std::function<void()>& messageThreadStep)
{
    std::atomic<bool> audioDone{false};
    std::atomic<int> running{(int)backgroundTasks.size()};
    OutputCheck result;

    std::thread audio (
        [&]
        {
            result = run (session, signal, plan);
            audioDone = true;
        });

    std::vector<std::thread> workers;
    for (const auto& task : backgroundTasks)
        workers.emplace_back (
            [&audioDone, &running, task]
            {
                while (!audioDone)
                    task();
                --running;
            });

    // Background tasks that lock the message manager need this thread to keep dispatching
    // until the last of them has returned.
    while (!audioDone || running > 0)
    {
        if (!audioDone && messageThreadStep)
            messageThreadStep();
        juce::MessageManager::getInstance()->runDispatchLoopUntil (1);
    }

    audio.join();
    for (auto& worker : workers)
        worker.join();
    return result;
}

Watchdog::Watchdog (juce::String name, std::chrono::seconds limit) : runName (std::move (name))
{
    thread = std::thread (
        [this, limit]
        {
            std::unique_lock<std::mutex> lock (mutex);
            if (!finished.wait_for (lock, limit, [this] { return done; }))
            {
                std::fprintf (stderr, "watchdog: \"%s\" did not finish within %d s\n", runName.toRawUTF8(),
                              (int)limit.count());
                std::fflush (stderr);
                std::abort();
            }
        });
}

Watchdog::~Watchdog()
{
    {
        const std::lock_guard<std::mutex> lock (mutex);
        done = true;
    }
    finished.notify_all();
    thread.join();
}

void settleThroughState (juce::AudioPluginInstance& plugin)
{
    juce::MemoryBlock state;
    plugin.getStateInformation (state);
    plugin.setStateInformation (state.getData(), (int)state.getSize());
}

std::vector<juce::MemoryBlock> damagedStates (const juce::MemoryBlock& good, juce::Random& random)
{
    std::vector<juce::MemoryBlock> damaged;
    damaged.emplace_back();
    for (const size_t length : {(size_t)1, (size_t)4, (size_t)8, (size_t)9, good.getSize() / 2, good.getSize() - 1})
        if (length < good.getSize())
            damaged.emplace_back (good.getData(), length);
    for (int i = 0; i < 8 && good.getSize() > 1; ++i)
        damaged.emplace_back (good.getData(), (size_t)random.nextInt ((int)good.getSize()));

    // Flips stay inside the plug-in's own blob (magic, length, text): the wrapper's trailer
    // after it is not the plug-in's to defend.
    const auto* bytes = static_cast<const juce::uint8*> (good.getData());
    if (good.getSize() >= 9 && juce::ByteOrder::littleEndianInt (bytes) == hostkit::stateBlobMagic)
    {
        const auto blobSize = (int)juce::jmin ((juce::int64)good.getSize(),
                                               9 + (juce::int64)juce::ByteOrder::littleEndianInt (bytes + 4));
        for (int i = 0; i < 8; ++i)
        {
            auto flipped = good;
            for (int flip = 0; flip < 4; ++flip)
                static_cast<juce::uint8*> (flipped.getData())[random.nextInt (blobSize)] ^=
                    (juce::uint8) (1 + random.nextInt (255));
            damaged.push_back (flipped);
        }
    }

    for (const int size : {3, 9, 64, 4097})
    {
        juce::MemoryBlock noise ((size_t)size);
        random.fillBitsRandomly (noise.getData(), noise.getSize());
        damaged.push_back (noise);
    }
    return damaged;
}
} // namespace hosttest
