#pragma once

#include "engine/DelayLine.h"
#include "engine/EngineFilter.h"
#include "engine/LFO.h"

#include <juce_audio_basics/juce_audio_basics.h>

// The echo stage's state: a plain record that the processor works on. The two lines hold
// doubles and the loop states floats, so a sample narrows when it is read and widens when it is
// written.
struct EchoSection
{
    using Ramp = juce::SmoothedValue<float, juce::ValueSmoothingTypes::Linear>;

    static constexpr int delayCapacity = 3072000;
    using Line = DelayLine<delayCapacity>;

    // Only its phase, enabled flag and sample rate are used: the factor square wave reads the
    // phase, and the flag delays a switch to Auto by one sample.
    LFO factorLfo;
    double sampleRate = -1.0;
    Line delayLineL;
    Line delayLineR;
    float feedbackL = 0.0f;
    float feedbackR = 0.0f;
    double targetDelayL = 0.0;
    double targetDelayR = 0.0;
    double meltMod = 0.0;
    double delayL = 0.0;
    double delayR = 0.0;
    int writeIndex = 0;
    float factorSlew = 0.0f;
    float lowPassFreqCache = unsetFilterKey;
    float highPassFreqCache = unsetFilterKey;
    EngineFilter lowPassL;
    EngineFilter lowPassR;
    EngineFilter highPassL;
    EngineFilter highPassR;
    Ramp feedbackSmooth{0.0f};
    Ramp lowPassFreqSmooth{20000.0f};
    Ramp highPassFreqSmooth{20.0f};
    Ramp inputSmooth{0.0f};
    Ramp mixSmooth{0.0f};
};
