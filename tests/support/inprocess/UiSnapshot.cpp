#include "UiSnapshot.h"

#include <cstdlib>

namespace testsupport
{
juce::Image paintToImage (juce::Component& component, float scale)
{
    return component.createComponentSnapshot (component.getLocalBounds(), true, scale);
}

void pumpMessages (int milliseconds)
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (milliseconds);
}

bool coloursClose (juce::Colour actual, juce::Colour expected, int tolerance)
{
    return std::abs (actual.getRed() - expected.getRed()) <= tolerance &&
           std::abs (actual.getGreen() - expected.getGreen()) <= tolerance &&
           std::abs (actual.getBlue() - expected.getBlue()) <= tolerance &&
           std::abs (actual.getAlpha() - expected.getAlpha()) <= tolerance;
}
} // namespace testsupport
