#pragma once

#include "parameters/PluginParameters.h"
#include "ui/controls/LabeledControls.h"
#include "ui/panels/ProportionalLayout.h"
#include "ui/style/ComboLookAndFeel.h"
#include "ui/style/LabelLookAndFeels.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <optional>
#include <vector>

class Rirorezo3AudioProcessor;

// One captioned menu or knob of the melt panel or its pages, as its table gives it.
struct MeltControlRow
{
    using ComboSlot = std::unique_ptr<juce::AudioProcessorValueTreeState::ComboBoxAttachment> PluginParameters::*;
    using KnobSlot = std::unique_ptr<juce::AudioProcessorValueTreeState::SliderAttachment> PluginParameters::*;

    // When the control shows: a page's sync menu shows either its frequency knobs (Manual) or
    // its rate menus (BPM).
    enum class Shows
    {
        always,
        inManualMode,
        inBpmMode
    };

    const juce::String& parameterID;
    const juce::String& caption;
    Shows shows;
    juce::Rectangle<float> area;

    // A menu: its items (ids are positions from 1) and slot; whether it is the page's sync menu
    // and whether the mouse wheel steps it.
    const juce::StringArray* items = nullptr;
    ComboSlot comboSlot = nullptr;
    bool isSyncMode = false;
    bool wheelSteps = false;

    // A knob: its slot, range, unit, double-click value and whether it is a red level knob.
    KnobSlot knobSlot = nullptr;
    float minimum = 0.0f, maximum = 0.0f;
    const juce::String* suffix = nullptr;
    float doubleClickValue = 0.0f;
    bool red = false;
};

// A knob row from its parameter's stem: the parameter's ID, caption, unit and slot.
MeltControlRow meltKnobRow (const juce::String& parameterID, const juce::String& caption, const juce::String& suffix,
                            MeltControlRow::KnobSlot slot, float minimum, float maximum, float doubleClickValue,
                            MeltControlRow::Shows shows, juce::Rectangle<float> area);

#define MELT_KNOB_ROW(stem, minimum, maximum, doubleClick, shows, x, y, w, h)                                          \
    meltKnobRow (PluginParameters::stem##ID, PluginParameters::stem##Name, PluginParameters::stem##Label,              \
                 &PluginParameters::stem##Attachment, minimum, maximum, doubleClick, MeltControlRow::Shows::shows,     \
                 {x, y, w, h})

// The red look of a level knob.
inline MeltControlRow redKnob (MeltControlRow row)
{
    row.red = true;
    return row;
}

// A row's menu or knob with the wrapper that captions it; only the kind its row asks for exists.
struct MeltControl
{
    explicit MeltControl (const MeltControlRow& rowIn);

    juce::Component& wrapper();
    // Double-click value (no single-click modifier), looks and colour of a knob row.
    void styleKnob (juce::LookAndFeel& knobLook, juce::LookAndFeel& captionLook);
    // A new attachment into the row's slot; the slot deletes the one it held.
    void attach (PluginParameters& parameters);
    void clearLookAndFeels();

    const MeltControlRow& row;
    std::optional<BasicComboBox> comboBox;
    std::optional<LabeledComboBox> comboWrapper;
    std::optional<BasicKnob> knob;
    std::optional<LabeledKnob> knobWrapper;

    JUCE_DECLARE_NON_COPYABLE (MeltControl)
};

// What sets one melt page apart: its controls, its group's detach function and its lines.
struct MeltPageDesign
{
    std::vector<MeltControlRow> rows;
    void (PluginParameters::*detach)();
    std::vector<juce::Rectangle<float>> lines;
};

// A page of the melt panel: it builds, lays out and binds the controls of its table, and draws
// only its lines, so the melt panel's body shows through.
class MeltPage : public juce::Component
{
public:
    MeltPage (Rirorezo3AudioProcessor* processorIn, const MeltPageDesign& designIn);
    ~MeltPage() override;

    void paint (juce::Graphics& g) override;
    void resized() override;

    // The control bound to the parameter, or nullptr when the page has none.
    MeltControl* control (const juce::String& parameterID);

    static constexpr float designWidth = 289.0f, designHeight = 163.0f;

private:
    void showSyncMode (const juce::ComboBox& syncMode);

    juce::SharedResourcePointer<BasicLookAndFeel> basicLookAndFeel;
    juce::SharedResourcePointer<KnobLabelLookAndFeel> knobLabelLookAndFeel;
    juce::SharedResourcePointer<ComboLookAndFeel> comboLookAndFeel;
    Rirorezo3AudioProcessor* processor;
    const MeltPageDesign& design;
    juce::OwnedArray<MeltControl> controls;

    JUCE_DECLARE_NON_COPYABLE (MeltPage)
};

// Wow and flutter: the slow and fast pitch variation.
class MeltFlowPanel : public MeltPage
{
public:
    explicit MeltFlowPanel (Rirorezo3AudioProcessor* processorIn);
};

class MeltDropoutPanel : public MeltPage
{
public:
    explicit MeltDropoutPanel (Rirorezo3AudioProcessor* processorIn);
};

class MeltJumpPanel : public MeltPage
{
public:
    explicit MeltJumpPanel (Rirorezo3AudioProcessor* processorIn);
};
