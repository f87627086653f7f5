#include "ui/panels/SectionRandomiser.h"

#include "engine/PluginProcessor.h"
#include "engine/RandomGenerator.h"
#include "presets/ParameterLookup.h"
#include "presets/PresetManager.h"
#include "presets/SubPresetTable.h"

void randomiseSubPresetGroup (Rirorezo3AudioProcessor& processor, int group)
{
    if (group < 0 || group >= numberOfSubPresetSlots)
        return;

    // The parameter list is reached through the preset manager, as the sub-preset loader does.
    auto& owner = *processor.presetManager->processor;
    for (const auto& entry : SubPresets[group].params)
    {
        if (entry.flags == SubPresetFlags::endOfList)
            break;
        if ((entry.flags & SubPresetFlags::notRandomisedBits) != 0)
            continue;
        auto* parameter = findParameterByIdentifier (owner, entry.paramID);
        if (parameter == nullptr)
            continue;
        applyStoredValue (*parameter, static_cast<float> (drawRandom (SeedX, XorU)));
    }
}
