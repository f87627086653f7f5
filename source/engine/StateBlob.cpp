#include "engine/PluginProcessor.h"

#include "presets/ParameterLookup.h"
#include "presets/PresetFileAccess.h"
#include "presets/PresetManager.h"

#include <cmath>
#include <cstring>

namespace
{
constexpr juce::uint32 stateMagic = 0x21324356;
constexpr int headerBytes = 8;

// Deep nesting overflows the XML parser's stack, so such a text is refused before parsing;
// our own state nests two levels.
constexpr int maximumNesting = 32;
// Our states hold 133 attributes. Walking attributes by position costs the square of their
// count, so a hand-made state with far more is refused rather than stalling the host.
constexpr int maximumAttributes = 1024;
constexpr double maximumEditorSide = 16384.0;

const juce::String presetPathKey ("PresetPathName:");
const juce::String subPresetKey ("SubPreset:");
const juce::String textEntryKey ("TxEnt:");
const juce::String widthKey ("GUI_W:");
const juce::String heightKey ("GUI_H:");

constexpr int currentLayoutFirstParameter = 43;
constexpr int middleLayoutFirstParameter = 23;
constexpr int olderLayoutFirstParameter = 3;

// True when the markup nests no deeper than the limit and declares no document type (entity
// definitions can make the parser recurse without end). Counts tags as the parser does: any
// closing tag closes the innermost element, and quoted values may hold '>' or '/'.
bool isSafeToParse (const char* text, size_t length)
{
    static constexpr char doctype[] = "<!DOCTYPE";
    int depth = 0;

    for (size_t i = 0; i < length; ++i)
    {
        if (text[i] != '<')
            continue;

        const char next = i + 1 < length ? text[i + 1] : '\0';
        if (next == '/')
        {
            depth = juce::jmax (0, depth - 1);
            continue;
        }
        if (next == '!' && length - i >= sizeof (doctype) - 1 &&
            std::memcmp (text + i, doctype, sizeof (doctype) - 1) == 0)
            return false;
        if (next == '?' || next == '!')
            continue;

        if (++depth > maximumNesting)
            return false;

        char quote = '\0';
        size_t end = i + 1;
        for (; end < length; ++end)
        {
            const char c = text[end];
            if (quote != '\0')
            {
                if (c == quote)
                    quote = '\0';
            }
            else if (c == '"' || c == '\'')
                quote = c;
            else if (c == '>')
                break;
        }

        if (end < length && text[end - 1] == '/')
            depth = juce::jmax (0, depth - 1);
        i = end;
    }
    return true;
}

// The document inside a state blob, or null when the bytes are not one we can safely read.
std::unique_ptr<juce::XmlElement> parseStateDocument (const void* data, int sizeInBytes)
{
    if (data == nullptr || sizeInBytes < headerBytes + 1)
        return {};

    const auto* bytes = static_cast<const char*> (data);
    if (juce::ByteOrder::littleEndianInt (bytes) != stateMagic)
        return {};

    const auto declaredLength = static_cast<juce::int32> (juce::ByteOrder::littleEndianInt (bytes + 4));
    if (declaredLength < 1)
        return {};

    auto length = juce::jmin (static_cast<size_t> (declaredLength), static_cast<size_t> (sizeInBytes - headerBytes));
    if (const auto* zero = std::memchr (bytes + headerBytes, 0, length))
        length = static_cast<size_t> (static_cast<const char*> (zero) - (bytes + headerBytes));

    if (length == 0 || !isSafeToParse (bytes + headerBytes, length))
        return {};

    // JUCE's strings assume well-formed UTF-8 (a broken sequence makes them copy past their end),
    // and even its check may look a few bytes ahead: it checks a copy with zeros behind.
    juce::MemoryBlock text (length + 4, true);
    text.copyFrom (bytes + headerBytes, 0, length);
    const auto* xml = static_cast<const char*> (text.getData());
    if (!juce::CharPointer_UTF8::isValidString (xml, static_cast<int> (length)))
        return {};

    auto document = juce::parseXML (juce::String::fromUTF8 (xml, static_cast<int> (length)));
    if (document == nullptr)
        return {};

    int elementChildren = 0;
    int attributes = 0;
    for (auto* child : document->getChildIterator())
    {
        if (child->isTextElement())
            continue;
        ++elementChildren;
        attributes += child->getNumAttributes();
        if (attributes > maximumAttributes)
            return {};
    }

    if (elementChildren == 0)
        return {};
    return document;
}

// A stored editor side; sizes no screen has, or not numbers, mean that none was stored.
int editorSide (const juce::XmlElement& element, const juce::String& key)
{
    const auto side = element.getDoubleAttribute (key);
    if (!std::isfinite (side) || side < 0.0 || side > maximumEditorSide)
        return 0;
    return static_cast<int> (side);
}
} // namespace

