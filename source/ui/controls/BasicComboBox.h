#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A drop-down that paints its whole face itself: a flat box, a border and the chosen item's
// text centred, no arrow. Its internal label is never given bounds, so only paint shows text.
class BasicComboBox : public juce::ComboBox
{
public:
    BasicComboBox() = default;
    ~BasicComboBox() override = default;

    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    JUCE_DECLARE_NON_COPYABLE (BasicComboBox)
};
