#include "ProcessorHarness.h"

#include "engine/EchoSection.h"
#include "engine/MasterSection.h"
#include "engine/MeltSection.h"
#include "engine/ToneSection.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

using testsupport::ProcessorHarness;

TEST (Processor, ReportsItsNameProgramsAndMidi)
{
    Rirorezo3AudioProcessor processor;
    EXPECT_EQ (processor.getName(), "Rirorezo3");
    EXPECT_EQ (processor.getNumPrograms(), 1);
    EXPECT_EQ (processor.getCurrentProgram(), 0);
    processor.setCurrentProgram (3);
    EXPECT_EQ (processor.getCurrentProgram(), 0);
    EXPECT_EQ (processor.getProgramName (0), "");
    EXPECT_EQ (processor.getProgramName (5), "");
    EXPECT_FALSE (processor.acceptsMidi());
    EXPECT_FALSE (processor.producesMidi());
    EXPECT_FALSE (processor.isMidiEffect());
    EXPECT_TRUE (processor.hasEditor());
}

TEST (Processor, AcceptsOnlyMatchingMonoOrStereoLayouts)
{
    Rirorezo3AudioProcessor processor;
    const auto mono = juce::AudioChannelSet::mono();
    const auto stereo = juce::AudioChannelSet::stereo();
    const struct
    {
        juce::AudioChannelSet in, out;
        bool accepted;
    } cases[] = {
        {mono, mono, true},
        {stereo, stereo, true},
        {mono, stereo, false},
        {stereo, mono, false},
        {juce::AudioChannelSet::create5point1(), juce::AudioChannelSet::create5point1(), false},
        {juce::AudioChannelSet::disabled(), stereo, false},
    };
    for (const auto& c : cases)
    {
        juce::AudioProcessor::BusesLayout layout;
        layout.inputBuses.add (c.in);
        layout.outputBuses.add (c.out);
        EXPECT_EQ (processor.checkBusesLayoutSupported (layout), c.accepted)
            << c.in.getDescription() << " -> " << c.out.getDescription();
    }
}

TEST (BlockFrame, UnpreparedProcessorPassesAudioThroughUntouched)
{
    Rirorezo3AudioProcessor processor;
    juce::AudioBuffer<float> buffer (2, 256);
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < 256; ++i)
            buffer.setSample (c, i, 0.001f * (float)(i - 128 + c));
    juce::AudioBuffer<float> original (buffer);
    juce::MidiBuffer midi;
    processor.processBlock (buffer, midi);
    for (int c = 0; c < 2; ++c)
        EXPECT_EQ (std::memcmp (buffer.getReadPointer (c), original.getReadPointer (c), 256 * sizeof (float)), 0);

    // Even unprepared, a sample that is not finite never reaches the output.
    buffer.setSample (1, 7, std::numeric_limits<float>::quiet_NaN());
    processor.processBlock (buffer, midi);
    EXPECT_EQ (buffer.getSample (1, 7), 0.0f);
    EXPECT_EQ (buffer.getSample (1, 8), original.getSample (1, 8));
}

TEST (BlockFrame, StoppedTransportRunsThePositionOnAtTheReportedTempo)
{
    ProcessorHarness harness (48000.0, 480);
    harness.playHead.playing = false;
    harness.playHead.tempo = 90.0;
    harness.processor->ppqPosition = 16.0;
    auto block = harness.silence (480);
    harness.processBlock (block);
    EXPECT_NEAR (harness.processor->ppqPosition, 16.015, 1e-12);
    EXPECT_EQ (harness.processor->bpm, 90.0);
    EXPECT_EQ (harness.processor->isPlaying, 0);

    auto empty = harness.silence (0);
    harness.processBlock (empty);
    EXPECT_NEAR (harness.processor->ppqPosition, 16.015, 1e-12);
}

TEST (BlockFrame, PlayingTransportTakesTheHostPositionAndAbsentValuesFallBack)
{
    ProcessorHarness harness (48000.0, 512);
    harness.playHead.playing = true;
    harness.playHead.tempo = 140.0;
    harness.playHead.ppq = 8.0;
    auto block = harness.silence (512);
    harness.processBlock (block);
    EXPECT_EQ (harness.processor->ppqPosition, 8.0);
    EXPECT_EQ (harness.processor->bpm, 140.0);
    EXPECT_EQ (harness.processor->isPlaying, 1);

    const struct
    {
        std::optional<double> tempo, ppq;
        double expectedTempo, expectedPosition;
    } cases[] = {
        {std::nullopt, std::nullopt, 120.0, 0.0},
        {0.0, 4.0, 120.0, 4.0},
        {-30.0, 4.0, 120.0, 4.0},
        {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN(), 120.0, 0.0},
        {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity(), 120.0, 0.0},
    };
    for (const auto& c : cases)
    {
        harness.playHead.tempo = c.tempo;
        harness.playHead.ppq = c.ppq;
        auto next = harness.silence (512);
        harness.processBlock (next);
        EXPECT_EQ (harness.processor->bpm, c.expectedTempo);
        EXPECT_EQ (harness.processor->ppqPosition, c.expectedPosition);
        EXPECT_TRUE (testsupport::allFiniteAndNormal (next));
    }
}

TEST (BlockFrame, PrepareResetsTheTransport)
{
    ProcessorHarness harness (48000.0, 512);
    harness.playHead.playing = true;
    harness.playHead.tempo = 100.0;
    harness.playHead.ppq = 32.0;
    auto block = harness.silence (512);
    harness.processBlock (block);
    harness.processor->prepareToPlay (96000.0, 512);
    EXPECT_EQ (harness.processor->ppqPosition, 0.0);
    EXPECT_EQ (harness.processor->bpm, 120.0);
    EXPECT_EQ (harness.processor->isPlaying, 0);
}

