#pragma once

#include "ui/controls/BasicComboBox.h"
#include "ui/controls/BasicSlider.h"
#include "ui/controls/Knobs.h"
#include "ui/style/LabelLookAndFeels.h"

#include <juce_gui_basics/juce_gui_basics.h>

// A knob with a caption under it that doubles as its value read-out: while the pointer is over
// the knob or the caption it shows the value text, and a double-click on it lets the user type
// a value. The panel owns the knob; the wrapper only places it.
class LabeledKnob : public juce::Component, private juce::Timer
{
public:
    LabeledKnob (const juce::String& name, BasicKnob& knobToWrap);
    ~LabeledKnob() override;

    void resized() override;
    void updateLabel (const juce::MouseEvent& e);

    struct LKMouseListener : public juce::MouseListener
    {
        void mouseMove (const juce::MouseEvent& e) override;
        void mouseEnter (const juce::MouseEvent& e) override;
        void mouseExit (const juce::MouseEvent& e) override;

        LabeledKnob* owner = nullptr;
    };

    BasicKnob* knob;
    juce::Label label;
    juce::String caption;
    bool knobHovered = false;
    bool labelHovered = false;
    LKMouseListener mouseListener;

private:
    void timerCallback() override;
    void showValueText();

    JUCE_DECLARE_NON_COPYABLE (LabeledKnob)
};

// A combo box with a plain caption under it.
class LabeledComboBox : public juce::Component
{
public:
    LabeledComboBox (const juce::String& name, BasicComboBox& box);
    ~LabeledComboBox() override;

    void resized() override;

    juce::SharedResourcePointer<ComboLabelLookAndFeel> labelLookAndFeel;
    BasicComboBox* comboBox;
    juce::Label label;
    juce::String caption;

private:
    JUCE_DECLARE_NON_COPYABLE (LabeledComboBox)
};

// The fader with a plain caption under it.
class LabeledSlider : public juce::Component
{
public:
    LabeledSlider (const juce::String& name, BasicSlider& sliderToWrap);
    ~LabeledSlider() override;

    void resized() override;

    juce::SharedResourcePointer<SliderLabelLookAndFeel> labelLookAndFeel;
    BasicSlider* slider;
    juce::Label label;
    juce::String caption;

private:
    JUCE_DECLARE_NON_COPYABLE (LabeledSlider)
};
