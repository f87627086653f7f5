#include "ExpectedPalette.h"
#include "ParameterWatch.h"
#include "ProcessorHarness.h"
#include "StateBlobs.h"
#include "UiSnapshot.h"
#include "engine/RandomGenerator.h"
#include "ui/panels/MeltPanel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

using namespace testsupport;

namespace
{
const juce::Rectangle<int> loadBounds{297, 4, 47, 17}, saveBounds{348, 4, 47, 17}, randomiseBounds{398, 4, 30, 17};

MeltControl* controlOf (MeltPanel& panel, const juce::String& identifier)
{
    for (auto* knob : {&panel.chorus, &panel.echoSend, &panel.depth})
        if (knob->row.parameterID == identifier)
            return knob;
    for (MeltPage* page : {static_cast<MeltPage*> (&panel.flowPage), static_cast<MeltPage*> (&panel.dropoutPage),
                           static_cast<MeltPage*> (&panel.jumpPage)})
        if (auto* found = page->control (identifier))
            return found;
    return nullptr;
}

juce::Button* buttonOf (MeltPanel& panel, const juce::String& identifier)
{
    const char* const pages[] = {"Flow", "Dropout", "Jump"};
    for (size_t index = 0; index < 3; ++index)
    {
        const juce::String stem = juce::String ("melt") + pages[index];
        auto& buttons = panel.pageButtons[index];
        if (identifier == stem + "PanelSwitch")
            return &buttons.tab;
        if (identifier == stem + "Power")
            return &buttons.power;
        if (identifier == stem + "PanelRnd")
            return &buttons.randomise;
    }
    return identifier == "meltPower" ? &panel.power : nullptr;
}

juce::Component& wrapperOf (MeltPanel& panel, const juce::String& identifier)
{
    return controlOf (panel, identifier)->wrapper();
}

void click (juce::Button& button)
{
    button.triggerClick();
    pumpMessages (30);
}

// How many draws of the editor's generator lead from a remembered state to the current one.
struct GeneratorMark
{
    std::uint32_t seed = SeedX.load(), xorWord = XorU.load();

    int drawsSince() const
    {
        std::atomic<std::uint32_t> replaySeed{seed}, replayXor{xorWord};
        for (int draws = 0; draws <= 500; ++draws)
        {
            if (replaySeed.load() == SeedX.load() && replayXor.load() == XorU.load())
                return draws;
            drawRandom (replaySeed, replayXor);
        }
        return -1;
    }
};

class MeltPanelTest : public testing::Test
{
protected:
    MeltPanel& open()
    {
        panel = std::make_unique<MeltPanel> (harness.processor.get());
        return *panel;
    }

    // What the header shows of the three sets of LOAD, SAVE and "!?!".
    std::vector<juce::Button*> visibleGroupButtons()
    {
        std::vector<juce::Button*> visible;
        for (auto& buttons : panel->pageButtons)
            for (auto* button : {&buttons.load, &buttons.save, &buttons.randomise})
                if (button->isVisible())
                    visible.push_back (button);
        return visible;
    }

    juce::Component* pageAt (int index)
    {
        juce::Component* const pages[] = {&panel->flowPage, &panel->dropoutPage, &panel->jumpPage};
        return pages[index];
    }

    std::vector<juce::Component*> visiblePages()
    {
        std::vector<juce::Component*> visible;
        for (int index = 0; index < 3; ++index)
            if (pageAt (index)->isVisible())
                visible.push_back (pageAt (index));
        return visible;
    }

    ProcessorHarness harness;
    std::unique_ptr<MeltPanel> panel;
};

struct Binding
{
    enum Kind
    {
        knob,
        menu,
        toggle,
        tab
    };

