#include "ui/style/UiConstants.h"

#include <BinaryData.h>

#include <mutex>

namespace
{
// The fonts are shared constants, built while the plug-in's code is being loaded, and JUCE's own
// constants may not be built yet then: making a typeface parses the system's font configuration
// with them. So each font starts with a stand-in that makes its typeface from the embedded file
// on first use, when drawing begins, and passes everything on to it.
class EmbeddedTypeface : public juce::Typeface
{
public:
    EmbeddedTypeface (const char* familyName, const char* styleName, const char* dataIn, int sizeIn)
        : juce::Typeface (familyName, styleName), data (dataIn), size (static_cast<size_t> (sizeIn))
    {
    }

    bool isSuitableForFont (const juce::Font& font) const override { return loaded().isSuitableForFont (font); }
    float getAscent() const override { return loaded().getAscent(); }
    float getDescent() const override { return loaded().getDescent(); }
    float getHeightToPointsFactor() const override { return loaded().getHeightToPointsFactor(); }
    float getStringWidth (const juce::String& text) override { return loaded().getStringWidth (text); }
    void getGlyphPositions (const juce::String& text, juce::Array<int>& glyphs, juce::Array<float>& xOffsets) override
    {
        loaded().getGlyphPositions (text, glyphs, xOffsets);
    }
    bool getOutlineForGlyph (int glyphNumber, juce::Path& path) override
    {
        return loaded().getOutlineForGlyph (glyphNumber, path);
    }
    juce::EdgeTable* getEdgeTableForGlyph (int glyphNumber, const juce::AffineTransform& transform,
                                           float fontHeight) override
    {
        return loaded().getEdgeTableForGlyph (glyphNumber, transform, fontHeight);
    }
    bool isHinted() const override { return loaded().isHinted(); }

private:
    juce::Typeface& loaded() const
    {
        std::call_once (once, [this] { typeface = juce::Typeface::createSystemTypefaceFor (data, size); });
        return *typeface;
    }

    const char* data;
    size_t size;
    mutable std::once_flag once;
    mutable juce::Typeface::Ptr typeface;
};

juce::Font fontFrom (const char* familyName, const char* styleName, const char* data, int size)
{
    return juce::Font (juce::Typeface::Ptr (new EmbeddedTypeface (familyName, styleName, data, size)));
}
} // namespace

namespace embeddedFonts
{
juce::Font bold()
{
    return fontFrom ("DejaVu Sans", "Bold", BinaryData::DejaVuSansBold_ttf, BinaryData::DejaVuSansBold_ttfSize);
}

juce::Font book()
{
    return fontFrom ("DejaVu Sans", "Book", BinaryData::DejaVuSans_ttf, BinaryData::DejaVuSans_ttfSize);
}

juce::Font semiBold()
{
    return fontFrom ("Cabin", "SemiBold", BinaryData::CabinSemiBold_otf, BinaryData::CabinSemiBold_otfSize);
}
} // namespace embeddedFonts
