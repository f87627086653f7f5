#pragma once

#include <juce_core/juce_core.h>

// At sample rates below about 40.8 kHz the 20 kHz corners would sit at or above Nyquist and the
// filters would blow up; keeping every corner below it leaves 44.1 kHz and above untouched.
inline double limitedFrequency (double frequency, double sampleRate)
{
    return juce::jmin (frequency, 0.49 * sampleRate);
}

// The peaking filter divides by the square root of its gain, so a gain of 0 (where its ramp
// starts) must not reach it.
inline float limitedPeakGain (float gain)
{
    return juce::jmax (gain, 1.0e-6f);
}
