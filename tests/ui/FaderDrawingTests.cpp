#include "ImageProbes.h"
#include "UiSnapshot.h"
#include "ui/controls/BasicSlider.h"
#include "ui/style/FaderLookAndFeel.h"
#include "ui/style/UiConstants.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
const juce::Colour transparent (0x00000000);
// The cap body takes the slider's rotary fill colour: a strongly saturated one here, so the
// steps of its saturation show.
const juce::Colour capFill (0xFF3A7FC4);
// JUCE's own 1-pixel outline round a bar slider without a text box.
const juce::Colour barOutline (0xFF8E989B);

class FaderDrawing : public ::testing::Test
{
protected:
    FaderDrawing()
    {
        fader.setLookAndFeel (&look.get());
        fader.setColour (juce::Slider::rotarySliderFillColourId, capFill);
    }
    ~FaderDrawing() override { fader.setLookAndFeel (nullptr); }

    juce::Image paint (int width, int height, double value)
    {
        fader.setSize (width, height);
        fader.setValue (value, juce::dontSendNotification);
        return testsupport::paintToImage (fader);
    }

    // JUCE passes the bar's position along its rectangle, which is the fader less a 1-pixel rim.
    static float sliderPos (int width, double value) { return 1.0f + (float)((value + 100.0) / 200.0) * (width - 2); }

    juce::SharedResourcePointer<FaderLookAndFeel> look;
    BasicSlider fader{-100.0f, 100.0f, ""};
};
} // namespace

// Track, outlines and cap from the fader's own size: the track at (W x 37/480, H x 13/30,
// W x 41/48, H/6); the cap body at 0.87 x pos + 2, W / 9.6 wide, H/6 to 5H/6; the cap line at
// trunc(pos + 7) / 1.1368421, W / 48 wide, H/4 to 3H/4. Edges are probed a pixel inside and
// outside where nothing else is drawn: the cap's in the band between the track and the lower
// tick row, the track's where its gaps to the tick rows are wide enough.
TEST_F (FaderDrawing, TrackOutlinesAndCapFollowTheSizeAndTheValue)
{
    const juce::Point<int> sizes[] = {{113, 23}, {226, 46}, {240, 30}};
    const auto cap = capFill.withMultipliedSaturation (0.9f);
    for (auto size : sizes)
        for (auto value : {-100.0, -35.0, 0.0, 60.0, 100.0})
        {
            SCOPED_TRACE (testing::Message() << size.x << "x" << size.y << " at " << value);
            const auto w = (float)size.x, h = (float)size.y;
            const auto pos = sliderPos (size.x, value);
            const auto capLeft = 0.87f * pos + 2.0f, capRight = capLeft + w / 9.6f;
            const auto lineLeft = std::trunc (pos + 7.0f) / 1.1368421f;
            const auto trackTop = h * 13.0f / 30.0f, trackBottom = trackTop + h / 6.0f;
            const auto clearY = h * (0.6f + 2.0f / 3.0f) * 0.5f;
            // Clear of the cap.
            const auto trackX = value < 0.0 ? w * 0.75f : w * 0.25f;

            std::vector<testsupport::PixelProbe> probes{
                {trackX, (trackTop + trackBottom) * 0.5f, borderColour, "track"},
                {w * 0.5f, 0.5f, barOutline, "JUCE's bar outline"},
                {0.5f, h * 0.5f, barOutline, "JUCE's bar outline"},
                {trackX, 1.5f, sliderBaseColour, "inner outline"},
                {1.5f, h * 0.5f, sliderBaseColour, "inner outline"},
                {capLeft + w / 19.2f, h * 19.0f / 24.0f, cap, "cap body"},
                {capLeft + 1.0f, clearY, cap, "cap body's left edge"},
                {capRight - 1.0f, clearY, cap, "cap body's right edge"},
                {lineLeft + w / 96.0f, h * 0.5f, headerTextColour, "cap line"}};
            for (auto outside : {capLeft - 1.0f, capRight + 1.0f})
                if (outside >= 2.0f && outside < w - 3.0f)
                    probes.push_back ({outside, clearY, transparent, "beside the cap body"});
            if (h >= 30.0f)
                probes.insert (probes.end(), {{trackX, trackTop + 1.0f, borderColour, "track's top edge"},
                                              {trackX, trackBottom - 1.0f, borderColour, "track's bottom edge"},
                                              {trackX, trackTop - 1.0f, transparent, "above the track"},
                                              {trackX, trackBottom + 1.0f, transparent, "below the track"}});
            EXPECT_TRUE (testsupport::pixelsMatch (paint (size.x, size.y, value), probes));
        }
}

// Without a colour of its own the cap is LookAndFeel_V4's default rotary fill.
TEST_F (FaderDrawing, CapBodyDefaultsToJucesRotaryFill)
{
    fader.removeColour (juce::Slider::rotarySliderFillColourId);
    const auto pos = sliderPos (240, 0.0);
    EXPECT_TRUE (testsupport::pixelsMatch (paint (240, 30, 0.0),
                                           {{0.87f * pos + 2.0f + 1.0f, 30.0f * 19.0f / 24.0f,
                                             juce::Colour (0xFF181F22).withMultipliedSaturation (0.9f), "cap body"}}));
}

// Ticks from the 2nd to the 22nd 24th of the width, in two rows (H/6 and H/1.5, H/4.8 high): the
// ends and the middle W/60 wide, the others W/96. At 240 x 30 they start on whole pixels.
TEST_F (FaderDrawing, TickRowsWithWiderEndsAndMiddle)
{
    for (auto size : {juce::Point<int> (240, 30), juce::Point<int> (480, 60)})
    {
        const auto w = (float)size.x, h = (float)size.y;
        // The cap sits at the left end, over the first tick.
        const auto image = paint (size.x, size.y, -100.0);
        std::vector<testsupport::PixelProbe> probes;
        for (auto rowTop : {h / 6.0f, h / 1.5f})
        {
            const auto y = rowTop + h / 9.6f;
            for (int k = 4; k <= 22; ++k)
            {
                const auto left = w * (float)k / 24.0f;
                const bool major = k == 12 || k == 22;
                probes.push_back ({left + w / 192.0f, y, borderColour, "tick"});
                probes.push_back ({left + (w / 96.0f + w / 60.0f) * 0.5f, y, major ? borderColour : transparent,
                                   major ? "wide part of a major tick" : "right of a minor tick"});
                probes.push_back ({left - w / 48.0f, y, transparent, "between ticks"});
            }
        }
        EXPECT_TRUE (testsupport::pixelsMatch (image, probes)) << size.x << "x" << size.y;
    }
}

// Disabled, the cap body fades to 70 % opacity; the cap line and the scale stay as they are.
TEST_F (FaderDrawing, DisabledCapBodyFadesButItsLineDoesNot)
{
    const int width = 240, height = 30;
    const auto pos = sliderPos (width, 0.0);
    const auto capLeft = 0.87f * pos + 2.0f;
    const auto lineLeft = std::trunc (pos + 7.0f) / 1.1368421f;
    // Between the track and the lower tick row nothing lies under the cap body.
    const auto clearY = height * (0.6f + 0.667f) * 0.5f;

    fader.setEnabled (false);
    const auto image = paint (width, height, 0.0);
    EXPECT_TRUE (testsupport::pixelsMatch (
        image,
        {{capLeft + 1.5f, clearY, capFill.withMultipliedSaturation (0.9f).withMultipliedAlpha (0.7f), "cap body"},
         {lineLeft + 2.5f, height * 0.5f, headerTextColour, "cap line"},
         {width * 0.25f, height * 0.5f, borderColour, "track"}}));
}
