#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The four caption looks: the caption font at the label's height, centred in one line, with no
// background or outline; they differ in colour, height and a one-pixel drop.
class ComboLabelLookAndFeel : public juce::LookAndFeel_V4
{
public:
    void drawLabel (juce::Graphics& g, juce::Label& label) override;
};

class KnobLabelLookAndFeel : public juce::LookAndFeel_V4
{
public:
    void drawLabel (juce::Graphics& g, juce::Label& label) override;
};

// Light captions on the tone panel's dark band panel.
class KnobSmWhiteLabelLookAndFeel : public juce::LookAndFeel_V4
{
public:
    void drawLabel (juce::Graphics& g, juce::Label& label) override;
};

class SliderLabelLookAndFeel : public juce::LookAndFeel_V4
{
public:
    void drawLabel (juce::Graphics& g, juce::Label& label) override;
};
