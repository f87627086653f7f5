#include "PresetLibrary.h"
#include "ScratchPresets.h"

#include <gtest/gtest.h>

#include <functional>

using namespace testsupport;

namespace
{
class FolderMenu : public testing::Test
{
protected:
    // One build of the "Presets" tree's menu as the menus start it, without showing it.
    int build (bool saveMode, const juce::String& currentPath = {})
    {
        return presetlibrary::buildMenu (scratch.presets, scratch.path ("Presets"), ".dod", saveMode, currentPath);
    }

    // The menu on one line: "-" for a separator, a sub-menu as its label with its items in
    // brackets, an item as its label, "*" when ticked, then what its id leads to in the file
    // list: a file's name, or "new:" or "as:" and the folder's name for the two folder items.
    juce::String describe (const juce::PopupMenu& menu) const
    {
        juce::StringArray items;
        for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
        {
            const auto& item = it.getItem();
            if (item.isSeparator)
                items.add ("-");
            else if (item.subMenu != nullptr)
                items.add (item.text + "[" + describe (*item.subMenu) + "]");
            else
            {
                const auto id = item.itemID;
                const auto kind = id >= 6000 ? "as:" : id >= 5000 ? "new:" : "";
                const auto index = id >= 6000 ? id - 6001 : id >= 5000 ? id - 5001 : id - 1;
                items.add (item.text + (item.isTicked ? "*" : "") + ">" + kind +
                           scratch.presets.fileList[index].getFileName());
            }
        }
        return items.joinIntoString (" | ");
    }

    ScratchPresets scratch;
};

// Each item of the menu and its sub-menus, depth first.
void forEachItem (const juce::PopupMenu& menu, const std::function<void (const juce::PopupMenu::Item&)>& visit)
{
    for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
    {
        visit (it.getItem());
        if (it.getItem().subMenu != nullptr)
            forEachItem (*it.getItem().subMenu, visit);
    }
}
} // namespace

TEST_F (FolderMenu, ListsMatchingFilesAndFoldersSortedIgnoringCaseAndTicksTheCurrentFile)
{
    for (const auto* name : {"Ash.dod", "Ash Two.dod", "birch.dod", "Cedar.dod", "notes.txt", "Old.Set/Fir.dod",
                             "alpha/Deep/Pine.dod", "alpha/readme.txt"})
        scratch.place (juce::String ("Presets/") + name);
    scratch.folder ("Presets/Empty");
    const auto ash = scratch.path ("Presets/Ash.dod");

    EXPECT_EQ (build (false, ash), 6);
    // JUCE adds no separator at the top of a menu.
    EXPECT_EQ (describe (scratch.presets.menus[0]), "alpha[Deep[Pine>Pine.dod] | -] | Old[Fir>Fir.dod] | - | "
                                                    "Ash Two>Ash Two.dod | Ash*>Ash.dod | birch>birch.dod | "
                                                    "Cedar>Cedar.dod");
    EXPECT_EQ (scratch.presets.currentItemId, scratch.presets.tickedItemId);
    EXPECT_EQ (scratch.presets.fileList[scratch.presets.tickedItemId - 1].getFullPathName(), ash);

    EXPECT_EQ (build (true, ash), 6);
    EXPECT_EQ (describe (scratch.presets.menus[0]),
               "alpha[Deep[NEW FOLDER...>new:Deep | - | Save-As...>as:Deep | - | Pine>Pine.dod] | "
               "NEW FOLDER...>new:alpha | - | Save-As...>as:alpha | -] | "
               "Empty[NEW FOLDER...>new:Empty | - | Save-As...>as:Empty | -] | "
               "Old[NEW FOLDER...>new:Old.Set | - | Save-As...>as:Old.Set | - | Fir>Fir.dod] | "
               "NEW FOLDER...>new:Presets | - | Save-As...>as:Presets | - | "
               "Ash Two>Ash Two.dod | Ash*>Ash.dod | birch>birch.dod | Cedar>Cedar.dod");

    // Only the exact path is the current file.
    build (false, ash.toUpperCase());
    EXPECT_EQ (scratch.presets.tickedItemId, 0);
    EXPECT_FALSE (describe (scratch.presets.menus[0]).contains ("*"));
}

TEST_F (FolderMenu, FileListBracketsEachFoldersFilesAndItemIdsFollowItsIndices)
{
    scratch.place ("Presets/Ash.dod");
    scratch.place ("Presets/Sub/Cedar.dod");
    build (true);

    juce::StringArray entries;
    for (const auto& file : scratch.presets.fileList)
        entries.add (file == juce::File() ? "()" : file.getRelativePathFrom (scratch.root));
    EXPECT_EQ (entries.joinIntoString (","), "Presets/Sub,Presets/Sub,(),Presets/Sub/Cedar.dod,(),Presets,Presets,(),"
                                             "Presets/Ash.dod,()");
    EXPECT_EQ (scratch.presets.fileCount, 10);

    juce::StringArray ids;
    forEachItem (scratch.presets.menus[0],
                 [&ids] (const juce::PopupMenu::Item& item)
                 {
                     if (!item.isSeparator)
                         ids.add (item.text + "=" + juce::String (item.itemID));
                 });
    EXPECT_EQ (ids.joinIntoString (","), "Sub=0,NEW FOLDER...=5001,Save-As...=6002,Cedar=4,NEW FOLDER...=5006,"
                                         "Save-As...=6007,Ash=9");
}

