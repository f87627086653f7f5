#include "ui/panels/ComboItemLists.h"
#include "ui/panels/ProportionalLayout.h"

#include <gtest/gtest.h>

namespace
{
juce::Rectangle<int> boundsAt (int width, int height, float designWidth, float designHeight,
                               juce::Rectangle<float> design)
{
    juce::Component container;
    container.setSize (width, height);
    return ProportionalLayout (container, designWidth, designHeight).bounds (design);
}
} // namespace

// Child bounds truncate single-precision quotients, so at design size some land one unit low.
TEST (ProportionalLayout, ChildBoundsTruncateTheQuotientsOneUnitLowWhereTheyFallShort)
{
    struct Case
    {
        int width, height;
        float designWidth, designHeight;
        juce::Rectangle<float> design;
        juce::Rectangle<int> expected;
    };
    const Case cases[] = {
        {777, 405, 777.0f, 405.0f, {16, 1, 691, 34}, {16, 1, 690, 34}},
        {777, 405, 777.0f, 405.0f, {713, 13, 47, 19}, {713, 13, 46, 19}},
        {1554, 810, 777.0f, 405.0f, {16, 1, 691, 34}, {32, 2, 1381, 68}},
        {1554, 810, 777.0f, 405.0f, {713, 13, 47, 19}, {1426, 26, 93, 38}},
        {437, 108, 437.0f, 108.0f, {117, 95.5f, 50, 12}, {117, 95, 50, 12}},
        {437, 159, 437.0f, 159.0f, {337, 35, 55, 55}, {337, 35, 55, 54}},
        {289, 163, 289.0f, 163.0f, {15, 56, 44, 33}, {15, 55, 44, 33}},
        {289, 163, 289.0f, 163.0f, {11, 47, 55, 55}, {11, 47, 54, 55}},
        {295, 277, 295.0f, 277.0f, {115, 148, 54, 34}, {114, 148, 54, 34}},
    };
    for (const auto& c : cases)
        EXPECT_EQ (boundsAt (c.width, c.height, c.designWidth, c.designHeight, c.design), c.expected)
            << c.width << "x" << c.height << " " << c.design.toString();
}

TEST (ProportionalLayout, DrawingKeepsTheUntruncatedQuotient)
{
    juce::Component container;
    container.setSize (1000, 521);
    const ProportionalLayout layout (container, 777.0f, 405.0f);
    EXPECT_FLOAT_EQ (layout.x (16.0f), 1000.0f / (777.0f / 16.0f));
    EXPECT_FLOAT_EQ (layout.fontHeight (20.0f), 521.0f / (405.0f / 20.0f));
    EXPECT_EQ (layout.x (0.0f), 0.0f);
}

TEST (ComboItemLists, FillingReplacesTheItemsWithoutSelectingOrNotifying)
{
    juce::ComboBox box;
    int changes = 0;
    box.onChange = [&] { ++changes; };
    box.addItem ("old", 1);
    box.setSelectedId (1, juce::dontSendNotification);

    Populations::populateSyncRateComboBox (box);

    EXPECT_EQ (changes, 0);
    EXPECT_EQ (box.getSelectedId(), 0);
    ASSERT_EQ (box.getNumItems(), 13);
    EXPECT_EQ (box.getItemText (0), "1b");
    EXPECT_EQ (box.getItemId (12), 13);
    EXPECT_EQ (box.getItemText (12), "1/16T");
}
