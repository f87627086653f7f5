#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace testsupport
{
// Paints a component and its children into an image of its own size (times scale), with no
// window: what a user would see of it.
juce::Image paintToImage (juce::Component& component, float scale = 1.0f);

// Runs the message loop for a while, so timers, async updates and posted calls happen.
void pumpMessages (int milliseconds);

// Colours compared channel by channel, allowing for anti-aliasing at the edges of shapes.
bool coloursClose (juce::Colour actual, juce::Colour expected, int tolerance = 2);
} // namespace testsupport