    const char* identifier;
    Kind kind;
    // Plain values: a knob's value, a menu's item index, a switch's state.
    float hostValue;
    float userValue;
};

const Binding bindings[] = {
    {"meltFlowType", Binding::menu, 2, 3},          {"meltFlowSync", Binding::menu, 1, 0},
    {"meltWowRate", Binding::menu, 9, 2},           {"meltWowFreq", Binding::knob, 2.5f, 0.75f},
    {"meltFlowMix", Binding::knob, 70, 12.5f},      {"meltFlutterRate", Binding::menu, 12, 0},
    {"meltFlutterFreq", Binding::knob, 12.5f, 6},   {"meltFlowRnd", Binding::knob, 20, 80},
    {"meltFlowLevel", Binding::knob, 90, 10},       {"meltDropoutType", Binding::menu, 0, 3},
    {"meltDropoutSync", Binding::menu, 1, 0},       {"meltDropoutRate", Binding::menu, 11, 1},
    {"meltDropoutFreq", Binding::knob, 3.5f, 14},   {"meltDropoutPhase", Binding::knob, 0.25f, 0.4f},
    {"meltDropoutRnd", Binding::knob, 10, 95},      {"meltDropoutLevel", Binding::knob, 60, 5},
    {"meltJumpRate", Binding::menu, 0, 12},         {"meltJumpSnag", Binding::knob, 1.5f, 0.2f},
    {"meltJumpRelease", Binding::knob, 0.3f, 1.9f}, {"meltJumpCurve", Binding::knob, 80, 5},
    {"meltJumpStart", Binding::knob, 40, 75},       {"meltJumpRnd", Binding::knob, 0.6f, 0.1f},
    {"meltJumpLevel", Binding::knob, 33, 66},       {"meltFlowPanelSwitch", Binding::tab, 1, 1},
    {"meltFlowPower", Binding::toggle, 0, 1},       {"meltDropoutPanelSwitch", Binding::tab, 1, 1},
    {"meltDropoutPower", Binding::toggle, 0, 1},    {"meltJumpPanelSwitch", Binding::tab, 1, 1},
    {"meltJumpPower", Binding::toggle, 0, 1},       {"meltChorus", Binding::knob, 45, 100},
    {"meltEchoSend", Binding::knob, 25, 50},        {"meltDepth", Binding::knob, 10, 55},
    {"meltPower", Binding::toggle, 0, 1},
};
} // namespace

// Every control follows its parameter, and a user's edit reaches the parameter as one gesture.
TEST_F (MeltPanelTest, EveryControlIsBoundBothWaysToItsParameter)
{
    open().setSize (874, 318);
    ParameterWatch watch (*harness.processor);

    for (const auto& binding : bindings)
    {
        SCOPED_TRACE (binding.identifier);
        const juce::String identifier (binding.identifier);
        auto* control = controlOf (*panel, identifier);
        auto* button = buttonOf (*panel, identifier);

        harness.setPlain (identifier, binding.hostValue);
        switch (binding.kind)
        {
        case Binding::knob:
            EXPECT_NEAR (control->knob->getValue(), binding.hostValue, 1.0e-4);
            break;
        case Binding::menu:
            EXPECT_EQ (control->comboBox->getSelectedId(), static_cast<int> (binding.hostValue) + 1);
            break;
        case Binding::toggle:
        case Binding::tab:
            EXPECT_EQ (button->getToggleState(), binding.hostValue >= 0.5f);
            break;
        }

        if (binding.kind == Binding::tab)
            harness.setPlain (identifier, 0.0f);
        watch.reset();
        switch (binding.kind)
        {
        case Binding::knob:
        {
            const juce::Slider::ScopedDragNotification drag (*control->knob);
            control->knob->setValue (binding.userValue, juce::sendNotificationSync);
            break;
        }
        case Binding::menu:
            control->comboBox->setSelectedId (static_cast<int> (binding.userValue) + 1);
            pumpMessages (30);
            break;
        case Binding::toggle:
        case Binding::tab:
            click (*button);
            break;
        }
        EXPECT_NEAR (harness.getPlain (identifier), binding.userValue, 1.0e-4);
        EXPECT_EQ (watch.gesturesBegun (identifier), 1);
        EXPECT_EQ (watch.gesturesEnded (identifier), 1);
        EXPECT_EQ (watch.totalGestures(), 1);
    }
}

