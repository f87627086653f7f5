#include "ImageProbes.h"
#include "UiSnapshot.h"
#include "ui/controls/LabeledControls.h"
#include "ui/style/LabelLookAndFeels.h"
#include "ui/style/UiConstants.h"

#include <gtest/gtest.h>

namespace
{
const juce::Colour transparent (0x00000000);

struct LayoutCase
{
    int width, height;
    juce::Rectangle<int> label, control;
};
} // namespace

// Labelled knob: label height min(h, trunc(h / 3.5)) ending at trunc(h / 1.02), the knob above.
TEST (LabeledKnobLayout, CaptionUnderTheKnobOverlappingItSlightly)
{
    const LayoutCase cases[] = {
        {55, 55, {0, 38, 55, 15}, {0, 0, 55, 40}},     {110, 110, {0, 76, 110, 31}, {0, 0, 110, 79}},
        {100, 100, {0, 70, 100, 28}, {0, 0, 100, 72}}, {38, 38, {0, 27, 38, 10}, {0, 0, 38, 28}},
        {76, 76, {0, 53, 76, 21}, {0, 0, 76, 55}},     {40, 2, {0, 1, 40, 0}, {0, 0, 40, 2}},
    };
    for (const auto& c : cases)
    {
        BasicKnob knob (0.0f, 1.0f, "");
        LabeledKnob wrapper ("DRIVE", knob);
        wrapper.setSize (c.width, c.height);
        EXPECT_EQ (wrapper.label.getBounds(), c.label) << c.width << "x" << c.height;
        EXPECT_EQ (knob.getBounds(), c.control) << c.width << "x" << c.height;
    }
}

// Labelled combo box and fader: label height min(h, trunc(h / 2.5)) ending at trunc(h / 1.04).
TEST (LabeledComboAndSliderLayout, CaptionUnderTheControl)
{
    const LayoutCase comboCases[] = {
        {54, 34, {0, 19, 54, 13}, {0, 0, 54, 21}}, {108, 68, {0, 38, 108, 27}, {0, 0, 108, 41}},
        {50, 50, {0, 28, 50, 20}, {0, 0, 50, 30}}, {81, 33, {0, 18, 81, 13}, {0, 0, 81, 20}},
        {40, 2, {0, 1, 40, 0}, {0, 0, 40, 2}},
    };
    for (const auto& c : comboCases)
    {
        BasicComboBox box;
        LabeledComboBox wrapper ("SYNC", box);
        wrapper.setSize (c.width, c.height);
        EXPECT_EQ (wrapper.label.getBounds(), c.label) << c.width << "x" << c.height;
        EXPECT_EQ (box.getBounds(), c.control) << c.width << "x" << c.height;
    }

    const LayoutCase sliderCases[] = {
        {113, 38, {0, 21, 113, 15}, {0, 0, 113, 23}},
        {226, 76, {0, 43, 226, 30}, {0, 0, 226, 46}},
    };
    for (const auto& c : sliderCases)
    {
        BasicSlider fader (-100.0f, 100.0f, "");
        LabeledSlider wrapper ("LENGTH", fader);
        wrapper.setSize (c.width, c.height);
        EXPECT_EQ (wrapper.label.getBounds(), c.label) << c.width << "x" << c.height;
        EXPECT_EQ (fader.getBounds(), c.control) << c.width << "x" << c.height;
    }
}

namespace
{
// The caption as each look should draw it: the caption face at the given height, one line
// centred in the given area, in the given colour, on nothing.
juce::Rectangle<int> expectedCaptionInk (juce::Rectangle<int> imageBounds, const juce::String& text,
                                         juce::Colour colour, float height, juce::Rectangle<int> area)
{
    const auto reference = testsupport::paintedWith (imageBounds.getWidth(), imageBounds.getHeight(),
                                                     [&] (juce::Graphics& g)
                                                     {
                                                         g.setColour (colour);
                                                         g.setFont (knobFont.withHeight (height));
                                                         g.drawFittedText (text, area, juce::Justification::centred, 1);
                                                     });
    return testsupport::inkBounds (reference, transparent, 60);
}
} // namespace

