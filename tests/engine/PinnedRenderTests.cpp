// The engine's output, pinned: a table of renders whose output samples must hash to the values
// recorded here. A user's session must sound exactly as before any rework of the engine, so
// these hashes change only when the sound is meant to change.
//
// The hashes hold for this toolchain: Debian's compiler, C library (sin, rand) and JUCE. Another
// compiler or library may round a few samples differently and needs its own values.
#include "ProcessorHarness.h"

#include "BlockLoop.h"
#include "EngineScenarios.h"
#include "GeneratorRestart.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <iomanip>
#include <sstream>

using testsupport::ProcessorHarness;

namespace
{
enum class Transport
{
    stopped,
    playing,
    // Plays from beat 0 and jumps back to 0 every four beats, as a host loop does.
    looping
};

struct Format
{
    double sampleRate;
    int blockSize;
    int channels;
    Transport transport;
};

struct PinnedCase
{
    const char* name;
    std::uint64_t expected;
    Format format;
    std::vector<scenarios::Setting> settings;
    std::vector<scenarios::Sweep> sweeps = {};
    // Before every block a few parameters, and every 50 blocks all of them, take random values.
    bool randomAutomation = false;
};

std::vector<scenarios::Setting> join (std::vector<scenarios::Setting> first,
                                      const std::vector<scenarios::Setting>& second)
{
    first.insert (first.end(), second.begin(), second.end());
    return first;
}

const std::vector<scenarios::Setting> sectionsOff{
    {"tonePower", 0.0f}, {"meltFlowPower", 0.0f}, {"meltDropoutPower", 0.0f}, {"echoPower", 0.0f}};
const std::vector<scenarios::Setting> meltOff{{"meltPower", 0.0f}, {"echoFilter", 0.0f}, {"echoMixMode", 1.0f}};
// Every other oscillator shape, strong drift (which can run a free oscillator backwards) and a
// drop-out phase, free running and synced.
const std::vector<scenarios::Setting> triangleAndSoftSquare{
    {"meltFlowType", 1.0f},     {"meltDropoutType", 1.0f}, {"meltFlowRnd", 100.0f}, {"meltDropoutRnd", 100.0f},
    {"meltDropoutPhase", 0.3f}, {"meltChorus", 100.0f},    {"ruvuvMelt", 100.0f}};
const std::vector<scenarios::Setting> foldedSines{
    {"meltFlowType", 2.0f}, {"meltDropoutType", 3.0f}, {"meltFlowSync", 1.0f},    {"meltDropoutSync", 1.0f},
    {"meltFlowRnd", 80.0f}, {"meltWowRate", 12.0f},    {"meltFlutterRate", 0.0f}, {"meltDepth", 60.0f}};
const std::vector<scenarios::Setting> lastShapes{{"meltFlowType", 3.0f}, {"meltDropoutType", 0.0f},
                                                 {"meltFlowMix", 90.0f}, {"meltJumpLevel", 100.0f},
                                                 {"meltJumpRnd", 1.0f},  {"meltJumpSnag", 0.0f}};

const PinnedCase pinnedCases[] = {
    {"defaults", 0xa3baa1dcc546e973ull, {48000.0, 512, 2, Transport::stopped}, {}},
    {"every section on, filters automated",
     0x8b3ad3da370b8925ull,
     {48000.0, 512, 2, Transport::playing},
     scenarios::everySectionOn,
     scenarios::filterSweeps},
    {"synced melt, host playing",
     0x1b2952d706746ee9ull,
     {48000.0, 512, 2, Transport::playing},
     join (scenarios::beatsWithHostPlaying, scenarios::wholeMelt)},
    {"mono, every section on", 0xae7447090258143eull, {48000.0, 512, 1, Transport::playing}, scenarios::everySectionOn},
    {"44.1 kHz", 0x6fcaed2ad44b3405ull, {44100.0, 512, 2, Transport::stopped}, {}},
    {"96 kHz, every section on",
     0xc2c799cf55bb9410ull,
     {96000.0, 512, 2, Transport::playing},
     scenarios::everySectionOn},
    {"blocks of 1",
     0xd2093dca38b25d79ull,
     {48000.0, 1, 2, Transport::playing},
     scenarios::everySectionOn,
     scenarios::filterSweeps},
    {"blocks of 37", 0x3742868e89509ae8ull, {48000.0, 37, 2, Transport::looping}, scenarios::wholeMelt},
    {"blocks of 4096", 0x296b28db7d81c9a8ull, {48000.0, 4096, 2, Transport::playing}, scenarios::everySectionOn},
    {"echo in beats, ping-pong, loop",
     0xf51868570ac850b3ull,
     {48000.0, 512, 2, Transport::playing},
     scenarios::loopingPingPong},
    {"sections switched off", 0x236c4440c9a8d8d5ull, {48000.0, 512, 2, Transport::stopped}, sectionsOff},
    {"melt off, linear echo mix", 0x37b7fb2cee71875aull, {48000.0, 256, 2, Transport::playing}, meltOff},
    {"triangle and soft square, strong drift",
     0x4cec8f8535263ce8ull,
     {48000.0, 512, 2, Transport::stopped},
     join (scenarios::everySectionOn, triangleAndSoftSquare)},
    {"folded sines, synced",
     0xefb3d20bd3236162ull,
     {44100.0, 300, 2, Transport::looping},
     join (scenarios::everySectionOn, foldedSines)},
    {"last shapes, jumps at full range",
     0x16e87008918ef726ull,
     {48000.0, 512, 1, Transport::looping},
     join (scenarios::wholeMelt, lastShapes)},
    {"random automation of every parameter",
     0xb2259d8c76dd12f4ull,
     {48000.0, 128, 2, Transport::looping},
     {},
     {},
     true},
};

constexpr double programmeSeconds = 3.5;
constexpr double silenceSeconds = 1.5;

// A chord with noise bursts and clicks, then silence, so that tails and decays are rendered too.
juce::AudioBuffer<float> programme (int channels, double sampleRate)
{
    const auto sounding = (int)(programmeSeconds * sampleRate);
    juce::AudioBuffer<float> buffer (channels, sounding + (int)(silenceSeconds * sampleRate));
    buffer.clear();
    juce::Random random (5);
    const auto burstPeriod = (int)(0.4 * sampleRate);
    const auto burstLength = (int)(0.05 * sampleRate);
    for (int i = 0; i < sounding; ++i)
    {
        const auto t = i / sampleRate;
        const auto chord = 0.3 * std::sin (juce::MathConstants<double>::twoPi * 220.0 * t) +
                           0.2 * std::sin (juce::MathConstants<double>::twoPi * 277.18 * t) +
                           0.1 * std::sin (juce::MathConstants<double>::twoPi * 3520.0 * t);
        for (int c = 0; c < channels; ++c)
        {
            auto value = (float)chord * (c == 0 ? 1.0f : 0.8f);
            if (i % burstPeriod < burstLength)
                value += 0.5f * (random.nextFloat() * 2.0f - 1.0f);
            if (i % burstPeriod == 0)
                value = c == 0 ? 1.0f : -1.0f;
            buffer.setSample (c, i, value);
        }
    }
    return buffer;
}

std::uint64_t hashOf (const juce::AudioBuffer<float>& buffer)
{
    // FNV-1a over the bit patterns, channel after channel.
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (int c = 0; c < buffer.getNumChannels(); ++c)
        for (int i = 0; i < buffer.getNumSamples(); ++i)
        {
            std::uint32_t bits;
            const auto value = buffer.getSample (c, i);
            std::memcpy (&bits, &value, sizeof bits);
            for (int byte = 0; byte < 4; ++byte)
            {
                hash ^= (bits >> (8 * byte)) & 0xffu;
                hash *= 0x100000001b3ull;
            }
        }
    return hash;
}

// Both random sources start as in a fresh process, so each render is the same whatever ran
// before it.
void restartRandomSources (ProcessorHarness& harness)
{
    harness.processor->instanceRandom.reseed (1);
    testsupport::restartGenerator (JSeedX, JXorU);
}

std::uint64_t render (const PinnedCase& pinned,
                      const std::function<void (ProcessorHarness&)>& beforeRendering = restartRandomSources)
{
    ProcessorHarness harness (pinned.format.sampleRate, pinned.format.blockSize, pinned.format.channels);
    beforeRendering (harness);
    harness.playHead.playing = pinned.format.transport != Transport::stopped;
    for (const auto& setting : pinned.settings)
        harness.setPlain (setting.identifier, setting.plain);

    auto audio = programme (pinned.format.channels, pinned.format.sampleRate);
    const auto parameters = harness.processor->getParameters();
    juce::Random automation (9);
    const auto blocksPerSweep = juce::jmax (2, (int)(pinned.format.sampleRate / pinned.format.blockSize));

    processInBlocks (audio, pinned.format.blockSize,
                     [&] (juce::AudioBuffer<float>& block, int start)
                     {
                         const auto index = start / pinned.format.blockSize;
                         // A triangle over about a second, so every block lands on a new value.
                         const auto phase = (float)(index % blocksPerSweep) / (float)blocksPerSweep;
                         const auto position = phase < 0.5f ? 2.0f * phase : 2.0f - 2.0f * phase;
                         for (const auto& sweep : pinned.sweeps)
                             harness.setPlain (sweep.identifier, sweep.low + (sweep.high - sweep.low) * position);

                         if (pinned.randomAutomation)
                         {
                             const auto count = index % 50 == 0 ? parameters.size() : 3;
                             for (int i = 0; i < count; ++i)
                             {
                                 auto* parameter = index % 50 == 0 ? parameters[i]
                                                                   : parameters[automation.nextInt (parameters.size())];
                                 parameter->setValueNotifyingHost (automation.nextFloat());
                             }
                         }

                         harness.processBlock (block);
                         if (pinned.format.transport == Transport::looping && *harness.playHead.ppq >= 4.0)
                             harness.playHead.ppq = 0.0;
                     });
    return hashOf (audio);
}

std::string hex (std::uint64_t value)
{
    std::ostringstream text;
    text << "0x" << std::hex << std::setw (16) << std::setfill ('0') << value << "ull";
    return text.str();
}
} // namespace

TEST (PinnedRenders, OutputIsBitIdenticalToTheRecordedRenders)
{
    for (const auto& pinned : pinnedCases)
    {
        const auto hash = render (pinned);
        EXPECT_EQ (hex (hash), hex (pinned.expected)) << pinned.name;
    }
}

// The first instance of a process, with nothing restarted: what a host hears from its first track.
// The render was recorded when the drift and the noise still drew from the C library's rand(),
// never seeded.
TEST (PinnedRenders, FirstInstanceOfAProcessIsBitIdenticalToItsRecordedRender)
{
    const PinnedCase pinned{"drift and noise, first instance",
                            0x3236796a8c5e53a7ull,
                            {48000.0, 512, 2, Transport::stopped},
                            join (join (scenarios::everySectionOn, triangleAndSoftSquare), {{"noiseLevel", 60.0f}})};
    const auto firstOfItsProcess = [] (ProcessorHarness& harness)
    {
        auto draws = harness.processor->instanceRandom;
        AdditiveFeedbackRandom first (1);
        EXPECT_EQ (draws.next(), first.next()) << "must be the first instance of its process, as under ctest";
    };
    EXPECT_EQ (hex (render (pinned, firstOfItsProcess)), hex (pinned.expected));
}
