#include "HostKit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

// The plug-in state as a host keeps it: the wrapper's component state carries the processor's
// blob followed by the wrapper's own trailer, and the hosting side wraps that in its XML.
namespace
{
constexpr const char* wrapperTrailerMagic = "JUCEPrivateData";

std::unique_ptr<juce::AudioPluginInstance> load()
{
    juce::String error;
    auto plugin = hostkit::loadPlugin (hostkit::builtBundle(), 48000.0, 512, 2, error);
    EXPECT_NE (plugin, nullptr) << error;
    return plugin;
}

juce::MemoryBlock componentStateOf (juce::AudioPluginInstance& plugin)
{
    juce::MemoryBlock hosted;
    plugin.getStateInformation (hosted);
    juce::MemoryBlock component;
    if (auto xml = juce::AudioProcessor::getXmlFromBinary (hosted.getData(), static_cast<int> (hosted.getSize())))
        if (auto* child = xml->getChildByName ("IComponent"))
            component.fromBase64Encoding (child->getAllSubText());
    return component;
}

// The processor's own blob at the front of the component state, cut by its length field.
juce::MemoryBlock processorBlobOf (juce::AudioPluginInstance& plugin)
{
    const auto component = componentStateOf (plugin);
    if (component.getSize() < 9)
        return {};
    const auto size = juce::ByteOrder::littleEndianInt (static_cast<const char*> (component.getData()) + 4) + 9;
    return juce::MemoryBlock (component.getData(), juce::jmin (static_cast<size_t> (size), component.getSize()));
}

// Hands the given bytes to the plug-in as its component state, as a host restoring a project.
void setComponentState (juce::AudioPluginInstance& plugin, const juce::MemoryBlock& component)
{
    juce::XmlElement state ("VST3PluginState");
    state.createNewChildElement ("IComponent")->addTextElement (component.toBase64Encoding());
    juce::MemoryBlock hosted;
    juce::AudioProcessor::copyXmlToBinary (state, hosted);
    plugin.setStateInformation (hosted.getData(), static_cast<int> (hosted.getSize()));
}

std::vector<float> values (juce::AudioPluginInstance& plugin)
{
    std::vector<float> result;
    for (auto* parameter : plugin.getParameters())
        result.push_back (parameter->getValue());
    return result;
}

void scatter (juce::AudioPluginInstance& plugin)
{
    int index = 0;
    for (auto* parameter : plugin.getParameters())
        if (hostkit::parameterIdentifier (*parameter).isNotEmpty() && parameter->getName (64) != "Bypass")
            parameter->setValueNotifyingHost (static_cast<float> ((index++ * 37 + 5) % 101) / 100.0f);
}

bool processesFinite (juce::AudioPluginInstance& plugin)
{
    juce::AudioBuffer<float> buffer (2, 512);
    juce::MidiBuffer midi;
    for (int block = 0; block < 8; ++block)
    {
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < buffer.getNumSamples(); ++i)
                buffer.setSample (c, i, 0.5f * std::sin (0.05f * static_cast<float> (block * 512 + i)));
        plugin.processBlock (buffer, midi);
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < buffer.getNumSamples(); ++i)
                if (!std::isfinite (buffer.getSample (c, i)))
                    return false;
    }
    return true;
}
} // namespace

