#pragma once

#include "parameters/PluginParameters.h"
#include "ui/controls/BasicButton.h"
#include "ui/controls/BasicComboBox.h"
#include "ui/controls/BasicSlider.h"
#include "ui/controls/Knobs.h"
#include "ui/controls/LabeledControls.h"
#include "ui/style/ButtonLookAndFeels.h"
#include "ui/style/ComboLookAndFeel.h"
#include "ui/style/FaderLookAndFeel.h"
#include "ui/style/LabelLookAndFeels.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>

class Rirorezo3AudioProcessor;

// The echo section's panel: sync mode and the two note-value rates with their link, the delay
// time and offset, the beat factor (manual fader or automatic with its rate and range), the
// input, feedback, filter and mix knobs, the switches and the echo's sub-preset buttons. What
// is shown follows the sync and factor modes, and so do the bracket lines painted beneath.
class EchoPanel : public juce::Component
{
public:
    explicit EchoPanel (Rirorezo3AudioProcessor* processorToUse);
    ~EchoPanel() override;

    void paint (juce::Graphics& g) override;
    void resized() override;

    static constexpr int designWidth = 295;
    static constexpr int designHeight = 277;
    static constexpr int subPresetGroup = 4;

private:
    juce::SharedResourcePointer<BasicLookAndFeel> basicLookAndFeel;
    juce::SharedResourcePointer<FaderLookAndFeel> faderLookAndFeel;
    juce::SharedResourcePointer<KnobLabelLookAndFeel> knobLabelLookAndFeel;
    juce::SharedResourcePointer<ButtonLookAndFeel> buttonLookAndFeel;
    juce::SharedResourcePointer<OrangeButtonLookAndFeel> orangeButtonLookAndFeel;
    juce::SharedResourcePointer<ComboLookAndFeel> comboLookAndFeel;

    Rirorezo3AudioProcessor* processor;

public:
    // The controls, in the order they are built; the editor and the tests reach them by name.
    BasicComboBox syncBox;
    LabeledComboBox syncLabeled{PluginParameters::echoSyncName, syncBox};
    BasicComboBox rateLeftBox;
    LabeledComboBox rateLeftLabeled{PluginParameters::echoRateLeftName, rateLeftBox};
    BasicComboBox rateRightBox;
    LabeledComboBox rateRightLabeled{PluginParameters::echoRateRightName, rateRightBox};
    BasicComboBox minimumBox;
    LabeledComboBox minimumLabeled{PluginParameters::echoMinName, minimumBox};
    BasicComboBox maximumBox;
    LabeledComboBox maximumLabeled{PluginParameters::echoMaxName, maximumBox};
    BasicComboBox factorRateBox;
    LabeledComboBox factorRateLabeled{PluginParameters::echoFactorRateName, factorRateBox};

    BasicSlider lengthSlider{-100.0f, 100.0f, PluginParameters::echoLengthLabel};
    LabeledSlider lengthLabeled{PluginParameters::echoLengthName, lengthSlider};

    BasicKnob glideKnob{0.0f, 100.0f, PluginParameters::echoGlideLabel};
    LabeledKnob glideLabeled{PluginParameters::echoGlideName, glideKnob};
    BasicKnob timeKnob{0.5f, 1000.0f, PluginParameters::echoTimeLabel};
    LabeledKnob timeLabeled{PluginParameters::echoTimeName, timeKnob};
    BasicKnob offsetKnob{0.0f, 100.0f, PluginParameters::echoOffsetLabel};
    LabeledKnob offsetLabeled{PluginParameters::echoOffsetName, offsetKnob};
    BasicKnob offsetMsKnob{0.0f, 150.0f, PluginParameters::echoOffsetMsLabel};
    LabeledKnob offsetMsLabeled{PluginParameters::echoOffsetMsName, offsetMsKnob};
    DecibelKnob inputKnob{-100.0f, 0.0f};
    LabeledKnob inputLabeled{PluginParameters::echoInputName, inputKnob};
    BasicKnob feedbackKnob{0.0f, 120.0f, PluginParameters::echoFeedbackLabel};
    LabeledKnob feedbackLabeled{PluginParameters::echoFeedbackName, feedbackKnob};
    BasicKnob highPassKnob{20.0f, 1500.0f, PluginParameters::echoHpFreqLabel};
    LabeledKnob highPassLabeled{PluginParameters::echoHpFreqName, highPassKnob};
    BasicKnob lowPassKnob{800.0f, 20000.0f, PluginParameters::echoLpFreqLabel};
    LabeledKnob lowPassLabeled{PluginParameters::echoLpFreqName, lowPassKnob};
    BasicKnob mixKnob{0.0f, 100.0f, PluginParameters::echoMixLabel};
    LabeledKnob mixLabeled{PluginParameters::echoMixName, mixKnob};

    BasicComboBox mixModeBox;
    LabeledComboBox mixModeLabeled{PluginParameters::echoMixModeName, mixModeBox};
    BasicComboBox factorModeBox;
    LabeledComboBox factorModeLabeled{PluginParameters::echoFactorModeName, factorModeBox};

    BasicButton linkButton, pingPongButton, loopButton, filterButton, loadButton, saveButton, randomiseButton,
        powerButton;

    // Covers paint nothing: showing or hiding one repaints the brackets beneath it in the
    // colour of the new mode.
    juce::Component linkCover, faderCoverLeft, faderCoverRight, tickCover;

private:
    struct ComboRow;
    struct SliderRow;
    struct ButtonRow;
    struct CoverRow;
    std::array<ComboRow, 8> comboRows();
    std::array<SliderRow, 10> sliderRows();
    std::array<ButtonRow, 8> buttonRows();
    std::array<CoverRow, 4> coverRows();

    void createAttachments();
    void syncModeChanged();
    void factorModeChanged();
    void copyRateIfLinked (BasicComboBox& from, BasicComboBox& to);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (EchoPanel)
};
