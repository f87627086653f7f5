#include "ImageProbes.h"
#include "UiSnapshot.h"
#include "support/display/DesktopWindow.h"
#include "support/display/PopupMenus.h"
#include "ui/controls/BasicComboBox.h"
#include "ui/style/ComboLookAndFeel.h"
#include "ui/style/UiConstants.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
class ComboPopupOnScreen : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!testsupport::DesktopWindow::displayAvailable())
            GTEST_SKIP() << "needs a display";
        box.setLookAndFeel (&look.get());
        box.addItem ("Manual", 1);
        box.addItem ("BPM", 2);
        box.addItem ("1/4T", 3);
        box.setSelectedId (2, juce::dontSendNotification);
        box.onChange = [this] { ++changes; };
        box.setSize (81, 20);
        window = std::make_unique<testsupport::DesktopWindow> (box);
        ASSERT_TRUE (window->grabFocus());
        // The open menu follows the system pointer: keep it away from the list.
        juce::Desktop::setMousePosition ({1200, 1000});
    }

    void TearDown() override
    {
        if (auto* menu = testsupport::findOpenMenu())
            menu->exitModalState (0);
        window.reset();
        box.setLookAndFeel (nullptr);
        juce::Desktop::setMousePosition ({1200, 1000});
    }

    juce::Component* openList()
    {
        box.showPopup();
        testsupport::pumpMessages (300);
        return testsupport::findOpenMenu();
    }

    juce::SharedResourcePointer<ComboLookAndFeel> look;
    BasicComboBox box;
    int changes = 0;
    std::unique_ptr<testsupport::DesktopWindow> window;
};
} // namespace

// Each row is the menu colour at half opacity over the list's background (the current item's
// row, which the list highlights on opening, in the hover colour), its bottom pixel row left
// unfilled; the current item's text is the light one.
TEST_F (ComboPopupOnScreen, ListRowsAreTranslucentWithTheCurrentItemLighter)
{
    auto* menu = openList();
    ASSERT_NE (menu, nullptr);
    const auto rows = testsupport::menuRows (*menu);
    ASSERT_EQ (rows.size(), 3u);

    const auto image = menu->createComponentSnapshot (menu->getLocalBounds());
    const auto background = look->findColour (juce::PopupMenu::backgroundColourId);
    for (size_t i = 0; i < rows.size(); ++i)
    {
        const auto row = rows[i]->getBounds();
        const bool current = i == 1;
        SCOPED_TRACE (testing::Message() << "row " << i << " at " << row.toString());
        const auto fill = testsupport::overlaid (background, current ? popupHoverColour : popupMenuColour, 0.5f);
        EXPECT_TRUE (testsupport::pixelsMatch (
            image, {{row.getX() + 4.5f, row.getCentreY() + 0.5f, fill, "row left of its text"},
                    {row.getRight() - 3.5f, row.getBottom() - 1.5f, fill, "row's last filled line"},
                    {row.getX() + 4.5f, row.getBottom() - 0.5f, background, "row's bottom line"}}));

        const auto textArea = row.withTrimmedLeft (10).withTrimmedTop (1).withTrimmedBottom (1);
        EXPECT_EQ (testsupport::anyPixelClose (image, popupTextAltColour, textArea, 24), current);
        EXPECT_TRUE (testsupport::anyPixelClose (image, current ? popupTextAltColour : popupTextColour, textArea, 24));
    }
}

TEST_F (ComboPopupOnScreen, ClickOnARowChoosesItsItem)
{
    auto* menu = openList();
    ASSERT_NE (menu, nullptr);
    const auto rows = testsupport::menuRows (*menu);
    ASSERT_EQ (rows.size(), 3u);

    testsupport::clickInWindow (*menu, rows[2]->getBounds().getCentre().toFloat());
    testsupport::pumpMessages (200);

    EXPECT_EQ (box.getSelectedId(), 3);
    EXPECT_EQ (changes, 1);
    EXPECT_EQ (testsupport::findOpenMenu(), nullptr);
}