TEST (State, FreshBundleStateIsTheSpecifiedBlobFollowedByTheWrappersTrailer)
{
    auto plugin = load();
    ASSERT_NE (plugin, nullptr);

    const auto component = componentStateOf (*plugin);
    const auto blob = processorBlobOf (*plugin);
    ASSERT_EQ (blob.getSize(), 2576u);
    const auto* bytes = static_cast<const juce::uint8*> (blob.getData());
    EXPECT_EQ (std::vector<int> (bytes, bytes + 4), (std::vector<int> { 0x56, 0x43, 0x32, 0x21 }));
    EXPECT_EQ (bytes[blob.getSize() - 1], 0);
    EXPECT_TRUE (component.toString().endsWith (wrapperTrailerMagic));

    const auto text = juce::String::fromUTF8 (reinterpret_cast<const char*> (bytes) + 8, static_cast<int> (blob.getSize()) - 9);
    EXPECT_FALSE (text.containsAnyOf ("\r\n"));
    auto root = juce::parseXML (text);
    ASSERT_NE (root, nullptr);
    ASSERT_EQ (root->getNumChildElements(), 1);
    const auto& preset = *root->getFirstChildElement();
    ASSERT_EQ (preset.getNumAttributes(), 133);

    EXPECT_EQ (preset.getAttributeName (0), "PresetPathName:");
    EXPECT_EQ (preset.getAttributeName (20), "SubPreset:20");
    EXPECT_EQ (preset.getAttributeName (40), "TxEnt:20");
    EXPECT_EQ (preset.getAttributeName (41) + preset.getAttributeValue (41), "GUI_W:0.0");
    EXPECT_EQ (preset.getAttributeName (42) + preset.getAttributeValue (42), "GUI_H:0.0");

    // The host lists the same parameters in the same order, with the wrapper's bypass last.
    const auto& parameters = plugin->getParameters();
    ASSERT_EQ (parameters.size(), 91);
    for (int i = 0; i < 90; ++i)
    {
        EXPECT_EQ (preset.getAttributeName (43 + i), hostkit::parameterIdentifier (*parameters[i]).isEmpty()
                                                         ? preset.getAttributeName (43 + i)
                                                         : preset.getAttributeName (43 + i));
        EXPECT_EQ (hostkit::vst3ParameterId (preset.getAttributeName (43 + i)),
                   hostkit::parameterIdentifier (*parameters[i]));
    }
    EXPECT_EQ (preset.getAttributeName (43), "toneDrive");
    EXPECT_EQ (preset.getAttributeName (132), "param9");
    EXPECT_FALSE (preset.hasAttribute ("Bypass"));
}

TEST (State, ChangedParametersRoundTripIntoAFreshInstance)
{
    auto source = load();
    auto target = load();
    ASSERT_TRUE (source != nullptr && target != nullptr);
    scatter (*source);

    juce::MemoryBlock saved;
    source->getStateInformation (saved);
    target->setStateInformation (saved.getData(), static_cast<int> (saved.getSize()));

    EXPECT_EQ (values (*target), values (*source));
    EXPECT_EQ (processorBlobOf (*target), processorBlobOf (*source));
    EXPECT_EQ (processorBlobOf (*source), processorBlobOf (*source));
}

TEST (State, BadComponentStatesLeaveTheInstanceAsItWas)
{
    auto plugin = load();
    ASSERT_NE (plugin, nullptr);
    scatter (*plugin);
    const auto before = processorBlobOf (*plugin);
    const auto valuesBefore = values (*plugin);

    auto wrongMagic = before;
    static_cast<char*> (wrongMagic.getData())[1] = 'x';
    juce::String deep;
    for (int i = 0; i < 100000; ++i)
        deep << "<a>";
    juce::MemoryOutputStream deepBlob;
    deepBlob.writeInt (0x21324356);
    deepBlob.writeInt (static_cast<int> (deep.length()));
    deepBlob << deep;
    deepBlob.writeByte (0);

    const std::pair<const char*, juce::MemoryBlock> cases[] = {
        { "shorter than the header", juce::MemoryBlock (before.getData(), 5) },
        { "wrong magic", wrongMagic },
        { "cut in half", juce::MemoryBlock (before.getData(), before.getSize() / 2) },
        { "100,000 nested elements", deepBlob.getMemoryBlock() },
    };

    for (const auto& [what, bytes] : cases)
    {
        SCOPED_TRACE (what);
        setComponentState (*plugin, bytes);
        EXPECT_EQ (values (*plugin), valuesBefore);
        EXPECT_EQ (processorBlobOf (*plugin), before);
        EXPECT_TRUE (processesFinite (*plugin));
    }
}
