#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Places what a container's design drawing gives in design units at the container's current
// size. Each coordinate is the current side divided by the single-precision quotient
// design side / design value: child bounds truncate it toward zero, drawing keeps the float.
// At design size a quotient can land just below a whole number and truncate one unit low
// (777 / (777 / 691) gives 690); that is the result drawn, on purpose.
class ProportionalLayout
{
public:
    ProportionalLayout (const juce::Component& container, float designWidthIn, float designHeightIn)
        : width (static_cast<float> (container.getWidth())), height (static_cast<float> (container.getHeight())),
          designWidth (designWidthIn), designHeight (designHeightIn)
    {
    }

    float x (float designX) const { return width / (designWidth / designX); }
    float y (float designY) const { return height / (designHeight / designY); }

    // A drawing rectangle, and the same rectangle as child bounds.
    juce::Rectangle<float> area (float designX, float designY, float designW, float designH) const
    {
        return {x (designX), y (designY), x (designW), y (designH)};
    }

    juce::Rectangle<int> bounds (float designX, float designY, float designW, float designH) const
    {
        return {static_cast<int> (x (designX)), static_cast<int> (y (designY)), static_cast<int> (x (designW)),
                static_cast<int> (y (designH))};
    }

    juce::Rectangle<float> area (juce::Rectangle<float> design) const
    {
        return area (design.getX(), design.getY(), design.getWidth(), design.getHeight());
    }

    juce::Rectangle<int> bounds (juce::Rectangle<float> design) const
    {
        return bounds (design.getX(), design.getY(), design.getWidth(), design.getHeight());
    }

    // Font heights scale with the container's height.
    float fontHeight (float designFontHeight) const { return y (designFontHeight); }

private:
    float width, height, designWidth, designHeight;
};
