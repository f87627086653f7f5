#include "OpenedEditor.h"
#include "ScratchPresets.h"
#include "StateBlobs.h"
#include "UiSnapshot.h"
#include "ui/panels/PatchPanel.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
// The bar's children of one type, left to right.
template <typename ChildType> std::vector<ChildType*> leftToRight (juce::Component& bar)
{
    auto found = testsupport::childrenOfType<ChildType> (bar);
    std::sort (found.begin(), found.end(), [] (auto* a, auto* b) { return a->getX() < b->getX(); });
    return found;
}

float driveOf (Rirorezo3AudioProcessor& processor)
{
    return processor.apvts.getParameter ("toneDrive")->getValue();
}
} // namespace

TEST (PatchBar, ChildrenSitAtTheirTruncatedDesignRectangles)
{
    testsupport::ScratchPresets scratch;
    PatchPanel bar (scratch.processor.get());
    bar.setSize (690, 34);

    const auto arrows = leftToRight<juce::ArrowButton> (bar);
    const auto buttons = leftToRight<juce::TextButton> (bar);
    ASSERT_EQ (arrows.size(), 2u);
    ASSERT_EQ (buttons.size(), 2u);
    EXPECT_EQ (arrows[0]->getBounds(), juce::Rectangle<int> (4, 12, 17, 18));
    EXPECT_EQ (arrows[1]->getBounds(), juce::Rectangle<int> (25, 12, 17, 18));
    EXPECT_EQ (buttons[0]->getBounds(), juce::Rectangle<int> (45, 11, 341, 22));
    EXPECT_EQ (buttons[1]->getBounds(), juce::Rectangle<int> (393, 12, 46, 19));
    EXPECT_EQ (buttons[0]->getButtonText(), "Untitled");
    EXPECT_EQ (buttons[1]->getButtonText(), "SAVE");
}

// The arrows step through the current preset's folder in sorted order, wrapping at both ends,
// load each file at once under the path they reached it by, and the bar shows its name once
// it paints again.
TEST (PatchBar, ArrowsStepThroughTheFolderAndWrapAround)
{
    testsupport::ScratchPresets scratch;
    auto& processor = *scratch.processor;
    auto& presets = scratch.presets;

    PatchPanel bar (&processor);
    bar.setSize (690, 34);
    const auto arrows = leftToRight<juce::ArrowButton> (bar);
    ASSERT_EQ (arrows.size(), 2u);
    auto& previous = *arrows[0];
    auto& next = *arrows[1];
    auto& nameButton = *leftToRight<juce::TextButton> (bar).front();

    const auto click = [] (juce::Button& arrow)
    {
        arrow.triggerClick();
        testsupport::pumpMessages (20);
    };

    // No preset anywhere: nothing happens.
    const auto driveBefore = driveOf (processor);
    click (next);
    EXPECT_EQ (presets.presetPath, "");
    EXPECT_EQ (driveOf (processor), driveBefore);

    const std::pair<const char*, float> files[] = {{"Ash", 0.1f}, {"Birch", 0.2f}, {"Cedar", 0.3f}};
    for (const auto& [name, drive] : files)
    {
        processor.apvts.getParameter ("toneDrive")->setValueNotifyingHost (drive);
        presets.presetPath = "/elsewhere/Stored.dod";
        scratch.place (juce::String ("Presets/") + name + ".dod", testsupport::stateOf (processor));
    }
    presets.presetPath = scratch.path ("Presets/Cedar.dod");
    processor.apvts.getParameter ("toneDrive")->setValueNotifyingHost (0.9f);

    struct Step
    {
        juce::Button& arrow;
        const char* expectedName;
        float expectedDrive;
    };
    const Step steps[] = {
        {next, "Ash", 0.1f}, {previous, "Cedar", 0.3f}, {previous, "Birch", 0.2f}, {next, "Cedar", 0.3f}};
    for (const auto& step : steps)
    {
        SCOPED_TRACE (step.expectedName);
        click (step.arrow);

        EXPECT_EQ (presets.presetPath, scratch.path (juce::String ("Presets/") + step.expectedName + ".dod"));
        EXPECT_EQ (presets.presetName, step.expectedName);
        EXPECT_FLOAT_EQ (driveOf (processor), step.expectedDrive);
        EXPECT_EQ (presets.loadingPresetFile, 0);

        testsupport::paintToImage (bar);
        EXPECT_EQ (nameButton.getButtonText(), step.expectedName);
    }
}

TEST (PatchBar, ShowsANameChangedByAHostStateOnceItPaints)
{
    testsupport::ScratchPresets scratch;
    auto& processor = *scratch.processor;
    PatchPanel bar (&processor);
    bar.setSize (690, 34);

    testsupport::applyState (processor, testsupport::blobOfChildren ({{{"PresetPathName:", "/songs/Warm Tape.dod"}}}));
    testsupport::paintToImage (bar);

    EXPECT_EQ (leftToRight<juce::TextButton> (bar).front()->getButtonText(), "Warm Tape");
}
