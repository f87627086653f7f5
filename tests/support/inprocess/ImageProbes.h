#pragma once

#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <vector>

namespace testsupport
{
// One expected colour at a point of a painted image; the point picks the pixel that contains it.
struct PixelProbe
{
    float x, y;
    juce::Colour expected;
    const char* what;
};

// Checks every probe and lists each one that fails, with the colour found.
testing::AssertionResult pixelsMatch (const juce::Image& image, const std::vector<PixelProbe>& probes,
                                      int tolerance = 2);

// The smallest rectangle holding every pixel that differs from the background by more than the
// tolerance (the ink of a text or a shape); empty when there is none.
juce::Rectangle<int> inkBounds (const juce::Image& image, juce::Colour background, int tolerance = 24,
                                juce::Rectangle<int> within = {});

// Whether any pixel in the area is close to the colour.
bool anyPixelClose (const juce::Image& image, juce::Colour colour, juce::Rectangle<int> area, int tolerance = 2);

// Two images of the same size with the same pixels; the first difference is reported.
testing::AssertionResult imagesEqual (const juce::Image& actual, const juce::Image& expected);

// An image of the given size painted by a function: the reference a test compares with.
juce::Image paintedWith (int width, int height, const std::function<void (juce::Graphics&)>& paint);

// A colour drawn with an opacity over another, as a graphics context blends it.
juce::Colour overlaid (juce::Colour below, juce::Colour above, float opacity);
} // namespace testsupport
