#include "PresetLibrary.h"
#include "ScratchPresets.h"
#include "StateBlobs.h"
#include "support/display/ModalAnswerer.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include <unistd.h>

using namespace testsupport;

namespace
{
// The preset operations with their real menus and dialogs, answered by the test.
class PresetDialogs : public testing::Test
{
protected:
    void SetUp() override
    {
        if (juce::SystemStats::getEnvironmentVariable ("DISPLAY", {}).isEmpty())
            GTEST_SKIP() << "needs a display (scripts/test starts one)";
        answerer = std::make_unique<ModalAnswerer>();
        ASSERT_TRUE (answerer->hasFocus());
    }

    void TearDown() override
    {
        if (answerer != nullptr)
        {
            EXPECT_EQ (answerer->problems(), juce::StringArray());
        }
    }

    void savePreset() { scratch.presets.savePreset (&scratch.presets.presetPath); }

    ScratchPresets scratch;
    std::unique_ptr<ModalAnswerer> answerer;
};
} // namespace

TEST_F (PresetDialogs, SaveAsWritesTheStateUnderTheTypedName)
{
    const auto ash = scratch.place ("Presets/Ash.dod");
    scratch.presets.presetPath = ash.getFullPathName();
    scatterParameters (*scratch.processor);

    answerer->choose ({"Save-As..."}).enterText ("Warm", "Confirm");
    savePreset();

    EXPECT_EQ (answerer->shown, juce::StringArray ({"Save Preset | - | NEW FOLDER... | - | Save-As... | - | Ash*",
                                                    "Save As: Enter New Preset Name [Ash]"}));
    const auto warm = scratch.root.getChildFile ("Presets/Warm.dod");
    EXPECT_EQ (scratch.presets.presetPath, warm.getFullPathName());
    EXPECT_EQ (scratch.presets.presetName, "Warm");
    EXPECT_EQ (contentsOf (warm), stateOf (*scratch.processor));
    EXPECT_EQ (contentsOf (ash).toString(), "old");

    // The extension is added to whatever is typed.
    answerer->choose ({"Save-As..."}).enterText ("Cool.dod", "Confirm");
    savePreset();
    EXPECT_EQ (scratch.presets.presetPath, scratch.path ("Presets/Cool.dod.dod"));
    EXPECT_EQ (scratch.presets.presetName, "Cool.dod");
}

TEST_F (PresetDialogs, NewFolderReopensTheMenuWithTheFolderListed)
{
    answerer->choose ({"NEW FOLDER..."})
        .enterText ("Live", "Confirm")
        .choose ({"Live", "Save-As..."})
        .enterText ("Bright", "Confirm");
    savePreset();

    // JUCE shows no separator at the end of a menu.
    EXPECT_EQ (
        answerer->shown,
        juce::StringArray ({"Save Preset | - | NEW FOLDER... | - | Save-As...", "NEW FOLDER: Enter New Folder Name []",
                            "Save Preset | - | Live> | NEW FOLDER... | - | Save-As...",
                            "NEW FOLDER... | - | Save-As...", "Save As: Enter New Preset Name []"}));
    const auto bright = scratch.root.getChildFile ("Presets/Live/Bright.dod");
    EXPECT_EQ (scratch.presets.presetPath, bright.getFullPathName());
    EXPECT_EQ (contentsOf (bright), stateOf (*scratch.processor));
}

TEST_F (PresetDialogs, ExistingFileIsReplacedOnlyAfterYes)
{
    const struct
    {
        const char* what;
        std::function<void (ModalAnswerer&)> answer;
        bool replaced;
    } cases[] = {
        {"chosen, no", [] (ModalAnswerer& a) { a.choose ({"Ash"}).click ("No"); }, false},
        {"chosen, yes", [] (ModalAnswerer& a) { a.choose ({"Ash"}).click ("Yes"); }, true},
        {"typed, no", [] (ModalAnswerer& a) { a.choose ({"Save-As..."}).enterText ("Ash", "Confirm").click ("No"); },
         false},
        {"typed, yes", [] (ModalAnswerer& a) { a.choose ({"Save-As..."}).enterText ("Ash", "Confirm").click ("Yes"); },
         true},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        const auto ash = scratch.place ("Presets/Ash.dod");
        scratch.presets.presetPath = {};
        answerer->shown.clear();

        c.answer (*answerer);
        savePreset();

        EXPECT_EQ (answerer->shown.strings.getLast(), "Overwrite Ash ?");
        EXPECT_EQ (scratch.presets.presetPath, c.replaced ? ash.getFullPathName() : juce::String());
        if (c.replaced)
            EXPECT_EQ (contentsOf (ash), stateOf (*scratch.processor));
        else
            EXPECT_EQ (contentsOf (ash).toString(), "old");
    }
}

