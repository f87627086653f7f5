#pragma once

#include <juce_graphics/juce_graphics.h>

// The editor's colours as a user sees them, written down here independently of the code that
// paints with them, so a pixel probe compares against the design and not against itself.
namespace testsupport::palette
{
inline const juce::Colour background{0xFFF0EEE6};
inline const juce::Colour panel{0xFFCECDC9};
inline const juce::Colour panelHeader{0xFF30373A};
inline const juce::Colour border{0xFF30373A};
inline const juce::Colour line{0xFF242424};
inline const juce::Colour headerText{0xFFFDF8EC};
inline const juce::Colour labelText{0xFF292929};
inline const juce::Colour redKnob{0xFFDE5247};
inline const juce::Colour buttonOn{0xFF559CC1};
inline const juce::Colour buttonOff{0xFF68818A};
inline const juce::Colour powerOn{0xFFFF8400};
inline const juce::Colour overlayScreen{0xBB212121};
// Literal colours of the editor window: its stripes and the about box.
inline const juce::Colour stripe{0xFF3D474A};
inline const juce::Colour aboutBox{0xFF292E2F};
} // namespace testsupport::palette
