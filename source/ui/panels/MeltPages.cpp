#include "ui/panels/MeltPages.h"

#include "engine/PluginProcessor.h"
#include "ui/panels/ComboItemLists.h"
#include "ui/style/UiConstants.h"

namespace
{
using Shows = MeltControlRow::Shows;

constexpr int manualModeId = 1, bpmModeId = 2;

MeltControlRow menuRow (const juce::String& parameterID, const juce::String& caption, MeltControlRow::ComboSlot slot,
                        const juce::StringArray& items, Shows shows, juce::Rectangle<float> area)
{
    MeltControlRow row{parameterID, caption, shows, area};
    row.items = &items;
    row.comboSlot = slot;
    return row;
}

MeltControlRow syncModeMenu (MeltControlRow row)
{
    row.isSyncMode = true;
    return row;
}

MeltControlRow wheelStepped (MeltControlRow row)
{
    row.wheelSteps = true;
    return row;
}
} // namespace

MeltControlRow meltKnobRow (const juce::String& parameterID, const juce::String& caption, const juce::String& suffix,
                            MeltControlRow::KnobSlot slot, float minimum, float maximum, float doubleClickValue,
                            MeltControlRow::Shows shows, juce::Rectangle<float> area)
{
    MeltControlRow row{parameterID, caption, shows, area};
    row.knobSlot = slot;
    row.minimum = minimum;
    row.maximum = maximum;
    row.suffix = &suffix;
    row.doubleClickValue = doubleClickValue;
    return row;
}

#define MENU(stem, items, shows, x, y, w, h)                                                                           \
    menuRow (PluginParameters::stem##ID, PluginParameters::stem##Name, &PluginParameters::stem##Attachment,            \
             comboItems::items, Shows::shows, {x, y, w, h})
#define KNOB MELT_KNOB_ROW

namespace
{
// The frequency knobs' double-click values are the ones the sync action writes.
const MeltPageDesign flowDesign{
    {
        MENU (meltFlowType, flowTypes, always, 15, 10, 80, 33),
        syncModeMenu (MENU (meltFlowSync, syncModes, always, 111, 10, 80, 33)),
        MENU (meltWowRate, noteValues, inBpmMode, 15, 56, 44, 33),
        KNOB (meltWowFreq, 0.25f, 4.0f, 1.2f, inManualMode, 11, 47, 55, 55),
        KNOB (meltFlowMix, 0.0f, 100.0f, 30.0f, always, 65, 47, 55, 55),
        MENU (meltFlutterRate, fastNoteValues, inBpmMode, 125, 56, 44, 33),
        KNOB (meltFlutterFreq, 5.0f, 15.0f, 8.0f, inManualMode, 120, 47, 55, 55),
        KNOB (meltFlowRnd, 0.0f, 100.0f, 50.0f, always, 175, 47, 55, 55),
        redKnob (KNOB (meltFlowLevel, 0.0f, 100.0f, 50.0f, always, 230, 47, 55, 55)),
    },
    &PluginParameters::detachMeltFlowControls,
    {{60, 66, 11, 1}, {114, 66, 11, 1}},
};

const MeltPageDesign dropoutDesign{
    {
        MENU (meltDropoutType, dropoutTypes, always, 15, 10, 80, 33),
        syncModeMenu (MENU (meltDropoutSync, syncModes, always, 111, 10, 80, 33)),
        MENU (meltDropoutRate, fastNoteValues, inBpmMode, 15, 56, 44, 33),
        KNOB (meltDropoutFreq, 0.5f, 15.0f, 8.0f, inManualMode, 11, 47, 55, 55),
        KNOB (meltDropoutPhase, 0.0f, 0.5f, 0.0f, always, 65, 47, 55, 55),
        KNOB (meltDropoutRnd, 0.0f, 100.0f, 50.0f, always, 120, 47, 55, 55),
        redKnob (KNOB (meltDropoutLevel, 0.0f, 100.0f, 25.0f, always, 230, 47, 55, 55)),
    },
    &PluginParameters::detachMeltDropoutControls,
    {},
};

const MeltPageDesign jumpDesign{
    {
        wheelStepped (MENU (meltJumpRate, barRates, always, 15, 10, 44, 33)),
        KNOB (meltJumpSnag, 0.0f, 2.0f, 0.8f, always, 65, 47, 55, 55),
        KNOB (meltJumpRelease, 0.0f, 2.0f, 0.8f, always, 120, 47, 55, 55),
        KNOB (meltJumpCurve, 0.0f, 100.0f, 50.0f, always, 99, 5, 44, 44),
        KNOB (meltJumpStart, 0.0f, 100.0f, 0.0f, always, 11, 47, 55, 55),
        KNOB (meltJumpRnd, 0.0f, 1.0f, 0.0f, always, 175, 47, 55, 55),
        redKnob (KNOB (meltJumpLevel, 0.0f, 100.0f, 0.0f, always, 230, 47, 55, 55)),
    },
    &PluginParameters::detachMeltJumpControls,
    {{93, 19, 9, 1}, {93, 19, 1, 25}, {138, 19, 9, 1}, {146, 19, 1, 25}, {113, 63, 13, 1}},
};
} // namespace

#undef MENU
#undef KNOB