TEST_F (PresetDialogs, CancelledOrUnsafeAnswersChangeNothing)
{
    scratch.place ("Presets/Ash.dod");
    scratch.folder ("Presets/Live.dod");
    scratch.presets.presetPath = "/before/Before.dod";
    scratch.presets.presetName = "Before";
    const auto before = scratch.snapshot();

    const struct
    {
        const char* what;
        std::function<void (ModalAnswerer&)> answer;
    } cases[] = {
        {"menu dismissed", [] (ModalAnswerer& a) { a.dismissMenu(); }},
        {"name cancelled", [] (ModalAnswerer& a) { a.choose ({"Save-As..."}).enterText ("Warm", "Cancel"); }},
        {"empty name", [] (ModalAnswerer& a) { a.choose ({"Save-As..."}).enterText ("", "Confirm"); }},
        {"name onto a folder", [] (ModalAnswerer& a) { a.choose ({"Save-As..."}).enterText ("Live", "Confirm"); }},
        {"folder cancelled", [] (ModalAnswerer& a) { a.choose ({"NEW FOLDER..."}).enterText ("New", "Cancel"); }},
    };
    const char* unsafeNames[] = {"../x", "a/b", "a\\b", "..", "."};

    const auto check = [&] (const juce::String& what)
    {
        SCOPED_TRACE (what);
        savePreset();
        EXPECT_EQ (scratch.snapshot(), before);
        EXPECT_EQ (scratch.presets.presetPath, "/before/Before.dod");
        EXPECT_EQ (scratch.presets.presetName, "Before");
        EXPECT_EQ (answerer->problems(), juce::StringArray());
    };
    for (const auto& c : cases)
    {
        c.answer (*answerer);
        check (c.what);
    }
    // A refused file name is a save that failed, and says so; a refused folder name is not.
    for (const auto* name : unsafeNames)
    {
        answerer->choose ({"Save-As..."}).enterText (name, "Confirm").click ("OK");
        check (juce::String ("file ") + name);
        EXPECT_TRUE (answerer->shown.strings.getLast().startsWith ("Save Failed: \"" + juce::String (name) + "\""));
        answerer->choose ({"NEW FOLDER..."}).enterText (name, "Confirm");
        check (juce::String ("folder ") + name);
        EXPECT_EQ (answerer->shown.strings.getLast(), "NEW FOLDER: Enter New Folder Name []");
    }
}

TEST_F (PresetDialogs, SaveThatCannotWriteItsFileSaysWhichNameAndWhyAndChangesNothing)
{
    struct Failure
    {
        const char* what;
        juce::String name;
        // Puts the obstacle in the way of a save into the folder.
        std::function<void (ScratchPresets&, const juce::String& folder)> obstruct;
        juce::String reason;
    };
    std::vector<Failure> failures = {
        {"a name too long", juce::String::repeatedString ("n", 280), [] (ScratchPresets&, const juce::String&) {},
         "The name is too long for the file system."},
        {"a name with a slash", "Warm/Bright", [] (ScratchPresets&, const juce::String&) {},
         "A name cannot contain \"/\" or \"\\\"."},
        {"its folder a file", "Warm", [] (ScratchPresets& s, const juce::String& folder) { s.place (folder, "old"); },
         "A part of its folder's path is a file, not a folder."},
    };
    // Permissions do not stop the superuser.
    if (geteuid() != 0)
        failures.push_back ({"a read-only folder", "Warm",
                             [] (ScratchPresets& s, const juce::String& folder)
                             { s.folder (folder).setReadOnly (true); },
                             "The folder cannot be written."});

    const struct
    {
        const char* what;
        const char* folder;
        std::function<void (PresetManager&)> save;
    } saves[] = {
        {"preset", "Presets", [] (PresetManager& presets) { presets.savePreset (&presets.presetPath); }},
        {"echo sub-preset", "SubPresets", [] (PresetManager& presets) { presets.saveSubPreset (4); }},
    };

    for (const auto& save : saves)
        for (const auto& failure : failures)
        {
            SCOPED_TRACE (juce::String (save.what) + ", " + failure.what);
            ScratchPresets library;
            failure.obstruct (library, save.folder);
            library.presets.presetPath = "/before/Before.dod";
            library.presets.presetName = "Before";
            library.presets.subPresetPaths[4] = "/before/Before.Esp";
            const auto before = library.snapshot();

            answerer->choose ({"Save-As..."}).enterText (failure.name, "Confirm").click ("OK");
            save.save (library.presets);

            EXPECT_EQ (answerer->shown.strings.getLast(),
                       "Save Failed: \"" + failure.name + "\" could not be saved. " + failure.reason);
            EXPECT_EQ (answerer->problems(), juce::StringArray());
            EXPECT_EQ (library.snapshot(), before);
            EXPECT_EQ (library.presets.presetPath, "/before/Before.dod");
            EXPECT_EQ (library.presets.presetName, "Before");
            EXPECT_EQ (library.presets.subPresetPaths[4], "/before/Before.Esp");
            library.root.getChildFile (save.folder).setReadOnly (false);
        }
}

