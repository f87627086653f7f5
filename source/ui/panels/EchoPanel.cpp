#include "ui/panels/EchoPanel.h"

#include "engine/PluginProcessor.h"
#include "presets/PresetManager.h"
#include "ui/panels/ComboItemLists.h"
#include "ui/panels/ProportionalLayout.h"
#include "ui/panels/SectionRandomiser.h"
#include "ui/style/UiConstants.h"

#include <algorithm>
#include <optional>

namespace
{
using Tree = juce::AudioProcessorValueTreeState;
using ComboSlot = std::unique_ptr<Tree::ComboBoxAttachment> PluginParameters::*;
using SliderSlot = std::unique_ptr<Tree::SliderAttachment> PluginParameters::*;
using ButtonSlot = std::unique_ptr<Tree::ButtonAttachment> PluginParameters::*;

constexpr int manualId = 1;
constexpr int secondModeId = 2; // "BPM" for the sync mode, "Auto" for the factor mode

// The combo boxes whose attachments come before the sliders' in the echo group's slot order.
constexpr int combosAttachedBeforeSliders = 6;

// LOAD and SAVE are bound to no parameter.
const juce::String noParameter;
} // namespace

// A parameter's identifier and the slot its attachment goes into.
#define SLOT(stem) PluginParameters::stem##ID, &PluginParameters::stem##Attachment

struct EchoPanel::ComboRow
{
    BasicComboBox& box;
    LabeledComboBox& labeled;
    const juce::String& identifier;
    ComboSlot slot;
    juce::Rectangle<float> design;
    bool shown;
    const juce::StringArray& items;
    bool wheelSteps;
};

struct EchoPanel::SliderRow
{
    juce::Slider& slider;
    juce::Component& labeled;
    const juce::String& identifier;
    SliderSlot slot;
    juce::Rectangle<float> design;
    bool shown;
    // None for the time knob: the sync handler gives it its double-click value and its looks.
    std::optional<double> doubleClick;
    juce::LookAndFeel* sliderLook;
    juce::LookAndFeel* labelLook;
};

struct EchoPanel::ButtonRow
{
    BasicButton& button;
    const juce::String& identifier;
    ButtonSlot slot;
    juce::Rectangle<float> design;
    bool shown;
    const char* text;
    bool toggles;
    juce::LookAndFeel& look;
};

struct EchoPanel::CoverRow
{
    juce::Component& cover;
    juce::Rectangle<float> design;
};

// Rectangles are in design units of the 295 by 277 panel; a combo, fader or knob rectangle is
// that of its captioned wrapper. Rows that are not shown are added hidden and then shown or
// hidden by the sync and factor-mode handlers.
// clang-format off
std::array<EchoPanel::ComboRow, 8> EchoPanel::comboRows()
{
    return {{
        // box          wrapper             parameter              rectangle           shown  items                           wheel
        {syncBox,       syncLabeled,        SLOT (echoSync),       {15, 30, 81, 33},   true,  comboItems::syncModes,          false},
        {rateLeftBox,   rateLeftLabeled,    SLOT (echoRateLeft),   {108, 30, 54, 34},  false, comboItems::noteValues,         true},
        {rateRightBox,  rateRightLabeled,   SLOT (echoRateRight),  {108, 67, 54, 34},  false, comboItems::noteValues,         true},
        {minimumBox,    minimumLabeled,     SLOT (echoMin),        {115, 148, 54, 34}, true,  comboItems::echoMinimumFactors, true},
        {maximumBox,    maximumLabeled,     SLOT (echoMax),        {232, 148, 54, 34}, true,  comboItems::echoMaximumFactors, true},
        {factorRateBox, factorRateLabeled,  SLOT (echoFactorRate), {173, 148, 54, 34}, false, comboItems::barRates,           true},
        {mixModeBox,    mixModeLabeled,     SLOT (echoMixMode),    {233, 252, 42, 33}, true,  comboItems::echoMixModes,       true},
        {factorModeBox, factorModeLabeled,  SLOT (echoFactorMode), {11, 148, 55, 33},  true,  comboItems::echoFactorModes,    true},
    }};
}

