#pragma once

#include "parameters/PluginParameters.h"

#include <map>

namespace testsupport
{
// Whether each attachment slot holds an attachment, by parameter identifier.
inline std::map<juce::String, bool> occupiedSlots (const PluginParameters& parameters)
{
    std::map<juce::String, bool> slots;
#define PARAM_ANY(stem, ...) slots[PluginParameters::stem##ID] = parameters.stem##Attachment != nullptr;
#include "parameters/ForEachParameter.h"
    return slots;
}

// The occupancy every slot should have when exactly the given control groups ("Tone",
// "ToneHidden", "Master", ...) have live panels.
inline std::map<juce::String, bool> slotsOccupiedByGroups (const juce::StringArray& groups)
{
    std::map<juce::String, bool> slots;
#define PARAM_ANY(stem, group, ...) slots[PluginParameters::stem##ID] = groups.contains (#group);
#include "parameters/ForEachParameter.h"
    return slots;
}
} // namespace testsupport
