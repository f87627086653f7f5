#include "ui/style/UiConstants.h"

#include <BinaryData.h>

#include <mutex>

namespace
{
// The fonts are built while the module loads, before JUCE's own statics (its font list among
// them) may exist, so nothing of FreeType may be touched then. This typeface carries the
// embedded face's names from the start and opens the face itself at its first use.
class EmbeddedTypeface : public juce::Typeface
{
public:
    EmbeddedTypeface (const char* family, const char* styleName, const char* fileData, int fileSize)
        : Typeface (family, styleName), data (fileData), size (static_cast<size_t> (fileSize))
    {
    }

    float getAscent() const override { return face()->getAscent(); }
    float getDescent() const override { return face()->getDescent(); }
    float getHeightToPointsFactor() const override { return face()->getHeightToPointsFactor(); }
    float getStringWidth (const juce::String& text) override { return face()->getStringWidth (text); }
    void getGlyphPositions (const juce::String& text, juce::Array<int>& glyphs, juce::Array<float>& xOffsets) override
    {
        face()->getGlyphPositions (text, glyphs, xOffsets);
    }
    bool getOutlineForGlyph (int glyphNumber, juce::Path& path) override
    {
        return face()->getOutlineForGlyph (glyphNumber, path);
    }
    juce::EdgeTable* getEdgeTableForGlyph (int glyphNumber, const juce::AffineTransform& transform,
                                           float fontHeight) override
    {
        return face()->getEdgeTableForGlyph (glyphNumber, transform, fontHeight);
    }
    bool isHinted() const override { return face()->isHinted(); }

private:
    // Holds the opened face for one JUCE session: JUCE deletes it when its last initialiser goes,
    // and the next use opens the face again. Kept by the proxy itself, the face would outlive
    // JUCE's leak counters, statics made after the proxy and so destroyed before it.
    struct OpenedFace : private juce::DeletedAtShutdown
    {
        explicit OpenedFace (const EmbeddedTypeface& proxy)
            : owner (proxy), face (juce::Typeface::createSystemTypefaceFor (proxy.data, proxy.size))
        {
        }

        ~OpenedFace() override
        {
            const std::scoped_lock lock (owner.mutex);
            owner.opened = nullptr;
        }

        const EmbeddedTypeface& owner;
        const juce::Typeface::Ptr face;
    };

    // A reference rather than the face itself, so a call still running keeps it while JUCE shuts down.
    juce::Typeface::Ptr face() const
    {
        const std::scoped_lock lock (mutex);
        if (opened == nullptr)
            opened = new OpenedFace (*this);
        return opened->face;
    }

    const char* data;
    size_t size;
    mutable std::mutex mutex;
    mutable OpenedFace* opened = nullptr;
};

juce::Font fontFrom (const char* family, const char* style, const char* data, int size)
{
    return juce::Font (juce::Typeface::Ptr (new EmbeddedTypeface (family, style, data, size)));
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
