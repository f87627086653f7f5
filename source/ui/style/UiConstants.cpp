#include "ui/style/UiConstants.h"

#include <BinaryData.h>

namespace
{
juce::Font fontFrom (const char* data, int size)
{
    return juce::Font (juce::Typeface::createSystemTypefaceFor (data, static_cast<size_t> (size)));
}
} // namespace

namespace embeddedFonts
{
juce::Font bold()
{
    return fontFrom (BinaryData::DejaVuSansBold_ttf, BinaryData::DejaVuSansBold_ttfSize);
}

juce::Font book()
{
    return fontFrom (BinaryData::DejaVuSans_ttf, BinaryData::DejaVuSans_ttfSize);
}

juce::Font semiBold()
{
    return fontFrom (BinaryData::CabinSemiBold_otf, BinaryData::CabinSemiBold_otfSize);
}
} // namespace embeddedFonts
