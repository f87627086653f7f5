#include "ParameterAccess.h"
#include "ScratchPresets.h"
#include "StateBlobs.h"
#include "presets/ParameterLookup.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <map>

using namespace testsupport;

namespace
{
constexpr int groupCount = 5;
constexpr size_t fileSizes[groupCount] = {64, 44, 36, 36, 92};

// The group's parameter identifiers in table order.
juce::StringArray identifiersOf (int group)
{
    juce::StringArray identifiers;
    for (const auto& entry : SubPresets[group].params)
    {
        if (entry.flags == SubPresetFlags::endOfList)
            break;
        identifiers.add (entry.paramID);
    }
    return identifiers;
}

juce::String fileOf (const ScratchPresets& scratch, int group)
{
    return scratch.path ("SubPresets/Group" + SubPresets[group].extension);
}

juce::MemoryBlock subPresetBytes (const char* magic, std::initializer_list<float> values, int extraBytes = 0)
{
    juce::MemoryOutputStream out;
    out.write (magic, std::strlen (magic));
    for (const auto value : values)
        out.writeFloat (value);
    for (int i = 0; i < extraBytes; ++i)
        out.writeByte (0x3f);
    return out.getMemoryBlock();
}

// Counts the change notifications that reach one parameter's listeners.
struct NotificationCounter : juce::AudioProcessorParameter::Listener
{
    void parameterValueChanged (int, float) override { ++count; }
    void parameterGestureChanged (int, bool) override {}
    int count = 0;
};
} // namespace

TEST (SubPresetFile, EachGroupsFileIsTheMagicThenItsValuesInTableOrder)
{
    ScratchPresets scratch;
    scatterParameters (*scratch.processor, 5);

    for (int group = 0; group < groupCount; ++group)
    {
        SCOPED_TRACE (group);
        // Saved twice: the second save replaces the first rather than adding to it.
        for (int save = 0; save < 2; ++save)
            scratch.presets.saveSubPresetFile (group, fileOf (scratch, group));
        EXPECT_EQ (scratch.presets.subPresetPaths[group], fileOf (scratch, group));

        const auto bytes = contentsOf (juce::File (fileOf (scratch, group)));
        ASSERT_EQ (bytes.getSize(), fileSizes[group]);
        EXPECT_EQ (std::memcmp (bytes.getData(), "DOD3", 4), 0);
        const auto identifiers = identifiersOf (group);
        for (int k = 0; k < identifiers.size(); ++k)
        {
            const auto bits = juce::ByteOrder::littleEndianInt (static_cast<const char*> (bytes.getData()) + 4 + 4 * k);
            float stored;
            std::memcpy (&stored, &bits, sizeof (stored));
            EXPECT_EQ (stored, testsupport::normalisedValueOf (*scratch.processor, identifiers[k])) << identifiers[k];
        }
    }
}

TEST (SubPresetFile, LoadingSetsExactlyTheGroupsParametersAndNotifiesTheirListeners)
{
    ScratchPresets source;
    scatterParameters (*source.processor, 5);
    for (int group = 0; group < groupCount; ++group)
        source.presets.saveSubPresetFile (group, fileOf (source, group));

    for (int group = 0; group < groupCount; ++group)
    {
        SCOPED_TRACE (group);
        ScratchPresets target;
        scatterParameters (*target.processor, 9);
        const auto identifiers = identifiersOf (group);
        std::vector<NotificationCounter> counters (static_cast<size_t> (identifiers.size()));
        for (int k = 0; k < identifiers.size(); ++k)
            findParameterByIdentifier (*target.processor, identifiers[k])->addListener (&counters[(size_t)k]);
        const auto before = parameterValues (*target.processor);

        target.presets.loadSubPresetFile (group, fileOf (source, group));

        const auto& parameters = target.processor->getParameters();
        for (int i = 0; i < parameters.size(); ++i)
        {
            const auto identifier = parameterIdentifier (*parameters[i]);
            const auto expected = identifiers.contains (identifier)
                                      ? testsupport::normalisedValueOf (*source.processor, identifier)
                                      : before[(size_t)i];
            EXPECT_EQ (parameters[i]->getValue(), expected) << identifier;
        }
        for (int k = 0; k < identifiers.size(); ++k)
        {
            EXPECT_EQ (counters[(size_t)k].count, 1) << identifiers[k];
            findParameterByIdentifier (*target.processor, identifiers[k])->removeListener (&counters[(size_t)k]);
        }
    }
}

