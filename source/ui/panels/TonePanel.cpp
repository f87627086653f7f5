#include "ui/panels/TonePanel.h"

#include "engine/PluginProcessor.h"
#include "presets/PresetManager.h"
#include "ui/panels/ProportionalLayout.h"
#include "ui/panels/SectionRandomiser.h"
#include "ui/style/UiConstants.h"

namespace
{
using P = PluginParameters;
using ButtonSlot = std::unique_ptr<juce::AudioProcessorValueTreeState::ButtonAttachment> PluginParameters::*;

constexpr int toneSubPresetGroup = 0;

// The band panel's knobs on its 165 by 84 page. The high-frequency knob shows no unit.
constexpr float bandDesignWidth = 165.0f, bandDesignHeight = 84.0f;
// clang-format off
const KnobRow bandKnobRows[] = {
    // parameter       caption              range             suffix               double-click wrapper           slot
    {P::toneLowFreqID, &P::toneLowFreqName, 80.0f, 800.0f,   P::toneLowFreqLabel, 120.0,  {12, 4, 38, 38},   &P::toneLowFreqAttachment},
    {P::toneLowQID,    &P::toneLowQName,    0.5f, 2.0f,      P::toneLowQLabel,    0.5,    {12, 44, 38, 38},  &P::toneLowQAttachment},
    {P::toneMidFreqID, &P::toneMidFreqName, 120.0f, 3000.0f, P::toneMidFreqLabel, 1800.0, {63, 4, 38, 38},   &P::toneMidFreqAttachment},
    {P::toneMidQID,    &P::toneMidQName,    0.5f, 3.0f,      P::toneMidQLabel,    0.5,    {63, 44, 38, 38},  &P::toneMidQAttachment},
    {P::toneHiFreqID,  &P::toneHiFreqName,  800.0f, 5000.0f, noUnit,              2500.0, {112, 4, 38, 38},  &P::toneHiFreqAttachment},
    {P::toneHiQID,     &P::toneHiQName,     0.5f, 2.0f,      noUnit,              0.5,    {112, 44, 38, 38}, &P::toneHiQAttachment},
};
// clang-format on

// The tone panel's knobs on its 437 by 108 design, in member order.
constexpr float toneDesignWidth = 437.0f, toneDesignHeight = 108.0f;
namespace toneKnob
{
enum
{
    drive,
    lowGain,
    midGain,
    highGain,
    shape,
    saturation,
    saturationGain,
    damper
};
}
// clang-format off
const KnobRow toneKnobRows[] = {
    // parameter          caption                 range              suffix                  double-click wrapper          slot
    {P::toneDriveID,      &P::toneDriveName,      0.0f, 12.0f,       noUnit,                 0.0,     {3, 43, 55, 55},   &P::toneDriveAttachment},
    {P::toneLowGainID,    &P::toneLowGainName,    -24.0f, 12.0f,     noUnit,                 0.0,     {64, 43, 55, 55},  &P::toneLowGainAttachment},
    {P::toneMidGainID,    &P::toneMidGainName,    -24.0f, 12.0f,     noUnit,                 0.0,     {116, 43, 55, 55}, &P::toneMidGainAttachment},
    {P::toneHiGainID,     &P::toneHiGainName,     -24.0f, 12.0f,     noUnit,                 0.0,     {168, 43, 55, 55}, &P::toneHiGainAttachment},
    {P::toneShapeID,      &P::toneShapeName,      0.0f, 100.0f,      P::toneShapeLabel,      0.0,     {225, 43, 55, 55}, &P::toneShapeAttachment},
    {P::toneSaturationID, &P::toneSaturationName, 0.0f, 100.0f,      P::toneSaturationLabel, 0.0,     {274, 43, 55, 55}, &P::toneSaturationAttachment},
    {P::toneSatGainID,    &P::toneSatGainName,    0.0f, 100.0f,      P::toneSatGainLabel,    0.0,     {322, 43, 55, 55}, &P::toneSatGainAttachment},
    {P::toneDamperID,     &P::toneDamperName,     3000.0f, 20000.0f, P::toneDamperLabel,     20000.0, {378, 43, 55, 55}, &P::toneDamperAttachment},
};
// clang-format on

// The tone panel's buttons: the button, its text (none for the band toggle), whether a click
// toggles it, its look, its rectangle, and the switch parameter it is bound to, if any.
enum class ButtonLook
{
    square,
    power,
    bandToggle
};
struct ButtonRow
{
    BasicButton TonePanel::*button;
    const char* text;
    bool togglesOnClick;
    ButtonLook look;
    juce::Rectangle<float> design;
    const juce::String* parameterID;
    ButtonSlot slot;
};
namespace toneButton
{
enum
{
    lowCut,
    bandToggle,
    power,
    load,
    save,
    randomise
};
}
// clang-format off
const ButtonRow toneButtonRows[] = {
    // button                     text      toggles look                    rectangle             switch parameter and slot
    {&TonePanel::lowCutSwitch,    "LOWCUT", true,  ButtonLook::square,     {67, 26, 50, 17},    &P::toneLowCutID, &P::toneLowCutAttachment},
    // Its y has half a unit, so at design size it lands one unit low (95).
    {&TonePanel::bandToggle,      nullptr,  true,  ButtonLook::bandToggle, {117, 95.5f, 50, 12}, nullptr,         nullptr},
    {&TonePanel::powerSwitch,     "",       true,  ButtonLook::power,      {6, 6, 16, 13},      &P::tonePowerID,  &P::tonePowerAttachment},
    {&TonePanel::loadButton,      "LOAD",   false, ButtonLook::square,     {301, 4, 47, 17},    nullptr,          nullptr},
    {&TonePanel::saveButton,      "SAVE",   false, ButtonLook::square,     {352, 4, 47, 17},    nullptr,          nullptr},
    {&TonePanel::randomiseButton, "!?!",    false, ButtonLook::square,     {402, 4, 30, 17},    &P::toneRndID,    &P::toneRndAttachment},
};
// clang-format on

// The band panel lies over the equaliser at a smaller height than its own design.
const juce::Rectangle<float> bandPanelDesign{61, 24, 165, 72};

// The page's mouse-up test region ends this far below its top, as a divisor of its height
// (54/79 in single precision): below the page's own bottom edge.
constexpr float bandRegionDivisor = 0.6835443f;
} // namespace

