#pragma once

#include <juce_core/juce_core.h>

#include <optional>

// The value texts the knobs and the fader show and read back.
namespace valueText
{
// The value with up to six significant digits, then a blank and the suffix when there is one.
juce::String withSuffix (double value, const juce::String& suffix);

// The leading number of the text, 0 when it has none; nothing when that number is not finite
// ("nan", "inf", an overflowing exponent), so a typed text can never set a non-finite value.
std::optional<double> readFiniteNumber (const juce::String& text);

// The number before the text's first blank, so a unit after the number is ignored.
std::optional<double> numberBeforeFirstBlank (const juce::String& text);
} // namespace valueText
