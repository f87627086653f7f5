#include "engine/EngineFilter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

namespace
{
bool sameBits (float a, float b)
{
    return std::memcmp (&a, &b, sizeof a) == 0;
}
} // namespace

// The engine's inline step must be JUCE's step exactly: same rounding, same snap of tiny
// outputs to zero, same handling of values that are not finite.
TEST (EngineFilter, StepsExactlyAsJuceIirFilter)
{
    constexpr double rate = 48000.0;
    const juce::IIRCoefficients coefficientSets[] = {
        juce::IIRCoefficients::makeLowPass (rate, 1200.0),
        juce::IIRCoefficients::makeHighPass (rate, 90.0, 1.7),
        juce::IIRCoefficients::makeLowShelf (rate, 250.0, 0.5, 1.2f),
        juce::IIRCoefficients::makeHighShelf (rate, 4000.0, 0.7, 0.08f),
        juce::IIRCoefficients::makePeakFilter (rate, 1800.0, 2.5, 3.9f),
        juce::IIRCoefficients::makeLowPass (rate, 23000.0),
    };

    juce::Random random (3);
    for (const auto& coefficients : coefficientSets)
    {
        juce::IIRFilter reference;
        EngineFilter filter;
        reference.setCoefficients (coefficients);
        filter.setCoefficients (coefficients);

        for (int i = 0; i < 20000; ++i)
        {
            // Loud, quiet, near the snap threshold, subnormal, silent and poisoned stretches.
            float in = 0.0f;
            switch ((i / 2000) % 7)
            {
            case 0:
                in = random.nextFloat() * 2.0f - 1.0f;
                break;
            case 1:
                in = (random.nextFloat() - 0.5f) * 4.0e-8f;
                break;
            case 2:
                in = 1.0e-40f * (float)(random.nextInt (5) - 2);
                break;
            case 3:
                in = 0.0f;
                break;
            case 4:
                in = (random.nextFloat() - 0.5f) * 1.0e30f;
                break;
            case 5:
                in = i % 500 == 0 ? std::numeric_limits<float>::quiet_NaN() : 0.25f;
                break;
            default:
                in = i % 700 == 0 ? std::numeric_limits<float>::infinity() : -0.0f;
                break;
            }

            const auto expected = reference.processSingleSampleRaw (in);
            const auto actual = filter.processSingleSampleRaw (in);
            ASSERT_TRUE (sameBits (expected, actual)) << "sample " << i << ": " << expected << " vs " << actual;
        }
    }
}
