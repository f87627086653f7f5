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
using P = PluginParameters;

constexpr int manualId = 1;
constexpr int secondModeId = 2; // "BPM" for the sync mode, "Auto" for the factor mode

// The combo boxes whose attachments come before the sliders' in the echo group's slot order.
constexpr int combosAttachedBeforeSliders = 6;
} // namespace

struct EchoPanel::ComboRow
{
    BasicComboBox& box;
    LabeledComboBox& labeled;
    const juce::StringArray& items;
    bool wheelSteps;
    const juce::String& identifier;
    ComboSlot slot;
    juce::Rectangle<float> design;
    bool shown;
};

struct EchoPanel::SliderRow
{
    juce::Slider& slider;
    juce::Component& labeled;
    // None for the time knob: the sync handler gives it its looks and double-click value.
    juce::LookAndFeel* sliderLook;
    juce::LookAndFeel* labelLook;
    std::optional<double> doubleClick;
    const juce::String& identifier;
    SliderSlot slot;
    juce::Rectangle<float> design;
    bool shown;
};

struct EchoPanel::ButtonRow
{
    BasicButton& button;
    const char* text;
    bool toggles;
    juce::LookAndFeel& look;
    // LOAD and SAVE are bound to no parameter.
    const juce::String* identifier;
    ButtonSlot slot;
    juce::Rectangle<float> design;
    bool shown;
};

struct EchoPanel::CoverRow
{
    juce::Component& cover;
    juce::Rectangle<float> design;
};

// Rectangles in design units of the 295 by 277 panel; a combo, fader or knob rectangle is that of
// its captioned wrapper.
std::array<EchoPanel::ComboRow, 8> EchoPanel::comboRows()
{
    return {{
        {syncBox,
         syncLabeled,
         comboItems::syncModes,
         false,
         P::echoSyncID,
         &P::echoSyncAttachment,
         {15, 30, 81, 33},
         true},
        {rateLeftBox,
         rateLeftLabeled,
         comboItems::noteValues,
         true,
         P::echoRateLeftID,
         &P::echoRateLeftAttachment,
         {108, 30, 54, 34},
         false},
        {rateRightBox,
         rateRightLabeled,
         comboItems::noteValues,
         true,
         P::echoRateRightID,
         &P::echoRateRightAttachment,
         {108, 67, 54, 34},
         false},
        {minimumBox,
         minimumLabeled,
         comboItems::echoMinimumFactors,
         true,
         P::echoMinID,
         &P::echoMinAttachment,
         {115, 148, 54, 34},
         true},
        {maximumBox,
         maximumLabeled,
         comboItems::echoMaximumFactors,
         true,
         P::echoMaxID,
         &P::echoMaxAttachment,
         {232, 148, 54, 34},
         true},
        {factorRateBox,
         factorRateLabeled,
         comboItems::barRates,
         true,
         P::echoFactorRateID,
         &P::echoFactorRateAttachment,
         {173, 148, 54, 34},
         false},
        {mixModeBox,
         mixModeLabeled,
         comboItems::echoMixModes,
         true,
         P::echoMixModeID,
         &P::echoMixModeAttachment,
         {233, 252, 42, 33},
         true},
        {factorModeBox,
         factorModeLabeled,
         comboItems::echoFactorModes,
         true,
         P::echoFactorModeID,
         &P::echoFactorModeAttachment,
         {11, 148, 55, 33},
         true},
    }};
}

