#pragma once

#include "engine/EngineFilter.h"

#include <juce_audio_basics/juce_audio_basics.h>

// The master stage's state: a plain record that the processor works on.
struct MasterSection
{
    using Ramp = juce::SmoothedValue<float, juce::ValueSmoothingTypes::Linear>;

    // The noise runs through the low shelf first, then the high shelf.
    EngineFilter noiseHighShelf;
    EngineFilter noiseLowShelf;
    Ramp smoothOutputVolume{};
    Ramp smoothDryWetMix{};
    Ramp smoothNoiseLevel{};
};
