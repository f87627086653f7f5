#pragma once

#include "parameters/PluginParameters.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <algorithm>
#include <atomic>
#include <cmath>

using LinearRamp = juce::SmoothedValue<float, juce::ValueSmoothingTypes::Linear>;

// One smoother of a section: the member, its ramp length and the mirror value it follows (none
// where the stage supplies the target itself). A section lists its smoothers in the order their
// targets are set.
template <typename Section> struct SmootherEntry
{
    LinearRamp Section::*ramp;
    double seconds;
    std::atomic<float> PluginParameters::*value = nullptr;
};

// A ramp's length in samples, floored as SmoothedValue::reset (sampleRate, seconds) does. Its
// conversion to int is undefined for a rate that is not a number or is too large; here a rate that
// is not a positive number gives no ramp, and a huge one a ramp of at most 1e8 steps.
inline int rampSteps (double seconds, double sampleRate)
{
    const auto steps = std::floor (seconds * sampleRate);
    return steps >= 1.0 ? (int)std::min (steps, 1.0e8) : 0;
}

template <typename Section, size_t count>
void resetRamps (Section& section, const SmootherEntry<Section> (&table)[count], double sampleRate)
{
    for (const auto& entry : table)
        (section.*entry.ramp).reset (rampSteps (entry.seconds, sampleRate));
}

template <typename Section, size_t count>
bool anyRamping (const Section& section, const SmootherEntry<Section> (&table)[count])
{
    for (const auto& entry : table)
        if ((section.*entry.ramp).isSmoothing())
            return true;
    return false;
}

// A switched-off section keeps its smoothers in time: one step per sample each. A smoother at rest
// would not move, so it is left alone.
template <typename Section, size_t count>
void advanceRamps (Section& section, const SmootherEntry<Section> (&table)[count], int numSamples)
{
    for (const auto& entry : table)
    {
        auto& ramp = section.*entry.ramp;
        for (int i = 0; i < numSamples && ramp.isSmoothing(); ++i)
            ramp.getNextValue();
    }
}
