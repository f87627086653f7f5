#include "parameters/ListenerAdaptors.h"

#include <cmath>
#include <limits>

void FloatListener::parameterChanged (const juce::String&, float newValue)
{
    // A non-finite value never reaches the engine: the last good value stays.
    if (std::isfinite (newValue))
        target->store (convert (newValue, scale), std::memory_order_relaxed);
}

float FloatDecibelListener::convert (float newValue, float floorDb) noexcept
{
    if (newValue > floorDb)
        return std::pow (10.0f, newValue * 0.05f);

    return 0.0f;
}

void FloatDecibelListener::parameterChanged (const juce::String&, float newValue)
{
    if (std::isfinite (newValue))
        target->store (convert (newValue, floorDb), std::memory_order_relaxed);
}

std::int32_t IntegerListener::convert (float newValue, std::int32_t offset, std::int32_t multiplier) noexcept
{
    // Converting NaN or an out-of-range value to an integer is undefined, so those store 0
    // or the nearest representable index.
    if (std::isnan (newValue))
        return 0;

    const auto limit = static_cast<float> (std::numeric_limits<std::int32_t>::max() / 2);
    const auto clamped = juce::jlimit (-limit, limit, newValue);
    return static_cast<std::int32_t> (clamped) * multiplier + offset;
}

void IntegerListener::parameterChanged (const juce::String&, float newValue)
{
    target->store (convert (newValue, offset, multiplier), std::memory_order_relaxed);
}

void BoolListener::parameterChanged (const juce::String&, float newValue)
{
    target->store (convert (newValue), std::memory_order_relaxed);
}
