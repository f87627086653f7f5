#include "HostKit.h"

#include "HostPreparation.h"

namespace hostkit
{
juce::File builtBundle()
{
    return juce::File (RIROREZO3_VST3_PATH);
}

std::unique_ptr<juce::AudioPluginInstance> loadPlugin (const juce::File& bundle, double sampleRate, int blockSize,
                                                       int channels, juce::String& error)
{
    if (!bundle.exists())
    {
        error = "no plug-in bundle at " + bundle.getFullPathName();
        return nullptr;
    }

    juce::VST3PluginFormat format;
    juce::OwnedArray<juce::PluginDescription> found;
    format.findAllTypesForFile (found, bundle.getFullPathName());
    if (found.isEmpty())
    {
        error = "the bundle holds no plug-in: " + bundle.getFullPathName();
        return nullptr;
    }

    auto plugin = format.createInstanceFromDescription (*found[0], sampleRate, blockSize, error);
    if (plugin == nullptr)
        return nullptr;

    if (!prepareLikeHost (*plugin, sampleRate, blockSize, channels))
    {
        error = "the plug-in refused the channel layout";
        return nullptr;
    }
    return plugin;
}

juce::String parameterIdentifier (juce::AudioProcessorParameter& parameter)
{
    if (auto* withId = dynamic_cast<juce::HostedAudioProcessorParameter*> (&parameter))
        return withId->getParameterID();
    return {};
}

juce::String vst3ParameterId (const juce::String& identifier)
{
    // JUCE's VST3 client publishes each parameter under the hash of its identifier, top bit clear.
    return juce::String (static_cast<juce::uint32> (identifier.hashCode()) & 0x7fffffffu);
}

juce::AudioProcessorParameter* findParameter (juce::AudioPluginInstance& plugin, const juce::String& identifier)
{
    const auto published = vst3ParameterId (identifier);
    for (auto* parameter : plugin.getParameters())
        if (const auto id = parameterIdentifier (*parameter); id == identifier || id == published)
            return parameter;
    return nullptr;
}
} // namespace hostkit