TEST_F (FolderMenu, EmptyOrMissingFolderListsNothingButStillOffersNewNames)
{
    for (const bool exists : {false, true})
    {
        SCOPED_TRACE (exists ? "empty folder" : "missing folder");
        if (exists)
            scratch.place ("Presets/notes.txt");

        EXPECT_EQ (build (false), 0);
        EXPECT_EQ (describe (scratch.presets.menus[0]), "");
        EXPECT_EQ (scratch.presets.fileList, juce::Array<juce::File> (juce::File(), juce::File()));

        EXPECT_EQ (build (true), 0);
        EXPECT_EQ (describe (scratch.presets.menus[0]), "NEW FOLDER...>new:Presets | - | Save-As...>as:Presets | -");
    }
}

TEST_F (FolderMenu, FolderReachedAgainThroughALinkIsNotWalkedAgain)
{
    scratch.place ("Presets/A/x.dod");
    ASSERT_TRUE (
        scratch.root.getChildFile ("Presets/A").createSymbolicLink (scratch.root.getChildFile ("Presets/B"), true));
    ASSERT_TRUE (
        scratch.root.getChildFile ("Presets").createSymbolicLink (scratch.root.getChildFile ("Presets/A/up"), true));

    EXPECT_EQ (build (false), 1);
    EXPECT_EQ (scratch.presets.lastMenuIndex, 1);
    const auto menu = describe (scratch.presets.menus[0]);
    EXPECT_TRUE (menu == "A[x>x.dod] | -" || menu == "B[x>x.dod] | -") << menu;
}

TEST_F (FolderMenu, BuildTakesNoMoreMenusThanThereAre)
{
    for (int i = 0; i < 250; ++i)
        scratch.place ("Presets/F" + juce::String (i).paddedLeft ('0', 3) + "/x.dod");

    EXPECT_EQ (build (false), PresetManager::maximumMenus - 1);
    EXPECT_EQ (scratch.presets.lastMenuIndex, PresetManager::maximumMenus - 1);
    EXPECT_EQ (scratch.presets.unlistedFileCount, 250 - (PresetManager::maximumMenus - 1));
}

TEST_F (FolderMenu, ItemsWhoseIdsWouldLeaveTheirRangeAreLeftOut)
{
    // Over 4999 list entries: the last files get no item, and the root's "NEW FOLDER..." entry
    // lies beyond index 998.
    for (int i = 0; i < 5000; ++i)
        scratch.root.getChildFile ("Presets/Big/" + juce::String (i).paddedLeft ('0', 4) + ".dod").create();
    scratch.place ("Presets/Ash.dod");

    const auto count = build (true);

    int fileItems = 0;
    juce::StringArray rootItems;
    forEachItem (
        scratch.presets.menus[0],
        [&] (const juce::PopupMenu::Item& item)
        {
            if (item.isSeparator || item.subMenu != nullptr)
                return;
            const auto id = item.itemID;
            const auto& entry = scratch.presets.fileList[id >= 6000 ? id - 6001 : id >= 5000 ? id - 5001 : id - 1];
            if (id < 5000)
            {
                EXPECT_EQ (entry.getFileNameWithoutExtension(), item.text);
                ++fileItems;
            }
            else
            {
                EXPECT_EQ (item.text, id < 6000 ? "NEW FOLDER..." : "Save-As...");
                EXPECT_TRUE (entry.isDirectory()) << id;
            }
        });
    for (juce::PopupMenu::MenuItemIterator it (scratch.presets.menus[0]); it.next();)
        rootItems.add (it.getItem().text);

    EXPECT_EQ (count, fileItems);
    EXPECT_GT (fileItems, 4990);
    EXPECT_EQ (rootItems.joinIntoString (","), "Big,,Save-As...,");
}

namespace
{
// A library beyond the build's limits: 250 folders of 24 presets, and one more preset in the
// root, which the menu lists after all the folders.
class LargeLibrary : public FolderMenu
{
protected:
    static constexpr int folders = 250;
    static constexpr int presetsPerFolder = 24;

    LargeLibrary()
    {
        presetlibrary::write (scratch.root.getChildFile ("Presets"), folders, presetsPerFolder, ".dod");
        scratch.place ("Presets/Ash.dod");
    }

    juce::String presetPath (int folder, int preset) const
    {
        return scratch.path ("Presets/" + presetlibrary::folderName (folder) + "/" +
                             presetlibrary::presetName (preset) + ".dod");
    }
};
} // namespace

