#include "presets/PresetManager.h"

#include "engine/PluginProcessor.h"
#include "presets/PresetFolder.h"

PresetManager::PresetManager (Rirorezo3AudioProcessor* owner) : processor (owner)
{
    rootPath = presetRootPath (processor->getName());

    // A folder that cannot be made leaves empty menus; saves then simply fail.
    if (rootPath.isNotEmpty() && !juce::File (rootPath).exists())
        juce::File (rootPath).createDirectory();
}
