#pragma once

#include "presets/SubPresetTable.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <atomic>

class Rirorezo3AudioProcessor;

// The processor's companion for everything kept in files: the preset root folder, the current
// preset's path and name, the last sub-preset file of each group, free text entries, the editor
// sizes that the plug-in state carries, and the working storage of the folder menus.
// The fields are public: the state blob, the editor and the patch bar use them directly.
//
// Threads: the menus, dialogs and files run on the message thread, the state writer and reader on
// whatever thread the host calls them. The texts both touch (presetPath, presetName,
// subPresetPaths, textEntries, rootPath) are only copied or assigned while textLock is held; the
// other shared fields are atomic.
class PresetManager
{
public:
    explicit PresetManager (Rirorezo3AudioProcessor* owner);

    // One shared text, copied or replaced under textLock. Several texts that must stay together
    // are copied under one hold of the lock instead.
    juce::String readText (const juce::String& text) const;
    void writeText (juce::String& text, const juce::String& value);

    // The state reader's resize of an open editor that has not painted yet: clears
    // editorSizePending and, while it was set, gives the editor the size (a width of 0 leaves it).
    // Components belong to the message thread: from any other thread the resize is posted there,
    // and the editor is looked up only when it runs.
    void resizeUnpaintedEditor (int width, int height);

    // Modal dialogs: a text prompt (1 and the text when confirmed non-empty, else 0), a
    // question (1 for "Yes"), and the notice that the named preset or sub-preset was not saved.
    static int getUserText (juce::String title, juce::String message, juce::String label, juce::String initialText,
                            juce::String* result);
    static int getUserYesNo (juce::String question);
    static void showSaveFailure (const juce::String& name, const juce::String& reason);

    // Folder menus: getDirMenu adds one folder's tree to the menu build and returns the number
    // of matching files it lists (those beyond the build's limits go to unlistedFileCount);
    // getFileFromMenu shows the whole menu and puts the chosen or new file's path into *path (1),
    // or changes nothing (0).
    int getDirMenu (juce::String folderPath, juce::String extension, juce::String* currentPath);
    int getFileFromMenu (juce::String* path, juce::String title, juce::String extension, juce::String folder,
                         juce::String type);

    // Preset files and next/previous navigation inside the current preset's folder.
    void savePreset (juce::String* path);
    void loadPreset (juce::String* path);
    int getNextPrevFile (int direction, juce::String* path, juce::String title, juce::String extension,
                         juce::String folder, juce::String type);

    // Sub-preset files of one group (0 to 4).
    void saveSubPreset (int group);
    void loadSubPreset (int group);

    // The file work behind those menus, once a path is chosen (the patch bar's arrows load through
    // loadPresetFile too). A save that fails leaves the old file, the name and the path as they
    // were, and says why; the menus show that to the user.
    juce::Result savePresetFile (juce::String* path, const juce::String& newPath);
    void loadPresetFile (const juce::String& path);
    juce::Result saveSubPresetFile (int group, const juce::String& newPath);
    void loadSubPresetFile (int group, const juce::String& path);

    static constexpr int maximumMenus = 200;
    static constexpr int numberOfTextEntries = 20;

    // -1 while a preset file's bytes are being loaded: the state reader then keeps presetPath.
    std::atomic<int> loadingPresetFile{0};

    // Menu build state, set by every build before use.
    int fileCount = 0;
    int lastMenuIndex = 0;
    int tickedItemId = 0;
    int saveMode = 0;
    int currentItemId = 0;
    // Matching files the build left out, past its menus or its file ids.
    int unlistedFileCount = 0;

    // The editor sizes: the editor writes them on the message thread, the state writer and reader
    // on whatever thread the host calls them.
    std::atomic<int> savedEditorWidth{0};
    std::atomic<int> savedEditorHeight{0};
    std::atomic<int> editorWidth{0};
    std::atomic<int> editorHeight{0};
    // Non-zero until an editor's first paint: a state loaded meanwhile resizes that editor.
    std::atomic<int> editorSizePending{-1};

    juce::Array<juce::File> fileList;
    juce::PopupMenu menus[maximumMenus];

    juce::CriticalSection textLock;
    juce::String textEntries[numberOfTextEntries];
    juce::String subPresetPaths[numberOfSubPresetSlots];
    juce::String presetPath;
    juce::String presetName{"Untitled"};
    juce::String rootPath;

    // The element the state reader is working on; valid only inside that call.
    std::atomic<juce::XmlElement*> presetElement{nullptr};
    Rirorezo3AudioProcessor* processor;

private:
    // Carries a resize from another thread to the message thread; a manager that is deleted
    // first cancels it.
    class PendingEditorResize : private juce::AsyncUpdater
    {
    public:
        explicit PendingEditorResize (PresetManager& owner) : presets (owner) {}
        void post (int width, int height);

    private:
        void handleAsyncUpdate() override;

        PresetManager& presets;
        // Width and height in one word, so a later request never pairs with half of an earlier one.
        std::atomic<juce::uint64> size{0};
    };

    struct MenuWalk;
    int addFolderToMenu (const juce::File& folder, MenuWalk& walk);
    int answerMenuChoice (int chosenId, juce::String* path, const juce::String& title, const juce::String& extension,
                          const juce::String& folder, const juce::String& type);
    void clearMenuBuild();
    void startMenuBuild (const juce::String& title, int mode);

    PendingEditorResize pendingEditorResize{*this};

    // The menus and dialogs run modal loops, inside which a host may delete the plug-in: after
    // each, the manager goes on only if it still exists.
    JUCE_DECLARE_WEAK_REFERENCEABLE (PresetManager)
    JUCE_DECLARE_NON_COPYABLE (PresetManager)
};
