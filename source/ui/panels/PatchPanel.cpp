#include "ui/panels/PatchPanel.h"

#include "engine/PluginProcessor.h"
#include "presets/PresetManager.h"
#include "ui/panels/ProportionalLayout.h"

namespace
{
constexpr float designWidth = 691.0f;
constexpr float designHeight = 34.0f;
} // namespace

PatchPanel::PatchPanel (Rirorezo3AudioProcessor* processorIn) : processor (processorIn)
{
    setSize (static_cast<int> (designWidth), static_cast<int> (designHeight));

    presetButton.addListener (this);
    presetButton.setLookAndFeel (&dropButtonLookAndFeel.get());
    showPresetName();
    addAndMakeVisible (presetButton);

    saveButton.setButtonText ("SAVE");
    saveButton.addListener (this);
    saveButton.setLookAndFeel (&buttonLookAndFeel.get());
    addAndMakeVisible (saveButton);

    previousButton.onClick = [this] { stepPreset (-1); };
    addAndMakeVisible (previousButton);
    nextButton.onClick = [this] { stepPreset (1); };
    addAndMakeVisible (nextButton);
}

PatchPanel::~PatchPanel()
{
    presetButton.setLookAndFeel (nullptr);
    saveButton.setLookAndFeel (nullptr);
}

void PatchPanel::paint (juce::Graphics&)
{
    showPresetName();
}

void PatchPanel::resized()
{
    const ProportionalLayout layout (*this, designWidth, designHeight);

    const std::pair<juce::Component*, juce::Rectangle<float>> children[] = {
        {&previousButton, {5.0f, 12.0f, 18.0f, 18.0f}},
        {&nextButton, {26.0f, 12.0f, 18.0f, 18.0f}},
        {&presetButton, {46.0f, 11.0f, 342.0f, 22.0f}},
        {&saveButton, {394.0f, 12.0f, 47.0f, 19.0f}},
    };
    for (const auto& [child, design] : children)
        child->setBounds (layout.bounds (design));
}

void PatchPanel::buttonClicked (juce::Button* button)
{
    auto& presets = *processor->presetManager;
    // The menus and dialogs are modal loops, inside which the host may close the editor.
    const juce::Component::SafePointer<PatchPanel> self (this);

    if (button == &presetButton)
        presets.loadPreset (&presets.presetPath);
    else if (button == &saveButton)
        presets.savePreset (&presets.presetPath);
    else
        return;

    if (self != nullptr)
        showPresetName();
}

void PatchPanel::stepPreset (int direction)
{
    auto& presets = *processor->presetManager;
    if (presets.getNextPrevFile (direction, &presets.presetPath, "Load Preset", ".dod", "Presets", "Preset") == 0)
        return;

    // The file is read as a chosen preset is: only a regular file of preset size, and the state
    // reader keeps the path it was reached under.
    presets.loadPresetFile (presets.readText (presets.presetPath));
}

void PatchPanel::showPresetName()
{
    const auto name = processor->presetManager->readText (processor->presetManager->presetName);
    if (presetButton.getButtonText() != name)
        presetButton.setButtonText (name);
}