// In the order of their attachments.
std::array<EchoPanel::SliderRow, 10> EchoPanel::sliderRows()
{
    juce::LookAndFeel* const knob = basicLookAndFeel;
    juce::LookAndFeel* const fader = faderLookAndFeel;
    juce::LookAndFeel* const caption = knobLabelLookAndFeel;
    return {{
        // slider      wrapper           parameter            rectangle            shown  double-click  looks
        {timeKnob,     timeLabeled,      SLOT (echoTime),     {128, 32, 55, 55},   false, std::nullopt, nullptr, nullptr},
        {offsetKnob,   offsetLabeled,    SLOT (echoOffset),   {183, 32, 55, 55},   false, 0.0,          knob,    caption},
        {offsetMsKnob, offsetMsLabeled,  SLOT (echoOffsetMs), {183, 32, 55, 55},   false, 0.0,          knob,    caption},
        {lengthSlider, lengthLabeled,    SLOT (echoLength),   {143, 113, 113, 38}, true,  100.0,        fader,   nullptr},
        {glideKnob,    glideLabeled,     SLOT (echoGlide),    {238, 32, 55, 55},   true,  95.0,         knob,    caption},
        {inputKnob,    inputLabeled,     SLOT (echoInput),    {10, 200, 55, 55},   true,  0.0,          knob,    caption},
        {feedbackKnob, feedbackLabeled,  SLOT (echoFeedback), {172, 200, 55, 55},  true,  40.0,         knob,    caption},
        {highPassKnob, highPassLabeled,  SLOT (echoHpFreq),   {64, 200, 55, 55},   true,  20.0,         knob,    caption},
        {lowPassKnob,  lowPassLabeled,   SLOT (echoLpFreq),   {118, 200, 55, 55},  true,  20000.0,      knob,    caption},
        {mixKnob,      mixLabeled,       SLOT (echoMix),      {226, 200, 55, 55},  true,  35.0,         knob,    caption},
    }};
}

std::array<EchoPanel::ButtonRow, 8> EchoPanel::buttonRows()
{
    auto& plain = *buttonLookAndFeel;
    auto& orange = *orangeButtonLookAndFeel;
    return {{
        // button         parameter               rectangle           shown  text        toggles  look
        {linkButton,      SLOT (echoLink),        {165, 49, 17, 17},  false, "oo",       true,    plain},
        {pingPongButton,  SLOT (echoPingPong),    {15, 67, 81, 17},   true,  "PINGPONG", true,    plain},
        {loopButton,      SLOT (echoLoop),        {175, 252, 48, 17}, true,  "LOOP",     true,    plain},
        {filterButton,    SLOT (echoFilter),      {80, 252, 78, 17},  true,  "FILTER",   true,    plain},
        {loadButton,      noParameter, nullptr,   {159, 4, 47, 17},   true,  "LOAD",     false,   plain},
        {saveButton,      noParameter, nullptr,   {210, 4, 47, 17},   true,  "SAVE",     false,   plain},
        {randomiseButton, SLOT (echoRnd),         {260, 4, 30, 17},   true,  "!?!",      false,   plain},
        {powerButton,     SLOT (echoPower),       {6, 6, 16, 13},     true,  "",         true,    orange},
    }};
}

// c1 lies over the link brackets, c2 and c3 over the fader brackets, c4 over the centre tick.
std::array<EchoPanel::CoverRow, 4> EchoPanel::coverRows()
{
    return {{
        {linkCover,       {162, 32, 55, 55}},
        {faderCoverLeft,  {133, 120, 14, 32}},
        {faderCoverRight, {259, 120, 14, 32}},
        {tickCover,       {196, 130, 17, 16}},
    }};
}
// clang-format on

#undef SLOT

