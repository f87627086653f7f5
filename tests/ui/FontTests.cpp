#include "ImageProbes.h"
#include "ui/style/UiConstants.h"

#include <BinaryData.h>
#include <gtest/gtest.h>

#include <iterator>
#include <vector>

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

// JUCE closes the embedded faces when its session ends (a plug-in's last instance goes, a program
// shuts JUCE down); a later session opens them again, and every font measures and draws as before.
TEST (UiFonts, MeasureAndDrawAlikeWhenJuceStartsAgain)
{
    const juce::Font* const fonts[] = {&headerFont, &labelFont, &knobFont, &knobFontAlt,
                                       &buttonFont, &comboFont, &popupFont};
    const juce::String sample ("LOAD 1/4T -INF dB");
    const int rowHeight = 20;
    const int rows = static_cast<int> (std::size (fonts));
    const auto widths = [&]
    {
        std::vector<float> result;
        for (const auto* font : fonts)
            result.push_back (font->getStringWidthFloat (sample));
        return result;
    };
    const auto paintRows = [&] (juce::Graphics& g)
    {
        g.fillAll (juce::Colours::white);
        g.setColour (juce::Colours::black);
        int baseline = 15;
        for (const auto* font : fonts)
        {
            g.setFont (*font);
            g.drawSingleLineText (sample, 2, baseline);
            baseline += rowHeight;
        }
    };
    const auto drawing = [&] { return testsupport::paintedWith (160, rowHeight * rows, paintRows); };
    const auto widthsBefore = widths();
    const auto drawingBefore = drawing();
    ASSERT_FALSE (testsupport::inkBounds (drawingBefore, juce::Colours::white).isEmpty());

    juce::shutdownJuce_GUI();
    juce::initialiseJuce_GUI();

    EXPECT_EQ (widths(), widthsBefore);
    EXPECT_TRUE (testsupport::imagesEqual (drawing(), drawingBefore));
}
