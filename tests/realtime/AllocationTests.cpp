// The audio thread's turn, once running, neither allocates nor frees heap memory: not in
// processBlock, and not in the parameter changes a host delivers on that thread just before it.
// This program replaces the global allocation functions to see every allocation.
#include "ProcessorHarness.h"

#include "AllocationCounter.h"
#include "EngineScenarios.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <thread>
#include <vector>

namespace
{
struct Case
{
    const char* name;
    int announced; // the block size given to prepareToPlay; blocks run from 0 to twice it
    int channels;
    bool everySection;
    bool automated; // every parameter but the power switches gets a random value before every block
};

const Case cases[] = {
    {"Defaults", 512, 2, false, false},
    {"EverySectionOn", 512, 2, true, false},
    {"EverySectionOnAutomatedEveryBlock", 512, 2, true, true},
    {"EverySectionOnMonoAutomated", 333, 1, true, true},
    // Blocks beyond the dry copy's capacity run in chunks.
    {"EverySectionOnBlocksBeyondTheDryCopy", 8192, 2, true, true},
};

void PrintTo (const Case& testCase, std::ostream* stream)
{
    *stream << testCase.name;
}

void fillWithProgramme (juce::AudioBuffer<float>& block, juce::Random& random, double& phase)
{
    for (int i = 0; i < block.getNumSamples(); ++i)
    {
        phase += 0.03;
        const auto tone = 0.4f * (float)std::sin (phase);
        for (int channel = 0; channel < block.getNumChannels(); ++channel)
            block.setSample (channel, i, tone + 0.05f * (random.nextFloat() - 0.5f));
    }
}

// Allocations escape through it, so the compiler cannot drop one it sees unused.
void* volatile escape = nullptr;

struct Counts
{
    long allocations = 0;
    long frees = 0;
};
} // namespace

class AudioThread : public testing::TestWithParam<Case>
{
};

TEST_P (AudioThread, NeitherAllocatesNorFreesInSteadyState)
{
    const auto& testCase = GetParam();
    testsupport::ProcessorHarness harness (48000.0, testCase.announced, testCase.channels);
    harness.playHead.playing = true;
    if (testCase.everySection)
        for (const auto& setting : scenarios::everySectionOn)
            harness.setPlain (setting.identifier, setting.plain);

    std::vector<juce::AudioProcessorParameter*> automated;
    if (testCase.automated)
        for (auto* parameter : harness.processor->getParameters())
            if (auto* withId = dynamic_cast<juce::AudioProcessorParameterWithID*> (parameter);
                withId != nullptr && !withId->paramID.endsWith ("Power"))
                automated.push_back (parameter);

    // A host's audio thread is never the message thread the processor was made on.
    Counts counts;
    std::thread audio (
        [&]
        {
            juce::Random random (testCase.announced);
            juce::AudioBuffer<float> block (testCase.channels, 2 * testCase.announced);
            double phase = 0.0;
            const auto runFor = [&] (double seconds, bool counted)
            {
                for (juce::int64 done = 0; done < (juce::int64) (seconds * harness.sampleRate);)
                {
                    block.setSize (testCase.channels, random.nextInt (2 * testCase.announced + 1), false, false, true);
                    fillWithProgramme (block, random, phase);
                    std::vector<float> values;
                    for (size_t i = 0; i < automated.size(); ++i)
                        values.push_back (random.nextFloat());

                    allocationcounter::countOnThisThread (counted);
                    for (size_t i = 0; i < automated.size(); ++i)
                        automated[i]->setValueNotifyingHost (values[i]);
                    harness.processBlock (block);
                    allocationcounter::countOnThisThread (false);
                    done += block.getNumSamples();
                }
            };

            runFor (1.0, false);
            const auto allocationsBefore = allocationcounter::allocations();
            const auto freesBefore = allocationcounter::deallocations();
            runFor (3.0, true);
            counts.allocations = allocationcounter::allocations() - allocationsBefore;
            counts.frees = allocationcounter::deallocations() - freesBefore;
        });
    audio.join();

    EXPECT_EQ (counts.allocations, 0) << "heap allocations on the audio thread";
    EXPECT_EQ (counts.frees, 0) << "heap frees on the audio thread";
}

INSTANTIATE_TEST_SUITE_P (Cases, AudioThread, testing::ValuesIn (cases),
                          [] (const testing::TestParamInfo<Case>& caseInfo)
                          { return std::string (caseInfo.param.name); });

// The counter itself must see what it is meant to see, or the test above proves nothing.
TEST (AllocationCounter, SeesMallocAndNewOnTheMarkedThreadOnly)
{
    const auto allocate = []
    {
        juce::HeapBlock<float> buffer (64);
        escape = buffer.get();
        auto* number = new int (2);
        escape = number;
        delete number;
    };

    const auto allocationsBefore = allocationcounter::allocations();
    const auto freesBefore = allocationcounter::deallocations();
    std::thread unmarked (allocate);
    unmarked.join();
    EXPECT_EQ (allocationcounter::allocations(), allocationsBefore);

    {
        allocationcounter::ScopedCounting counting;
        allocate();
    }
    EXPECT_EQ (allocationcounter::allocations(), allocationsBefore + 2);
    EXPECT_EQ (allocationcounter::deallocations(), freesBefore + 2);
}
