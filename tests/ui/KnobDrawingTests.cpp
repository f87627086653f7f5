#include "ImageProbes.h"
#include "UiSnapshot.h"
#include "ui/controls/Knobs.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
const juce::Colour transparent (0x00000000);
const juce::Colour fill (0xFFE03030), outline (0xFF30C040), pointer (0xFF3050E0);

struct KnobLookCase
{
    const char* name;
    juce::LookAndFeel& look;
    juce::Colour body, ring, pointer;
    float pointerFrom, pointerTo; // radii above the centre
};

// Probes along the pointer's direction and across it, from the knob's geometry: radius
// min(w, h) / 2.5 about the centre, ring r / 3 thick on the radius, the pointer turned from
// straight up by 1.2 pi + proportion x 1.6 pi.
std::vector<testsupport::PixelProbe> knobProbes (const KnobLookCase& look, int width, int height, double proportion)
{
    const auto radius = std::min (width, height) / 2.5f;
    const juce::Point<float> centre (width * 0.5f, height * 0.5f);
    const auto angle = juce::MathConstants<float>::pi * (1.2f + 1.6f * (float)proportion);
    const juce::Point<float> along (std::sin (angle), -std::cos (angle));
    const juce::Point<float> across (-along.y, along.x);
    const auto at = [&] (juce::Point<float> direction, float radii) { return centre + direction * radius * radii; };

    const auto pointerMiddle = at (along, (look.pointerFrom + look.pointerTo) * 0.5f);
    const auto bodyBehind = at (-along, 0.45f);
    const auto ringSide = at (across, 1.0f);
    const auto outsideRing = at (across, 1.17f + 1.5f / radius);
    return {
        {pointerMiddle.x, pointerMiddle.y, look.pointer, "pointer"},
        {bodyBehind.x, bodyBehind.y, look.body, "body opposite the pointer"},
        {ringSide.x, ringSide.y, look.ring, "ring beside the pointer"},
        {outsideRing.x, outsideRing.y, transparent, "outside the ring"},
    };
}

class KnobDrawing : public ::testing::Test
{
protected:
    KnobDrawing()
    {
        knob.fillColour = fill;
        knob.outlineColour = outline;
        knob.pointerColour = pointer;
    }

    juce::Image paintAt (juce::LookAndFeel& look, int width, int height, double proportion)
    {
        knob.setLookAndFeel (&look);
        knob.setSize (width, height);
        knob.setValue (proportion * 100.0, juce::dontSendNotification);
        auto image = testsupport::paintToImage (knob);
        knob.setLookAndFeel (nullptr);
        return image;
    }

    juce::SharedResourcePointer<BasicLookAndFeel> basicLook;
    juce::SharedResourcePointer<BlackKnobLookAndFeel> blackLook;
    BasicKnob knob{0.0f, 100.0f, "%"};
};
} // namespace

// Both looks at the knob's sizes in a panel (design and double), from the start to the end of
// the arc: the basic look paints body, ring and pointer in the knob's fill, outline and pointer
// colours; the black one an outline-coloured disc with a longer pointer in the fill colour.
TEST_F (KnobDrawing, BodyRingAndPointerSitWhereTheGeometrySays)
{
    const KnobLookCase looks[] = {
        {"basic", basicLook.get(), fill, outline, pointer, 0.75f, 0.2f},
        {"black", blackLook.get(), outline, outline, fill, 0.9f, 0.35f},
    };
    const juce::Point<int> sizes[] = {{55, 40}, {110, 80}, {110, 110}};
    for (const auto& look : looks)
        for (auto size : sizes)
            for (auto proportion : {0.0, 0.25, 0.5, 1.0})
            {
                // The thin pointer of the small knob is checked where it stands on whole pixels.
                if (size.x == 55 && proportion != 0.5)
                    continue;
                const auto image = paintAt (look.look, size.x, size.y, proportion);
                EXPECT_TRUE (testsupport::pixelsMatch (image, knobProbes (look, size.x, size.y, proportion)))
                    << look.name << " " << size.x << "x" << size.y << " at " << proportion;
            }
}

