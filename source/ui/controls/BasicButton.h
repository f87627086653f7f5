#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Every push button and switch of the editor; its whole appearance comes from its look-and-feel.
class BasicButton : public juce::TextButton
{
public:
    BasicButton() = default;
    ~BasicButton() override = default;

private:
    JUCE_DECLARE_NON_COPYABLE (BasicButton)
};
