#include "ui/panels/MeltPanel.h"

#include "engine/PluginProcessor.h"
#include "presets/PresetManager.h"
#include "ui/panels/SectionRandomiser.h"
#include "ui/style/UiConstants.h"

namespace
{
using ButtonSlot = std::unique_ptr<juce::AudioProcessorValueTreeState::ButtonAttachment> PluginParameters::*;
using Tree = juce::AudioProcessorValueTreeState;

// A tab with its page's power switch below it, in the tab's column, and its sub-preset group.
struct TabRow
{
    const char* caption;
    int group;
    float x;
    ButtonSlot tabSlot;
    const juce::String& tabID;
    ButtonSlot powerSlot;
    const juce::String& powerID;
    ButtonSlot randomiseSlot;
    const juce::String& randomiseID;
};

#define TAB(caption, group, x, page)                                                                                   \
    {                                                                                                                  \
        caption, group, x, &PluginParameters::melt##page##PanelSwitchAttachment,                                       \
            PluginParameters::melt##page##PanelSwitchID, &PluginParameters::melt##page##PowerAttachment,               \
            PluginParameters::melt##page##PowerID, &PluginParameters::melt##page##PanelRndAttachment,                  \
            PluginParameters::melt##page##PanelRndID                                                                   \
    }

const TabRow tabRows[] = {
    TAB ("FLOW", 1, 3.0f, Flow),
    TAB ("DROPOUT", 2, 100.0f, Dropout),
    TAB ("JUMP", 3, 197.0f, Jump),
};

#undef TAB

constexpr float tabY = 23.0f, tabWidth = 97.0f, tabHeight = 17.0f;
constexpr float pagePowerY = 40.0f, pagePowerHeight = 13.0f;
// The three sets of LOAD, SAVE and "!?!" share these places in the header.
const juce::Rectangle<float> loadArea{297, 4, 47, 17}, saveArea{348, 4, 47, 17}, randomiseArea{398, 4, 30, 17};
const juce::Rectangle<float> powerArea{6, 6, 16, 13};
// Taller than the room left below the tabs: the pages lay out against this design size.
const juce::Rectangle<float> pageArea{1, 53, 289, 163};

const MeltControlRow knobRows[] = {
    MELT_KNOB_ROW (meltChorus, 0.0f, 100.0f, 0.0f, always, 337, 35, 55, 55),
    MELT_KNOB_ROW (meltEchoSend, 0.0f, 100.0f, 0.0f, always, 306, 99, 55, 55),
    redKnob (MELT_KNOB_ROW (meltDepth, 0.0f, 100.0f, 100.0f, always, 367, 99, 55, 55)),
};

template <typename Attachment, typename Control>
void attach (PluginParameters& parameters, std::unique_ptr<Attachment> PluginParameters::*slot,
             const juce::String& parameterID, Control& control)
{
    parameters.*slot = std::make_unique<Attachment> (*parameters.apvts, parameterID, control);
}

} // namespace

MeltPanel::MeltPanel (Rirorezo3AudioProcessor* processorIn)
    : processor (processorIn), flowPage (processorIn), dropoutPage (processorIn), jumpPage (processorIn),
      chorus (knobRows[0]), echoSend (knobRows[1]), depth (knobRows[2])
{
    setSize (static_cast<int> (designWidth), static_cast<int> (designHeight));

    for (size_t index = 0; index < pageButtons.size(); ++index)
        addChildComponent (page (index));

    for (size_t index = 0; index < pageButtons.size(); ++index)
    {
        auto& buttons = pageButtons[index];
        const int group = tabRows[index].group;
        buttons.load.onClick = [this, group] { processor->presetManager->loadSubPreset (group); };
        buttons.save.onClick = [this, group] { processor->presetManager->saveSubPreset (group); };
        const std::pair<BasicButton*, const char*> groupButtons[] = {
            {&buttons.load, "LOAD"}, {&buttons.save, "SAVE"}, {&buttons.randomise, "!?!"}};
        for (auto [button, text] : groupButtons)
        {
            button->setButtonText (juce::translate (text));
            button->setLookAndFeel (&buttonLookAndFeel.get());
            button->setClickingTogglesState (false);
            addChildComponent (*button);
        }
    }

    for (size_t index = 0; index < pageButtons.size(); ++index)
    {
        auto& buttons = pageButtons[index];
        buttons.tab.setButtonText (tabRows[index].caption);
        buttons.tab.setLookAndFeel (&buttonLookAndFeel.get());
        buttons.tab.setClickingTogglesState (true);
        buttons.tab.onClick = [this, index] { showTab (index); };
        buttons.tab.setRadioGroupId (1);
        addAndMakeVisible (buttons.tab);

        buttons.power.setLookAndFeel (&orangeButtonLookAndFeel.get());
        buttons.power.setClickingTogglesState (true);
        addAndMakeVisible (buttons.power);
    }

    for (auto* knob : {&chorus, &echoSend, &depth})
    {
        knob->styleKnob (*basicLookAndFeel, *knobLabelLookAndFeel);
        addAndMakeVisible (knob->wrapper());
    }

    power.setLookAndFeel (&orangeButtonLookAndFeel.get());
    power.setClickingTogglesState (true);
    addAndMakeVisible (power);

    // Each tab's attachment sets it with a click notification, so the tab actions run here: a
    // later tab that is on turns an earlier one off, which writes 0 to that tab's parameter.
    auto& parameters = processor->pluginParameters;
    for (size_t index = 0; index < pageButtons.size(); ++index)
    {
        attach (parameters, tabRows[index].tabSlot, tabRows[index].tabID, pageButtons[index].tab);
        attach (parameters, tabRows[index].powerSlot, tabRows[index].powerID, pageButtons[index].power);
    }
    for (auto* knob : {&chorus, &echoSend, &depth})
        knob->attach (parameters);
    for (size_t index = 0; index < pageButtons.size(); ++index)
        attach (parameters, tabRows[index].randomiseSlot, tabRows[index].randomiseID, pageButtons[index].randomise);
    attach (parameters, &PluginParameters::meltPowerAttachment, PluginParameters::meltPowerID, power);

    // Only now: a randomise switch that is on when the panel opens must not reroll its group.
    // From here on each change of the switch, wherever it comes from, clicks its button once.
    for (size_t index = 0; index < pageButtons.size(); ++index)
    {
        const int group = tabRows[index].group;
        pageButtons[index].randomise.onClick = [this, group] { randomiseSubPresetGroup (*processor, group); };
    }
}

