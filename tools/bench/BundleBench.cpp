// Times the built VST3 bundle, loaded through JUCE's VST3 hosting as a real host loads it:
// bench_bundle [BUNDLE] [--soak [SECONDS]] [--seconds S] [--runs N] [--only TEXT].
#include "BenchCore.h"

#include "HostKit.h"

#include <iostream>

int main (int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juce;
    juce::StringArray arguments (argv + 1, argc - 1);
    const auto soak = bench::takeSoakOption (arguments);
    const auto options = bench::takeTableOptions (arguments);
    const auto bundle = arguments.isEmpty() ? hostkit::builtBundle()
                                            : juce::File::getCurrentWorkingDirectory().getChildFile (arguments[0]);

    bench::Target target;
    target.create = [bundle] (double sampleRate, int blockSize, int channels) -> std::unique_ptr<juce::AudioProcessor>
    {
        juce::String error;
        auto plugin = hostkit::loadPlugin (bundle, sampleRate, blockSize, channels, error);
        if (plugin == nullptr)
            std::cerr << "bench: " << error << "\n";
        return plugin;
    };
    target.findParameter = [] (juce::AudioProcessor& processor, const juce::String& id)
    { return hostkit::findParameter (static_cast<juce::AudioPluginInstance&> (processor), id); };

    if (soak)
        return bench::runSoak (target, *soak) ? 0 : 1;
    bench::runAll (target, ("VST3 bundle " + bundle.getFullPathName()).toRawUTF8(), options);
    return 0;
}
