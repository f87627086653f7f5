#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <vector>

namespace testsupport
{
// The pop-up menu window on the screen (JUCE names its menu windows "menu"), or nullptr.
juce::Component* findOpenMenu();

// A menu window's item rows, top to bottom, in the window's coordinates.
std::vector<juce::Component*> menuRows (juce::Component& menu);

// Clicks at a point of a window on the screen: a press and a release through its peer, with the
// system pointer moved there first, since an open menu follows the pointer itself.
void clickInWindow (juce::Component& window, juce::Point<float> position);
} // namespace testsupport