TEST_F (MeltPanelTest, MenusHoldTheirItemsAndShowTheDefaults)
{
    const juce::StringArray notes{"1b",   ".1/2", "1/2",  "1/2T",  ".1/4", "1/4",  "1/4T",
                                  ".1/8", "1/8",  "1/8T", ".1/16", "1/16", "1/16T"};
    const juce::StringArray fastNotes{"1/4",   "1/4T",  ".1/8", "1/8",   "1/8T",  ".1/16", "1/16",
                                      "1/16T", ".1/32", "1/32", "1/32T", ".1/64", "1/64"};
    const juce::StringArray syncModes{"Manual", "BPM"};
    const struct
    {
        const char* identifier;
        juce::StringArray items;
        juce::String shown;
    } menus[] = {
        {"meltFlowType", {"Smooth", "Robotic", "RampUp", "RampDown"}, "Smooth"},
        {"meltFlowSync", syncModes, "Manual"},
        {"meltWowRate", notes, "1/4"},
        {"meltFlutterRate", fastNotes, "1/8"},
        {"meltDropoutType", {"Smooth", "Robotic", "Rect", "Rect Inv"}, "Rect"},
        {"meltDropoutSync", syncModes, "Manual"},
        {"meltDropoutRate", fastNotes, "1/8"},
        {"meltJumpRate",
         {"8b", "6b", "4b", "3b", "2b", "1.5b", "1b", ".1/2", "1/2", "1/2T", ".1/4", "1/4", "1/4T"},
         "1b"},
    };

    open();
    for (const auto& menu : menus)
    {
        SCOPED_TRACE (menu.identifier);
        auto& box = *controlOf (*panel, menu.identifier)->comboBox;
        juce::StringArray items;
        for (int index = 0; index < box.getNumItems(); ++index)
        {
            items.add (box.getItemText (index));
            EXPECT_EQ (box.getItemId (index), index + 1);
        }
        EXPECT_EQ (items, menu.items);
        EXPECT_EQ (box.getText(), menu.shown);
    }
}

// Each knob's value text carries its parameter's unit as given, "Ms" included.
TEST_F (MeltPanelTest, KnobsShowTheirParametersUnits)
{
    const struct
    {
        const char* identifier;
        double value;
        const char* text;
    } knobs[] = {
        {"meltWowFreq", 2.5, "2.5 Hz"},
        {"meltDropoutPhase", 0.25, "0.25 %"},
        {"meltJumpRnd", 0.5, "0.5 Ms"},
        {"meltChorus", 45.0, "45 %"},
    };
    open();
    for (const auto& k : knobs)
        EXPECT_EQ (controlOf (*panel, k.identifier)->knob->getTextFromValue (k.value), k.text) << k.identifier;
}

TEST_F (MeltPanelTest, ANewPanelShowsTheFlowPageInManualMode)
{
    open();
    EXPECT_EQ (visiblePages(), std::vector<juce::Component*> ({&panel->flowPage}));
    auto& flow = panel->pageButtons[0];
    EXPECT_EQ (visibleGroupButtons(), std::vector<juce::Button*> ({&flow.load, &flow.save, &flow.randomise}));
    EXPECT_TRUE (flow.tab.getToggleState());

    const struct
    {
        const char* identifier;
        bool visible;
    } controls[] = {
        {"meltFlowType", true},    {"meltFlowSync", true},     {"meltWowRate", false},    {"meltWowFreq", true},
        {"meltFlowMix", true},     {"meltFlutterRate", false}, {"meltFlutterFreq", true}, {"meltFlowRnd", true},
        {"meltFlowLevel", true},   {"meltDropoutType", true},  {"meltDropoutSync", true}, {"meltDropoutRate", false},
        {"meltDropoutFreq", true}, {"meltDropoutPhase", true}, {"meltDropoutRnd", true},  {"meltDropoutLevel", true},
        {"meltJumpRate", true},    {"meltJumpSnag", true},     {"meltJumpRelease", true}, {"meltJumpCurve", true},
        {"meltJumpStart", true},   {"meltJumpRnd", true},      {"meltJumpLevel", true},   {"meltChorus", true},
        {"meltEchoSend", true},    {"meltDepth", true},
    };
    for (const auto& control : controls)
        EXPECT_EQ (wrapperOf (*panel, control.identifier).isVisible(), control.visible) << control.identifier;
    for (auto& buttons : panel->pageButtons)
        EXPECT_TRUE (buttons.tab.isVisible() && buttons.power.isVisible());
    EXPECT_TRUE (panel->power.isVisible());
}

