#include "presets/PresetFileAccess.h"
#include "presets/PresetManager.h"

#include "engine/PluginProcessor.h"

namespace
{
const juce::String presetExtension (".dod");
const juce::String presetFolder ("Presets");
const juce::String presetType ("Preset");
} // namespace

void PresetManager::savePreset (juce::String* path)
{
    auto chosen = readText (*path);
    if (getFileFromMenu (&chosen, "Save Preset", presetExtension, presetFolder, presetType) > 0)
        savePresetFile (path, chosen);
}

void PresetManager::savePresetFile (juce::String* path, const juce::String& newPath)
{
    if (!juce::File::isAbsolutePath (newPath))
        return;

    // The state names the file it is saved in, so the path changes before the state is taken.
    const auto previousPath = readText (*path);
    writeText (*path, newPath);
    juce::MemoryBlock state;
    processor->getStateInformation (state);

    if (!replaceFileSafely (juce::File (newPath), state))
    {
        writeText (*path, previousPath);
        return;
    }
    writeText (presetName, fileNameWithoutExtension (newPath));
}

void PresetManager::loadPreset (juce::String* path)
{
    if (getFileFromMenu (path, "Load Preset", presetExtension, presetFolder, presetType) != 0)
        loadPresetFile (readText (*path));
}

void PresetManager::loadPresetFile (const juce::String& path)
{
    juce::MemoryBlock contents;
    if (!juce::File::isAbsolutePath (path) || !readPresetFile (juce::File (path), contents))
        return;

    writeText (presetName, fileNameWithoutExtension (path));
    // The file keeps the path it was chosen under, whatever path is stored inside it.
    loadingPresetFile = -1;
    processor->setStateInformation (contents.getData(), static_cast<int> (contents.getSize()));
    loadingPresetFile = 0;
}

int PresetManager::getNextPrevFile (int direction, juce::String* path, juce::String title, juce::String extension,
                                    juce::String folder, juce::String)
{
    startMenuBuild (title, 0);
    currentItemId = -1;
    const int found = getDirMenu (readText (rootPath) + directorySeperator + folder, extension, path);

    if (found != 0 && currentItemId != -1)
    {
        // The current folder's files lie between two empty entries; stepping past one end wraps
        // around to the other.
        const auto isFile = [this] (int index) { return fileList[index].getFullPathName().isNotEmpty(); };
        const int current = currentItemId - 1;
        const int step = direction >= 0 ? 1 : -1;
        int target = current + step;
        if (!isFile (target))
        {
            target = current;
            while (isFile (target - step))
                target -= step;
        }
        writeText (*path, fileList[target].getFullPathName());
    }

    clearMenuBuild();
    return found != 0 ? 1 : 0;
}