// Straight up, the pointer runs from 0.75r to 0.2r above the centre under the basic look and
// from 0.9r to 0.35r under the black one: probed a pixel inside and outside each end.
TEST_F (KnobDrawing, PointerSpansItsLooksRadii)
{
    struct Case
    {
        juce::LookAndFeel& look;
        float inner, outer;
        juce::Colour pointer, body, beyondOuterEnd;
    };
    const Case cases[] = {
        {basicLook.get(), 0.2f, 0.75f, pointer, fill, fill},
        {blackLook.get(), 0.35f, 0.9f, fill, outline, outline},
    };
    for (auto size : {juce::Point<int> (110, 80), juce::Point<int> (80, 110)})
        for (const auto& c : cases)
        {
            const auto radius = std::min (size.x, size.y) / 2.5f;
            const auto centreX = size.x * 0.5f, centreY = size.y * 0.5f;
            const auto above = [&] (float distance) { return centreY - distance; };
            EXPECT_TRUE (testsupport::pixelsMatch (
                paintAt (c.look, size.x, size.y, 0.5),
                {{centreX, above (c.inner * radius + 1.5f), c.pointer, "inside the inner end"},
                 {centreX, above (c.inner * radius - 1.5f), c.body, "beyond the inner end"},
                 {centreX, above (c.outer * radius - 1.5f), c.pointer, "inside the outer end"},
                 {centreX, above (c.outer * radius + 1.5f), c.beyondOuterEnd, "beyond the outer end"}}))
                << size.x << "x" << size.y << " pointer " << c.inner << " to " << c.outer;
        }
}

// The disc with its ring reaches r + r/6 from the centre of the knob's bounds, whatever their
// proportions: 50 x 40 gives r = 16.
TEST_F (KnobDrawing, KnobIsCentredWithTheRingOuterEdgeAtSevenSixthsOfTheRadius)
{
    for (auto size : {juce::Point<int> (50, 40), juce::Point<int> (40, 50), juce::Point<int> (100, 80)})
    {
        const auto image = paintAt (basicLook.get(), size.x, size.y, 0.3);
        const auto outer = std::min (size.x, size.y) / 2.5f * (7.0f / 6.0f);
        const juce::Rectangle<float> expected (size.x * 0.5f - outer, size.y * 0.5f - outer, outer * 2, outer * 2);
        const auto ink = testsupport::inkBounds (image, transparent, 80).toFloat();
        EXPECT_NEAR (ink.getX(), expected.getX(), 1.0f) << size.x << "x" << size.y;
        EXPECT_NEAR (ink.getY(), expected.getY(), 1.0f) << size.x << "x" << size.y;
        EXPECT_NEAR (ink.getRight(), expected.getRight(), 1.0f) << size.x << "x" << size.y;
        EXPECT_NEAR (ink.getBottom(), expected.getBottom(), 1.0f) << size.x << "x" << size.y;
    }
}

TEST_F (KnobDrawing, NewKnobHasItsOwnThreeColours)
{
    BasicKnob plain (0.0f, 1.0f, "");
    plain.setValue (0.5);
    plain.setLookAndFeel (&basicLook.get());
    plain.setSize (110, 80);
    const auto image = testsupport::paintToImage (plain);
    plain.setLookAndFeel (nullptr);

    const KnobLookCase look{"defaults",
                            basicLook.get(),
                            juce::Colour (0xFFC1CED2),
                            juce::Colour (0xFF30373A),
                            juce::Colour (0xFF312E2C),
                            0.75f,
                            0.2f};
    EXPECT_TRUE (testsupport::pixelsMatch (image, knobProbes (look, 110, 80, 0.5)));
}

// A plain slider given a knob look keeps JUCE's own rotary drawing.
TEST_F (KnobDrawing, OtherSlidersLookAsUnderJuce)
{
    juce::LookAndFeel_V4 juceLook;
    juce::Slider slider (juce::Slider::RotaryHorizontalVerticalDrag, juce::Slider::NoTextBox);
    slider.setRange (0.0, 1.0);
    slider.setValue (0.3);
    slider.setSize (80, 60);

    slider.setLookAndFeel (&juceLook);
    const auto reference = testsupport::paintToImage (slider);
    for (juce::LookAndFeel* look : {(juce::LookAndFeel*)&basicLook.get(), (juce::LookAndFeel*)&blackLook.get()})
    {
        slider.setLookAndFeel (look);
        EXPECT_TRUE (testsupport::imagesEqual (testsupport::paintToImage (slider), reference));
    }
    slider.setLookAndFeel (nullptr);
}
