#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <algorithm>
#include <iterator>

// A juce::IIRFilter whose per-sample step the compiler can inline into the stages: JUCE compiles
// its own step out of line in its module, and the engine runs a dozen of them per sample. The
// step is JUCE's arithmetic in JUCE's order, snap of tiny outputs to zero included, so the
// output is the same to the bit.
class EngineFilter : public juce::IIRFilter
{
public:
    // Each filter belongs to one stage and is only ever used on the audio thread, so updates made
    // there need not take JUCE's spin lock: it would guard nothing, and with cut-offs moving it
    // would be taken and released twice for every filter at every sample.
    void setCoefficientsOnAudioThread (const juce::IIRCoefficients& newCoefficients) noexcept
    {
        copyCoefficients (newCoefficients.coefficients);
    }

    // The other filter's coefficients, as they are.
    void takeCoefficientsOf (const EngineFilter& other) noexcept { copyCoefficients (other.coefficients.coefficients); }

    float processSingleSampleRaw (float in) noexcept
    {
        const auto* c = coefficients.coefficients;
        auto out = c[0] * in + v1;
        JUCE_SNAP_TO_ZERO (out);
        v1 = c[1] * in - c[3] * out + v2;
        v2 = c[2] * in - c[4] * out;
        return out;
    }

private:
    // JUCE's copy of a coefficient set is out of line; five floats need no call.
    void copyCoefficients (const float (&source)[5]) noexcept
    {
        std::copy (std::begin (source), std::end (source), std::begin (coefficients.coefficients));
        active = true;
    }
};

// A key that no coefficient key reaches, so the next sample computes fresh coefficients.
inline constexpr float unsetFilterKey = 1.0e20f;

// The keyed stereo pair: a pair's coefficients follow a float key (a cut-off, or a band's
// frequency + Q + gain) and are computed only when the key changes. True, and the key taken,
// when it changed; a key that is not a number always counts as changed.
inline bool takeNewKey (float& key, float newKey)
{
    if (newKey == key)
        return false;
    key = newKey;
    return true;
}

// The coefficients go to the left filter and are copied from it to the right one.
inline void setPair (EngineFilter& left, EngineFilter& right, const juce::IIRCoefficients& coefficients)
{
    left.setCoefficientsOnAudioThread (coefficients);
    right.takeCoefficientsOf (left);
}
