#pragma once

#include "ui/controls/BasicButton.h"
#include "ui/controls/LabeledControls.h"
#include "ui/panels/KnobTable.h"
#include "ui/style/ButtonLookAndFeels.h"
#include "ui/style/LabelLookAndFeels.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>

class Rirorezo3AudioProcessor;

// The band panel: frequency and Q of the three equaliser bands, on a dark page that the tone
// panel shows over its equaliser when the band toggle is on.
class ToneHiddenPanel : public juce::Component
{
public:
    explicit ToneHiddenPanel (Rirorezo3AudioProcessor* processor);
    ~ToneHiddenPanel() override;

    void paint (juce::Graphics& g) override;
    void resized() override;
    // A press on the page's background released well away from it closes the page.
    void mouseUp (const juce::MouseEvent& e) override;

    juce::SharedResourcePointer<BasicLookAndFeel> basicLookAndFeel;
    juce::SharedResourcePointer<KnobSmWhiteLabelLookAndFeel> knobSmWhiteLabelLookAndFeel;
    Rirorezo3AudioProcessor* processor;

    BasicKnob lowFrequencyKnob;
    LabeledKnob labeledLowFrequencyKnob;
    BasicKnob lowQKnob;
    LabeledKnob labeledLowQKnob;
    BasicKnob midFrequencyKnob;
    LabeledKnob labeledMidFrequencyKnob;
    BasicKnob midQKnob;
    LabeledKnob labeledMidQKnob;
    BasicKnob highFrequencyKnob;
    LabeledKnob labeledHighFrequencyKnob;
    BasicKnob highQKnob;
    LabeledKnob labeledHighQKnob;

private:
    std::array<TableKnob, 6> tableKnobs();

    JUCE_DECLARE_NON_COPYABLE (ToneHiddenPanel)
};

// The tone shaper's panel: drive, low cut, band gains, saturation and damper, the section's
// power switch, its sub-preset LOAD/SAVE and randomise buttons, and the toggle of the band panel.
class TonePanel : public juce::Component
{
public:
    explicit TonePanel (Rirorezo3AudioProcessor* processor);
    ~TonePanel() override;

    void paint (juce::Graphics& g) override;
    void resized() override;

    juce::SharedResourcePointer<BasicLookAndFeel> basicLookAndFeel;
    juce::SharedResourcePointer<KnobLabelLookAndFeel> knobLabelLookAndFeel;
    juce::SharedResourcePointer<ButtonLookAndFeel> buttonLookAndFeel;
    juce::SharedResourcePointer<PanelButtonLookAndFeel> panelButtonLookAndFeel;
    juce::SharedResourcePointer<OrangeButtonLookAndFeel> orangeButtonLookAndFeel;
    Rirorezo3AudioProcessor* processor;

    BasicButton bandToggle;
    ToneHiddenPanel bandPanel;
    DecibelKnob driveKnob;
    LabeledKnob labeledDriveKnob;
    BasicButton lowCutSwitch;
    DecibelKnob lowGainKnob;
    LabeledKnob labeledLowGainKnob;
    DecibelKnob midGainKnob;
    LabeledKnob labeledMidGainKnob;
    DecibelKnob highGainKnob;
    LabeledKnob labeledHighGainKnob;
    BasicKnob shapeKnob;
    LabeledKnob labeledShapeKnob;
    BasicKnob saturationKnob;
    LabeledKnob labeledSaturationKnob;
    BasicKnob saturationGainKnob;
    LabeledKnob labeledSaturationGainKnob;
    BasicKnob damperKnob;
    LabeledKnob labeledDamperKnob;
    BasicButton loadButton;
    BasicButton saveButton;
    BasicButton randomiseButton;
    BasicButton powerSwitch;

private:
    std::array<TableKnob, 8> tableKnobs();

    JUCE_DECLARE_NON_COPYABLE (TonePanel)
};