// In the order of their attachments.
std::array<EchoPanel::SliderRow, 10> EchoPanel::sliderRows()
{
    juce::LookAndFeel* knob = basicLookAndFeel;
    juce::LookAndFeel* caption = knobLabelLookAndFeel;
    return {{
        {timeKnob,
         timeLabeled,
         nullptr,
         nullptr,
         std::nullopt,
         P::echoTimeID,
         &P::echoTimeAttachment,
         {128, 32, 55, 55},
         false},
        {offsetKnob,
         offsetLabeled,
         knob,
         caption,
         0.0,
         P::echoOffsetID,
         &P::echoOffsetAttachment,
         {183, 32, 55, 55},
         false},
        {offsetMsKnob,
         offsetMsLabeled,
         knob,
         caption,
         0.0,
         P::echoOffsetMsID,
         &P::echoOffsetMsAttachment,
         {183, 32, 55, 55},
         false},
        {lengthSlider,
         lengthLabeled,
         faderLookAndFeel,
         nullptr,
         100.0,
         P::echoLengthID,
         &P::echoLengthAttachment,
         {143, 113, 113, 38},
         true},
        {glideKnob,
         glideLabeled,
         knob,
         caption,
         95.0,
         P::echoGlideID,
         &P::echoGlideAttachment,
         {238, 32, 55, 55},
         true},
        {inputKnob, inputLabeled, knob, caption, 0.0, P::echoInputID, &P::echoInputAttachment, {10, 200, 55, 55}, true},
        {feedbackKnob,
         feedbackLabeled,
         knob,
         caption,
         40.0,
         P::echoFeedbackID,
         &P::echoFeedbackAttachment,
         {172, 200, 55, 55},
         true},
        {highPassKnob,
         highPassLabeled,
         knob,
         caption,
         20.0,
         P::echoHpFreqID,
         &P::echoHpFreqAttachment,
         {64, 200, 55, 55},
         true},
        {lowPassKnob,
         lowPassLabeled,
         knob,
         caption,
         20000.0,
         P::echoLpFreqID,
         &P::echoLpFreqAttachment,
         {118, 200, 55, 55},
         true},
        {mixKnob, mixLabeled, knob, caption, 35.0, P::echoMixID, &P::echoMixAttachment, {226, 200, 55, 55}, true},
    }};
}

std::array<EchoPanel::ButtonRow, 8> EchoPanel::buttonRows()
{
    return {{
        {linkButton, "oo", true, *buttonLookAndFeel, &P::echoLinkID, &P::echoLinkAttachment, {165, 49, 17, 17}, false},
        {pingPongButton,
         "PINGPONG",
         true,
         *buttonLookAndFeel,
         &P::echoPingPongID,
         &P::echoPingPongAttachment,
         {15, 67, 81, 17},
         true},
        {loopButton,
         "LOOP",
         true,
         *buttonLookAndFeel,
         &P::echoLoopID,
         &P::echoLoopAttachment,
         {175, 252, 48, 17},
         true},
        {filterButton,
         "FILTER",
         true,
         *buttonLookAndFeel,
         &P::echoFilterID,
         &P::echoFilterAttachment,
         {80, 252, 78, 17},
         true},
        {loadButton, "LOAD", false, *buttonLookAndFeel, nullptr, nullptr, {159, 4, 47, 17}, true},
        {saveButton, "SAVE", false, *buttonLookAndFeel, nullptr, nullptr, {210, 4, 47, 17}, true},
        {randomiseButton,
         "!?!",
         false,
         *buttonLookAndFeel,
         &P::echoRndID,
         &P::echoRndAttachment,
         {260, 4, 30, 17},
         true},
        {powerButton,
         "",
         true,
         *orangeButtonLookAndFeel,
         &P::echoPowerID,
         &P::echoPowerAttachment,
         {6, 6, 16, 13},
         true},
    }};
}

// c1 lies over the link brackets, c2 and c3 over the fader brackets, c4 over the centre tick.
std::array<EchoPanel::CoverRow, 4> EchoPanel::coverRows()
{
    return {{
        {linkCover, {162, 32, 55, 55}},
        {faderCoverLeft, {133, 120, 14, 32}},
        {faderCoverRight, {259, 120, 14, 32}},
        {tickCover, {196, 130, 17, 16}},
    }};
}

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
            parameters.*row.slot = std::make_unique<Tree::ButtonAttachment> (tree, *row.identifier, row.button);
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
    { child.setBounds (layout.bounds (design.getX(), design.getY(), design.getWidth(), design.getHeight())); };

    for (auto& row : coverRows())
        place (row.cover, row.design);
    for (auto& row : comboRows())
        place (row.labeled, row.design);
    for (auto& row : sliderRows())
        place (row.labeled, row.design);
    for (auto& row : buttonRows())
        place (row.button, row.design);
}
