#include "ui/style/ComboLookAndFeel.h"

#include "ui/style/UiConstants.h"

// Separators, disabled items, sub-menus, shortcuts and icons are not drawn apart: the lists
// hold plain choices only.
void ComboLookAndFeel::drawPopupMenuItem (juce::Graphics& g, const juce::Rectangle<int>& area, bool, bool,
                                          bool isHighlighted, bool isTicked, bool, const juce::String& text,
                                          const juce::String&, const juce::Drawable*, const juce::Colour*)
{
    g.setColour (isHighlighted ? popupHoverColour : popupMenuColour);
    g.setOpacity (0.5f);
    // The bottom pixel row stays unfilled: a line of the menu background between rows.
    g.fillRect (area.getX(), area.getY(), area.getWidth(), area.getHeight() - 1);

    g.setColour (isTicked ? popupTextAltColour : popupTextColour);
    g.setFont (popupFont);
    g.drawFittedText (text, 10, 1, juce::jmax (0, area.getRight() - 10), area.getHeight(), juce::Justification::left,
                      1);
}
