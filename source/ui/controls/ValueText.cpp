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

std::optional<double> readFiniteNumber (const juce::String& text)
{
    auto characters = text.getCharPointer();
    const auto value = juce::CharacterFunctions::readDoubleValue (characters);
    if (!std::isfinite (value))
        return std::nullopt;
    return value;
}

std::optional<double> numberBeforeFirstBlank (const juce::String& text)
{
    return readFiniteNumber (text.upToFirstOccurrenceOf (" ", false, false).trim());
}
} // namespace valueText
