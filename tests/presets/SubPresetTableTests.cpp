#include "StateBlobs.h"
#include "presets/SubPresetTable.h"

#include <gtest/gtest.h>

#include <set>

using namespace testsupport;

namespace
{
std::set<juce::String> parameterIdentifiers()
{
    Rirorezo3AudioProcessor processor;
    std::set<juce::String> identifiers;
    for (auto* parameter : processor.getParameters())
        identifiers.insert (parameterIdentifier (*parameter));
    return identifiers;
}
} // namespace

// The table keeps its own copies of the identifiers and compares them exactly, so a typo would
// silently drop a parameter from its group's files and randomiser.
TEST (SubPresetTable, EachGroupNamesExistingParametersOnceAndEndsItsList)
{
    const auto identifiers = parameterIdentifiers();
    std::set<juce::String> grouped;
    std::set<juce::String> extensions;

    for (int group = 0; group < numberOfSubPresetSlots; ++group)
    {
        SCOPED_TRACE (group);
        const auto& table = SubPresets[group];
        int entry = 0;
        if (group < numberOfSubPresetGroups)
        {
            EXPECT_TRUE (table.title.endsWith (" Sub Preset"));
            EXPECT_EQ (table.folder, "SubPresets");
            EXPECT_TRUE (table.extension.startsWithChar ('.') && extensions.insert (table.extension).second);
            for (; entry < 100 && table.params[entry].flags != SubPresetFlags::endOfList; ++entry)
            {
                const auto& [flags, identifier] = table.params[entry];
                EXPECT_TRUE (flags == SubPresetFlags::stored || flags == SubPresetFlags::storedNotRandomised);
                EXPECT_EQ (identifiers.count (identifier), 1u) << identifier;
                EXPECT_TRUE (grouped.insert (identifier).second) << identifier << " is in two groups";
            }
            ASSERT_LT (entry, 100) << "no end entry";
            EXPECT_TRUE (table.params[entry++].paramID.isEmpty());
        }
        else
        {
            EXPECT_TRUE (table.title.isEmpty() && table.folder.isEmpty() && table.extension.isEmpty());
        }

        for (; entry < 100; ++entry)
            EXPECT_TRUE (table.params[entry].flags == 0 && table.params[entry].paramID.isEmpty()) << entry;
    }
}

TEST (SubPresetTable, ParametersOutsideTheSectionGroupsBelongToNoGroup)
{
    std::set<juce::String> ungrouped = parameterIdentifiers();
    for (int group = 0; group < numberOfSubPresetGroups; ++group)
        for (int entry = 0; SubPresets[group].params[entry].flags != SubPresetFlags::endOfList; ++entry)
            ungrouped.erase (SubPresets[group].params[entry].paramID);

    const std::set<juce::String> expected{"tonePower",
                                          "toneRnd",
                                          "meltChorus",
                                          "meltEchoSend",
                                          "meltDepth",
                                          "meltPower",
                                          "meltFlowPanelSwitch",
                                          "meltDropoutPanelSwitch",
                                          "meltJumpPanelSwitch",
                                          "meltFlowPanelRnd",
                                          "meltDropoutPanelRnd",
                                          "meltJumpPanelRnd",
                                          "echoRnd",
                                          "echoPower",
                                          "ruvuvMelt",
                                          "outputVolume",
                                          "dryWetMix",
                                          "noiseLevel",
                                          "param1",
                                          "param2",
                                          "param3",
                                          "param4",
                                          "param5",
                                          "param6",
                                          "param7",
                                          "param8",
                                          "param9"};
    EXPECT_EQ (ungrouped, expected);
}