namespace
{
// Whether a ramp to a new target takes exactly this many steps; a linear ramp skips ahead at once.
bool rampTakesSteps (ToneSection::Ramp ramp, int steps)
{
    ramp.setTargetValue (ramp.getTargetValue() + 1.0f);
    if (steps == 0)
        return !ramp.isSmoothing();
    ramp.skip (steps - 1);
    const auto movingBeforeTheLastStep = ramp.isSmoothing();
    ramp.skip (1);
    return movingBeforeTheLastStep && !ramp.isSmoothing();
}
} // namespace

// A host may announce a rate that no ramp length can be counted in. A rate that is not a positive
// number gives no ramp, a huge one a ramp of at most 1e8 steps, in every stage, instead of an
// out-of-range conversion to a step count.
TEST (BlockFrame, UnusableSampleRateGivesEveryStageNoRampOrABoundedOne)
{
    const auto infinity = std::numeric_limits<double>::infinity();
    const struct
    {
        double sampleRate;
        int steps;
    } rates[] = {
        {0.0, 0},       {-48000.0, 0},       {std::numeric_limits<double>::quiet_NaN(), 0},
        {-infinity, 0}, {1.0e12, 100000000}, {infinity, 100000000},
    };

    for (const auto& rate : rates)
    {
        Rirorezo3AudioProcessor processor;
        processor.setRateAndBufferSizeDetails (rate.sampleRate, 512);
        processor.prepareToPlay (rate.sampleRate, 512);

        // One smoother per stage: each stage resets all of its own through one table.
        const struct
        {
            const char* stage;
            const ToneSection::Ramp& smoother;
        } stages[] = {
            {"tone", processor.toneSection->smoothLowFreq},
            {"melt", processor.meltSection->smoothDepth},
            {"echo", processor.echoSection->lowPassFreqSmooth},
            {"master", processor.masterSection->smoothOutputVolume},
        };
        for (const auto& stage : stages)
            EXPECT_TRUE (rampTakesSteps (stage.smoother, rate.steps))
                << stage.stage << " at " << rate.sampleRate << " Hz";
    }
}

TEST (BlockFrame, NonFiniteInputBecomesSilenceAndLeavesLaterBlocksClean)
{
    for (int channels : {1, 2})
    {
        ProcessorHarness harness (48000.0, 256, channels);
        auto block = harness.sine (256, 440.0);
        block.setSample (0, 10, std::numeric_limits<float>::quiet_NaN());
        block.setSample (channels - 1, 20, std::numeric_limits<float>::infinity());
        harness.processBlock (block);
        EXPECT_TRUE (testsupport::allFiniteAndNormal (block));

        auto later = harness.sine (48000, 440.0);
        harness.process (later);
        EXPECT_TRUE (testsupport::allFiniteAndNormal (later));
    }
}

TEST (BlockFrame, OversizedBlocksAreProcessed)
{
    ProcessorHarness harness (48000.0, 64);
    auto block = harness.sine (20000, 220.0);
    harness.processBlock (block);
    EXPECT_TRUE (testsupport::allFiniteAndNormal (block));
}

// Through the VST3 layer a block larger than announced never reaches the plug-in intact (JUCE's
// client copies each block into scratch of the announced size), so the frame's own handling is
// run here: every section on, random automation, random sizes from 0 to twice the announced one
// and blocks of exactly twice it, across the rates.
TEST (BlockFrame, BlocksUpToTwiceTheAnnouncedSizeGiveFiniteBoundedOutput)
{
    const struct
    {
        double sampleRate;
        int announced;
    } cases[] = {{22050.0, 1},   {44100.0, 7},     {48000.0, 64},  {88200.0, 333},
                 {96000.0, 512}, {192000.0, 4096}, {48000.0, 8192}};

    for (const auto& c : cases)
    {
        ProcessorHarness harness (c.sampleRate, c.announced);
        harness.playHead.playing = true;
        juce::Random random ((juce::int64)c.sampleRate + c.announced);
        const auto parameters = harness.processor->getParameters();
        for (auto* parameter : parameters)
            parameter->setValueNotifyingHost (random.nextFloat());
        for (const auto* power :
             {"tonePower", "meltPower", "meltFlowPower", "meltDropoutPower", "meltJumpPower", "echoPower"})
            harness.setPlain (power, 1.0f);

        float peak = 0.0f;
        bool clean = true;
        const auto total = juce::jmax ((int)(0.25 * c.sampleRate), 16 * c.announced);
        for (int done = 0, index = 0; done < total; ++index)
        {
            const auto size = index % 8 == 0 ? 2 * c.announced : random.nextInt (2 * c.announced + 1);
            auto block = harness.sine (size, 110.0 + 40.0 * index, 0.8f);
            for (int i = 0; i < 3; ++i)
                parameters[random.nextInt (parameters.size())]->setValueNotifyingHost (random.nextFloat());
            harness.processBlock (block);
            clean = clean && testsupport::allFiniteAndNormal (block);
            for (int channel = 0; channel < block.getNumChannels(); ++channel)
                peak = juce::jmax (peak, block.getMagnitude (channel, 0, size));
            done += size;
        }
        EXPECT_TRUE (clean) << c.sampleRate << " Hz, announced " << c.announced;
        EXPECT_LT (peak, 256.0f) << c.sampleRate << " Hz, announced " << c.announced;
    }
}
