#pragma once

#include "engine/PluginProcessor.h"
#include "presets/ParameterLookup.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <utility>
#include <vector>

// Helpers for tests that write, read and compare plug-in state blobs.
namespace testsupport
{
// The blob framing around any text: magic, the text's length, the text and a zero byte.
inline juce::MemoryBlock blobOfText (const juce::String& text)
{
    juce::MemoryOutputStream out;
    out.writeInt (0x21324356);
    out.writeInt (static_cast<int> (text.getNumBytesAsUTF8()));
    out.write (text.toRawUTF8(), text.getNumBytesAsUTF8());
    out.writeByte (0);
    return out.getMemoryBlock();
}

using Attributes = std::vector<std::pair<juce::String, juce::String>>;

// A state whose root holds one child per attribute list, attributes in the given order. Written
// as text, since an XML element cannot hold an attribute name twice and hand-made states can.
inline juce::MemoryBlock blobOfChildren (const std::vector<Attributes>& children)
{
    juce::String xml ("<?xml version=\"1.0\" encoding=\"UTF-8\"?> <DOD_StateInfo>");
    for (const auto& attributes : children)
    {
        xml << "<DOD_Preset";
        for (const auto& [name, value] : attributes)
            xml << " " << name << "=\"" << value.replace ("&", "&amp;").replace ("\"", "&quot;").replace ("<", "&lt;")
                << "\"";
        xml << "/>";
    }
    return blobOfText (xml + "</DOD_StateInfo>");
}

inline juce::MemoryBlock stateOf (juce::AudioProcessor& processor)
{
    juce::MemoryBlock blob;
    processor.getStateInformation (blob);
    return blob;
}

inline void applyState (juce::AudioProcessor& processor, const juce::MemoryBlock& blob)
{
    processor.setStateInformation (blob.getData(), static_cast<int> (blob.getSize()));
}

inline std::vector<float> parameterValues (juce::AudioProcessor& processor)
{
    std::vector<float> values;
    for (auto* parameter : processor.getParameters())
        values.push_back (parameter->getValue());
    return values;
}

// Moves every parameter away from its default to a value of its own.
inline void scatterParameters (juce::AudioProcessor& processor, int seed = 7)
{
    int index = 0;
    for (auto* parameter : processor.getParameters())
    {
        const auto value = static_cast<float> ((index * 37 + seed * 11) % 101) / 100.0f;
        parameter->setValueNotifyingHost (value);
        ++index;
    }
}

// The preset element of a blob our writer produced.
inline std::unique_ptr<juce::XmlElement> presetElementOf (const juce::MemoryBlock& blob)
{
    auto root = juce::AudioProcessor::getXmlFromBinary (blob.getData(), static_cast<int> (blob.getSize()));
    if (root == nullptr || root->getFirstChildElement() == nullptr)
        return nullptr;
    return std::make_unique<juce::XmlElement> (*root->getFirstChildElement());
}
} // namespace testsupport
