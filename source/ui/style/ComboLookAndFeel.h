#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The rows of a combo box's pop-up list: flat translucent rows, the ticked item's text lighter.
// The box's face is drawn by BasicComboBox itself.
class ComboLookAndFeel : public juce::LookAndFeel_V4
{
public:
    void drawPopupMenuItem (juce::Graphics& g, const juce::Rectangle<int>& area, bool isSeparator, bool isActive,
                            bool isHighlighted, bool isTicked, bool hasSubMenu, const juce::String& text,
                            const juce::String& shortcutKeyText, const juce::Drawable* icon,
                            const juce::Colour* textColour) override;
};
