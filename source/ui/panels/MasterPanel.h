#pragma once

#include "ui/controls/LabeledControls.h"
#include "ui/panels/KnobTable.h"
#include "ui/style/LabelLookAndFeels.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>

class Rirorezo3AudioProcessor;

// The strip of master controls along the editor's bottom: the large mondo knob, output volume,
// dry/wet mix and noise level. It paints no background, so the editor's stripes show between
// its knobs.
class MasterPanel : public juce::Component
{
public:
    explicit MasterPanel (Rirorezo3AudioProcessor* processor);
    ~MasterPanel() override;

    void paint (juce::Graphics& g) override;
    void resized() override;

    juce::SharedResourcePointer<BasicLookAndFeel> basicLookAndFeel;
    juce::SharedResourcePointer<BlackKnobLookAndFeel> blackKnobLookAndFeel;
    juce::SharedResourcePointer<KnobLabelLookAndFeel> knobLabelLookAndFeel;
    Rirorezo3AudioProcessor* processor;

    BasicKnob ruvuvKnob;
    DecibelKnob outputVolumeKnob;
    LabeledKnob labeledOutputVolumeKnob;
    BasicKnob dryWetKnob;
    LabeledKnob labeledDryWetKnob;
    BasicKnob noiseKnob;
    LabeledKnob labeledNoiseKnob;

private:
    std::array<TableKnob, 4> tableKnobs();

    JUCE_DECLARE_NON_COPYABLE (MasterPanel)
};