TEST_F (PresetDialogs, MenuThatLeavesFilesOutEndsWithHowManyAndListsTheStartOfItsOrder)
{
    const struct
    {
        const char* what;
        const char* folder;
        const char* extension;
        int folders, filesPerFolder;
        std::function<void (PresetManager&)> open;
        const char* menuStart;
        const char* menuEnd;
    } cases[] = {
        // Past the file ids: 192 folders whole, 6 files of the next.
        {"presets", "Presets", ".dod", 250, 24,
         [] (PresetManager& presets) { presets.loadPreset (&presets.presetPath); },
         "Load Preset | - | set 000> | Set 001> | set 002> | ", "> | - | 1386 presets not listed"},
        // Past the menus: 199 folders of the 200.
        {"echo sub-presets", "SubPresets", ".Esp", 200, 1, [] (PresetManager& presets) { presets.loadSubPreset (4); },
         "Load ECHO Sub Preset | - | set 000> | Set 001> | set 002> | ",
         "Set 197> | set 198> | - | 1 sub-preset not listed"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        ScratchPresets library;
        presetlibrary::write (library.root.getChildFile (c.folder), c.folders, c.filesPerFolder, c.extension);
        answerer->shown.clear();

        answerer->dismissMenu();
        c.open (library.presets);

        ASSERT_EQ (answerer->shown.size(), 1);
        EXPECT_TRUE (answerer->shown[0].startsWith (c.menuStart)) << answerer->shown[0];
        EXPECT_TRUE (answerer->shown[0].endsWith (c.menuEnd)) << answerer->shown[0];
    }
}

TEST_F (PresetDialogs, LoadMenuOpensOnlyOverPresetsAndLoadsTheChosenOne)
{
    scratch.folder ("Presets/Empty");
    scratch.presets.loadPreset (&scratch.presets.presetPath);
    EXPECT_TRUE (answerer->shown.isEmpty());

    ScratchPresets source;
    scatterParameters (*source.processor, 4);
    source.presets.presetPath = "/elsewhere/Stored.dod";
    const auto cedar = scratch.place ("Presets/Sub/Cedar.dod", stateOf (*source.processor));

    answerer->choose ({"Sub", "Cedar"});
    scratch.presets.loadPreset (&scratch.presets.presetPath);

    EXPECT_EQ (answerer->shown, juce::StringArray ({"Load Preset | - | Sub>", "Cedar"}));
    EXPECT_EQ (parameterValues (*scratch.processor), parameterValues (*source.processor));
    EXPECT_EQ (scratch.presets.presetPath, cedar.getFullPathName());
    EXPECT_EQ (scratch.presets.presetName, "Cedar");
}

TEST_F (PresetDialogs, SubPresetMenusSaveAndLoadTheGroupsFiles)
{
    scatterParameters (*scratch.processor, 2);
    const auto saved = parameterValues (*scratch.processor);
    answerer->choose ({"Save-As..."}).enterText ("Wide", "Confirm");
    scratch.presets.saveSubPreset (4);

    const auto wide = scratch.root.getChildFile ("SubPresets/Wide.Esp");
    EXPECT_EQ (scratch.presets.subPresetPaths[4], wide.getFullPathName());
    EXPECT_EQ (wide.getSize(), 92);

    // Another group's menu lists no echo file, and groups outside the table open nothing.
    scatterParameters (*scratch.processor, 6);
    for (const int group : {0, -1, 5, 20})
        scratch.presets.loadSubPreset (group);
    scratch.presets.saveSubPreset (5);

    answerer->choose ({"Wide"});
    scratch.presets.loadSubPreset (4);

    EXPECT_EQ (answerer->shown,
               juce::StringArray ({"Save ECHO Sub Preset | - | NEW FOLDER... | - | Save-As...",
                                   "Save As: Enter New Sub-Preset Name []", "Load ECHO Sub Preset | - | Wide*"}));
    juce::StringArray echoGroup;
    for (int k = 0; SubPresets[4].params[k].flags != SubPresetFlags::endOfList; ++k)
        echoGroup.add (SubPresets[4].params[k].paramID);
    const auto& parameters = scratch.processor->getParameters();
    for (int i = 0; i < parameters.size(); ++i)
    {
        if (echoGroup.contains (parameterIdentifier (*parameters[i])))
        {
            EXPECT_EQ (parameters[i]->getValue(), saved[(size_t)i]) << parameterIdentifier (*parameters[i]);
        }
    }
}