TEST_F (MeltPanelTest, ClickingAnotherTabMovesBothSwitchesAsTwoGesturesAndShowsOnlyItsPage)
{
    open();
    ParameterWatch watch (*harness.processor);
    auto& dropout = panel->pageButtons[1];

    click (dropout.tab);

    EXPECT_EQ (harness.getPlain ("meltFlowPanelSwitch"), 0.0f);
    EXPECT_EQ (harness.getPlain ("meltDropoutPanelSwitch"), 1.0f);
    EXPECT_EQ (watch.gesturesBegun ("meltFlowPanelSwitch"), 1);
    EXPECT_EQ (watch.gesturesBegun ("meltDropoutPanelSwitch"), 1);
    EXPECT_EQ (watch.totalGestures(), 2);
    EXPECT_EQ (visiblePages(), std::vector<juce::Component*> ({&panel->dropoutPage}));
    EXPECT_EQ (visibleGroupButtons(), std::vector<juce::Button*> ({&dropout.load, &dropout.save, &dropout.randomise}));

    // The tab that is on stays on when clicked again.
    watch.reset();
    click (dropout.tab);
    EXPECT_EQ (harness.getPlain ("meltDropoutPanelSwitch"), 1.0f);
    EXPECT_EQ (watch.totalChanges(), 0);
    EXPECT_EQ (visiblePages(), std::vector<juce::Component*> ({&panel->dropoutPage}));

    // A switch moved by the host moves the tabs the same way.
    harness.setPlain ("meltJumpPanelSwitch", 1.0f);
    EXPECT_EQ (harness.getPlain ("meltDropoutPanelSwitch"), 0.0f);
    EXPECT_EQ (visiblePages(), std::vector<juce::Component*> ({&panel->jumpPage}));
    auto& jump = panel->pageButtons[2];
    EXPECT_EQ (visibleGroupButtons(), std::vector<juce::Button*> ({&jump.load, &jump.save, &jump.randomise}));
}

// Opening turns all but the last switch that is on off, as host edits; with none on, no page shows.
TEST_F (MeltPanelTest, OpeningLeavesOnlyTheLastSwitchThatIsOnShowing)
{
    const char* const switches[] = {"meltFlowPanelSwitch", "meltDropoutPanelSwitch", "meltJumpPanelSwitch"};
    const struct
    {
        bool on[3];
        bool after[3];
        int shown; // -1: none
    } cases[] = {
        {{true, true, true}, {false, false, true}, 2},      {{true, true, false}, {false, true, false}, 1},
        {{true, false, true}, {false, false, true}, 2},     {{false, true, false}, {false, true, false}, 1},
        {{false, false, false}, {false, false, false}, -1},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << c.on[0] << c.on[1] << c.on[2]);
        panel.reset();
        for (size_t index = 0; index < 3; ++index)
            harness.setPlain (switches[index], c.on[index] ? 1.0f : 0.0f);
        ParameterWatch watch (*harness.processor);

        open();

        for (size_t index = 0; index < 3; ++index)
        {
            EXPECT_EQ (harness.getPlain (switches[index]), c.after[index] ? 1.0f : 0.0f) << switches[index];
            EXPECT_EQ (watch.gesturesBegun (switches[index]), c.on[index] != c.after[index] ? 1 : 0) << switches[index];
        }
        if (c.shown < 0)
        {
            EXPECT_TRUE (visiblePages().empty());
            EXPECT_TRUE (visibleGroupButtons().empty());
        }
        else
        {
            auto& buttons = panel->pageButtons[(size_t)c.shown];
            EXPECT_EQ (visiblePages(), std::vector<juce::Component*> ({pageAt (c.shown)}));
            EXPECT_EQ (visibleGroupButtons(),
                       std::vector<juce::Button*> ({&buttons.load, &buttons.save, &buttons.randomise}));
        }
    }
}

TEST_F (MeltPanelTest, SyncModeShowsTheFrequencyKnobsInManualAndTheRateMenusInBpm)
{
    const struct
    {
        const char* sync;
        std::vector<const char*> knobs, menus;
    } pages[] = {
        {"meltFlowSync", {"meltWowFreq", "meltFlutterFreq"}, {"meltWowRate", "meltFlutterRate"}},
        {"meltDropoutSync", {"meltDropoutFreq"}, {"meltDropoutRate"}},
    };
    for (const auto& page : pages)
        harness.setPlain (page.sync, 1.0f);
    open();

    for (const auto& page : pages)
    {
        SCOPED_TRACE (page.sync);
        const auto expectManual = [&] (bool manual)
        {
            for (const auto* identifier : page.knobs)
                EXPECT_EQ (wrapperOf (*panel, identifier).isVisible(), manual) << identifier;
            for (const auto* identifier : page.menus)
                EXPECT_EQ (wrapperOf (*panel, identifier).isVisible(), !manual) << identifier;
        };
        expectManual (false);
        harness.setPlain (page.sync, 0.0f);
        expectManual (true);
        controlOf (*panel, page.sync)->comboBox->setSelectedId (2);
        pumpMessages (30);
        expectManual (false);
    }
}

