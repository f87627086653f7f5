#include "ExpectedPalette.h"
#include "ParameterWatch.h"
#include "ProcessorHarness.h"
#include "StateBlobs.h"
#include "UiSnapshot.h"
#include "engine/RandomGenerator.h"
#include "ui/panels/EchoPanel.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

using testsupport::pumpMessages;

namespace palette = testsupport::palette;

namespace
{
// The palette's colours the panel paints with.

template <auto member> juce::Slider& sliderOf (EchoPanel& panel)
{
    return panel.*member;
}

template <auto member> juce::Component& componentOf (EchoPanel& panel)
{
    return panel.*member;
}

using ComponentOf = juce::Component& (*)(EchoPanel&);

const juce::StringArray noteValues{"1b",   ".1/2", "1/2",  "1/2T",  ".1/4", "1/4",  "1/4T",
                                   ".1/8", "1/8",  "1/8T", ".1/16", "1/16", "1/16T"};

struct ComboCase
{
    const char* identifier;
    BasicComboBox EchoPanel::*box;
    juce::StringArray items;
    int defaultId;
};

const ComboCase comboCases[] = {
    {"echoSync", &EchoPanel::syncBox, {"Manual", "BPM"}, 2},
    {"echoRateLeft", &EchoPanel::rateLeftBox, noteValues, 8},
    {"echoRateRight", &EchoPanel::rateRightBox, noteValues, 8},
    {"echoMin", &EchoPanel::minimumBox, {"0.125", "0.1875", "0.25", "0.375", "0.5"}, 4},
    {"echoMax", &EchoPanel::maximumBox, {"0.75", "1", "1.5", "2"}, 2},
    {"echoFactorRate",
     &EchoPanel::factorRateBox,
     {"8b", "6b", "4b", "3b", "2b", "1.5b", "1b", ".1/2", "1/2", "1/2T", ".1/4", "1/4", "1/4T"},
     3},
    {"echoMixMode", &EchoPanel::mixModeBox, {"Pow", "Lin"}, 1},
    {"echoFactorMode", &EchoPanel::factorModeBox, {"Manual", "Auto"}, 1},
};

struct SliderCase
{
    const char* identifier;
    juce::Slider& (*slider) (EchoPanel&);
    float hostValue, userValue;
};

const SliderCase sliderCases[] = {
    {"echoTime", &sliderOf<&EchoPanel::timeKnob>, 250.0f, 750.0f},
    {"echoOffset", &sliderOf<&EchoPanel::offsetKnob>, 30.0f, 60.0f},
    {"echoOffsetMs", &sliderOf<&EchoPanel::offsetMsKnob>, 75.0f, 20.0f},
    {"echoLength", &sliderOf<&EchoPanel::lengthSlider>, -50.0f, 25.0f},
    {"echoGlide", &sliderOf<&EchoPanel::glideKnob>, 10.0f, 70.0f},
    {"echoInput", &sliderOf<&EchoPanel::inputKnob>, -24.0f, -6.0f},
    {"echoFeedback", &sliderOf<&EchoPanel::feedbackKnob>, 100.0f, 55.0f},
    {"echoHpFreq", &sliderOf<&EchoPanel::highPassKnob>, 600.0f, 300.0f},
    {"echoLpFreq", &sliderOf<&EchoPanel::lowPassKnob>, 5000.0f, 12000.0f},
    {"echoMix", &sliderOf<&EchoPanel::mixKnob>, 80.0f, 50.0f},
};

// The switches bound to their parameters; the randomise switch has tests of its own.
const std::pair<const char*, BasicButton EchoPanel::*> switchCases[] = {
    {"echoLink", &EchoPanel::linkButton},   {"echoPingPong", &EchoPanel::pingPongButton},
    {"echoLoop", &EchoPanel::loopButton},   {"echoFilter", &EchoPanel::filterButton},
    {"echoPower", &EchoPanel::powerButton},
};

// Shown in one sync or factor mode and hidden in the other.
struct ModeCase
{
    const char* what;
    ComponentOf component;
    bool shownInFirstMode; // Manual for both modes
};

const ModeCase syncCases[] = {
    {"link", &componentOf<&EchoPanel::linkButton>, false},
    {"rate left", &componentOf<&EchoPanel::rateLeftLabeled>, false},
    {"rate right", &componentOf<&EchoPanel::rateRightLabeled>, false},
    {"offset", &componentOf<&EchoPanel::offsetLabeled>, false},
    {"time", &componentOf<&EchoPanel::timeLabeled>, true},
    {"offset ms", &componentOf<&EchoPanel::offsetMsLabeled>, true},
    {"c1", &componentOf<&EchoPanel::linkCover>, true},
};

const ModeCase factorCases[] = {
    {"factor rate", &componentOf<&EchoPanel::factorRateLabeled>, false},
    {"c4", &componentOf<&EchoPanel::tickCover>, false},
    {"c2", &componentOf<&EchoPanel::faderCoverLeft>, true},
    {"c3", &componentOf<&EchoPanel::faderCoverRight>, true},
};

// Design rectangles of every child, in the panel's 295 by 277 units.
const std::pair<ComponentOf, juce::Rectangle<float>> designRectangles[] = {
    {&componentOf<&EchoPanel::syncLabeled>, {15, 30, 81, 33}},
    {&componentOf<&EchoPanel::rateLeftLabeled>, {108, 30, 54, 34}},
    {&componentOf<&EchoPanel::rateRightLabeled>, {108, 67, 54, 34}},
    {&componentOf<&EchoPanel::minimumLabeled>, {115, 148, 54, 34}},
    {&componentOf<&EchoPanel::maximumLabeled>, {232, 148, 54, 34}},
    {&componentOf<&EchoPanel::factorRateLabeled>, {173, 148, 54, 34}},
    {&componentOf<&EchoPanel::lengthLabeled>, {143, 113, 113, 38}},
    {&componentOf<&EchoPanel::glideLabeled>, {238, 32, 55, 55}},
    {&componentOf<&EchoPanel::timeLabeled>, {128, 32, 55, 55}},
    {&componentOf<&EchoPanel::offsetLabeled>, {183, 32, 55, 55}},
    {&componentOf<&EchoPanel::offsetMsLabeled>, {183, 32, 55, 55}},
    {&componentOf<&EchoPanel::inputLabeled>, {10, 200, 55, 55}},
    {&componentOf<&EchoPanel::feedbackLabeled>, {172, 200, 55, 55}},
    {&componentOf<&EchoPanel::highPassLabeled>, {64, 200, 55, 55}},
    {&componentOf<&EchoPanel::lowPassLabeled>, {118, 200, 55, 55}},
    {&componentOf<&EchoPanel::mixLabeled>, {226, 200, 55, 55}},
    {&componentOf<&EchoPanel::mixModeLabeled>, {233, 252, 42, 33}},
    {&componentOf<&EchoPanel::factorModeLabeled>, {11, 148, 55, 33}},
    {&componentOf<&EchoPanel::linkButton>, {165, 49, 17, 17}},
    {&componentOf<&EchoPanel::pingPongButton>, {15, 67, 81, 17}},
    {&componentOf<&EchoPanel::loopButton>, {175, 252, 48, 17}},
    {&componentOf<&EchoPanel::filterButton>, {80, 252, 78, 17}},
    {&componentOf<&EchoPanel::loadButton>, {159, 4, 47, 17}},
    {&componentOf<&EchoPanel::saveButton>, {210, 4, 47, 17}},
    {&componentOf<&EchoPanel::randomiseButton>, {260, 4, 30, 17}},
    {&componentOf<&EchoPanel::powerButton>, {6, 6, 16, 13}},
    {&componentOf<&EchoPanel::linkCover>, {162, 32, 55, 55}},
    {&componentOf<&EchoPanel::faderCoverLeft>, {133, 120, 14, 32}},
    {&componentOf<&EchoPanel::faderCoverRight>, {259, 120, 14, 32}},
    {&componentOf<&EchoPanel::tickCover>, {196, 130, 17, 16}},
};

// Each coordinate is the panel's current side divided by the single-precision quotient of the
// design side by the design value, truncated toward zero.
juce::Rectangle<int> expectedBounds (juce::Rectangle<float> design, int width, int height)
{
    const auto horizontal = [&] (float v) { return static_cast<int> (static_cast<float> (width) / (295.0f / v)); };
    const auto vertical = [&] (float v) { return static_cast<int> (static_cast<float> (height) / (277.0f / v)); };
    return {horizontal (design.getX()), vertical (design.getY()), horizontal (design.getWidth()),
            vertical (design.getHeight())};
}

std::map<juce::String, bool> echoSlots (const PluginParameters& p)
{
    std::map<juce::String, bool> occupied;
#define PARAM_ANY(stem, group, ...)                                                                                    \
    if (juce::String (#group) == "Echo")                                                                               \
        occupied[PluginParameters::stem##ID] = p.stem##Attachment != nullptr;
#include "parameters/ForEachParameter.h"
    return occupied;
}

// How many draws the editor's generator made since it stood at the given words (-1: more than
// a few hundred, or none that lands there).
int drawsSince (std::uint32_t seed, std::uint32_t xorWord)
{
    std::atomic<std::uint32_t> replaySeed{seed}, replayXor{xorWord};
    for (int draws = 0; draws <= 400; ++draws)
    {
        if (replaySeed.load() == SeedX.load() && replayXor.load() == XorU.load())
            return draws;
        drawRandom (replaySeed, replayXor);
    }
    return -1;
}

class EchoPanelTest : public testing::Test
{
protected:
    float plain (const juce::String& identifier) const { return harness.getPlain (identifier); }

    // The colour of the panel's own painting at a point given in design units, at design size.
    juce::Colour pixelAt (int x, int y)
    {
        pumpMessages (5);
        return testsupport::paintToImage (*panel).getPixelAt (x, y);
    }

    testsupport::ProcessorHarness harness;
    std::unique_ptr<EchoPanel> panel = std::make_unique<EchoPanel> (harness.processor.get());
};
} // namespace

TEST_F (EchoPanelTest, MenusListTheirItemsAndShowTheParametersDefaults)
{
    EXPECT_EQ (panel->getWidth(), 295);
    EXPECT_EQ (panel->getHeight(), 277);
    for (const auto& c : comboCases)
    {
        SCOPED_TRACE (c.identifier);
        auto& box = panel.get()->*c.box;
        juce::StringArray items;
        for (int index = 0; index < box.getNumItems(); ++index)
        {
            items.add (box.getItemText (index));
            EXPECT_EQ (box.getItemId (index), index + 1);
        }
        EXPECT_EQ (items, c.items);
        EXPECT_EQ (box.getSelectedId(), c.defaultId);
        EXPECT_EQ (box.getText(), c.items[c.defaultId - 1]);
    }
}

TEST_F (EchoPanelTest, ControlsOutsideTheModesShowInEveryMode)
{
    const ComponentOf alwaysShown[] = {
        &componentOf<&EchoPanel::syncLabeled>,     &componentOf<&EchoPanel::minimumLabeled>,
        &componentOf<&EchoPanel::maximumLabeled>,  &componentOf<&EchoPanel::lengthLabeled>,
        &componentOf<&EchoPanel::glideLabeled>,    &componentOf<&EchoPanel::inputLabeled>,
        &componentOf<&EchoPanel::feedbackLabeled>, &componentOf<&EchoPanel::highPassLabeled>,
        &componentOf<&EchoPanel::lowPassLabeled>,  &componentOf<&EchoPanel::mixLabeled>,
        &componentOf<&EchoPanel::mixModeLabeled>,  &componentOf<&EchoPanel::factorModeLabeled>,
        &componentOf<&EchoPanel::pingPongButton>,  &componentOf<&EchoPanel::loopButton>,
        &componentOf<&EchoPanel::filterButton>,    &componentOf<&EchoPanel::loadButton>,
        &componentOf<&EchoPanel::saveButton>,      &componentOf<&EchoPanel::randomiseButton>,
        &componentOf<&EchoPanel::powerButton>,
    };
    for (const auto modes : {0.0f, 1.0f})
    {
        harness.setPlain ("echoSync", modes);
        harness.setPlain ("echoFactorMode", modes);
        for (const auto& component : alwaysShown)
        {
            EXPECT_TRUE (component (*panel).isVisible()) << modes;
            EXPECT_EQ (component (*panel).getParentComponent(), panel.get());
        }
    }
}

TEST_F (EchoPanelTest, HostChangesMoveEveryControl)
{
    for (const auto& c : comboCases)
    {
        harness.setPlain (c.identifier, static_cast<float> (c.items.size() - 1));
        EXPECT_EQ ((panel.get()->*c.box).getSelectedId(), c.items.size()) << c.identifier;
    }
    for (const auto& c : sliderCases)
    {
        harness.setPlain (c.identifier, c.hostValue);
        EXPECT_NEAR (c.slider (*panel).getValue(), c.hostValue, 0.01) << c.identifier;
    }
    for (const auto& [identifier, button] : switchCases)
    {
        const auto wasOn = (panel.get()->*button).getToggleState();
        harness.setPlain (identifier, wasOn ? 0.0f : 1.0f);
        EXPECT_NE ((panel.get()->*button).getToggleState(), wasOn) << identifier;
    }
    pumpMessages (20);
}

// The texts a labelled knob shows while hovered carry the parameter's unit; the fader's is the
// bare number.
TEST_F (EchoPanelTest, ValueTextsCarryTheParametersUnits)
{
    const struct
    {
        const char* identifier;
        juce::Slider& (*slider) (EchoPanel&);
        float value;
        const char* text;
    } cases[] = {
        {"echoLength", &sliderOf<&EchoPanel::lengthSlider>, 50.0f, "50"},
        {"echoTime", &sliderOf<&EchoPanel::timeKnob>, 250.0f, "250 ms"},
        {"echoOffset", &sliderOf<&EchoPanel::offsetKnob>, 30.0f, "30"},
        {"echoOffsetMs", &sliderOf<&EchoPanel::offsetMsKnob>, 75.0f, "75 ms"},
        {"echoGlide", &sliderOf<&EchoPanel::glideKnob>, 95.0f, "95 %"},
        {"echoInput", &sliderOf<&EchoPanel::inputKnob>, -6.0f, "-6.00 dB"},
        {"echoFeedback", &sliderOf<&EchoPanel::feedbackKnob>, 55.0f, "55 %"},
        {"echoHpFreq", &sliderOf<&EchoPanel::highPassKnob>, 600.0f, "600 Hz"},
        {"echoLpFreq", &sliderOf<&EchoPanel::lowPassKnob>, 5000.0f, "5000 Hz"},
        {"echoMix", &sliderOf<&EchoPanel::mixKnob>, 80.0f, "80 %"},
    };
    for (const auto& c : cases)
    {
        harness.setPlain (c.identifier, c.value);
        auto& slider = c.slider (*panel);
        EXPECT_EQ (slider.getTextFromValue (slider.getValue()), c.text) << c.identifier;
    }
}

TEST_F (EchoPanelTest, UserEditsReachTheirParameterAsOneGesture)
{
    testsupport::ParameterWatch watch (*harness.processor);
    const auto expectOneGesture = [&] (const char* identifier)
    {
        EXPECT_EQ (watch.gesturesBegun (identifier), 1) << identifier;
        EXPECT_EQ (watch.gesturesEnded (identifier), 1) << identifier;
        EXPECT_EQ (watch.totalGestures(), 1) << identifier;
        watch.reset();
    };

    for (const auto& c : comboCases)
    {
        auto& box = panel.get()->*c.box;
        const auto chosen = c.defaultId == 1 ? 2 : 1;
        box.setSelectedId (chosen, juce::sendNotificationAsync);
        pumpMessages (20);
        EXPECT_EQ (plain (c.identifier), static_cast<float> (chosen - 1)) << c.identifier;
        expectOneGesture (c.identifier);
    }
    for (const auto& c : sliderCases)
    {
        auto& slider = c.slider (*panel);
        {
            const juce::Slider::ScopedDragNotification drag (slider);
            slider.setValue (c.userValue, juce::sendNotificationSync);
        }
        EXPECT_NEAR (plain (c.identifier), c.userValue, 0.01f) << c.identifier;
        expectOneGesture (c.identifier);
    }
    for (const auto& [identifier, button] : switchCases)
    {
        const auto wasOn = plain (identifier) >= 0.5f;
        (panel.get()->*button).triggerClick();
        pumpMessages (20);
        EXPECT_EQ (plain (identifier) >= 0.5f, !wasOn) << identifier;
        expectOneGesture (identifier);
    }
}

TEST_F (EchoPanelTest, SyncModeSwapsTimeAndRatesAndRecoloursTheLinkBrackets)
{
    const auto expectMode = [&] (bool manual)
    {
        for (const auto& c : syncCases)
            EXPECT_EQ (c.component (*panel).isVisible(), c.shownInFirstMode == manual) << c.what;
        const auto bracket = manual ? palette::panel : palette::line;
        EXPECT_TRUE (testsupport::coloursClose (pixelAt (168, 37), bracket));
        EXPECT_TRUE (testsupport::coloursClose (pixelAt (174, 42), bracket));
        EXPECT_TRUE (testsupport::coloursClose (pixelAt (168, 77), bracket));
        EXPECT_TRUE (testsupport::coloursClose (pixelAt (174, 72), bracket));
    };

    SCOPED_TRACE ("default BPM");
    expectMode (false);
    {
        SCOPED_TRACE ("Manual");
        harness.setPlain ("echoSync", 0.0f);
        expectMode (true);
        panel->setVisible (true);
        // The time knob is drawn with the knob look the sync handler gave it: its body colour.
        EXPECT_TRUE (testsupport::coloursClose (pixelAt (155, 60), juce::Colour (0xFFC1CED2)));
        // The covers lie beneath the controls: the time knob takes what lands on it over c1.
        EXPECT_EQ (panel->getComponentAt (170, 50), &panel->timeKnob);
    }
    {
        SCOPED_TRACE ("BPM again");
        harness.setPlain ("echoSync", 1.0f);
        expectMode (false);
    }
}

TEST_F (EchoPanelTest, FactorModeSwapsTheFactorRateAndCoversAndRecoloursBracketsAndTick)
{
    const auto expectMode = [&] (bool manual)
    {
        for (const auto& c : factorCases)
            EXPECT_EQ (c.component (*panel).isVisible(), c.shownInFirstMode == manual) << c.what;
        const auto brackets = manual ? palette::line : palette::panel;
        const auto tick = manual ? palette::panel : palette::line;
        EXPECT_TRUE (testsupport::coloursClose (pixelAt (139, 121), brackets));
        EXPECT_TRUE (testsupport::coloursClose (pixelAt (135, 130), brackets));
        EXPECT_TRUE (testsupport::coloursClose (pixelAt (264, 122), brackets));
        EXPECT_TRUE (testsupport::coloursClose (pixelAt (269, 130), brackets));
        EXPECT_TRUE (testsupport::coloursClose (pixelAt (200, 141), tick));
        // The fader and the range menus stay in both modes.
        EXPECT_TRUE (panel->lengthLabeled.isVisible());
        EXPECT_TRUE (panel->minimumLabeled.isVisible());
        EXPECT_TRUE (panel->maximumLabeled.isVisible());
    };

    SCOPED_TRACE ("default Manual");
    expectMode (true);
    {
        SCOPED_TRACE ("Auto");
        harness.setPlain ("echoFactorMode", 1.0f);
        expectMode (false);
    }
    {
        SCOPED_TRACE ("Manual again");
        harness.setPlain ("echoFactorMode", 0.0f);
        expectMode (true);
    }
}

TEST_F (EchoPanelTest, PanelPaintsBodyHeaderLinesAndCaptions)
{
    pumpMessages (5);
    const auto image = testsupport::paintToImage (*panel);
    const auto anyPixelIn = [&] (juce::Rectangle<int> area, juce::Colour colour)
    {
        for (int y = area.getY(); y < area.getBottom(); ++y)
            for (int x = area.getX(); x < area.getRight(); ++x)
                if (testsupport::coloursClose (image.getPixelAt (x, y), colour, 24))
                    return true;
        return false;
    };

    EXPECT_TRUE (testsupport::coloursClose (image.getPixelAt (100, 95), palette::panel));
    EXPECT_TRUE (testsupport::coloursClose (image.getPixelAt (120, 12), palette::panelHeader));
    EXPECT_TRUE (testsupport::coloursClose (image.getPixelAt (1, 150), palette::border));
    EXPECT_TRUE (testsupport::coloursClose (image.getPixelAt (100, 104), palette::line));
    EXPECT_TRUE (testsupport::coloursClose (image.getPixelAt (100, 192), palette::line));
    EXPECT_TRUE (testsupport::coloursClose (image.getPixelAt (100, 103), palette::panel));
    EXPECT_TRUE (anyPixelIn ({30, 2, 60, 20}, palette::headerText)) << "ECHO";
    EXPECT_TRUE (anyPixelIn ({10, 116, 100, 19}, palette::labelText)) << "BEAT FACTOR";
}

TEST_F (EchoPanelTest, ChildrenLandOnTheirDesignRectanglesOrOneUnitBelow)
{
    for (const auto size : {1, 2})
    {
        panel->setSize (295 * size, 277 * size);
        for (const auto& [component, design] : designRectangles)
            EXPECT_EQ (component (*panel).getBounds(), expectedBounds (design, 295 * size, 277 * size))
                << size << "x " << design.toString();
    }

    panel->setSize (295, 277);
    EXPECT_EQ (panel->minimumLabeled.getBounds(), juce::Rectangle<int> (114, 148, 54, 34));
    EXPECT_EQ (panel->glideLabeled.getBounds(), juce::Rectangle<int> (238, 32, 55, 55));
}

// With the link on a choice on either side shows on the other at once; the other side's
// parameter follows on the next message, and the exchange stops there.
TEST_F (EchoPanelTest, LinkedRatesFollowEachOtherAndTheLinkCopiesLeftToRight)
{
    testsupport::ParameterWatch watch (*harness.processor);
    const auto rightIndex = [&] { return plain ("echoRateRight"); };

    // Link off: the right keeps its value.
    panel->rateLeftBox.setSelectedId (9, juce::sendNotificationAsync);
    pumpMessages (30);
    EXPECT_EQ (plain ("echoRateLeft"), 8.0f);
    EXPECT_EQ (panel->rateRightBox.getText(), ".1/8");
    EXPECT_EQ (rightIndex(), 7.0f);

    // Turning the link on copies left to right.
    panel->rateRightBox.setSelectedId (2, juce::sendNotificationAsync);
    pumpMessages (30);
    watch.reset();
    panel->linkButton.triggerClick();
    pumpMessages (30);
    EXPECT_EQ (plain ("echoLink"), 1.0f);
    EXPECT_EQ (panel->rateLeftBox.getText(), "1/8");
    EXPECT_EQ (panel->rateRightBox.getText(), "1/8");
    EXPECT_EQ (rightIndex(), 8.0f);
    EXPECT_EQ (watch.changes ("echoRateLeft"), 0);

    // Link on: picking "1/4" on the left shows on the right before any message is handled.
    watch.reset();
    panel->rateLeftBox.setSelectedId (6, juce::sendNotificationSync);
    EXPECT_EQ (panel->rateRightBox.getText(), "1/4");
    EXPECT_EQ (rightIndex(), 8.0f);
    pumpMessages (30);
    EXPECT_EQ (rightIndex(), 5.0f);
    EXPECT_EQ (plain ("echoRateLeft"), 5.0f);
    EXPECT_EQ (watch.gesturesBegun ("echoRateRight"), 1);
    EXPECT_EQ (watch.gesturesBegun ("echoRateLeft"), 1);

    // And the right leads the left the same way.
    panel->rateRightBox.setSelectedId (13, juce::sendNotificationAsync);
    pumpMessages (30);
    EXPECT_EQ (plain ("echoRateLeft"), 12.0f);
    EXPECT_EQ (panel->rateLeftBox.getText(), "1/16T");

    // A host change of a rate is copied too.
    harness.setPlain ("echoRateLeft", 0.0f);
    pumpMessages (30);
    EXPECT_EQ (rightIndex(), 0.0f);

    // Turning the link off leaves both as they are.
    panel->linkButton.triggerClick();
    pumpMessages (30);
    panel->rateLeftBox.setSelectedId (3, juce::sendNotificationAsync);
    pumpMessages (30);
    EXPECT_EQ (plain ("echoLink"), 0.0f);
    EXPECT_EQ (plain ("echoRateLeft"), 2.0f);
    EXPECT_EQ (rightIndex(), 0.0f);
}

TEST_F (EchoPanelTest, LinkedCopyStillPendingDiesWithThePanel)
{
    harness.setPlain ("echoLink", 1.0f);
    pumpMessages (30);
    const auto right = plain ("echoRateRight");

    panel->rateLeftBox.setSelectedId (1, juce::sendNotificationSync);
    panel.reset();
    pumpMessages (50);

    EXPECT_EQ (plain ("echoRateRight"), right);
}

TEST_F (EchoPanelTest, RandomiseSwitchChangedElsewhereRandomisesTheEchoOncePerChange)
{
    const auto seed = SeedX.load();
    const auto xorWord = XorU.load();
    const auto feedback = plain ("echoFeedback");

    harness.setPlain ("echoRnd", 1.0f);
    EXPECT_EQ (drawsSince (seed, xorWord), 20);
    EXPECT_NE (plain ("echoFeedback"), feedback);
    harness.setPlain ("echoRnd", 1.0f);
    EXPECT_EQ (drawsSince (seed, xorWord), 20) << "no change, no run";
    harness.setPlain ("echoRnd", 0.0f);
    EXPECT_EQ (drawsSince (seed, xorWord), 40);

    // A click runs it once and leaves the switch where it is.
    testsupport::ParameterWatch watch (*harness.processor);
    panel->randomiseButton.triggerClick();
    pumpMessages (20);
    EXPECT_EQ (drawsSince (seed, xorWord), 60);
    EXPECT_EQ (plain ("echoRnd"), 0.0f);
    EXPECT_EQ (watch.gesturesBegun ("echoRnd"), 0);
    EXPECT_EQ (watch.changes ("echoFeedback"), 1);
}

TEST_F (EchoPanelTest, OpeningWithTheRandomiseSwitchOnRandomisesNothing)
{
    panel.reset();
    harness.setPlain ("echoRnd", 1.0f);
    const auto seed = SeedX.load();
    const auto xorWord = XorU.load();
    const auto before = testsupport::parameterValues (*harness.processor);

    panel = std::make_unique<EchoPanel> (harness.processor.get());
    pumpMessages (20);

    EXPECT_TRUE (panel->randomiseButton.getToggleState());
    EXPECT_EQ (drawsSince (seed, xorWord), 0);
    EXPECT_EQ (testsupport::parameterValues (*harness.processor), before);
    harness.setPlain ("echoRnd", 0.0f);
    EXPECT_EQ (drawsSince (seed, xorWord), 20);
}

TEST_F (EchoPanelTest, ClosedPanelLeavesItsSlotsEmptyAndHostEditsAndStateLoadsWork)
{
    for (const auto& [identifier, occupied] : echoSlots (harness.processor->pluginParameters))
        EXPECT_TRUE (occupied) << identifier;
    EXPECT_EQ (echoSlots (harness.processor->pluginParameters).size(), 24u);
    const auto state = testsupport::stateOf (*harness.processor);

    {
        const juce::Slider::ScopedDragNotification drag (panel->feedbackKnob);
        panel->feedbackKnob.setValue (90.0, juce::sendNotificationSync);
    }
    harness.setPlain ("echoLink", 1.0f);
    panel->rateLeftBox.setSelectedId (4, juce::sendNotificationSync);
    panel->feedbackKnob.setValue (12.0, juce::sendNotificationAsync);
    panel.reset();

    for (const auto& [identifier, occupied] : echoSlots (harness.processor->pluginParameters))
        EXPECT_FALSE (occupied) << identifier;
    pumpMessages (30);
    for (const auto& c : sliderCases)
        harness.setPlain (c.identifier, c.hostValue);
    for (const auto& c : comboCases)
        harness.setPlain (c.identifier, 0.0f);
    harness.setPlain ("echoRnd", 1.0f);
    testsupport::applyState (*harness.processor, state);
    pumpMessages (30);
    EXPECT_EQ (plain ("echoFeedback"), 40.0f);
    EXPECT_EQ (plain ("echoRateLeft"), 7.0f);
}
