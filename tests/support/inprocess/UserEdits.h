#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace testsupport
{
// A mouse event on a component, in its own coordinates, as JUCE would deliver it there.
juce::MouseEvent mouseEventOn (juce::Component& component, juce::Point<float> position,
                               juce::ModifierKeys modifiers = {}, int numberOfClicks = 1);

// Moves a slider the way a user's drag does, without a window: the press begins the change
// gesture, the value moves while the button is down, the release ends the gesture.
void dragTo (juce::Slider& slider, double value);

// A user's click on a button: its click action runs (and a toggling button toggles) through
// the message loop, as after a real click.
void click (juce::Button& button);
} // namespace testsupport
