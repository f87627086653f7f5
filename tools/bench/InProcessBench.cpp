// Times the processor in this process and counts the heap allocations made inside processBlock.
// With --soak [SECONDS] it runs the long soak instead of the table; --seconds S, --runs N and
// --only TEXT shorten the table (see bench::Options).
#include "BenchCore.h"

#include "engine/PluginProcessor.h"

#include "AllocationCounter.h"
#include "HostPreparation.h"

int main (int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juce;
    juce::StringArray arguments (argv + 1, argc - 1);
    const auto soak = bench::takeSoakOption (arguments);
    const auto options = bench::takeTableOptions (arguments);

    bench::Target target;
    target.create = [] (double sampleRate, int blockSize, int channels) -> std::unique_ptr<juce::AudioProcessor>
    {
        auto processor = std::make_unique<Rirorezo3AudioProcessor>();
        if (!prepareLikeHost (*processor, sampleRate, blockSize, channels))
            return nullptr;
        return processor;
    };
    target.findParameter = [] (juce::AudioProcessor& processor,
                               const juce::String& id) -> juce::AudioProcessorParameter*
    { return static_cast<Rirorezo3AudioProcessor&> (processor).apvts.getParameter (id); };
    target.aroundBlock = [] (bool inside) { allocationcounter::countOnThisThread (inside); };
    target.allocations = [] { return allocationcounter::allocations(); };

    if (soak)
        return bench::runSoak (target, *soak) ? 0 : 1;
    bench::runAll (target, "in-process processor", options);
    return 0;
}