// The four caption looks on a label: colour, height (the label's, or 3 more) and text area (from
// the top, or one pixel lower), with no background or outline whatever the label's colours.
TEST (CaptionLooks, CentredCaptionsInTheirColourHeightAndArea)
{
    juce::SharedResourcePointer<ComboLabelLookAndFeel> comboLook;
    juce::SharedResourcePointer<KnobLabelLookAndFeel> knobLook;
    juce::SharedResourcePointer<KnobSmWhiteLabelLookAndFeel> whiteLook;
    juce::SharedResourcePointer<SliderLabelLookAndFeel> sliderLook;
    struct Case
    {
        const char* name;
        juce::LookAndFeel& look;
        juce::Colour colour;
        float extraHeight;
        int top;
    };
    const Case cases[] = {
        {"combo", comboLook.get(), labelTextColour, 0.0f, 1},
        {"knob", knobLook.get(), labelTextColour, 0.0f, 0},
        {"small white", whiteLook.get(), headerTextColour, 3.0f, 0},
        {"slider", sliderLook.get(), labelTextColour, 0.0f, 1},
    };
    for (const auto& c : cases)
        for (auto size : {juce::Point<int> (55, 15), juce::Point<int> (110, 31), juce::Point<int> (38, 10)})
            for (const char* text : {"DRIVE", "A CAPTION FAR TOO LONG"})
            {
                SCOPED_TRACE (testing::Message() << c.name << " " << size.x << "x" << size.y << " " << text);
                juce::Label label ({}, text);
                label.setColour (juce::Label::backgroundColourId, juce::Colours::red);
                label.setColour (juce::Label::outlineColourId, juce::Colours::blue);
                label.setColour (juce::Label::textColourId, juce::Colours::green);
                label.setLookAndFeel (&c.look);
                label.setSize (size.x, size.y);
                const auto image = testsupport::paintToImage (label);
                label.setLookAndFeel (nullptr);

                const juce::Rectangle<int> area (0, c.top, size.x, size.y);
                EXPECT_EQ (testsupport::inkBounds (image, transparent, 60),
                           expectedCaptionInk (image.getBounds(), text, c.colour, size.y + c.extraHeight, area));
                EXPECT_TRUE (testsupport::anyPixelClose (image, c.colour, image.getBounds(), 40));
                EXPECT_TRUE (testsupport::pixelsMatch (image, {{0.5f, 0.5f, transparent, "corner"}}));
            }
}

// The combo and fader wrappers draw their captions with their own looks, whatever look the
// panel gives the wrapper; the knob wrapper's caption takes the wrapper's look. Compared below the
// control, where the caption overlaps nothing.
TEST (LabeledControlCaptions, WrappersDrawTheirCaptionsWhereTheLayoutPutsThem)
{
    juce::SharedResourcePointer<KnobLabelLookAndFeel> knobLook;
    juce::SharedResourcePointer<KnobSmWhiteLabelLookAndFeel> whiteLook;
    const auto expectCaption = [] (juce::Component& wrapper, juce::Component& control, juce::Label& label,
                                   const char* text, juce::Colour colour, float height, int top)
    {
        const auto image = testsupport::paintToImage (wrapper);
        const auto belowControl = label.getBounds().withTop (control.getBottom());
        const auto reference = testsupport::paintedWith (
            image.getWidth(), image.getHeight(),
            [&] (juce::Graphics& g)
            {
                g.setColour (colour);
                g.setFont (knobFont.withHeight (height));
                g.drawFittedText (text, label.getBounds().translated (0, top), juce::Justification::centred, 1);
            });
        const auto ink = testsupport::inkBounds (image, transparent, 60, belowControl);
        EXPECT_FALSE (ink.isEmpty()) << text;
        EXPECT_EQ (ink, testsupport::inkBounds (reference, transparent, 60, belowControl)) << text;
    };

    for (auto scale : {1, 2})
    {
        SCOPED_TRACE (testing::Message() << "scale " << scale);
        BasicComboBox box;
        LabeledComboBox comboWrapper ("SYNC", box);
        comboWrapper.setLookAndFeel (&knobLook.get());
        comboWrapper.setSize (54 * scale, 34 * scale);
        expectCaption (comboWrapper, box, comboWrapper.label, "SYNC", labelTextColour,
                       (float)comboWrapper.label.getHeight(), 1);
        comboWrapper.setLookAndFeel (nullptr);

        BasicSlider fader (-100.0f, 100.0f, "");
        LabeledSlider sliderWrapper ("LENGTH", fader);
        sliderWrapper.setSize (113 * scale, 38 * scale);
        expectCaption (sliderWrapper, fader, sliderWrapper.label, "LENGTH", labelTextColour,
                       (float)sliderWrapper.label.getHeight(), 1);

        BasicKnob knob (0.0f, 1.0f, "");
        LabeledKnob knobWrapper ("DRIVE", knob);
        knobWrapper.setLookAndFeel (&whiteLook.get());
        knobWrapper.setSize (55 * scale, 55 * scale);
        expectCaption (knobWrapper, knob, knobWrapper.label, "DRIVE", headerTextColour,
                       (float)knobWrapper.label.getHeight() + 3.0f, 0);
        knobWrapper.setLookAndFeel (nullptr);
    }
}

// A panel destroys the knob and its wrapper in either order: a knob that outlives its wrapper
// stays usable, and neither destructor reaches the one that is gone (the sanitizer builds see
// any such access).
TEST (LabeledKnobLifetime, KnobAndWrapperMayGoInEitherOrder)
{
    auto knob = std::make_unique<BasicKnob> (0.0f, 1.0f, "");
    auto wrapper = std::make_unique<LabeledKnob> ("DRIVE", *knob);
    wrapper.reset();
    EXPECT_FALSE (knob->onValueChange) << "a knob that outlives its wrapper must not call back into it";
    knob->setValue (0.5, juce::sendNotificationSync);

    wrapper = std::make_unique<LabeledKnob> ("DRIVE", *knob);
    knob.reset();
    wrapper.reset();
}