// The sync action styles the frequency knobs and writes their double-click values on every run.
TEST_F (MeltPanelTest, EverySyncChangeRewritesTheFrequencyKnobsDoubleClickValues)
{
    const struct
    {
        const char* sync;
        const char* knob;
        float value;
    } knobs[] = {
        {"meltFlowSync", "meltWowFreq", 1.2f},
        {"meltFlowSync", "meltFlutterFreq", 8.0f},
        {"meltDropoutSync", "meltDropoutFreq", 8.0f},
    };
    open();
    for (const auto& k : knobs)
    {
        SCOPED_TRACE (k.knob);
        auto& knob = *controlOf (*panel, k.knob)->knob;
        EXPECT_NE (dynamic_cast<BasicLookAndFeel*> (&knob.getLookAndFeel()), nullptr);
        for (const float mode : {1.0f, 0.0f})
        {
            knob.setDoubleClickReturnValue (true, 3.0);
            harness.setPlain (k.sync, mode);
            EXPECT_TRUE (knob.isDoubleClickReturnEnabled());
            EXPECT_EQ (knob.getDoubleClickReturnValue(), static_cast<double> (k.value));
        }
    }
}

namespace
{
struct RandomiseGroup
{
    const char* switchID;
    size_t tab;
    int draws;
    const char* member;
};

const RandomiseGroup randomiseGroups[] = {
    {"meltFlowPanelRnd", 0, 8, "meltFlowMix"},
    {"meltDropoutPanelRnd", 1, 6, "meltDropoutPhase"},
    {"meltJumpPanelRnd", 2, 6, "meltJumpCurve"},
};
} // namespace

TEST_F (MeltPanelTest, ARandomiseSwitchChangedElsewhereRerollsItsGroupOncePerChange)
{
    open();
    for (const auto& group : randomiseGroups)
    {
        SCOPED_TRACE (group.switchID);
        ParameterWatch watch (*harness.processor);
        const GeneratorMark mark;

        harness.setPlain (group.switchID, 1.0f);
        EXPECT_TRUE (panel->pageButtons[group.tab].randomise.getToggleState());
        EXPECT_EQ (mark.drawsSince(), group.draws);
        harness.setPlain (group.switchID, 1.0f);
        EXPECT_EQ (mark.drawsSince(), group.draws) << "no change, no reroll";
        harness.setPlain (group.switchID, 0.0f);
        EXPECT_EQ (mark.drawsSince(), 2 * group.draws);
        for (const auto& other : randomiseGroups)
            EXPECT_EQ (watch.changes (other.member), &other == &group ? 2 : 0) << other.member;

        // A preset load that flips the switch counts as a change too.
        const auto switchedOff = stateOf (*harness.processor);
        harness.setPlain (group.switchID, 1.0f);
        applyState (*harness.processor, switchedOff);
        EXPECT_EQ (harness.getPlain (group.switchID), 0.0f);
        EXPECT_EQ (mark.drawsSince(), 4 * group.draws);

        // The user's click rerolls once and leaves the switch as it is.
        watch.reset();
        click (panel->pageButtons[group.tab].randomise);
        EXPECT_EQ (mark.drawsSince(), 5 * group.draws);
        EXPECT_EQ (harness.getPlain (group.switchID), 0.0f);
        EXPECT_EQ (watch.gesturesBegun (group.switchID), 0);
    }
}

// A switch left on by automation must not reroll a group each time the editor opens.
TEST_F (MeltPanelTest, OpeningWithRandomiseSwitchesOnRerollsNothing)
{
    for (const auto& group : randomiseGroups)
        harness.setPlain (group.switchID, 1.0f);
    const auto before = parameterValues (*harness.processor);
    const GeneratorMark mark;

    open();

    EXPECT_EQ (mark.drawsSince(), 0);
    for (const auto& group : randomiseGroups)
    {
        EXPECT_TRUE (panel->pageButtons[group.tab].randomise.getToggleState());
        EXPECT_EQ (harness.processor->apvts.getParameter (group.member)->getValue(),
                   before[(size_t)harness.processor->apvts.getParameter (group.member)->getParameterIndex()]);
    }
}

