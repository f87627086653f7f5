#pragma once

#include "engine/EngineFilter.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <cstdint>

// The tone stage's state: a plain record that the processor works on.
struct ToneSection
{
    using Ramp = juce::SmoothedValue<float, juce::ValueSmoothingTypes::Linear>;

    double sampleRate = -1.0;
    // The low-cut switch as the low band last saw it; -1 until a block has run.
    std::int32_t lastLowCut = -1;
    // Each band's coefficient key: frequency + Q + gain of the values they were made from.
    float lastLowSum = 0.0f;
    float lastMidSum = 0.0f;
    float lastHighSum = 0.0f;
    float lastDamperCutoff = 0.0f;

    EngineFilter lowCutL, lowCutR;
    EngineFilter lowShelfL, lowShelfR;
    EngineFilter midPeakL, midPeakR;
    EngineFilter highShelfL, highShelfR;
    EngineFilter damperL, damperR;

    Ramp smoothDrive{0.0f};
    Ramp smoothLowFreq{30.0f};
    Ramp smoothLowQ{0.1f};
    Ramp smoothLowGain{0.0f};
    Ramp smoothMidFreq{1000.0f};
    Ramp smoothMidQ{0.1f};
    Ramp smoothMidGain{0.0f};
    Ramp smoothHiFreq{20000.0f};
    Ramp smoothHiQ{0.1f};
    Ramp smoothHiGain{0.0f};
    Ramp smoothShape{1.0f};
    Ramp smoothSatGain{0.0f};
    Ramp smoothDamper{20000.0f};
    Ramp smoothSaturation{0.0f};
    Ramp smoothRuvuv{0.0f};
};