EchoPanel::EchoPanel (Rirorezo3AudioProcessor* processorToUse) : processor (processorToUse)
{
    setSize (designWidth, designHeight);

    for (auto& row : comboRows())
    {
        row.box.setJustificationType (juce::Justification::centred);
        Populations::populate (row.box, row.items);
        row.box.setScrollWheelEnabled (row.wheelSteps);
        row.box.setLookAndFeel (comboLookAndFeel);
        row.labeled.setVisible (row.shown);
    }
    syncLabeled.setLookAndFeel (knobLabelLookAndFeel);

    for (auto& row : sliderRows())
    {
        if (row.doubleClick.has_value())
            row.slider.setDoubleClickReturnValue (true, *row.doubleClick, {});
        if (row.sliderLook != nullptr)
            row.slider.setLookAndFeel (row.sliderLook);
        if (row.labelLook != nullptr)
            row.labeled.setLookAndFeel (row.labelLook);
        row.labeled.setVisible (row.shown);
    }
    mixKnob.fillColour = redKnobColour;

    for (auto& row : buttonRows())
    {
        row.button.setButtonText (juce::translate (row.text));
        row.button.setClickingTogglesState (row.toggles);
        row.button.setLookAndFeel (&row.look);
        row.button.setVisible (row.shown);
    }

    syncBox.onChange = [this] { syncModeChanged(); };
    factorModeBox.onChange = [this] { factorModeChanged(); };
    rateLeftBox.onChange = [this] { copyRateIfLinked (rateLeftBox, rateRightBox); };
    rateRightBox.onChange = [this] { copyRateIfLinked (rateRightBox, rateLeftBox); };
    linkButton.onClick = [this] { copyRateIfLinked (rateLeftBox, rateRightBox); };
    loadButton.onClick = [this] { processor->presetManager->loadSubPreset (subPresetGroup); };
    saveButton.onClick = [this] { processor->presetManager->saveSubPreset (subPresetGroup); };

    // Stacking order: the covers at the bottom, then the controls that come and go with the
    // modes, then the rest.
    for (auto* child : std::initializer_list<juce::Component*>{
             &linkCover,         &faderCoverLeft,   &faderCoverRight,   &tickCover,       &linkButton,
             &rateLeftLabeled,   &rateRightLabeled, &timeLabeled,       &offsetLabeled,   &offsetMsLabeled,
             &factorRateLabeled, &syncLabeled,      &minimumLabeled,    &maximumLabeled,  &lengthLabeled,
             &glideLabeled,      &inputLabeled,     &feedbackLabeled,   &highPassLabeled, &lowPassLabeled,
             &mixLabeled,        &mixModeLabeled,   &factorModeLabeled, &pingPongButton,  &loopButton,
             &filterButton,      &powerButton,      &loadButton,        &saveButton,      &randomiseButton})
        addChildComponent (child);

    createAttachments();

    // Installed after the attachments: a switch stored as on turns the button on while it is
    // attached, and merely opening the editor must not randomise the section.
    randomiseButton.onClick = [this] { randomiseSubPresetGroup (*processor, subPresetGroup); };
}

EchoPanel::~EchoPanel()
{
    processor->pluginParameters.detachEchoControls();

    for (auto& row : comboRows())
    {
        row.box.setLookAndFeel (nullptr);
        row.labeled.setLookAndFeel (nullptr);
    }
    for (auto& row : sliderRows())
    {
        row.slider.setLookAndFeel (nullptr);
        row.labeled.setLookAndFeel (nullptr);
    }
    for (auto& row : buttonRows())
        row.button.setLookAndFeel (nullptr);
}

// Into the echo group's slots, in the group's slot order. Creating a combo-box or button
// attachment selects the stored value with a synchronous notification, so the sync and
// factor-mode handlers run here; the rate handlers run while the link is still off.
void EchoPanel::createAttachments()
{
    auto& parameters = processor->pluginParameters;
    auto& tree = *parameters.apvts;
    const auto combos = comboRows();
    const auto attachCombo = [&] (const ComboRow& row)
    { parameters.*row.slot = std::make_unique<Tree::ComboBoxAttachment> (tree, row.identifier, row.box); };

    std::for_each (combos.begin(), combos.begin() + combosAttachedBeforeSliders, attachCombo);
    for (const auto& row : sliderRows())
        parameters.*row.slot = std::make_unique<Tree::SliderAttachment> (tree, row.identifier, row.slider);
    std::for_each (combos.begin() + combosAttachedBeforeSliders, combos.end(), attachCombo);
    for (const auto& row : buttonRows())
        if (row.slot != nullptr)
            parameters.*row.slot = std::make_unique<Tree::ButtonAttachment> (tree, row.identifier, row.button);
}

// Runs on every change of the sync mode; it also resets the time knob's double-click value, so
// after the first change a double-click returns the time to 500 ms and alt-click no longer does.
void EchoPanel::syncModeChanged()
{
    timeKnob.setDoubleClickReturnValue (true, 500.0, {});
    timeKnob.setLookAndFeel (basicLookAndFeel);
    timeLabeled.setLookAndFeel (knobLabelLookAndFeel);

    const auto id = syncBox.getSelectedId();
    if (id != manualId && id != secondModeId)
        return;

    const auto manual = id == manualId;
    for (auto* beatControl :
         std::initializer_list<juce::Component*>{&linkButton, &rateLeftLabeled, &rateRightLabeled, &offsetLabeled})
        beatControl->setVisible (!manual);
    for (auto* manualControl : std::initializer_list<juce::Component*>{&timeLabeled, &linkCover, &offsetMsLabeled})
        manualControl->setVisible (manual);
}

