#include "presets/FolderListing.h"
#include "presets/PresetFileAccess.h"
#include "presets/PresetManager.h"

#include <vector>

namespace
{
// Item ids by range: a file's id is its file list index + 1, the two folder entries add their
// index to these.
constexpr int lastFileId = 4999;
constexpr int newFolderIdBase = 5001;
constexpr int lastNewFolderId = 5999;
constexpr int saveAsIdBase = 6001;
// The disabled item that counts what a build left out; answered as no choice should it come back.
constexpr int unlistedCountItemId = -1;

// Why a typed name cannot name a file or folder inside the folder it is typed for; empty when it can.
juce::String problemWithTypedName (const juce::String& name)
{
    if (name == "." || name == "..")
        return "A name cannot be \".\" or \"..\".";
    if (name.containsAnyOf ("/\\"))
        return "A name cannot contain \"/\" or \"\\\".";
    return {};
}
} // namespace

// What one menu build carries down its walk.
struct PresetManager::MenuWalk
{
    juce::String extension;
    juce::String currentPath;
    juce::StringArray walkedFolders;
    // Set once the menus or the file ids run out: from then on the walk lists nothing and only
    // counts, so what is left out is the end of the menu's order.
    bool full = false;
};

int PresetManager::getUserText (juce::String title, juce::String message, juce::String label, juce::String initialText,
                                juce::String* result)
{
    juce::AlertWindow window (title, message, juce::MessageBoxIconType::NoIcon, nullptr);
    window.addTextEditor ("UText", initialText, label, false);
    window.addButton ("Confirm", 1);
    window.addButton ("Cancel", 0);
    if (window.runModalLoop() == 0)
        return 0;

    const auto text = window.getTextEditorContents ("UText");
    if (text.isEmpty())
        return 0;
    *result = text;
    return 1;
}

int PresetManager::getUserYesNo (juce::String question)
{
    juce::AlertWindow window (question, {}, juce::MessageBoxIconType::NoIcon, nullptr);
    window.addButton ("No", 0);
    window.addButton ("Yes", 1);
    return window.runModalLoop();
}

void PresetManager::showSaveFailure (const juce::String& name, const juce::String& reason)
{
    juce::AlertWindow window ("Save Failed", "\"" + name + "\" could not be saved. " + reason,
                              juce::MessageBoxIconType::NoIcon, nullptr);
    window.addButton ("OK", 0);
    window.runModalLoop();
}

int PresetManager::getDirMenu (juce::String folderPath, juce::String extension, juce::String* currentPath)
{
    MenuWalk walk{extension, readText (*currentPath), {}};
    return addFolderToMenu (juce::File (folderPath), walk);
}

int PresetManager::addFolderToMenu (const juce::File& folder, MenuWalk& walk)
{
    auto& menu = menus[lastMenuIndex];
    walk.walkedFolders.addIfNotAlreadyThere (resolvedFolder (folder));
    int count = 0;

    struct SubFolder
    {
        juce::File folder;
        int menuIndex;
    };
    std::vector<SubFolder> kept;
    // Walked in the order the menu lists them, so the limits leave out the same folders on
    // every machine.
    for (const auto& subFolder : listInMenuOrder (folder, "*", juce::File::findDirectories))
    {
        // A folder reached again through a link is not walked twice, so link loops end.
        if (walk.walkedFolders.contains (resolvedFolder (subFolder)))
            continue;
        if (lastMenuIndex + 1 >= maximumMenus)
            walk.full = true;
        if (walk.full)
        {
            unlistedFileCount += countMatchingFiles (subFolder, walk.extension, walk.walkedFolders);
            continue;
        }

        const int menuIndex = ++lastMenuIndex;
        const int found = addFolderToMenu (subFolder, walk);
        if (found != 0 || saveMode != 0)
            kept.push_back ({subFolder, menuIndex});
        count += found;
    }

    for (const auto& subFolder : kept)
        menu.addSubMenu (subFolder.folder.getFileNameWithoutExtension(), menus[subFolder.menuIndex], true);

    if (saveMode != 0)
    {
        // Ids that would leave their range are left out; the list keeps its layout.
        if (newFolderIdBase + fileCount <= lastNewFolderId)
            menu.addItem (newFolderIdBase + fileCount, "NEW FOLDER...");
        fileList.add (folder);
        ++fileCount;
        menu.addSeparator();
        menu.addItem (saveAsIdBase + fileCount, "Save-As...");
        fileList.add (folder);
        ++fileCount;
    }
    menu.addSeparator();

    // Empty entries bracket each folder's files: navigation finds a folder's ends by them.
    fileList.add (juce::File (pmDummy));
    ++fileCount;
    for (const auto& file : listInMenuOrder (folder, "*" + walk.extension, juce::File::findFiles))
    {
        const int id = fileCount + 1;
        if (id > lastFileId)
            walk.full = true;
        if (walk.full)
        {
            ++unlistedFileCount;
            continue;
        }

        const bool isCurrent = file.getFullPathName() == walk.currentPath;
        if (isCurrent)
            tickedItemId = currentItemId = id;
        menu.addItem (id, file.getFileNameWithoutExtension(), true, isCurrent);
        fileList.add (file);
        ++fileCount;
        ++count;
    }
    fileList.add (juce::File (pmDummy));
    ++fileCount;

    return count;
}

