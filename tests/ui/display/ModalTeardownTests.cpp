// A host may close the editor, or remove the plug-in, while one of the plug-in's menus or dialogs
// is open: on several systems its window events arrive inside the modal loop. Whatever the user
// answers afterwards, nothing freed is touched, and what still exists finishes its work.
#include "OpenedEditor.h"
#include "PatchBarButtons.h"
#include "ScratchPresets.h"
#include "StateBlobs.h"
#include "UiSnapshot.h"
#include "support/display/DesktopWindow.h"
#include "support/display/ModalAnswerer.h"
#include "ui/panels/EchoPanel.h"
#include "ui/panels/MeltPanel.h"
#include "ui/panels/TonePanel.h"

#include <gtest/gtest.h>

#include <functional>

using namespace testsupport;

namespace
{
enum class Closed
{
    editor,
    plugin
};

// What the test opens: the button, the answers (the close runs inside the step it is attached
// to), and what must hold afterwards, judged from the files alone once the plug-in may be gone.
struct Case
{
    const char* what;
    std::function<juce::Button&(juce::Component&)> button;
    std::function<void (ModalAnswerer&, std::function<void()> close)> answer;
    Closed closed;
    std::function<bool (const ScratchPresets&)> finished;
};

const juce::MemoryBlock oldBytes ("old", 3);

bool holdsAState (const juce::File& file)
{
    return file.existsAsFile() && file.getSize() > 9 && testsupport::contentsOf (file) != oldBytes;
}

bool unchanged (const ScratchPresets& scratch, const juce::String& relativePath)
{
    return contentsOf (scratch.root.getChildFile (relativePath)) == oldBytes;
}
} // namespace

