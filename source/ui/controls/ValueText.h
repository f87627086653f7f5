#pragma once

#include <juce_core/juce_core.h>

#include <optional>

// The value texts the knobs and the fader show and read back.
namespace valueText
{
// The value with up to six significant digits, then a blank and the suffix when there is one.
juce::String withSuffix (double value, const juce::String& suffix);

// The leading number of the text, 0 when it has none. An infinite number ("inf", "-INF", an
// overflowing exponent) stands for the end of the range on its side; a text that reads as not a
// number ("nan") gives nothing, so a typed text never sets a value that is not finite.
std::optional<double> readNumber (const juce::String& text, juce::Range<double> range);

// The number before the text's first blank, so a unit after the number is ignored.
std::optional<double> numberBeforeFirstBlank (const juce::String& text, juce::Range<double> range);
} // namespace valueText
