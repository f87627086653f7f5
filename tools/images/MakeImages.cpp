// Draws the editor's three images (the product title, the maker's logo and the maker's monogram)
// as PNG files with transparent backgrounds, set in the embedded bold typeface that the editor's
// header and button fonts use. The PNGs are committed in resources/images; run this after
// changing a picture:
//     build/tools/make_images resources/images
#include <BinaryData.h>
#include <juce_graphics/juce_graphics.h>

#include <iostream>

namespace
{
// Dark ink for the editor's light background; light ink (the header text colour) for the dark
// box of the about overlay.
const juce::Colour darkInk{0xFF30373A};
const juce::Colour lightInk{0xFFFDF8EC};

struct Picture
{
    const char* fileName;
    int width, height;
    const char* wordmark;
    juce::Colour ink;
    // The logo carries a rule above and below its wordmark.
    bool ruled;
};

const Picture pictures[] = {
    {"title.png", 442, 68, "RIROREZO3", darkInk, false},
    {"logo.png", 472, 168, "DIRAZIDADAD", darkInk, true},
    {"monogram.png", 236, 58, "DZD", lightInk, false},
};

// The wordmark's outline, scaled to fill the area as far as its proportions allow and centred.
juce::Path wordmarkIn (const juce::Font& font, const juce::String& text, juce::Rectangle<float> area)
{
    juce::GlyphArrangement glyphs;
    glyphs.addLineOfText (font.withHeight (100.0f).withExtraKerningFactor (0.06f), text, 0.0f, 0.0f);
    juce::Path outline;
    glyphs.createPath (outline);
    outline.applyTransform (outline.getTransformToScaleToFit (area, true, juce::Justification::centred));
    return outline;
}

juce::Image draw (const Picture& picture, const juce::Font& font)
{
    juce::Image image (juce::Image::ARGB, picture.width, picture.height, true);
    juce::Graphics g (image);
    g.setColour (picture.ink);

    const auto bounds = image.getBounds().toFloat();
    if (picture.ruled)
    {
        const auto rule = bounds.getHeight() * 0.06f;
        const auto margin = bounds.getHeight() * 0.12f;
        g.fillRect (bounds.withHeight (rule).translated (0.0f, margin));
        g.fillRect (bounds.withHeight (rule).translated (0.0f, bounds.getHeight() - margin - rule));
        g.fillPath (
            wordmarkIn (font, picture.wordmark, bounds.reduced (bounds.getWidth() * 0.03f, margin + rule * 3.0f)));
    }
    else
    {
        g.fillPath (wordmarkIn (font, picture.wordmark, bounds.reduced (bounds.getHeight() * 0.08f)));
    }
    return image;
}
} // namespace

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::cerr << "usage: make_images OUTPUT_FOLDER\n";
        return 2;
    }

    const auto folder = juce::File::getCurrentWorkingDirectory().getChildFile (juce::String::fromUTF8 (argv[1]));
    if (!folder.createDirectory())
    {
        std::cerr << "make_images: cannot create " << folder.getFullPathName() << "\n";
        return 1;
    }

    const juce::Font bold (juce::Typeface::createSystemTypefaceFor (
        BinaryData::DejaVuSansBold_ttf, static_cast<size_t> (BinaryData::DejaVuSansBold_ttfSize)));

    for (const auto& picture : pictures)
    {
        const auto file = folder.getChildFile (picture.fileName);
        juce::MemoryOutputStream png;
        if (!juce::PNGImageFormat().writeImageToStream (draw (picture, bold), png) ||
            !file.replaceWithData (png.getData(), png.getDataSize()))
        {
            std::cerr << "make_images: cannot write " << file.getFullPathName() << "\n";
            return 1;
        }
        std::cout << "wrote " << file.getFullPathName() << "\n";
    }
    return 0;
}
