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

bool setPlainValue (juce::AudioPluginInstance& plugin, const juce::String& identifier, float plainValue)
{
    auto* parameter = findParameter (plugin, identifier);
    if (parameter == nullptr)
        return false;
    // The plug-in's own text conversion is the one way from a plain value to a normalised one
    // that a host has.
    parameter->setValueNotifyingHost (
        juce::jlimit (0.0f, 1.0f, parameter->getValueForText (juce::String (plainValue))));
    return true;
}

bool isStateBlob (const juce::MemoryBlock& bytes)
{
    if (bytes.getSize() < 9)
        return false;
    const auto* data = static_cast<const char*> (bytes.getData());
    return juce::ByteOrder::littleEndianInt (data) == stateBlobMagic &&
           static_cast<juce::int32> (juce::ByteOrder::littleEndianInt (data + 4)) >= 1;
}

juce::MemoryBlock stateBlobIn (const juce::MemoryBlock& component)
{
    if (component.getSize() < 9)
        return {};
    const auto size = juce::ByteOrder::littleEndianInt (static_cast<const char*> (component.getData()) + 4) + 9;
    return juce::MemoryBlock (component.getData(), juce::jmin (static_cast<size_t> (size), component.getSize()));
}

juce::MemoryBlock componentState (const juce::MemoryBlock& hostState)
{
    juce::MemoryBlock component;
    if (auto xml = juce::AudioProcessor::getXmlFromBinary (hostState.getData(), (int)hostState.getSize()))
        if (auto* child = xml->getChildByName ("IComponent"))
            component.fromBase64Encoding (child->getAllSubText());
    return component;
}

juce::MemoryBlock hostStateWithComponent (const juce::MemoryBlock& component)
{
    juce::XmlElement state ("VST3PluginState");
    state.createNewChildElement ("IComponent")->addTextElement (component.toBase64Encoding());
    juce::MemoryBlock hostState;
    juce::AudioProcessor::copyXmlToBinary (state, hostState);
    return hostState;
}

juce::MemoryBlock hostStateForFile (const juce::MemoryBlock& bytes)
{
    // The hosting layer frames its XML the way the plug-in frames its blob, magic included, so the
    // envelope is told apart by what it holds.
    if (auto xml = juce::AudioProcessor::getXmlFromBinary (bytes.getData(), (int)bytes.getSize());
        xml != nullptr && xml->hasTagName ("VST3PluginState"))
        return isStateBlob (componentState (bytes)) ? bytes : juce::MemoryBlock();
    return isStateBlob (bytes) ? hostStateWithComponent (bytes) : juce::MemoryBlock();
}

juce::MemoryBlock readHostStateFile (const juce::File& file, juce::String& error)
{
    // States and presets are small; anything this large is not one.
    constexpr juce::int64 maximumStateBytes = 16 * 1024 * 1024;
    juce::MemoryBlock bytes;
    if (!file.existsAsFile())
        error = "no such state file: " + file.getFullPathName();
    else if (file.getSize() > maximumStateBytes || (!file.loadFileAsData (bytes) && file.getSize() > 0))
        error = "cannot read state file " + file.getFullPathName();
    else if (auto hostState = hostStateForFile (bytes); !hostState.isEmpty())
        return hostState;
    else
        error =
            file.getFullPathName() + " is not a preset file, a plug-in state or a host's saved state of this plug-in";
    return {};
}
} // namespace hostkit
