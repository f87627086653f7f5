#pragma once

#include <juce_graphics/juce_graphics.h>

// The editor's palette and fonts. One shared definition for the whole plug-in (C++17 inline
// variables): every source file reads the same objects, so the typefaces are built once.

inline const juce::Colour backgroundColour{0xFFF0EEE6};
inline const juce::Colour panelColour{0xFFCECDC9};
inline const juce::Colour panelColourAlt{0xFFBEBDBA};
inline const juce::Colour panelHeaderColour{0xFF30373A};
inline const juce::Colour borderColour{0xFF30373A};
inline const juce::Colour borderColourAlt{0xFF888783};
inline const juce::Colour lineColour{0xFF242424};
inline const juce::Colour subtleOutline{0xFFBDA66A};
inline const juce::Colour darkKnobColour{0xFF818A8D};
inline const juce::Colour whiteKnobColour{0xFFDDE5E7};
inline const juce::Colour redKnobColour{0xFFDE5247};
inline const juce::Colour orangeKnobColour{0xFFE7731D};
inline const juce::Colour sliderBaseColour{0xFF312E2C};
inline const juce::Colour sliderFillColour{0xFFD6D2C9};
inline const juce::Colour buttonOnColour{0xFF559CC1};
inline const juce::Colour buttonOffColour{0xFF68818A};
inline const juce::Colour medButtonColour{0xFF559CC1};
inline const juce::Colour medButtonHoverColour{0xFF7E9BA5};
inline const juce::Colour powerButtonOnColour{0xFFFF8400};
inline const juce::Colour powerButtonOffColour{0xFF617880};
inline const juce::Colour powerButtonBorderColour{0xFFFFE6BB};
inline const juce::Colour comboBoxColour{0xFFA8C2CA};
inline const juce::Colour popupMenuColour{0xFF31383A};
inline const juce::Colour popupHoverColour{0xFF9CB5BD};
inline const juce::Colour popupTextColour{0xFF98AEB4};
inline const juce::Colour popupTextAltColour{0xFFCAE7EF};
inline const juce::Colour labelTextColour{0xFF292929};
inline const juce::Colour labelTextAltColour{0xFF595959};
inline const juce::Colour headerTextColour{0xFFFDF8EC};
inline const juce::Colour altTextColour{0xFFBDBDBD};
inline const juce::Colour overlayScreen{0xBB212121};

// Fonts at JUCE's default height (14), each built from its own typeface made from one embedded
// typeface file: a bold and a book sans-serif, and a semibold face for captions. A typeface
// opens its file at its first use, never while the module loads, and closes it when JUCE shuts
// down.
namespace embeddedFonts
{
juce::Font bold();
juce::Font book();
juce::Font semiBold();
} // namespace embeddedFonts

inline const juce::Font headerFont = embeddedFonts::bold();
inline const juce::Font labelFont = embeddedFonts::semiBold();
inline const juce::Font knobFont = embeddedFonts::semiBold();
inline const juce::Font knobFontAlt = embeddedFonts::semiBold();
inline const juce::Font buttonFont = embeddedFonts::bold();
inline const juce::Font comboFont = embeddedFonts::book();
inline const juce::Font popupFont = embeddedFonts::book();