void EchoPanel::factorModeChanged()
{
    const auto id = factorModeBox.getSelectedId();
    if (id != manualId && id != secondModeId)
        return;

    const auto automatic = id == secondModeId;
    factorRateLabeled.setVisible (automatic);
    tickCover.setVisible (automatic);
    faderCoverLeft.setVisible (!automatic);
    faderCoverRight.setVisible (!automatic);
}

// The copy is posted: the other box shows the text at once, its attachment and its own handler
// learn of it on the next message. Setting the text a box already shows sends nothing, so a
// linked pair settles after one exchange. The box's own async updater dies with the box.
void EchoPanel::copyRateIfLinked (BasicComboBox& from, BasicComboBox& to)
{
    if (linkButton.getToggleState())
        to.setText (from.getText(), juce::sendNotificationAsync);
}

void EchoPanel::paint (juce::Graphics& g)
{
    const ProportionalLayout layout (*this, designWidth, designHeight);
    const auto width = static_cast<float> (getWidth());
    const auto height = static_cast<float> (getHeight());
    const auto fill = [&] (float x, float y, float w, float h) { g.fillRect (layout.area (x, y, w, h)); };

    g.setColour (panelColour);
    g.fillRoundedRectangle (0.0f, 0.0f, width, height, layout.x (5.0f));
    g.setColour (borderColour);
    g.drawRoundedRectangle (1.5f, 1.5f, std::max (width - 3.0f, 0.0f), std::max (height - 3.0f, 0.0f), layout.x (5.0f),
                            layout.x (2.0f));

    const auto headerHeight = layout.y (23.0f);
    const juce::Rectangle<float> header (0.0f, 0.0f, width, headerHeight);
    g.setColour (panelHeaderColour);
    g.fillRect (header);
    g.drawRect (header.reduced (1.5f), 1.0f);

    g.setColour (headerTextColour);
    g.setFont (headerFont.withHeight (layout.fontHeight (20.0f)));
    g.drawText ("ECHO", juce::Rectangle<float> (layout.x (30.0f), layout.y (1.0f), width, headerHeight),
                juce::Justification::left, true);

    // Another selection keeps the colour last set.
    const auto syncId = syncBox.getSelectedId();
    if (syncId == manualId)
        g.setColour (panelColour);
    else if (syncId == secondModeId)
        g.setColour (lineColour);
    fill (163, 37, 12, 1);
    fill (174, 37, 1, 10);
    fill (163, 77, 12, 1);
    fill (174, 67, 1, 10);

    g.setColour (lineColour);
    fill (1, 104, 292, 1);

    const auto factorId = factorModeBox.getSelectedId();
    if (factorId == manualId)
        g.setColour (lineColour);
    else if (factorId == secondModeId)
        g.setColour (panelColour);
    fill (135, 121, 9, 1);
    fill (135, 122, 1, 22);
    fill (260, 122, 9, 1);
    fill (269, 122, 1, 22);

    if (factorId == manualId)
        g.setColour (panelColour);
    else if (factorId == secondModeId)
        g.setColour (lineColour);
    fill (200, 137, 1, 9);

    g.setColour (lineColour);
    fill (1, 192, 292, 1);

    g.setColour (labelTextColour);
    g.setFont (buttonFont.withHeight (layout.fontHeight (18.0f)));
    g.drawFittedText ("BEAT FACTOR", layout.bounds (10, 116, 182, 19), juce::Justification::left, 1);
}

void EchoPanel::resized()
{
    const ProportionalLayout layout (*this, designWidth, designHeight);
    const auto place = [&] (juce::Component& child, juce::Rectangle<float> design)
    { child.setBounds (layout.bounds (design)); };

    for (auto& row : coverRows())
        place (row.cover, row.design);
    for (auto& row : comboRows())
        place (row.labeled, row.design);
    for (auto& row : sliderRows())
        place (row.labeled, row.design);
    for (auto& row : buttonRows())
        place (row.button, row.design);
}