void PresetManager::startMenuBuild (const juce::String& title, int mode)
{
    fileCount = 0;
    lastMenuIndex = 0;
    tickedItemId = 0;
    saveMode = mode;
    unlistedFileCount = 0;
    clearMenuBuild();
    menus[0].addSectionHeader (title);
    menus[0].addSeparator();
}

void PresetManager::clearMenuBuild()
{
    fileList.clearQuick();
    fileList.minimiseStorageOverheads();
    for (auto& menu : menus)
        menu.clear();
}

int PresetManager::getFileFromMenu (juce::String* path, juce::String title, juce::String extension, juce::String folder,
                                    juce::String type)
{
    startMenuBuild (title, title.containsIgnoreCase ("save") ? -1 : 0);
    const int found = getDirMenu (readText (rootPath) + directorySeperator + folder, extension, path);
    if (unlistedFileCount > 0)
    {
        menus[0].addSeparator();
        menus[0].addItem (unlistedCountItemId,
                          juce::String (unlistedFileCount) + " " + type.toLowerCase() +
                              (unlistedFileCount == 1 ? "" : "s") + " not listed",
                          false);
    }

    int result = 0;
    if (found != 0 || unlistedFileCount != 0 || saveMode != 0)
    {
        const juce::WeakReference<PresetManager> self (this);
        const int chosenId = menus[0].show (tickedItemId, 0, 1, 0);
        if (self == nullptr)
            return 0;
        result = answerMenuChoice (chosenId, path, title, extension, folder, type);
        if (self == nullptr)
            return 0;
    }

    clearMenuBuild();
    return result;
}

int PresetManager::answerMenuChoice (int chosenId, juce::String* path, const juce::String& title,
                                     const juce::String& extension, const juce::String& folder,
                                     const juce::String& type)
{
    const auto entryFor = [this] (int index) { return fileList[index].getFullPathName(); };
    // Each dialog is a modal loop, inside which a host may delete the plug-in: an answer that
    // comes back to a manager that is gone counts as none.
    const juce::WeakReference<PresetManager> self (this);
    const auto answered = [&self] (int answer) { return answer != 0 && self != nullptr; };

    if (chosenId <= 0)
        return 0;

    if (chosenId <= lastFileId)
    {
        const auto file = entryFor (chosenId - 1);
        if (file.isEmpty() ||
            (saveMode != 0 && !answered (getUserYesNo ("Overwrite " + fileNameWithoutExtension (file) + " ?"))))
            return 0;
        writeText (*path, file);
        return 1;
    }

    if (chosenId <= lastNewFolderId)
    {
        const auto parent = entryFor (chosenId - newFolderIdBase);
        juce::String name;
        if (parent.isEmpty() ||
            !answered (getUserText ("NEW FOLDER", "Enter New Folder Name", "Folder Name: ", {}, &name)) ||
            problemWithTypedName (name).isNotEmpty())
            return 0;
        juce::File (parent + directorySeperator + name).createDirectory();
        return getFileFromMenu (path, title, extension, folder, type);
    }

    const auto parent = entryFor (chosenId - saveAsIdBase);
    juce::String name;
    if (parent.isEmpty() || !answered (getUserText ("Save As", "Enter New " + type + " Name", type + " Name: ",
                                                    fileNameWithoutExtension (readText (*path)), &name)))
        return 0;
    if (const auto problem = problemWithTypedName (name); problem.isNotEmpty())
    {
        showSaveFailure (name, problem);
        return 0;
    }

    const juce::File target (parent + directorySeperator + name + extension);
    if (target.isDirectory() || (target.exists() && !answered (getUserYesNo ("Overwrite " + name + " ?"))))
        return 0;
    writeText (*path, target.getFullPathName());
    return 1;
}
