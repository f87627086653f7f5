#pragma once

#include "ProcessorHarness.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace testsupport
{
// A control bound both ways to its parameter: a host-side change moves it, and a user's edit of
// it reaches the parameter as exactly one change gesture (reported as test failures).
void expectKnobBound (ProcessorHarness& harness, const juce::String& identifier, juce::Slider& knob);
void expectSwitchBound (ProcessorHarness& harness, const juce::String& identifier, juce::Button& toggle);
} // namespace testsupport
