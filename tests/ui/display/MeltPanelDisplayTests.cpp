#include "ParameterWatch.h"
#include "ScratchPresets.h"
#include "UiSnapshot.h"
#include "support/display/DesktopWindow.h"
#include "support/display/ModalAnswerer.h"
#include "ui/panels/MeltPanel.h"

#include <gtest/gtest.h>

#include <memory>

using namespace testsupport;

namespace
{
// The melt panel at its design size in a window of its own, on a processor with a scratch
// preset folder.
class MeltPanelOnDisplay : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!DesktopWindow::displayAvailable())
            GTEST_SKIP() << "needs a display";
    }

    void open()
    {
        panel = std::make_unique<MeltPanel> (scratch.processor.get());
        window = std::make_unique<DesktopWindow> (*panel);
    }

    juce::RangedAudioParameter& parameter (const juce::String& identifier)
    {
        return *scratch.processor->apvts.getParameter (identifier);
    }

    void setPlain (const juce::String& identifier, float value)
    {
        parameter (identifier).setValueNotifyingHost (parameter (identifier).convertTo0to1 (value));
    }

    float plain (const juce::String& identifier)
    {
        return parameter (identifier).convertFrom0to1 (parameter (identifier).getValue());
    }

    BasicComboBox* menuOf (const juce::String& identifier)
    {
        for (MeltPage* page : {static_cast<MeltPage*> (&panel->flowPage), static_cast<MeltPage*> (&panel->dropoutPage),
                               static_cast<MeltPage*> (&panel->jumpPage)})
            if (auto* control = page->control (identifier))
                return &*control->comboBox;
        return nullptr;
    }

    // Where a user points at a child, in the panel's coordinates.
    juce::Point<float> centreOf (juce::Component& child)
    {
        return panel->getLocalArea (&child, child.getLocalBounds()).getCentre().toFloat();
    }

    ScratchPresets scratch;
    std::unique_ptr<MeltPanel> panel;
    std::unique_ptr<DesktopWindow> window;
};
} // namespace

// The three LOAD buttons share one place; the one a user can click is the shown tab's.
TEST_F (MeltPanelOnDisplay, TheVisibleLoadAndSaveAreTheDropoutGroups)
{
    open();
    ModalAnswerer answerer;
    ASSERT_TRUE (answerer.hasFocus());
    ParameterWatch watch (*scratch.processor);
    auto& dropout = panel->pageButtons[1];

    window->click (centreOf (dropout.tab));
    EXPECT_EQ (plain ("meltFlowPanelSwitch"), 0.0f);
    EXPECT_EQ (plain ("meltDropoutPanelSwitch"), 1.0f);
    EXPECT_EQ (watch.totalGestures(), 2);

    setPlain ("meltDropoutFreq", 3.5f);
    answerer.choose ({"Save-As..."}).enterText ("Gap", "Confirm");
    window->click (centreOf (dropout.save));
    const auto gap = scratch.root.getChildFile ("SubPresets/Gap.Mdsp");
    EXPECT_EQ (gap.getSize(), 36);

    setPlain ("meltDropoutFreq", 12.0f);
    answerer.choose ({"Gap"});
    window->click (centreOf (dropout.load));

    EXPECT_EQ (answerer.shown, juce::StringArray ({"Save MELT DROPOUT Sub Preset | - | NEW FOLDER... | - | Save-As...",
                                                   "Save As: Enter New Sub-Preset Name []",
                                                   "Load MELT DROPOUT Sub Preset | - | Gap*"}));
    EXPECT_EQ (answerer.problems(), juce::StringArray());
    EXPECT_NEAR (plain ("meltDropoutFreq"), 3.5f, 1.0e-4f);
    EXPECT_NEAR (panel->dropoutPage.control ("meltDropoutFreq")->knob->getValue(), 3.5, 1.0e-4);
}

TEST_F (MeltPanelOnDisplay, TheMouseWheelStepsOnlyTheJumpRateMenu)
{
    // In BPM mode every rate menu shows.
    setPlain ("meltFlowSync", 1.0f);
    setPlain ("meltDropoutSync", 1.0f);
    open();
    ParameterWatch watch (*scratch.processor);

    const struct
    {
        size_t tab;
        const char* identifier;
        int steps;
    } menus[] = {
        {0, "meltFlowType", 0},    {0, "meltFlowSync", 0},    {0, "meltWowRate", 0},     {0, "meltFlutterRate", 0},
        {1, "meltDropoutType", 0}, {1, "meltDropoutSync", 0}, {1, "meltDropoutRate", 0}, {2, "meltJumpRate", 1},
    };
    for (const auto& menu : menus)
    {
        SCOPED_TRACE (menu.identifier);
        window->click (centreOf (panel->pageButtons[menu.tab].tab));
        auto& box = *menuOf (menu.identifier);
        ASSERT_TRUE (box.isShowing());
        const float before = plain (menu.identifier);
        watch.reset();

        window->wheel (centreOf (box), -0.25f);
        pumpMessages (50);

        EXPECT_EQ (plain (menu.identifier), before + static_cast<float> (menu.steps));
        EXPECT_EQ (watch.gesturesBegun (menu.identifier), menu.steps);
    }
}