MeltPanel::~MeltPanel()
{
    processor->pluginParameters.detachMeltMainControls();
    for (auto& buttons : pageButtons)
        for (auto* button : {&buttons.tab, &buttons.load, &buttons.save, &buttons.randomise, &buttons.power})
            button->setLookAndFeel (nullptr);
    for (auto* knob : {&chorus, &echoSend, &depth})
        knob->clearLookAndFeels();
    power.setLookAndFeel (nullptr);
}

MeltPage& MeltPanel::page (size_t index)
{
    MeltPage* const pages[] = {&flowPage, &dropoutPage, &jumpPage};
    return *pages[index];
}

// Runs on every click of the tab and whenever the radio group turns it off, so a page and its
// set of buttons show exactly while their tab is on.
void MeltPanel::showTab (size_t index)
{
    auto& buttons = pageButtons[index];
    const bool on = buttons.tab.getToggleState();
    page (index).setVisible (on);
    for (auto* button : {&buttons.load, &buttons.save, &buttons.randomise})
        button->setVisible (on);
}

void MeltPanel::paint (juce::Graphics& g)
{
    const ProportionalLayout layout (*this, designWidth, designHeight);
    const auto bounds = getLocalBounds().toFloat();
    const float corner = layout.x (5.0f);

    g.setColour (panelColour);
    g.fillRoundedRectangle (bounds, corner);
    g.setColour (borderColour);
    g.drawRoundedRectangle (bounds.reduced (1.5f), corner, layout.x (2.0f));

    const juce::Rectangle<float> header{0.0f, 0.0f, bounds.getWidth(), layout.y (23.0f)};
    g.setColour (panelHeaderColour);
    g.fillRect (header);
    g.drawRect (header.reduced (1.5f), 1.0f);

    g.setColour (headerTextColour);
    g.setFont (headerFont.withHeight (layout.fontHeight (20.0f)));
    g.drawText ("MELT", layout.area (30, 1, 437, 23), juce::Justification::left, true);

    // The divider runs past the bottom edge and is clipped there.
    g.setColour (lineColour);
    g.fillRect (layout.area (295, 23, 1, 141));
    // The dark strip behind the tabs and the page power switches.
    g.setColour (borderColour);
    g.fillRect (layout.area (1, 22, 294, 33));
}

void MeltPanel::resized()
{
    const ProportionalLayout layout (*this, designWidth, designHeight);
    for (size_t index = 0; index < pageButtons.size(); ++index)
    {
        const float x = tabRows[index].x;
        auto& buttons = pageButtons[index];
        page (index).setBounds (layout.bounds (pageArea));
        buttons.tab.setBounds (layout.bounds (x, tabY, tabWidth, tabHeight));
        buttons.power.setBounds (layout.bounds (x, pagePowerY, tabWidth, pagePowerHeight));
        buttons.load.setBounds (layout.bounds (loadArea));
        buttons.save.setBounds (layout.bounds (saveArea));
        buttons.randomise.setBounds (layout.bounds (randomiseArea));
    }
    for (auto* knob : {&chorus, &echoSend, &depth})
        knob->wrapper().setBounds (layout.bounds (knob->row.area));
    power.setBounds (layout.bounds (powerArea));
}