TEST_F (MeltPanelTest, ChildrenSitAtTheirDesignRectanglesTruncatedWhereTheQuotientFallsShort)
{
    using Bounds = juce::Rectangle<int>;
    open();
    ASSERT_EQ (panel->getLocalBounds(), Bounds (0, 0, 437, 159));

    const int tabX[] = {3, 100, 197};
    for (size_t index = 0; index < 3; ++index)
    {
        auto& buttons = panel->pageButtons[index];
        EXPECT_EQ (buttons.tab.getBounds(), Bounds (tabX[index], 23, 97, 17));
        EXPECT_EQ (buttons.power.getBounds(), Bounds (tabX[index], 40, 97, 13));
        EXPECT_EQ (buttons.load.getBounds(), loadBounds);
        EXPECT_EQ (buttons.save.getBounds(), saveBounds);
        EXPECT_EQ (buttons.randomise.getBounds(), randomiseBounds);
        // The pages hang below the panel, at their own design size.
        EXPECT_EQ (pageAt ((int)index)->getBounds(), Bounds (1, 53, 289, 163));
    }
    EXPECT_EQ (panel->power.getBounds(), Bounds (6, 6, 16, 13));

    const struct
    {
        const char* identifier;
        Bounds expected;
    } controls[] = {
        {"meltChorus", {337, 35, 55, 54}},       {"meltEchoSend", {306, 99, 55, 54}},
        {"meltDepth", {367, 99, 55, 54}},        {"meltFlowType", {15, 10, 80, 33}},
        {"meltFlowSync", {111, 10, 80, 33}},     {"meltWowRate", {15, 55, 44, 33}},
        {"meltWowFreq", {11, 47, 54, 55}},       {"meltFlowMix", {65, 47, 54, 55}},
        {"meltFlutterRate", {125, 55, 44, 33}},  {"meltFlutterFreq", {120, 47, 54, 55}},
        {"meltFlowRnd", {175, 47, 54, 55}},      {"meltFlowLevel", {230, 47, 54, 55}},
        {"meltDropoutType", {15, 10, 80, 33}},   {"meltDropoutSync", {111, 10, 80, 33}},
        {"meltDropoutRate", {15, 55, 44, 33}},   {"meltDropoutFreq", {11, 47, 54, 55}},
        {"meltDropoutPhase", {65, 47, 54, 55}},  {"meltDropoutRnd", {120, 47, 54, 55}},
        {"meltDropoutLevel", {230, 47, 54, 55}}, {"meltJumpRate", {15, 10, 44, 33}},
        {"meltJumpSnag", {65, 47, 54, 55}},      {"meltJumpRelease", {120, 47, 54, 55}},
        {"meltJumpCurve", {99, 5, 44, 44}},      {"meltJumpStart", {11, 47, 54, 55}},
        {"meltJumpRnd", {175, 47, 54, 55}},      {"meltJumpLevel", {230, 47, 54, 55}},
    };
    for (const auto& control : controls)
        EXPECT_EQ (wrapperOf (*panel, control.identifier).getBounds(), control.expected) << control.identifier;

    panel->setSize (874, 318);
    EXPECT_EQ (wrapperOf (*panel, "meltChorus").getBounds(), Bounds (674, 70, 110, 109));
    EXPECT_EQ (panel->pageButtons[1].tab.getBounds(), Bounds (200, 46, 194, 34));
    EXPECT_EQ (panel->pageButtons[1].load.getBounds(), Bounds (594, 8, 94, 34));
    EXPECT_EQ (panel->power.getBounds(), Bounds (12, 12, 32, 26));
    EXPECT_EQ (panel->flowPage.getBounds(), Bounds (2, 106, 578, 326));
    EXPECT_EQ (wrapperOf (*panel, "meltWowRate").getBounds(), Bounds (30, 111, 88, 66));
    EXPECT_EQ (wrapperOf (*panel, "meltFlutterFreq").getBounds(), Bounds (240, 94, 109, 110));
    EXPECT_EQ (wrapperOf (*panel, "meltJumpCurve").getBounds(), Bounds (198, 10, 88, 88));
}

