// The plug-in state as a host keeps it: the wrapper's component state carries the processor's
// blob followed by the wrapper's own trailer, and the hosting side wraps that in its XML.
#include "support/host/HostBattery.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace hosttest;

namespace
{
constexpr double rate = 48000.0;

// What the VST3 wrapper appends to the processor's blob: eight zero bytes, its private data, the
// size of that data as a 64-bit number and this identifier.
constexpr char wrapperTrailerIdentifier[] = "JUCEPrivateData";

juce::MemoryBlock componentStateOf (juce::AudioPluginInstance& plugin)
{
    juce::MemoryBlock hosted;
    plugin.getStateInformation (hosted);
    return componentState (hosted);
}

juce::MemoryBlock processorBlobOf (juce::AudioPluginInstance& plugin)
{
    return hostkit::stateBlobIn (componentStateOf (plugin));
}

void setComponentState (juce::AudioPluginInstance& plugin, const juce::MemoryBlock& component)
{
    const auto hosted = hostStateWithComponent (component);
    plugin.setStateInformation (hosted.getData(), static_cast<int> (hosted.getSize()));
}

// Moves every parameter and takes the plug-in's own values back into the hosting layer, whose
// cache otherwise keeps the unsnapped values it was given.
std::vector<float> scatterAndSettle (HostedSession& session, juce::int64 seed)
{
    Automation automation (*session.plugin, seed);
    automation.randomiseAll();
    settleThroughState (*session.plugin);
    return automation.values();
}

bool processesFinite (HostedSession& session)
{
    TestSignal signal (rate, 4096, 5);
    RunPlan plan;
    plan.totalSamples = 4096;
    const auto check = run (session, signal, plan);
    EXPECT_TRUE (check.clean()) << check.describe();
    return check.clean();
}
} // namespace

TEST (State, FreshBundleStateIsTheProcessorBlobFollowedByTheWrappersTrailer)
{
    HostedSession session (rate, 512, 2);
    ASSERT_TRUE (session.loaded()) << session.error;

    const auto component = componentStateOf (*session.plugin);
    const auto blob = hostkit::stateBlobIn (component);
    ASSERT_EQ (blob.getSize(), 2576u);
    const auto* bytes = static_cast<const juce::uint8*> (blob.getData());
    EXPECT_EQ (juce::ByteOrder::littleEndianInt (bytes), hostkit::stateBlobMagic);
    EXPECT_EQ (bytes[blob.getSize() - 1], 0);

    // The trailer follows the blob at once and is exactly as long as its own size field says.
    const auto identifierLength = std::strlen (wrapperTrailerIdentifier);
    ASSERT_GT (component.getSize(), blob.getSize() + 16 + identifierLength);
    const auto* trailer = static_cast<const char*> (component.getData()) + blob.getSize();
    EXPECT_EQ (juce::ByteOrder::littleEndianInt64 (trailer), 0);
    const auto* end = static_cast<const char*> (component.getData()) + component.getSize();
    EXPECT_EQ (std::string (end - identifierLength, end), wrapperTrailerIdentifier);
    const auto privateDataSize = juce::ByteOrder::littleEndianInt64 (end - identifierLength - 8);
    EXPECT_EQ (static_cast<size_t> (privateDataSize), component.getSize() - blob.getSize() - 16 - identifierLength);

    const auto text =
        juce::String::fromUTF8 (reinterpret_cast<const char*> (bytes) + 8, static_cast<int> (blob.getSize()) - 9);
    EXPECT_FALSE (text.containsAnyOf ("\r\n"));
    const auto root = juce::parseXML (text);
    ASSERT_NE (root, nullptr);
    ASSERT_EQ (root->getNumChildElements(), 1);
    const auto& preset = *root->getFirstChildElement();
    ASSERT_EQ (preset.getNumAttributes(), 133);

    EXPECT_EQ (preset.getAttributeName (0), "PresetPathName:");
    for (int k = 1; k <= 20; ++k)
    {
        EXPECT_EQ (preset.getAttributeName (k), "SubPreset:" + juce::String (k));
        EXPECT_EQ (preset.getAttributeName (20 + k), "TxEnt:" + juce::String (k));
    }
    EXPECT_EQ (preset.getAttributeName (41) + preset.getAttributeValue (41), "GUI_W:0.0");
    EXPECT_EQ (preset.getAttributeName (42) + preset.getAttributeValue (42), "GUI_H:0.0");

    // The host lists the same parameters in the same order, with the wrapper's bypass last.
    const auto& parameters = session.plugin->getParameters();
    ASSERT_EQ (parameters.size(), 91);
    EXPECT_EQ (parameters[90], session.plugin->getBypassParameter());
    for (int i = 0; i < 90; ++i)
    {
        SCOPED_TRACE (preset.getAttributeName (43 + i));
        EXPECT_EQ (hostkit::vst3ParameterId (preset.getAttributeName (43 + i)),
                   hostkit::parameterIdentifier (*parameters[i]));
        EXPECT_EQ (static_cast<float> (preset.getAttributeValue (43 + i).getDoubleValue()), parameters[i]->getValue());
    }
    EXPECT_EQ (preset.getAttributeName (43), "toneDrive");
    EXPECT_EQ (preset.getAttributeName (132), "param9");
    EXPECT_FALSE (preset.hasAttribute ("Bypass"));
}

TEST (State, ChangedParametersRoundTripIntoAFreshInstance)
{
    HostedSession source (rate, 512, 2), target (rate, 512, 2);
    ASSERT_TRUE (source.loaded() && target.loaded()) << source.error << target.error;
    const auto changed = scatterAndSettle (source, 11);
    ASSERT_NE (changed, Automation (*target.plugin, 0).values());

    juce::MemoryBlock saved;
    source.plugin->getStateInformation (saved);
    target.plugin->setStateInformation (saved.getData(), static_cast<int> (saved.getSize()));

    EXPECT_EQ (Automation (*target.plugin, 0).values(), changed);
    EXPECT_EQ (processorBlobOf (*target.plugin), processorBlobOf (*source.plugin));
    EXPECT_EQ (processorBlobOf (*source.plugin), hostkit::stateBlobIn (componentState (saved)));
}

TEST (State, BadComponentStatesLeaveTheInstanceAsItWas)
{
    HostedSession session (rate, 512, 2);
    ASSERT_TRUE (session.loaded()) << session.error;
    const auto valuesBefore = scatterAndSettle (session, 13);
    const auto component = componentStateOf (*session.plugin);
    const auto before = hostkit::stateBlobIn (component);

    auto wrongMagic = component;
    static_cast<char*> (wrongMagic.getData())[1] = 'x';
    juce::MemoryOutputStream deep;
    deep.writeInt (static_cast<int> (hostkit::stateBlobMagic));
    deep.writeInt (300000);
    for (int i = 0; i < 100000; ++i)
        deep << "<a>";
    deep.writeByte (0);

    const std::pair<const char*, juce::MemoryBlock> cases[] = {
        {"shorter than the header", juce::MemoryBlock (component.getData(), 5)},
        {"wrong magic", wrongMagic},
        {"cut in half", juce::MemoryBlock (component.getData(), before.getSize() / 2)},
        {"100,000 nested elements", deep.getMemoryBlock()},
    };

    for (const auto& [what, bytes] : cases)
    {
        SCOPED_TRACE (what);
        setComponentState (*session.plugin, bytes);
        EXPECT_EQ (Automation (*session.plugin, 0).values(), valuesBefore);
        EXPECT_EQ (processorBlobOf (*session.plugin), before);
        EXPECT_TRUE (processesFinite (session));
    }
}
