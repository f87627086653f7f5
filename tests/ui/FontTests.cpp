#include "ui/style/UiConstants.h"

#include <BinaryData.h>
#include <gtest/gtest.h>

namespace
{
juce::Font fontFromResource (const char* data, int size)
{
    return juce::Font (juce::Typeface::createSystemTypefaceFor (data, static_cast<size_t> (size)));
}
} // namespace

// Each font is built from its embedded typeface at JUCE's default height: same family, style
// and advance widths as a typeface made straight from the resource.
TEST (UiFonts, EachFontComesFromItsEmbeddedTypefaceAtHeightFourteen)
{
    const auto bold = fontFromResource (BinaryData::DejaVuSansBold_ttf, BinaryData::DejaVuSansBold_ttfSize);
    const auto book = fontFromResource (BinaryData::DejaVuSans_ttf, BinaryData::DejaVuSans_ttfSize);
    const auto semiBold = fontFromResource (BinaryData::CabinSemiBold_otf, BinaryData::CabinSemiBold_otfSize);

    struct Case
    {
        const char* name;
        const juce::Font& font;
        const char* family;
        const char* style;
        const juce::Font& resource;
    };
    const Case cases[] = {
        {"headerFont", headerFont, "DejaVu Sans", "Bold", bold},
        {"labelFont", labelFont, "Cabin", "SemiBold", semiBold},
        {"knobFont", knobFont, "Cabin", "SemiBold", semiBold},
        {"knobFontAlt", knobFontAlt, "Cabin", "SemiBold", semiBold},
        {"buttonFont", buttonFont, "DejaVu Sans", "Bold", bold},
        {"comboFont", comboFont, "DejaVu Sans", "Book", book},
        {"popupFont", popupFont, "DejaVu Sans", "Book", book},
    };
    const juce::String sample ("LOAD 1/4T -INF dB");
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        EXPECT_EQ (c.font.getTypefaceName(), c.family);
        EXPECT_EQ (c.font.getTypefaceStyle(), c.style);
        EXPECT_EQ (c.resource.getTypefaceName(), c.family);
        EXPECT_EQ (c.resource.getTypefaceStyle(), c.style);
        EXPECT_FLOAT_EQ (c.font.getHeight(), 14.0f);
        EXPECT_FLOAT_EQ (c.font.getHorizontalScale(), 1.0f);
        EXPECT_FLOAT_EQ (c.font.getStringWidthFloat (sample), c.resource.getStringWidthFloat (sample));
    }
    EXPECT_NE (bold.getStringWidthFloat (sample), book.getStringWidthFloat (sample));
}
