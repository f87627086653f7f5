#include "OpenedEditor.h"
#include "UiSnapshot.h"
#include "ui/panels/AboutPanel.h"

#include <gtest/gtest.h>

#include <tuple>

namespace
{
// A mouse-up as the overlay receives it, after a press at the given place.
void releaseMouse (juce::Component& overlay, juce::Point<int> pressedAt, juce::Point<int> releasedAt)
{
    const auto now = juce::Time::getCurrentTime();
    const juce::MouseEvent event (juce::Desktop::getInstance().getMainMouseSource(), releasedAt.toFloat(), {},
                                  juce::MouseInputSource::defaultPressure, juce::MouseInputSource::defaultOrientation,
                                  juce::MouseInputSource::defaultRotation, juce::MouseInputSource::defaultTiltX,
                                  juce::MouseInputSource::defaultTiltY, &overlay, &overlay, now, pressedAt.toFloat(),
                                  now, 1, pressedAt != releasedAt);
    overlay.mouseUp (event);
}

juce::HyperlinkButton& linkOf (juce::Component& overlay)
{
    return *testsupport::childrenOfType<juce::HyperlinkButton> (overlay).at (0);
}

struct OrderWatch : Overlay::Listener
{
    void overlayShown (Overlay* overlay) override { events.add (overlay->isVisible() ? "shown late" : "shown"); }
    void overlayHidden (Overlay* overlay) override { events.add (overlay->isVisible() ? "hidden" : "hidden late"); }
    juce::StringArray events;
};
} // namespace

TEST (AboutOverlay, LinkPointsAtTheSiteAndFitsTheSizeWhenShown)
{
    AboutPanel overlay;
    auto& link = linkOf (overlay);
    EXPECT_EQ (link.getButtonText(), "example.org/rirorezo3");
    EXPECT_EQ (link.getURL().toString (true), "https://example.org/rirorezo3");

    const std::pair<juce::Point<int>, juce::Rectangle<int>> cases[] = {
        {{777, 405}, {288, 212, 218, 23}},
        {{1554, 810}, {576, 424, 436, 46}},
    };
    for (const auto& [size, expected] : cases)
    {
        overlay.setVisible (false);
        overlay.setSize (size.x, size.y);
        overlay.setVisible (true);
        EXPECT_EQ (link.getBounds(), expected);
    }
}

// Only where the mouse is released counts: outside the box closes, inside (its left and top
// edges included) keeps the overlay open.
TEST (AboutOverlay, MouseUpOutsideTheBoxClosesIt)
{
    struct Case
    {
        juce::Point<int> size, pressedAt, releasedAt;
        bool staysOpen;
    };
    const Case cases[] = {
        // Box (156, 92, 470, 250) at design size.
        {{777, 405}, {156, 92}, {156, 92}, true},
        {{777, 405}, {400, 92}, {400, 92}, true},
        {{777, 405}, {625, 341}, {625, 341}, true},
        {{777, 405}, {155, 200}, {155, 200}, false},
        {{777, 405}, {400, 91}, {400, 91}, false},
        {{777, 405}, {626, 200}, {626, 200}, false},
        {{777, 405}, {400, 342}, {400, 342}, false},
        {{777, 405}, {10, 10}, {300, 200}, true},
        {{777, 405}, {300, 200}, {10, 10}, false},
        // Box (312, 184, 940, 500) at the largest size.
        {{1554, 810}, {312, 184}, {312, 184}, true},
        {{1554, 810}, {311, 184}, {311, 184}, false},
        {{1554, 810}, {1251, 683}, {1251, 683}, true},
        {{1554, 810}, {1252, 500}, {1252, 500}, false},
        {{1554, 810}, {700, 684}, {700, 684}, false},
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.size.toString() + " released at " + c.releasedAt.toString());
        AboutPanel overlay;
        overlay.setSize (c.size.x, c.size.y);
        overlay.setVisible (true);

        releaseMouse (overlay, c.pressedAt, c.releasedAt);
        EXPECT_EQ (overlay.isVisible(), c.staysOpen);
    }
}

TEST (AboutOverlay, ListenersHearBeforeTheOverlayShowsOrHides)
{
    AboutPanel overlay;
    overlay.setSize (777, 405);
    OrderWatch watch;
    overlay.addListener (&watch);

    overlay.setVisible (true);
    releaseMouse (overlay, {5, 5}, {5, 5});
    overlay.removeListener (&watch);
    overlay.setVisible (true);

    EXPECT_EQ (watch.events, juce::StringArray ({"shown", "hidden"}));
}

TEST (AboutOverlay, DimsTheEditorAndDrawsTheBoxAtAnySize)
{
    juce::Component editorStandIn;
    AboutPanel overlay;
    editorStandIn.addAndMakeVisible (overlay);

    for (const auto& [width, height, inBox] :
         std::vector<std::tuple<int, int, juce::Point<int>>>{{777, 405, {170, 110}}, {1554, 810, {330, 200}}})
    {
        editorStandIn.setSize (width, height);
        overlay.setBounds (editorStandIn.getLocalBounds());
        const auto snapshot = testsupport::paintToImage (editorStandIn);

        EXPECT_TRUE (testsupport::coloursClose (snapshot.getPixelAt (inBox.x, inBox.y), juce::Colour (0xFF292E2F)));
        EXPECT_TRUE (testsupport::coloursClose (snapshot.getPixelAt (5, 5), juce::Colour (0xBB212121)))
            << snapshot.getPixelAt (5, 5).toDisplayString (true);
    }
}