TEST_F (LargeLibrary, MenuListsTheStartOfItsOrderAndCountsTheRest)
{
    for (const bool saveMode : {false, true})
    {
        SCOPED_TRACE (saveMode ? "save menu" : "load menu");
        const auto listed = build (saveMode);

        // Every listed preset as folder/name, in menu order.
        juce::StringArray shown;
        for (juce::PopupMenu::MenuItemIterator folder (scratch.presets.menus[0]); folder.next();)
        {
            const auto& item = folder.getItem();
            EXPECT_NE (item.text, "Ash");
            if (item.subMenu != nullptr)
                for (juce::PopupMenu::MenuItemIterator file (*item.subMenu); file.next();)
                    if (file.getItem().itemID > 0 && file.getItem().itemID < 5000)
                        shown.add (item.text + "/" + file.getItem().text);
        }
        juce::StringArray expected;
        for (int f = 0; f < folders && expected.size() < shown.size(); ++f)
            for (int p = 0; p < presetsPerFolder && expected.size() < shown.size(); ++p)
                expected.add (presetlibrary::folderName (f) + "/" + presetlibrary::presetName (p));

        EXPECT_GT (shown.size(), 4000);
        EXPECT_EQ (shown, expected);
        EXPECT_EQ (listed, shown.size());
        EXPECT_EQ (scratch.presets.unlistedFileCount, folders * presetsPerFolder + 1 - listed);
    }
}

TEST_F (LargeLibrary, ArrowsStepInAnyFolderInMenuOrder)
{
    const auto last = folders - 1;
    const struct
    {
        int folder, preset, direction, to;
    } cases[] = {
        {last, presetsPerFolder - 1, 1, 0},
        {last, 0, -1, presetsPerFolder - 1},
        {last, 0, 1, 1},
        {last, 1, -1, 0},
        {folders / 2, 5, 1, 6},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.folder) + "/" + juce::String (c.preset) + " " + juce::String (c.direction));
        auto path = presetPath (c.folder, c.preset);
        EXPECT_EQ (scratch.presets.getNextPrevFile (c.direction, &path, "Load Preset", ".dod", "Presets", "Preset"), 1);
        EXPECT_EQ (path, presetPath (c.folder, c.to));
    }
}

namespace
{
class NextPrevious : public testing::Test
{
protected:
    NextPrevious()
    {
        for (const auto* name : {"Ash", "Birch", "Cedar", "Sub/Fir", "Sub/Pine", "Solo/One"})
            scratch.place ("Presets/" + juce::String (name) + ".dod");
        scratch.folder ("Presets/Empty");
    }

    int step (int direction, juce::String& path)
    {
        return scratch.presets.getNextPrevFile (direction, &path, "Load Preset", ".dod", "Presets", "Preset");
    }

    ScratchPresets scratch;
};
} // namespace

TEST_F (NextPrevious, StepsThroughTheCurrentFilesFolderOnlyAndWrapsAround)
{
    const struct
    {
        const char* from;
        int direction;
        const char* to;
    } cases[] = {
        {"Cedar", 1, "Ash"},          {"Ash", -1, "Cedar"},        {"Ash", 1, "Birch"},
        {"Birch", -1, "Ash"},         {"Ash", 0, "Birch"},         {"Sub/Fir", 1, "Sub/Pine"},
        {"Sub/Pine", 1, "Sub/Fir"},   {"Sub/Fir", -1, "Sub/Pine"}, {"Solo/One", 1, "Solo/One"},
        {"Solo/One", -1, "Solo/One"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.from) + " " + juce::String (c.direction));
        auto path = scratch.path ("Presets/" + juce::String (c.from) + ".dod");
        EXPECT_EQ (step (c.direction, path), 1);
        EXPECT_EQ (path, scratch.path ("Presets/" + juce::String (c.to) + ".dod"));
        EXPECT_TRUE (scratch.presets.fileList.isEmpty());
    }
}

TEST_F (NextPrevious, PathNamingNoListedFileStaysAsItIs)
{
    // Presets beside the tree, reached from inside it by "..": not the tree's.
    scratch.place ("Outside/One.dod");
    scratch.place ("Outside/Two.dod");
    const auto tree = scratch.path ("Presets");
    for (const auto& unlisted : {juce::String(), juce::String ("/elsewhere/Ash.dod"), scratch.path ("Presets/ash.dod"),
                                 scratch.path ("Presets/Sub"), juce::String ("Ash.dod"), tree + "/../Outside/One.dod",
                                 tree + "/Sub/../Ash.dod", tree + "//Ash.dod", tree + "/./Ash.dod"})
    {
        SCOPED_TRACE (unlisted);
        auto path = unlisted;
        EXPECT_EQ (step (1, path), 1);
        EXPECT_EQ (path, unlisted);
    }
}

TEST_F (NextPrevious, TreeWithoutPresetsGivesZero)
{
    auto path = scratch.path ("Presets/Ash.dod");
    for (const auto* name : {"Ash", "Birch", "Cedar", "Sub/Fir", "Sub/Pine", "Solo/One"})
        scratch.root.getChildFile ("Presets/" + juce::String (name) + ".dod").deleteFile();
    scratch.place ("Presets/notes.txt");
    EXPECT_EQ (step (1, path), 0);

    scratch.root.getChildFile ("Presets").deleteRecursively();
    EXPECT_EQ (step (-1, path), 0);
    EXPECT_EQ (path, scratch.path ("Presets/Ash.dod"));
}