ToneHiddenPanel::ToneHiddenPanel (Rirorezo3AudioProcessor* processorIn)
    : processor (processorIn), lowFrequencyKnob (bandKnobRows[0].makeKnob()),
      labeledLowFrequencyKnob (*bandKnobRows[0].caption, lowFrequencyKnob), lowQKnob (bandKnobRows[1].makeKnob()),
      labeledLowQKnob (*bandKnobRows[1].caption, lowQKnob), midFrequencyKnob (bandKnobRows[2].makeKnob()),
      labeledMidFrequencyKnob (*bandKnobRows[2].caption, midFrequencyKnob), midQKnob (bandKnobRows[3].makeKnob()),
      labeledMidQKnob (*bandKnobRows[3].caption, midQKnob), highFrequencyKnob (bandKnobRows[4].makeKnob()),
      labeledHighFrequencyKnob (*bandKnobRows[4].caption, highFrequencyKnob), highQKnob (bandKnobRows[5].makeKnob()),
      labeledHighQKnob (*bandKnobRows[5].caption, highQKnob)
{
    setSize (static_cast<int> (bandDesignWidth), static_cast<int> (bandDesignHeight));
    for (const auto& knob : tableKnobs())
        knob.addTo (*this, *basicLookAndFeel, *knobSmWhiteLabelLookAndFeel);
    for (const auto& knob : tableKnobs())
        knob.attach (*processor);
}

ToneHiddenPanel::~ToneHiddenPanel()
{
    processor->pluginParameters.detachToneHiddenControls();
    for (const auto& knob : tableKnobs())
        knob.clearLooks();
}

std::array<TableKnob, 6> ToneHiddenPanel::tableKnobs()
{
    return {{{bandKnobRows[0], lowFrequencyKnob, &labeledLowFrequencyKnob},
             {bandKnobRows[1], lowQKnob, &labeledLowQKnob},
             {bandKnobRows[2], midFrequencyKnob, &labeledMidFrequencyKnob},
             {bandKnobRows[3], midQKnob, &labeledMidQKnob},
             {bandKnobRows[4], highFrequencyKnob, &labeledHighFrequencyKnob},
             {bandKnobRows[5], highQKnob, &labeledHighQKnob}}};
}

void ToneHiddenPanel::paint (juce::Graphics& g)
{
    g.fillAll (panelHeaderColour);
}

void ToneHiddenPanel::resized()
{
    const ProportionalLayout layout (*this, bandDesignWidth, bandDesignHeight);
    for (const auto& knob : tableKnobs())
        knob.layOut (layout);
}