TEST (ModalTeardown, ClosingTheEditorOrThePluginInsideAMenuOrDialogTouchesNothingFreed)
{
    if (!DesktopWindow::displayAvailable())
        GTEST_SKIP() << "needs a display";

    const auto patchName = [] (juce::Component& e) -> juce::Button& { return patchBarButton (e, false); };
    const auto patchSave = [] (juce::Component& e) -> juce::Button& { return patchBarButton (e, true); };
    const auto toneLoad = [] (juce::Component& e) -> juce::Button& { return onlyChild<TonePanel> (e).loadButton; };
    const auto toneSave = [] (juce::Component& e) -> juce::Button& { return onlyChild<TonePanel> (e).saveButton; };
    const auto meltLoad = [] (juce::Component& e) -> juce::Button&
    { return onlyChild<MeltPanel> (e).pageButtons[0].load; };
    const auto meltSave = [] (juce::Component& e) -> juce::Button&
    { return onlyChild<MeltPanel> (e).pageButtons[0].save; };
    const auto echoLoad = [] (juce::Component& e) -> juce::Button& { return onlyChild<EchoPanel> (e).loadButton; };
    const auto echoSave = [] (juce::Component& e) -> juce::Button& { return onlyChild<EchoPanel> (e).saveButton; };

    const auto saveAsMine = [] (ModalAnswerer& a, std::function<void()> close)
    { a.choose ({"Save-As..."}).whileOpen (close).enterText ("Mine", "Confirm"); };
    const auto mineInTheNameDialog = [] (ModalAnswerer& a, std::function<void()> close)
    { a.choose ({"Save-As..."}).enterText ("Mine", "Confirm").whileOpen (close); };
    const auto choosing = [] (const char* item)
    { return [item] (ModalAnswerer& a, std::function<void()> close) { a.choose ({item}).whileOpen (close); }; };
    const auto saved = [] (const char* relativePath)
    { return [relativePath] (const ScratchPresets& s) { return holdsAState (s.root.getChildFile (relativePath)); }; };
    const auto nothingWritten = [] (const ScratchPresets& s)
    { return !s.root.getChildFile ("Presets/Mine.dod").exists() && unchanged (s, "Presets/Ash.dod"); };
    // A save that fails shows its notice from the save itself (a name too long for the file
    // system) or from the menu's answer (a name with a slash).
    const auto failingSave = [] (const juce::String& name)
    {
        return [name] (ModalAnswerer& a, std::function<void()> close)
        { a.choose ({"Save-As..."}).enterText (name, "Confirm").click ("OK").whileOpen (close); };
    };
    const auto tooLong = juce::String::repeatedString ("n", 280);
    const auto noNewFiles = [] (const ScratchPresets& s)
    {
        return s.root.getChildFile ("Presets").getNumberOfChildFiles (juce::File::findFilesAndDirectories) == 1 &&
               s.root.getChildFile ("SubPresets").getNumberOfChildFiles (juce::File::findFilesAndDirectories) == 3 &&
               unchanged (s, "Presets/Ash.dod");
    };

    const Case cases[] = {
        {"the preset load menu", patchName, choosing ("Ash"), Closed::editor,
         [] (const ScratchPresets& s) { return s.presets.presetName == "Ash"; }},
        {"the preset save menu", patchSave, saveAsMine, Closed::editor, saved ("Presets/Mine.dod")},
        {"the preset name dialog", patchSave, mineInTheNameDialog, Closed::editor, saved ("Presets/Mine.dod")},
        {"the overwrite question", patchSave,
         [] (ModalAnswerer& a, std::function<void()> close) { a.choose ({"Ash"}).click ("Yes").whileOpen (close); },
         Closed::editor, saved ("Presets/Ash.dod")},
        {"the new folder dialog", patchSave,
         [] (ModalAnswerer& a, std::function<void()> close)
         { a.choose ({"NEW FOLDER..."}).enterText ("Set", "Confirm").whileOpen (close).dismissMenu(); },
         Closed::editor, [] (const ScratchPresets& s) { return s.root.getChildFile ("Presets/Set").isDirectory(); }},
        {"the tone load menu", toneLoad, choosing ("Tone"), Closed::editor,
         [] (const ScratchPresets& s) { return s.processor->apvts.getParameter ("toneDrive")->getValue() == 0.25f; }},
        {"the tone name dialog", toneSave, mineInTheNameDialog, Closed::editor, saved ("SubPresets/Mine.Tsp")},
        {"the melt load menu", meltLoad, choosing ("Flow"), Closed::editor,
         [] (const ScratchPresets& s) { return s.presets.subPresetPaths[1].endsWith ("Flow.Mfsp"); }},
        {"the melt save menu", meltSave, saveAsMine, Closed::editor, saved ("SubPresets/Mine.Mfsp")},
        {"the echo load menu", echoLoad, choosing ("Echo"), Closed::editor,
         [] (const ScratchPresets& s) { return s.presets.subPresetPaths[4].endsWith ("Echo.Esp"); }},
        {"the echo save menu", echoSave, saveAsMine, Closed::editor, saved ("SubPresets/Mine.Esp")},
        {"the preset name failure", patchSave, failingSave ("Warm/Bright"), Closed::editor, noNewFiles},

        {"the preset load menu, plug-in removed", patchName, choosing ("Ash"), Closed::plugin, nothingWritten},
        {"the preset save menu, plug-in removed", patchSave, choosing ("Save-As..."), Closed::plugin, nothingWritten},
        {"the overwrite question, plug-in removed", patchSave,
         [] (ModalAnswerer& a, std::function<void()> close) { a.choose ({"Ash"}).click ("Yes").whileOpen (close); },
         Closed::plugin, nothingWritten},
        {"the new folder dialog, plug-in removed", patchSave,
         [] (ModalAnswerer& a, std::function<void()> close)
         { a.choose ({"NEW FOLDER..."}).enterText ("Set", "Confirm").whileOpen (close); },
         Closed::plugin, [] (const ScratchPresets& s) { return !s.root.getChildFile ("Presets/Set").exists(); }},
        {"the tone load menu, plug-in removed", toneLoad, choosing ("Tone"), Closed::plugin, nothingWritten},
        {"the echo save menu, plug-in removed", echoSave, choosing ("Save-As..."), Closed::plugin,
         [] (const ScratchPresets& s) { return !s.root.getChildFile ("SubPresets/Mine.Esp").exists(); }},
        {"the preset save failure, plug-in removed", patchSave, failingSave (tooLong), Closed::plugin, noNewFiles},
        {"the echo save failure, plug-in removed", echoSave, failingSave (tooLong), Closed::plugin, noNewFiles},
        {"the tone name failure, plug-in removed", toneSave, failingSave ("Warm/Bright"), Closed::plugin, noNewFiles},
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        ScratchPresets scratch;
        auto& processor = *scratch.processor;
        scratch.place ("Presets/Ash.dod", "old");
        processor.apvts.getParameter ("toneDrive")->setValueNotifyingHost (0.25f);
        const struct
        {
            int group;
            const char* path;
        } subPresets[] = {{0, "SubPresets/Tone.Tsp"}, {1, "SubPresets/Flow.Mfsp"}, {4, "SubPresets/Echo.Esp"}};
        for (const auto& file : subPresets)
        {
            scratch.presets.saveSubPresetFile (file.group, scratch.path (file.path));
            scratch.presets.subPresetPaths[file.group] = {};
        }
        processor.apvts.getParameter ("toneDrive")->setValueNotifyingHost (0.75f);

        auto editor = std::make_unique<OpenedEditor> (processor);
        auto& button = c.button (**editor);
        ModalAnswerer answerer;
        ASSERT_TRUE (answerer.hasFocus());

        const auto close = [&]
        {
            editor.reset();
            if (c.closed == Closed::plugin)
                scratch.processor.reset();
        };
        c.answer (answerer, close);
        button.triggerClick();
        pumpMessages (200);

        EXPECT_EQ (editor, nullptr) << "the close never ran";
        EXPECT_EQ (answerer.problems(), juce::StringArray());
        EXPECT_TRUE (c.finished (scratch));
    }
}