MeltControl::MeltControl (const MeltControlRow& rowIn) : row (rowIn)
{
    if (row.items != nullptr)
    {
        comboBox.emplace();
        comboWrapper.emplace (row.caption, *comboBox);
    }
    else
    {
        knob.emplace (row.minimum, row.maximum, *row.suffix);
        knobWrapper.emplace (row.caption, *knob);
    }
}

juce::Component& MeltControl::wrapper()
{
    if (comboWrapper.has_value())
        return *comboWrapper;
    return *knobWrapper;
}

void MeltControl::styleKnob (juce::LookAndFeel& knobLook, juce::LookAndFeel& captionLook)
{
    knob->setDoubleClickReturnValue (true, static_cast<double> (row.doubleClickValue), juce::ModifierKeys());
    knob->setLookAndFeel (&knobLook);
    if (row.red)
        knob->fillColour = redKnobColour;
    knobWrapper->setLookAndFeel (&captionLook);
}

void MeltControl::attach (PluginParameters& parameters)
{
    using Tree = juce::AudioProcessorValueTreeState;
    if (comboBox.has_value())
        parameters.*row.comboSlot =
            std::make_unique<Tree::ComboBoxAttachment> (*parameters.apvts, row.parameterID, *comboBox);
    else
        parameters.*row.knobSlot = std::make_unique<Tree::SliderAttachment> (*parameters.apvts, row.parameterID, *knob);
}

void MeltControl::clearLookAndFeels()
{
    if (comboBox.has_value())
        comboBox->setLookAndFeel (nullptr);
    if (knob.has_value())
        knob->setLookAndFeel (nullptr);
    wrapper().setLookAndFeel (nullptr);
}

MeltPage::MeltPage (Rirorezo3AudioProcessor* processorIn, const MeltPageDesign& designIn)
    : processor (processorIn), design (designIn)
{
    for (const auto& row : design.rows)
        controls.add (new MeltControl (row));

    setSize (static_cast<int> (designWidth), static_cast<int> (designHeight));

    for (auto* each : controls)
        if (each->row.shows != Shows::always)
            addChildComponent (each->wrapper());

    for (auto* each : controls)
    {
        if (each->comboBox.has_value())
        {
            auto& box = *each->comboBox;
            box.setJustificationType (juce::Justification::centred);
            Populations::populate (box, *each->row.items);
            if (each->row.isSyncMode)
                box.onChange = [this, &box] { showSyncMode (box); };
            if (each->row.wheelSteps)
                box.setScrollWheelEnabled (true);
            box.setLookAndFeel (&comboLookAndFeel.get());
            each->comboWrapper->setLookAndFeel (&knobLabelLookAndFeel.get());
        }
        else if (each->row.shows == Shows::always)
        {
            // The knobs that only a sync mode shows are styled by the sync action.
            each->styleKnob (*basicLookAndFeel, *knobLabelLookAndFeel);
        }

        if (each->row.shows == Shows::always)
            addAndMakeVisible (each->wrapper());
    }

    // The sync menu's attachment selects the stored mode with a synchronous notification, so
    // the sync action first runs here, before the frequency knobs are attached.
    for (auto* each : controls)
        each->attach (processor->pluginParameters);
}

MeltPage::~MeltPage()
{
    (processor->pluginParameters.*design.detach)();
    for (auto* each : controls)
        each->clearLookAndFeels();
}

MeltControl* MeltPage::control (const juce::String& parameterID)
{
    for (auto* each : controls)
        if (each->row.parameterID == parameterID)
            return each;
    return nullptr;
}

// Writes the frequency knobs' double-click values on every run, so after a change of mode they
// return to these values rather than to the parameters' defaults.
void MeltPage::showSyncMode (const juce::ComboBox& syncMode)
{
    for (auto* each : controls)
        if (each->knob.has_value() && each->row.shows == Shows::inManualMode)
            each->styleKnob (*basicLookAndFeel, *knobLabelLookAndFeel);

    const int mode = syncMode.getSelectedId();
    if (mode != manualModeId && mode != bpmModeId)
        return;

    for (auto* each : controls)
    {
        if (each->row.shows == Shows::inBpmMode)
            each->wrapper().setVisible (mode == bpmModeId);
        else if (each->row.shows == Shows::inManualMode)
            each->wrapper().setVisible (mode == manualModeId);
    }
}

void MeltPage::paint (juce::Graphics& g)
{
    const ProportionalLayout layout (*this, designWidth, designHeight);
    g.setColour (lineColour);
    for (const auto& line : design.lines)
        g.fillRect (layout.area (line));
}

void MeltPage::resized()
{
    const ProportionalLayout layout (*this, designWidth, designHeight);
    for (auto* each : controls)
        each->wrapper().setBounds (layout.bounds (each->row.area));
}

MeltFlowPanel::MeltFlowPanel (Rirorezo3AudioProcessor* processorIn) : MeltPage (processorIn, flowDesign) {}

MeltDropoutPanel::MeltDropoutPanel (Rirorezo3AudioProcessor* processorIn) : MeltPage (processorIn, dropoutDesign) {}

MeltJumpPanel::MeltJumpPanel (Rirorezo3AudioProcessor* processorIn) : MeltPage (processorIn, jumpDesign) {}