void Rirorezo3AudioProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    auto& presets = *presetManager;

    juce::XmlElement root ("DOD_StateInfo");
    auto* preset = new juce::XmlElement ("DOD_Preset");

    {
        // The texts of one moment: a state read meanwhile on another thread replaces them whole.
        const juce::ScopedLock lock (presets.textLock);
        preset->setAttribute (presetPathKey, presets.presetPath);
        for (int k = 1; k <= numberOfSubPresetSlots; ++k)
            preset->setAttribute (subPresetKey + juce::String (k), presets.subPresetPaths[k - 1]);
        for (int k = 1; k <= PresetManager::numberOfTextEntries; ++k)
            preset->setAttribute (textEntryKey + juce::String (k), presets.textEntries[k - 1]);
    }

    // Saving the state also fixes the size the next editor opens with.
    const int width = presets.editorWidth;
    presets.savedEditorWidth = width;
    preset->setAttribute (widthKey, static_cast<double> (width));
    const int height = presets.editorHeight;
    presets.savedEditorHeight = height;
    preset->setAttribute (heightKey, static_cast<double> (height));

    for (auto* parameter : getParameters())
        preset->setAttribute (parameterIdentifier (*parameter), static_cast<double> (parameter->getValue()));

    root.addChildElement (preset);
    copyXmlToBinary (root, destData);
}

void Rirorezo3AudioProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    const auto document = parseStateDocument (data, sizeInBytes);
    if (document == nullptr)
        return;

    auto& presets = *presetManager;

    for (auto* child : document->getChildIterator())
    {
        if (child->isTextElement())
            continue;

        presets.presetElement = child;
        const int attributeCount = child->getNumAttributes();
        int firstParameter = olderLayoutFirstParameter;

        {
            // Written whole, so a state saved meanwhile on another thread holds one state's texts.
            const juce::ScopedLock lock (presets.textLock);
            if (child->hasAttribute (presetPathKey))
            {
                // A preset file being loaded keeps the path it was chosen under.
                if (presets.loadingPresetFile == 0)
                    presets.presetPath = child->getStringAttribute (presetPathKey);
                presets.presetName = fileNameWithoutExtension (presets.presetPath);

                for (int k = 1; k <= numberOfSubPresetSlots; ++k)
                    presets.subPresetPaths[k - 1] = child->getStringAttribute (subPresetKey + juce::String (k));

                firstParameter = middleLayoutFirstParameter;
                if (child->hasAttribute (textEntryKey + "1"))
                {
                    for (int k = 1; k <= PresetManager::numberOfTextEntries; ++k)
                        presets.textEntries[k - 1] = child->getStringAttribute (textEntryKey + juce::String (k));
                    firstParameter = currentLayoutFirstParameter;
                }
            }
            else
            {
                // The oldest layout names the preset by its first attribute.
                presets.presetName =
                    attributeCount > 0 ? child->getAttributeName (0).replace ("_", " ") : juce::String();
            }
        }

        auto width = editorSide (*child, widthKey);
        auto height = editorSide (*child, heightKey);
        // An editor cannot open with a side of 0: such a size counts as none stored.
        if (width == 0 || height == 0)
            width = height = 0;
        presets.savedEditorWidth = width;
        presets.editorWidth = width;
        presets.savedEditorHeight = height;
        presets.editorHeight = height;

        if (presets.editorSizePending != 0)
            presets.resizeUnpaintedEditor (width, height);

        for (int i = firstParameter; i < attributeCount; ++i)
        {
            const auto& name = child->getAttributeName (i);
            if (auto* parameter = findParameterByIdentifier (*this, name))
                applyStoredValue (*parameter, child->getDoubleAttribute (name));
        }
    }

    presets.presetElement = nullptr;
}

void Rirorezo3AudioProcessor::loadDefaultPreset()
{
    auto& presets = *presetManager;
    const juce::File file (presets.readText (presets.rootPath) + directorySeperator + "Presets" + directorySeperator +
                           "Default" + ".dod");

    juce::MemoryBlock contents;
    if (!readPresetFile (file, contents))
        return;

    presets.writeText (presets.presetName, file.getFileName());
    setStateInformation (contents.getData(), static_cast<int> (contents.getSize()));
}