void ToneHiddenPanel::mouseUp (const juce::MouseEvent& e)
{
    const auto regionBottom = static_cast<int> (static_cast<float> (getHeight()) / bandRegionDivisor);
    if (e.x >= 0 && e.x < getWidth() && e.y >= 0 && e.y < regionBottom)
        return;
    setVisible (false);
}

TonePanel::TonePanel (Rirorezo3AudioProcessor* processorIn)
    : processor (processorIn), bandPanel (processorIn), driveKnob (toneKnobRows[toneKnob::drive].makeDecibelKnob()),
      labeledDriveKnob (*toneKnobRows[toneKnob::drive].caption, driveKnob),
      lowGainKnob (toneKnobRows[toneKnob::lowGain].makeDecibelKnob()),
      labeledLowGainKnob (*toneKnobRows[toneKnob::lowGain].caption, lowGainKnob),
      midGainKnob (toneKnobRows[toneKnob::midGain].makeDecibelKnob()),
      labeledMidGainKnob (*toneKnobRows[toneKnob::midGain].caption, midGainKnob),
      highGainKnob (toneKnobRows[toneKnob::highGain].makeDecibelKnob()),
      labeledHighGainKnob (*toneKnobRows[toneKnob::highGain].caption, highGainKnob),
      shapeKnob (toneKnobRows[toneKnob::shape].makeKnob()),
      labeledShapeKnob (*toneKnobRows[toneKnob::shape].caption, shapeKnob),
      saturationKnob (toneKnobRows[toneKnob::saturation].makeKnob()),
      labeledSaturationKnob (*toneKnobRows[toneKnob::saturation].caption, saturationKnob),
      saturationGainKnob (toneKnobRows[toneKnob::saturationGain].makeKnob()),
      labeledSaturationGainKnob (*toneKnobRows[toneKnob::saturationGain].caption, saturationGainKnob),
      damperKnob (toneKnobRows[toneKnob::damper].makeKnob()),
      labeledDamperKnob (*toneKnobRows[toneKnob::damper].caption, damperKnob)
{
    setSize (static_cast<int> (toneDesignWidth), static_cast<int> (toneDesignHeight));

    const auto knobs = tableKnobs();
    const auto addKnob = [&] (int k) { knobs[(size_t)k].addTo (*this, *basicLookAndFeel, *knobLabelLookAndFeel); };
    const auto addButton = [&] (int b)
    {
        const auto& row = toneButtonRows[b];
        auto& button = this->*row.button;
        if (row.text != nullptr)
            button.setButtonText (juce::translate (row.text));
        button.setClickingTogglesState (row.togglesOnClick);
        switch (row.look)
        {
        case ButtonLook::square:
            button.setLookAndFeel (buttonLookAndFeel);
            break;
        case ButtonLook::power:
            button.setLookAndFeel (orangeButtonLookAndFeel);
            break;
        case ButtonLook::bandToggle:
            button.setLookAndFeel (panelButtonLookAndFeel);
            break;
        }
        button.setVisible (true);
        addChildComponent (button);
    };

    // Adding order is stacking order: the band panel covers the low-cut switch and the gains
    // and lies under its toggle.
    addKnob (toneKnob::drive);
    addButton (toneButton::lowCut);
    for (const auto k : {toneKnob::lowGain, toneKnob::midGain, toneKnob::highGain})
        addKnob (k);
    addChildComponent (bandPanel);
    bandToggle.onClick = [this] { bandPanel.setVisible (bandToggle.getToggleState()); };
    addButton (toneButton::bandToggle);
    for (const auto k : {toneKnob::shape, toneKnob::saturation, toneKnob::saturationGain, toneKnob::damper})
        addKnob (k);
    saturationKnob.fillColour = redKnobColour;
    addButton (toneButton::power);
    loadButton.onClick = [this] { processor->presetManager->loadSubPreset (toneSubPresetGroup); };
    saveButton.onClick = [this] { processor->presetManager->saveSubPreset (toneSubPresetGroup); };
    for (const auto b : {toneButton::load, toneButton::save, toneButton::randomise})
        addButton (b);

    const auto attachButton = [&] (int b)
    {
        const auto& row = toneButtonRows[b];
        auto& parameters = processor->pluginParameters;
        parameters.*row.slot = std::make_unique<juce::AudioProcessorValueTreeState::ButtonAttachment> (
            *parameters.apvts, *row.parameterID, this->*row.button);
    };
    knobs[toneKnob::drive].attach (*processor);
    attachButton (toneButton::lowCut);
    for (const auto k : {toneKnob::lowGain, toneKnob::midGain, toneKnob::highGain, toneKnob::shape,
                         toneKnob::saturation, toneKnob::saturationGain, toneKnob::damper})
        knobs[(size_t)k].attach (*processor);
    attachButton (toneButton::randomise);
    attachButton (toneButton::power);

    // Installed only now: the attachment's first sync of an already-on "toneRnd" would click the
    // button, and opening the editor must not randomise the section. From here on every change of
    // the switch made elsewhere runs the randomiser once.
    randomiseButton.onClick = [this] { randomiseSubPresetGroup (*processor, toneSubPresetGroup); };
}

