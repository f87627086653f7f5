#include "presets/ParameterLookup.h"
#include "presets/PresetFileAccess.h"
#include "presets/PresetManager.h"

#include "engine/PluginProcessor.h"

#include <cstring>

namespace
{
const char subPresetMagic[4] = {'D', 'O', 'D', '3'};
constexpr juce::int64 valueBytes = 4;

bool isSubPresetGroup (int group)
{
    return group >= 0 && group < numberOfSubPresetGroups;
}

// Calls visit once per four-byte value of the group's files, in file order: with the
// parameter, or with null for a reserved slot.
template <typename Visit>
void forEachStoredValue (const juce::AudioProcessor& processor, const SubPresetST& group, Visit visit)
{
    for (const auto& entry : group.params)
    {
        if (entry.flags == SubPresetFlags::endOfList)
            return;
        if (entry.flags == SubPresetFlags::reservedSlot)
            visit (nullptr);
        else if ((entry.flags & SubPresetFlags::notStoredBit) == 0)
            if (auto* parameter = findParameterByIdentifier (processor, entry.paramID))
                visit (parameter);
    }
}

// The group's menu, titled by the verb and the group's title.
int chooseSubPresetFile (PresetManager& presets, int group, const juce::String& verb, juce::String* path)
{
    const auto& table = SubPresets[group];
    return presets.getFileFromMenu (path, verb + " " + table.title, table.extension, table.folder, "Sub-Preset");
}
} // namespace

void PresetManager::saveSubPreset (int group)
{
    if (!isSubPresetGroup (group))
        return;
    auto chosen = readText (subPresetPaths[group]);
    if (chooseSubPresetFile (*this, group, "Save", &chosen) == 0)
        return;
    if (const auto saved = saveSubPresetFile (group, chosen); saved.failed())
        showSaveFailure (fileNameWithoutExtension (chosen), saved.getErrorMessage());
}

juce::Result PresetManager::saveSubPresetFile (int group, const juce::String& newPath)
{
    if (!isSubPresetGroup (group))
        return juce::Result::fail ("There is no such sub-preset group.");

    juce::MemoryOutputStream contents;
    contents.write (subPresetMagic, sizeof (subPresetMagic));
    forEachStoredValue (*processor, SubPresets[group],
                        [&contents] (juce::AudioProcessorParameter* parameter)
                        { contents.writeFloat (parameter != nullptr ? parameter->getValue() : 0.0f); });

    const auto saved = replaceFileSafely (newPath, contents.getMemoryBlock());
    if (saved.wasOk())
        writeText (subPresetPaths[group], newPath);
    return saved;
}

void PresetManager::loadSubPreset (int group)
{
    if (!isSubPresetGroup (group))
        return;
    if (chooseSubPresetFile (*this, group, "Load", &subPresetPaths[group]) != 0)
        loadSubPresetFile (group, readText (subPresetPaths[group]));
}

void PresetManager::loadSubPresetFile (int group, const juce::String& path)
{
    juce::MemoryBlock contents;
    if (!isSubPresetGroup (group) || !juce::File::isAbsolutePath (path) ||
        !readPresetFile (juce::File (path), contents) || contents.getSize() < sizeof (subPresetMagic) ||
        std::memcmp (contents.getData(), subPresetMagic, sizeof (subPresetMagic)) != 0)
        return;

    juce::MemoryInputStream values (contents, false);
    values.skipNextBytes (sizeof (subPresetMagic));
    forEachStoredValue (*processor, SubPresets[group],
                        [&values] (juce::AudioProcessorParameter* parameter)
                        {
                            // A file that ends early, even inside a value, leaves the rest as it was.
                            if (values.getNumBytesRemaining() < valueBytes)
                                return;
                            const auto value = values.readFloat();
                            if (parameter != nullptr)
                                applyStoredValue (*parameter, value);
                        });
}
