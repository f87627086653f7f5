#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

// The echo stage's state: a plain record that the processor works on.
struct EchoSection
{
};
