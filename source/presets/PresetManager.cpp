#include "presets/PresetManager.h"

#include "engine/PluginProcessor.h"
#include "presets/PresetFolder.h"

PresetManager::PresetManager (Rirorezo3AudioProcessor* owner) : processor (owner)
{
    rootPath = presetRootPath (processor->getName());

    // A folder that cannot be made leaves empty menus; saves then simply fail.
    if (rootPath.isNotEmpty() && !juce::File (rootPath).exists())
        juce::File (rootPath).createDirectory();
}

juce::String PresetManager::readText (const juce::String& text) const
{
    const juce::ScopedLock lock (textLock);
    return text;
}

void PresetManager::writeText (juce::String& text, const juce::String& value)
{
    const juce::ScopedLock lock (textLock);
    text = value;
}

void PresetManager::resizeUnpaintedEditor (int width, int height)
{
    if (!juce::MessageManager::existsAndIsCurrentThread())
    {
        pendingEditorResize.post (width, height);
        return;
    }

    if (editorSizePending.exchange (0) != 0 && width != 0)
        if (auto* editor = processor->getActiveEditor())
            editor->setSize (width, height);
}

void PresetManager::PendingEditorResize::post (int width, int height)
{
    size = (static_cast<juce::uint64> (static_cast<juce::uint32> (width)) << 32) | static_cast<juce::uint32> (height);
    triggerAsyncUpdate();
}

void PresetManager::PendingEditorResize::handleAsyncUpdate()
{
    const auto both = size.load();
    presets.resizeUnpaintedEditor (static_cast<int> (static_cast<juce::uint32> (both >> 32)),
                                   static_cast<int> (static_cast<juce::uint32> (both)));
}
