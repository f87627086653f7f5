#include "ImageProbes.h"

#include "UiSnapshot.h"

#include <cmath>

namespace testsupport
{
testing::AssertionResult pixelsMatch (const juce::Image& image, const std::vector<PixelProbe>& probes, int tolerance)
{
    juce::StringArray failures;
    for (const auto& probe : probes)
    {
        const auto px = (int)std::floor (probe.x);
        const auto py = (int)std::floor (probe.y);
        const auto actual = image.getPixelAt (px, py);
        if (!coloursClose (actual, probe.expected, tolerance))
            failures.add (juce::String (probe.what) + " at (" + juce::String (px) + ", " + juce::String (py) +
                          "): expected " + probe.expected.toDisplayString (true) + ", found " +
                          actual.toDisplayString (true));
    }
    if (failures.isEmpty())
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << failures.joinIntoString ("\n");
}

juce::Rectangle<int> inkBounds (const juce::Image& image, juce::Colour background, int tolerance,
                                juce::Rectangle<int> within)
{
    const auto area = within.isEmpty() ? image.getBounds() : within.getIntersection (image.getBounds());
    juce::Rectangle<int> ink;
    bool found = false;
    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            if (!coloursClose (image.getPixelAt (x, y), background, tolerance))
            {
                const juce::Rectangle<int> pixel (x, y, 1, 1);
                ink = found ? ink.getUnion (pixel) : pixel;
                found = true;
            }
    return ink;
}

bool anyPixelClose (const juce::Image& image, juce::Colour colour, juce::Rectangle<int> area, int tolerance)
{
    const auto clipped = area.getIntersection (image.getBounds());
    for (int y = clipped.getY(); y < clipped.getBottom(); ++y)
        for (int x = clipped.getX(); x < clipped.getRight(); ++x)
            if (coloursClose (image.getPixelAt (x, y), colour, tolerance))
                return true;
    return false;
}

testing::AssertionResult imagesEqual (const juce::Image& actual, const juce::Image& expected)
{
    if (actual.getBounds() != expected.getBounds())
        return testing::AssertionFailure()
               << "sizes differ: " << actual.getBounds().toString() << " and " << expected.getBounds().toString();
    for (int y = 0; y < actual.getHeight(); ++y)
        for (int x = 0; x < actual.getWidth(); ++x)
            if (actual.getPixelAt (x, y) != expected.getPixelAt (x, y))
                return testing::AssertionFailure()
                       << "first difference at (" << x << ", " << y
                       << "): " << actual.getPixelAt (x, y).toDisplayString (true) << " instead of "
                       << expected.getPixelAt (x, y).toDisplayString (true);
    return testing::AssertionSuccess();
}

juce::Image paintedWith (int width, int height, const std::function<void (juce::Graphics&)>& paint)
{
    juce::Image image (juce::Image::ARGB, width, height, true);
    juce::Graphics g (image);
    paint (g);
    return image;
}

juce::Colour overlaid (juce::Colour below, juce::Colour above, float opacity)
{
    return below.overlaidWith (above.withMultipliedAlpha (opacity));
}
} // namespace testsupport
