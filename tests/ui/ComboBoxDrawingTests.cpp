#include "ImageProbes.h"
#include "UiSnapshot.h"
#include "ui/controls/BasicComboBox.h"
#include "ui/style/ComboLookAndFeel.h"
#include "ui/style/UiConstants.h"

#include <gtest/gtest.h>

namespace
{
struct Face
{
    int width, height, border;
};

// Sizes of the panels' boxes at design and double size, and the border's steps at 9 and 18.
const Face faces[] = {{54, 21, 2}, {108, 42, 4}, {81, 20, 2}, {80, 17, 1}, {80, 18, 2}, {80, 8, 0}};

juce::Image paintBox (int width, int height, const juce::String& chosen)
{
    juce::SharedResourcePointer<ComboLookAndFeel> look;
    BasicComboBox box;
    box.setLookAndFeel (&look.get());
    box.addItem ("Manual", 1);
    box.addItem (chosen.isEmpty() ? "unused" : chosen, 2);
    if (chosen.isNotEmpty())
        box.setSelectedId (2, juce::dontSendNotification);
    box.setSize (width, height);
    auto image = testsupport::paintToImage (box);
    box.setLookAndFeel (nullptr);
    return image;
}
} // namespace

// With nothing chosen the face is the box colour inside a border of trunc(h / 9): no arrow, no
// placeholder text.
TEST (ComboBoxFace, FlatFaceWithABorderAndNothingElse)
{
    for (const auto& face : faces)
    {
        SCOPED_TRACE (testing::Message() << face.width << "x" << face.height);
        const auto image = paintBox (face.width, face.height, {});
        const auto inner = image.getBounds().reduced (face.border);
        EXPECT_TRUE (testsupport::inkBounds (image, comboBoxColour, 0, inner).isEmpty());

        const auto middle = face.height * 0.5f;
        std::vector<testsupport::PixelProbe> probes{{face.border + 0.5f, middle, comboBoxColour, "inside the border"}};
        if (face.border > 0)
            probes.insert (probes.end(),
                           {{face.border - 0.5f, middle, borderColour, "left border"},
                            {face.width - face.border + 0.5f, middle, borderColour, "right border"},
                            {face.width * 0.5f, face.border - 0.5f, borderColour, "top border"},
                            {face.width * 0.5f, face.height - face.border + 0.5f, borderColour, "bottom border"}});
        EXPECT_TRUE (testsupport::pixelsMatch (image, probes));
    }
}

// The chosen item's text in the book face at h / 1.5, centred both ways, in the label colour;
// too long a text ends in an ellipsis on one line.
TEST (ComboBoxFace, ChosenTextIsCentredAtTwoThirdsOfTheHeight)
{
    for (const auto& face : faces)
        for (const char* text : {"1/4T", "BPM", "A text far too long for the box"})
        {
            if (face.border == 0)
                continue;
            SCOPED_TRACE (testing::Message() << text << " " << face.width << "x" << face.height);
            const auto image = paintBox (face.width, face.height, text);
            const auto reference = testsupport::paintedWith (
                face.width, face.height,
                [&] (juce::Graphics& g)
                {
                    g.fillAll (comboBoxColour);
                    g.setColour (labelTextColour);
                    g.setFont (comboFont.withHeight ((float)(face.height / 1.5)));
                    g.drawText (text, 0, 0, face.width, face.height, juce::Justification::centred, true);
                });
            const auto inner = image.getBounds().reduced (face.border);
            const auto ink = testsupport::inkBounds (image, comboBoxColour, 24, inner);
            EXPECT_FALSE (ink.isEmpty());
            EXPECT_EQ (ink, testsupport::inkBounds (reference, comboBoxColour, 24, inner));
        }
}

namespace
{
juce::Image paintRow (int width, int height, bool highlighted, bool ticked, const juce::String& text,
                      juce::Colour background)
{
    juce::SharedResourcePointer<ComboLookAndFeel> look;
    return testsupport::paintedWith (width, height,
                                     [&] (juce::Graphics& g)
                                     {
                                         g.fillAll (background);
                                         look->drawPopupMenuItem (g, {0, 0, width, height}, false, true, highlighted,
                                                                  ticked, false, text, {}, nullptr, nullptr);
                                     });
}
} // namespace

// A pop-up row: the menu or hover colour at half opacity over the menu's background, except the
// bottom pixel row; the text in the book face at 14 from (10, 1), lighter when ticked.
TEST (ComboBoxPopupRows, TranslucentRowsWithTheTickedTextLighter)
{
    const juce::Colour background (0xFF101418);
    struct Case
    {
        bool highlighted, ticked;
        juce::Colour fill, text;
    };
    const Case cases[] = {
        {false, false, popupMenuColour, popupTextColour},
        {true, false, popupHoverColour, popupTextColour},
        {false, true, popupMenuColour, popupTextAltColour},
        {true, true, popupHoverColour, popupTextAltColour},
    };
    for (const auto& c : cases)
        for (auto size : {juce::Point<int> (120, 22), juce::Point<int> (240, 44)})
        {
            SCOPED_TRACE (testing::Message() << "highlighted " << c.highlighted << ", ticked " << c.ticked << ", "
                                             << size.x << "x" << size.y);
            const auto image = paintRow (size.x, size.y, c.highlighted, c.ticked, "Manual", background);
            const auto row = testsupport::overlaid (background, c.fill, 0.5f);
            EXPECT_TRUE (
                testsupport::pixelsMatch (image, {{4.5f, size.y * 0.5f, row, "row left of the text"},
                                                  {size.x - 2.5f, size.y - 1.5f, row, "row's last filled line"},
                                                  {4.5f, size.y - 0.5f, background, "row's bottom line"},
                                                  {size.x - 2.5f, size.y - 0.5f, background, "bottom line"}}));

            const juce::Rectangle<int> textArea (10, 1, size.x - 10, size.y);
            EXPECT_TRUE (testsupport::anyPixelClose (image, c.text, textArea, 24));
            // An unticked text has no pixel as light as a ticked one's.
            if (!c.ticked)
            {
                EXPECT_FALSE (testsupport::anyPixelClose (image, popupTextAltColour, textArea, 24));
            }

            const auto reference =
                testsupport::paintedWith (size.x, size.y,
                                          [&] (juce::Graphics& g)
                                          {
                                              g.fillAll (row);
                                              g.setColour (c.text);
                                              g.setFont (popupFont);
                                              g.drawFittedText ("Manual", textArea, juce::Justification::left, 1);
                                          });
            const auto aboveBottomLine = textArea.withBottom (size.y - 1);
            EXPECT_EQ (testsupport::inkBounds (image, row, 24, aboveBottomLine),
                       testsupport::inkBounds (reference, row, 24, aboveBottomLine));
        }
}
