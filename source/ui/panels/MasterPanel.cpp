#include "ui/panels/MasterPanel.h"

#include "engine/PluginProcessor.h"
#include "ui/panels/ProportionalLayout.h"
#include "ui/style/UiConstants.h"

namespace
{
using P = PluginParameters;

// The master knobs on the 382 by 70 design; the mondo knob has no caption, and its rectangle is
// the knob's own.
constexpr float designWidth = 382.0f, designHeight = 70.0f;
namespace masterKnob
{
enum
{
    ruvuv,
    outputVolume,
    dryWet,
    noise
};
}
// clang-format off
const KnobRow masterKnobRows[] = {
    // parameter        caption               range             suffix              double-click rectangle        slot
    {P::ruvuvMeltID,    nullptr,              0.0f, 100.0f,     noUnit,             0.0,   {120, 1, 56, 56}, &P::ruvuvMeltAttachment},
    {P::outputVolumeID, &P::outputVolumeName, -100.0f, 12.0f,   noUnit,             0.0,   {300, 9, 55, 55}, &P::outputVolumeAttachment},
    {P::dryWetMixID,    &P::dryWetMixName,    0.0f, 100.0f,     P::dryWetMixLabel,  100.0, {26, 9, 55, 55},  &P::dryWetMixAttachment},
    {P::noiseLevelID,   &P::noiseLevelName,   0.0f, 100.0f,     P::noiseLevelLabel, 0.0,   {214, 9, 55, 55}, &P::noiseLevelAttachment},
};
// clang-format on
} // namespace

MasterPanel::MasterPanel (Rirorezo3AudioProcessor* processorIn)
    : processor (processorIn), ruvuvKnob (masterKnobRows[masterKnob::ruvuv].makeKnob()),
      outputVolumeKnob (masterKnobRows[masterKnob::outputVolume].makeDecibelKnob()),
      labeledOutputVolumeKnob (*masterKnobRows[masterKnob::outputVolume].caption, outputVolumeKnob),
      dryWetKnob (masterKnobRows[masterKnob::dryWet].makeKnob()),
      labeledDryWetKnob (*masterKnobRows[masterKnob::dryWet].caption, dryWetKnob),
      noiseKnob (masterKnobRows[masterKnob::noise].makeKnob()),
      labeledNoiseKnob (*masterKnobRows[masterKnob::noise].caption, noiseKnob)
{
    setSize (static_cast<int> (designWidth), static_cast<int> (designHeight));

    const auto knobs = tableKnobs();
    // The mondo knob is the red one, drawn by the light look; the captioned three are black.
    knobs[masterKnob::ruvuv].addTo (*this, *basicLookAndFeel, *knobLabelLookAndFeel);
    ruvuvKnob.fillColour = redKnobColour;
    for (size_t k = masterKnob::outputVolume; k < knobs.size(); ++k)
        knobs[k].addTo (*this, *blackKnobLookAndFeel, *knobLabelLookAndFeel);

    for (const auto& knob : knobs)
        knob.attach (*processor);
}

MasterPanel::~MasterPanel()
{
    processor->pluginParameters.detachMasterControls();
    for (const auto& knob : tableKnobs())
        knob.clearLooks();
}

std::array<TableKnob, 4> MasterPanel::tableKnobs()
{
    return {{{masterKnobRows[masterKnob::ruvuv], ruvuvKnob, nullptr},
             {masterKnobRows[masterKnob::outputVolume], outputVolumeKnob, &labeledOutputVolumeKnob},
             {masterKnobRows[masterKnob::dryWet], dryWetKnob, &labeledDryWetKnob},
             {masterKnobRows[masterKnob::noise], noiseKnob, &labeledNoiseKnob}}};
}

void MasterPanel::paint (juce::Graphics& g)
{
    const ProportionalLayout layout (*this, designWidth, designHeight);
    g.setColour (labelTextColour);
    g.setFont (buttonFont.withHeight (static_cast<float> (getHeight()) / 3.8888888f));
    g.drawFittedText ("RUVUV", layout.bounds (113, 58, 68, 12), juce::Justification::centred, 1);
}

void MasterPanel::resized()
{
    const ProportionalLayout layout (*this, designWidth, designHeight);
    for (const auto& knob : tableKnobs())
        knob.layOut (layout);
}
