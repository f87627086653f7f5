#include "presets/FolderListing.h"
#include "presets/PresetFileAccess.h"
#include "presets/PresetManager.h"

#include "engine/PluginProcessor.h"

#include <algorithm>

namespace
{
const juce::String presetExtension (".dod");
const juce::String presetFolder ("Presets");
const juce::String presetType ("Preset");

// Whether the path names an entry below the folder as a menu build lists it: the folder's path,
// then plain names, so no "." or ".." leads out of the folder.
bool liesBelow (const juce::String& path, const juce::File& folder)
{
    const auto prefix = folder.getFullPathName() + directorySeperator;
    if (!path.startsWith (prefix))
        return false;
    const auto names = juce::StringArray::fromTokens (path.substring (prefix.length()), directorySeperator, {});
    return std::none_of (names.begin(), names.end(),
                         [] (const juce::String& name) { return name.isEmpty() || name == "." || name == ".."; });
}
} // namespace

void PresetManager::savePreset (juce::String* path)
{
    auto chosen = readText (*path);
    if (getFileFromMenu (&chosen, "Save Preset", presetExtension, presetFolder, presetType) <= 0)
        return;
    if (const auto saved = savePresetFile (path, chosen); saved.failed())
        showSaveFailure (fileNameWithoutExtension (chosen), saved.getErrorMessage());
}

juce::Result PresetManager::savePresetFile (juce::String* path, const juce::String& newPath)
{
    // The state names the file it is saved in, so the path changes before the state is taken.
    const auto previousPath = readText (*path);
    writeText (*path, newPath);
    juce::MemoryBlock state;
    processor->getStateInformation (state);

    const auto saved = replaceFileSafely (newPath, state);
    if (saved.failed())
    {
        writeText (*path, previousPath);
        return saved;
    }
    writeText (presetName, fileNameWithoutExtension (newPath));
    return saved;
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

int PresetManager::getNextPrevFile (int direction, juce::String* path, juce::String, juce::String extension,
                                    juce::String folder, juce::String)
{
    const juce::File tree (readText (rootPath) + directorySeperator + folder);
    const auto current = readText (*path);

    // Only the current file's folder is listed, in the menu's order, so a step costs the same in
    // a library of any size; the first and last files are neighbours.
    if (liesBelow (current, tree))
    {
        const auto files =
            listInMenuOrder (juce::File (current).getParentDirectory(), "*" + extension, juce::File::findFiles);
        const auto here =
            std::find_if (files.begin(), files.end(),
                          [&current] (const juce::File& file) { return file.getFullPathName() == current; });
        if (here != files.end())
        {
            const auto count = files.size();
            const auto index = static_cast<size_t> (here - files.begin());
            const auto target = (index + (direction >= 0 ? 1 : count - 1)) % count;
            writeText (*path, files[target].getFullPathName());
            return 1;
        }
    }

    // A path that names no file of the tree stays as it is; the result says whether the tree
    // holds any preset at all.
    juce::StringArray walkedFolders;
    return countMatchingFiles (tree, extension, walkedFolders, 1) > 0 ? 1 : 0;
}