TEST_F (MeltPanelTest, PaintsItsBodyHeaderDividerTabStripAndPageLines)
{
    harness.setPlain ("meltJumpPanelSwitch", 1.0f);
    open();
    const auto image = paintToImage (*panel);

    const auto panelColour = palette::panel, panelHeaderColour = palette::panelHeader, lineColour = palette::line,
               borderColour = palette::border;
    const struct
    {
        const char* what;
        int x, y;
        juce::Colour expected;
    } probes[] = {
        {"body", 300, 30, panelColour},
        {"header", 250, 12, panelHeaderColour},
        {"divider", 295, 100, lineColour},
        {"strip under the page switches", 150, 54, borderColour},
        {"border", 1, 100, borderColour},
        {"jump page bracket", 94, 83, lineColour},
        {"rounded bottom corner", 0, 158, juce::Colours::transparentBlack},
    };
    for (const auto& probe : probes)
        EXPECT_TRUE (coloursClose (image.getPixelAt (probe.x, probe.y), probe.expected, 3))
            << probe.what << ": " << image.getPixelAt (probe.x, probe.y).toDisplayString (true);

    // The flow page's line between its wow and mix knobs.
    harness.setPlain ("meltFlowPanelSwitch", 1.0f);
    EXPECT_TRUE (coloursClose (paintToImage (*panel).getPixelAt (67, 119), lineColour, 3));
}

TEST_F (MeltPanelTest, ClosingEmptiesTheMeltSlotsAndLaterEditsAndStateLoadsStillWork)
{
    open();
    click (panel->pageButtons[2].tab);
    controlOf (*panel, "meltJumpRate")->comboBox->setSelectedId (3);
    pumpMessages (30);
    {
        auto& knob = *panel->depth.knob;
        const juce::Slider::ScopedDragNotification drag (knob);
        knob.setValue (40.0, juce::sendNotificationSync);
    }
    harness.setPlain ("meltFlowSync", 1.0f);
    const auto state = stateOf (*harness.processor);

    panel.reset();

    auto& parameters = harness.processor->pluginParameters;
    int meltSlots = 0;
#define PARAM_ANY(stem, group, ...)                                                                                    \
    if (juce::String (#group).startsWith ("Melt"))                                                                     \
    {                                                                                                                  \
        ++meltSlots;                                                                                                   \
        EXPECT_EQ (parameters.stem##Attachment, nullptr) << #stem;                                                     \
    }
#include "parameters/ForEachParameter.h"
    EXPECT_EQ (meltSlots, 36);

    scatterParameters (*harness.processor);
    for (const auto& group : randomiseGroups)
        harness.setPlain (group.switchID, 1.0f - harness.getPlain (group.switchID));
    applyState (*harness.processor, state);
    pumpMessages (30);
    EXPECT_EQ (harness.getPlain ("meltJumpRate"), 2.0f);
    EXPECT_EQ (harness.getPlain ("meltDepth"), 40.0f);
    EXPECT_EQ (harness.getPlain ("meltJumpPanelSwitch"), 1.0f);
}

// Automation from the audio thread reaches the controls through posted updates, which must not
// outlive a closed panel.
using MeltPanelThreads = MeltPanelTest;
TEST_F (MeltPanelThreads, OpeningAndClosingWhileTheAudioThreadAutomatesIsSafe)
{
    std::atomic<bool> running{true};
    std::thread audio (
        [&]
        {
            auto buffer = harness.silence (harness.blockSize);
            for (int step = 0; running; ++step)
            {
                const auto toggle = static_cast<float> (step % 2);
                for (const auto* identifier :
                     {"meltFlowSync", "meltDropoutSync", "meltJumpPanelSwitch", "meltDropoutPanelRnd", "meltPower"})
                    harness.setNormalised (identifier, toggle);
                harness.setNormalised ("meltWowRate", static_cast<float> (step % 13) / 12.0f);
                harness.setNormalised ("meltDepth", static_cast<float> (step % 100) / 100.0f);
                harness.processBlock (buffer);
            }
        });

    for (int round = 0; round < 12; ++round)
    {
        open();
        pumpMessages (15);
        panel.reset();
        pumpMessages (5);
    }
    running = false;
    audio.join();
    pumpMessages (20);
    SUCCEED();
}