TEST (SubPresetFile, BadFilesSetOnlyTheWholeSensibleValuesTheyHold)
{
    const auto nan = std::numeric_limits<float>::quiet_NaN();
    const auto infinity = std::numeric_limits<float>::infinity();
    // Group 0 begins toneDrive, toneLowCut, toneLowFreq, toneLowQ.
    const struct
    {
        const char* what;
        juce::MemoryBlock bytes;
        std::map<juce::String, float> changes;
    } cases[] = {
        {"another magic", subPresetBytes ("DOD4", {0.25f, 0.5f}), {}},
        {"shorter than the magic", subPresetBytes ("DOD", {}), {}},
        {"a value cut short", subPresetBytes ("DOD3", {0.25f, 0.5f}, 2), {{"toneDrive", 0.25f}, {"toneLowCut", 0.5f}}},
        {"values outside the unit range or not numbers",
         subPresetBytes ("DOD3", {nan, 5.0f, -1.0f, infinity}),
         {{"toneLowCut", 1.0f}, {"toneLowFreq", 0.0f}}},
        {"more values than the group holds",
         subPresetBytes ("DOD3", {0.25f, 0.25f, 0.25f, 0.25f, 0.25f, 0.25f, 0.25f, 0.25f, 0.25f, 0.25f, 0.25f, 0.25f,
                                  0.25f, 0.25f, 0.25f, 0.75f}),
         []
         {
             std::map<juce::String, float> all;
             for (const auto& identifier : identifiersOf (0))
                 all[identifier] = 0.25f;
             return all;
         }()},
    };

    // What a parameter holds once set to a value: some snap to their steps.
    Rirorezo3AudioProcessor reference;
    const auto settled = [&reference] (const juce::String& identifier, float value)
    {
        auto* parameter = findParameterByIdentifier (reference, identifier);
        parameter->setValue (value);
        return parameter->getValue();
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        ScratchPresets scratch;
        scatterParameters (*scratch.processor, 9);
        const auto before = parameterValues (*scratch.processor);
        const auto file = scratch.place ("SubPresets/Bad.Tsp", c.bytes);

        scratch.presets.loadSubPresetFile (0, file.getFullPathName());

        const auto& parameters = scratch.processor->getParameters();
        for (int i = 0; i < parameters.size(); ++i)
        {
            const auto identifier = parameterIdentifier (*parameters[i]);
            const auto change = c.changes.find (identifier);
            EXPECT_EQ (parameters[i]->getValue(),
                       change != c.changes.end() ? settled (identifier, change->second) : before[(size_t)i])
                << identifier;
        }
    }
}

TEST (SubPresetFile, GroupsOutsideTheTableWriteAndReadNothing)
{
    ScratchPresets scratch;
    scratch.presets.saveSubPresetFile (0, fileOf (scratch, 0));
    scatterParameters (*scratch.processor, 9);
    const auto before = parameterValues (*scratch.processor);
    const auto files = scratch.snapshot();

    for (const int group : {-1, 5, 19, 20})
    {
        scratch.presets.saveSubPresetFile (group, scratch.path ("SubPresets/Other.Tsp"));
        scratch.presets.loadSubPresetFile (group, fileOf (scratch, 0));
    }

    EXPECT_EQ (scratch.snapshot(), files);
    EXPECT_EQ (parameterValues (*scratch.processor), before);
}
