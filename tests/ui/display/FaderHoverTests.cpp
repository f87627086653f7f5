#include "ImageProbes.h"
#include "UiSnapshot.h"
#include "support/display/DesktopWindow.h"
#include "ui/controls/BasicSlider.h"
#include "ui/style/FaderLookAndFeel.h"

#include <gtest/gtest.h>

// The fader's cap is the one part of the editor that answers the pointer: its colour's
// saturation rises from 0.9 to 1.3 of the slider's rotary fill while the pointer is over it.
TEST (FaderOnScreen, CapBodyIsMoreSaturatedWhileThePointerIsOverIt)
{
    if (!testsupport::DesktopWindow::displayAvailable())
        GTEST_SKIP() << "needs a display";
    juce::Desktop::setMousePosition ({1200, 1000});

    const juce::Colour capFill (0xFF3A7FC4);
    juce::SharedResourcePointer<FaderLookAndFeel> look;
    BasicSlider fader (-100.0f, 100.0f, "");
    fader.setLookAndFeel (&look.get());
    fader.setColour (juce::Slider::rotarySliderFillColourId, capFill);
    fader.setSize (240, 30);
    fader.setValue (0.0, juce::dontSendNotification);

    // At value 0 the cap body starts at 0.87 x 120 + 2; probed left of its line, below the track.
    const auto capProbe = [&] (float saturation)
    {
        return testsupport::pixelsMatch (
            testsupport::paintToImage (fader),
            {{106.4f + 1.5f, 19.0f, capFill.withMultipliedSaturation (saturation), "cap"}});
    };
    {
        testsupport::DesktopWindow window (fader);
        EXPECT_TRUE (capProbe (0.9f));
        window.move ({200.0f, 15.0f});
        EXPECT_TRUE (capProbe (1.3f));
        window.leave();
        EXPECT_TRUE (capProbe (0.9f));
    }
    fader.setLookAndFeel (nullptr);
}
