#include "ui/controls/ValueText.h"

#include <cmath>

namespace valueText
{
juce::String withSuffix (double value, const juce::String& suffix)
{
    juce::String text (value);
    if (suffix.isNotEmpty())
        text << " " << suffix;
    return text;
}

std::optional<double> readNumber (const juce::String& text, juce::Range<double> range)
{
    auto characters = text.getCharPointer();
    const auto value = juce::CharacterFunctions::readDoubleValue (characters);
    if (std::isnan (value))
        return std::nullopt;
    if (std::isinf (value))
        return value > 0.0 ? range.getEnd() : range.getStart();
    return value;
}

std::optional<double> numberBeforeFirstBlank (const juce::String& text, juce::Range<double> range)
{
    return readNumber (text.upToFirstOccurrenceOf (" ", false, false).trim(), range);
}
} // namespace valueText