TonePanel::~TonePanel()
{
    processor->pluginParameters.detachToneControls();

    bandToggle.setLookAndFeel (nullptr);
    const auto knobs = tableKnobs();
    knobs[toneKnob::drive].clearLooks();
    lowCutSwitch.setLookAndFeel (nullptr);
    for (size_t k = toneKnob::lowGain; k < knobs.size(); ++k)
        knobs[k].clearLooks();
    for (auto* button : {&loadButton, &saveButton, &randomiseButton, &powerSwitch})
        button->setLookAndFeel (nullptr);
}

std::array<TableKnob, 8> TonePanel::tableKnobs()
{
    return {{{toneKnobRows[toneKnob::drive], driveKnob, &labeledDriveKnob},
             {toneKnobRows[toneKnob::lowGain], lowGainKnob, &labeledLowGainKnob},
             {toneKnobRows[toneKnob::midGain], midGainKnob, &labeledMidGainKnob},
             {toneKnobRows[toneKnob::highGain], highGainKnob, &labeledHighGainKnob},
             {toneKnobRows[toneKnob::shape], shapeKnob, &labeledShapeKnob},
             {toneKnobRows[toneKnob::saturation], saturationKnob, &labeledSaturationKnob},
             {toneKnobRows[toneKnob::saturationGain], saturationGainKnob, &labeledSaturationGainKnob},
             {toneKnobRows[toneKnob::damper], damperKnob, &labeledDamperKnob}}};
}

void TonePanel::paint (juce::Graphics& g)
{
    const auto width = static_cast<float> (getWidth());
    const auto height = static_cast<float> (getHeight());
    const ProportionalLayout layout (*this, toneDesignWidth, toneDesignHeight);

    const auto corner = width / 87.4f;
    g.setColour (panelColour);
    g.fillRoundedRectangle (0.0f, 0.0f, width, height, corner);
    g.setColour (borderColour);
    g.drawRoundedRectangle (getLocalBounds().toFloat().reduced (1.5f), corner, width / 218.5f);

    const juce::Rectangle<float> header (0.0f, 0.0f, width, height / 4.695652f);
    g.setColour (panelHeaderColour);
    g.fillRect (header);
    g.drawRect (header.reduced (1.5f), 1.0f);

    g.setColour (headerTextColour);
    g.setFont (headerFont.withHeight (height / 5.4f));
    g.drawText ("TONESHAPER", layout.area (30, 1, 437, 23), juce::Justification::left, true);

    g.setColour (lineColour);
    for (const auto& bar : {layout.area (61, 23, 1, 84), layout.area (225, 23, 1, 84), layout.area (61, 95, 164, 1),
                            layout.area (376, 23, 1, 84)})
        g.fillRect (bar);

    g.setColour (labelTextColour);
    g.setFont (buttonFont.withHeight (height / 6.75f));
    const struct
    {
        const char* text;
        juce::Rectangle<float> area;
    } titles[] = {{"INPUT", layout.area (1, 23, 60, 20)},
                  {"EQ", layout.area (62, 23, 165, 20)},
                  {"SATURATION", layout.area (224, 23, 151, 20)},
                  {"LPF", layout.area (375, 23, 59, 20)}};
    for (const auto& title : titles)
        g.drawText (title.text, title.area, juce::Justification::centred, true);
}

void TonePanel::resized()
{
    const ProportionalLayout layout (*this, toneDesignWidth, toneDesignHeight);
    const auto place = [&] (juce::Component& child, const juce::Rectangle<float>& d)
    { child.setBounds (layout.bounds (d)); };

    for (const auto& knob : tableKnobs())
        knob.layOut (layout);
    for (const auto& row : toneButtonRows)
        place (this->*row.button, row.design);
    place (bandPanel, bandPanelDesign);
}
