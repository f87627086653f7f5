#pragma once

#include "presets/SubPresetTable.h"

#include <juce_gui_basics/juce_gui_basics.h>

class Rirorezo3AudioProcessor;

// The processor's companion for everything kept in files: the preset root folder, the current
// preset's path and name, the last sub-preset file of each group, free text entries, the editor
// sizes that the plug-in state carries, and the working storage of the folder menus.
// The fields are public: the state blob, the editor and the patch bar use them directly.
class PresetManager
{
public:
    explicit PresetManager (Rirorezo3AudioProcessor* owner);

    static constexpr int maximumMenus = 200;
    static constexpr int numberOfTextEntries = 20;

    // -1 while a preset file's bytes are being loaded: the state reader then keeps presetPath.
    int loadingPresetFile = 0;

    // Menu build state, set by every build before use.
    int fileCount = 0;
    int lastMenuIndex = 0;
    int tickedItemId = 0;
    int saveMode = 0;
    int currentItemId = 0;

    int savedEditorWidth = 0;
    int savedEditorHeight = 0;
    int editorWidth = 0;
    int editorHeight = 0;
    // Non-zero until an editor's first paint: a state loaded meanwhile resizes that editor.
    int editorSizePending = -1;

    juce::Array<juce::File> fileList;
    juce::PopupMenu menus[maximumMenus];

    juce::String textEntries[numberOfTextEntries];
    juce::String subPresetPaths[numberOfSubPresetSlots];
    juce::String presetPath;
    juce::String presetName{"Untitled"};
    juce::String rootPath;

    // The element the state reader is working on; valid only inside that call.
    juce::XmlElement* presetElement = nullptr;
    Rirorezo3AudioProcessor* processor;

    JUCE_DECLARE_NON_COPYABLE (PresetManager)
};
