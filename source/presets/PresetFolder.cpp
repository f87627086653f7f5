#include "presets/PresetFolder.h"

#include "presets/SubPresetTable.h"

juce::String presetRootPath (const juce::String& pluginName)
{
#if JUCE_MAC
    const auto documents = juce::File::commonDocumentsDirectory;
#else
    // The machine-wide documents folder has no writable counterpart here.
    const auto documents = juce::File::userDocumentsDirectory;
#endif
    return juce::File::getSpecialLocation (documents).getFullPathName() + directorySeperator + pluginName;
}
