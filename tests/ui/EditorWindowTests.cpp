#include "ExpectedPalette.h"
#include "ImageProbes.h"
#include "OpenedEditor.h"
#include "StateBlobs.h"
#include "UiSnapshot.h"
#include "engine/PluginProcessor.h"
#include "presets/PresetManager.h"
#include "ui/panels/AboutPanel.h"
#include "ui/panels/EchoPanel.h"
#include "ui/panels/MasterPanel.h"
#include "ui/panels/MeltPanel.h"
#include "ui/panels/PatchPanel.h"
#include "ui/panels/TonePanel.h"

#include <BinaryData.h>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <optional>
#include <thread>

using testsupport::onlyChild;
using testsupport::OpenedEditor;

namespace palette = testsupport::palette;

namespace
{
// The editor's palette as a user sees it.

juce::TextButton& aboutButtonOf (juce::Component& editor)
{
    for (auto* button : testsupport::childrenOfType<juce::TextButton> (editor))
        if (button->getButtonText() == "ABOUT")
            return *button;
    throw std::runtime_error ("the editor has no ABOUT button");
}

juce::Point<int> sizeOf (const juce::Component& component)
{
    return {component.getWidth(), component.getHeight()};
}

// A state holding only a preset path and, when given, the editor size as stored texts.
juce::MemoryBlock stateWithSize (std::optional<std::pair<const char*, const char*>> size)
{
    testsupport::Attributes attributes{{"PresetPathName:", ""}};
    if (size)
    {
        attributes.push_back ({"GUI_W:", size->first});
        attributes.push_back ({"GUI_H:", size->second});
    }
    return testsupport::blobOfChildren ({attributes});
}

// One processor and the editors a host opens and closes on it.
struct EditorScene
{
    std::unique_ptr<Rirorezo3AudioProcessor> processor = std::make_unique<Rirorezo3AudioProcessor>();
    std::optional<OpenedEditor> editor;

    void open() { editor.emplace (*processor); }
    void close() { editor.reset(); }
    void paint() { testsupport::paintToImage (**editor); }
    void resize (int width, int height) { (*editor)->setSize (width, height); }
    void readState (const char* width, const char* height)
    {
        testsupport::applyState (*processor, stateWithSize (std::make_pair (width, height)));
    }
    void readStateWithoutSize() { testsupport::applyState (*processor, stateWithSize (std::nullopt)); }

    juce::Point<int> nextOpeningSize()
    {
        close();
        open();
        const auto size = sizeOf (**editor);
        close();
        return size;
    }
};

} // namespace

TEST (EditorWindow, ChildrenSitAtTheirTruncatedDesignRectangles)
{
    const juce::Point<int> sizes[] = {{777, 405}, {1000, 521}, {1554, 810}};
    struct Row
    {
        const char* child;
        std::function<juce::Component&(juce::Component&)> find;
        juce::Rectangle<int> atEachSize[3];
    };
    const Row rows[] = {
        {"patch bar",
         [] (juce::Component& e) -> juce::Component& { return onlyChild<PatchPanel> (e); },
         {{16, 1, 690, 34}, {20, 1, 889, 43}, {32, 2, 1381, 68}}},
        {"tone panel",
         [] (juce::Component& e) -> juce::Component& { return onlyChild<TonePanel> (e); },
         {{17, 43, 437, 108}, {21, 55, 562, 138}, {34, 86, 874, 216}}},
        {"melt panel",
         [] (juce::Component& e) -> juce::Component& { return onlyChild<MeltPanel> (e); },
         {{17, 161, 437, 159}, {21, 207, 562, 204}, {34, 322, 874, 318}}},
        {"echo panel",
         [] (juce::Component& e) -> juce::Component& { return onlyChild<EchoPanel> (e); },
         {{466, 43, 295, 277}, {599, 55, 379, 356}, {932, 86, 590, 554}}},
        {"master panel",
         [] (juce::Component& e) -> juce::Component& { return onlyChild<MasterPanel> (e); },
         {{243, 328, 382, 70}, {312, 421, 491, 90}, {486, 656, 764, 140}}},
        {"ABOUT button",
         [] (juce::Component& e) -> juce::Component& { return aboutButtonOf (e); },
         {{713, 13, 46, 19}, {917, 16, 60, 24}, {1426, 26, 93, 38}}},
        {"about overlay",
         [] (juce::Component& e) -> juce::Component& { return onlyChild<AboutPanel> (e); },
         {{0, 0, 777, 405}, {0, 0, 1000, 521}, {0, 0, 1554, 810}}},
    };

    Rirorezo3AudioProcessor processor;
    OpenedEditor editor (processor);
    for (size_t i = 0; i < std::size (sizes); ++i)
    {
        editor->setSize (sizes[i].x, sizes[i].y);
        for (const auto& row : rows)
            EXPECT_EQ (row.find (*editor).getBounds(), row.atEachSize[i]) << row.child << " at " << sizes[i].toString();
    }
}

TEST (EditorWindow, OpensResizableWithinItsLimitsAtTheFixedAspectRatio)
{
    Rirorezo3AudioProcessor processor;
    OpenedEditor editor (processor);

    EXPECT_TRUE (editor->isResizable());
    auto* constrainer = editor->getConstrainer();
    ASSERT_NE (constrainer, nullptr);
    EXPECT_EQ (std::vector<int> ({constrainer->getMinimumWidth(), constrainer->getMinimumHeight(),
                                  constrainer->getMaximumWidth(), constrainer->getMaximumHeight()}),
               std::vector<int> ({777, 405, 1554, 810}));
    EXPECT_DOUBLE_EQ (constrainer->getFixedAspectRatio(), 777.0 / 405.0);

    // A corner drag or host resize to a square settles on the ratio inside the limits.
    editor->setBoundsConstrained ({0, 0, 1000, 1000});
    EXPECT_NEAR (editor->getWidth() / static_cast<double> (editor->getHeight()), 777.0 / 405.0, 0.01);
    EXPECT_TRUE (juce::Rectangle<int> (777, 405, 1554 - 777 + 1, 810 - 405 + 1)
                     .contains (juce::Point<int> (editor->getWidth(), editor->getHeight())))
        << editor->getBounds().toString();
}

// Sizes a new editor opens at, after what a host and the user did before.
TEST (EditorWindow, KeepsItsSizeAcrossEditorsAndStates)
{
    struct Case
    {
        const char* what;
        std::function<void (EditorScene&)> steps;
        std::optional<juce::Point<int>> openSize;
        juce::Point<int> nextOpeningSize;
    };
    const Case cases[] = {
        {"a first editor", [] (EditorScene& s) { s.open(); }, juce::Point<int> (777, 405), {777, 405}},
        {"closed after painting at a new size",
         [] (EditorScene& s)
         {
             s.open();
             s.resize (1000, 521);
             s.paint();
         },
         juce::Point<int> (1000, 521),
         {1000, 521}},
        {"closed before its first paint",
         [] (EditorScene& s)
         {
             s.readState ("1000.0", "521.0");
             s.open();
         },
         juce::Point<int> (1000, 521),
         {1000, 521}},
        {"a state read before the first paint",
         [] (EditorScene& s)
         {
             s.open();
             s.readState ("1000.0", "521.0");
         },
         juce::Point<int> (1000, 521),
         {1000, 521}},
        {"a state read after the first paint",
         [] (EditorScene& s)
         {
             s.open();
             s.paint();
             s.readState ("1000.0", "521.0");
             s.paint();
         },
         juce::Point<int> (777, 405),
         {777, 405}},
        {"a state without a size",
         [] (EditorScene& s)
         {
             s.readState ("1000.0", "521.0");
             s.open();
             s.readStateWithoutSize();
         },
         juce::Point<int> (1000, 521),
         {777, 405}},
        {"a state with a zero height",
         [] (EditorScene& s) { s.readState ("1000.0", "0.0"); },
         std::nullopt,
         {777, 405}},
        {"a state with a negative width",
         [] (EditorScene& s) { s.readState ("-1000.0", "521.0"); },
         std::nullopt,
         {777, 405}},
        {"a state with a width below one",
         [] (EditorScene& s)
         {
             s.open();
             s.readState ("0.5", "521.0");
         },
         juce::Point<int> (777, 405),
         {777, 405}},
        {"a state with a size outside the limits",
         [] (EditorScene& s) { s.readState ("1800.0", "300.0"); },
         std::nullopt,
         {1800, 300}},
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        EditorScene scene;
        c.steps (scene);
        if (c.openSize)
        {
            ASSERT_TRUE (scene.editor.has_value());
            EXPECT_EQ (sizeOf (**scene.editor), *c.openSize);
        }
        EXPECT_EQ (scene.nextOpeningSize(), c.nextOpeningSize);
    }
}

TEST (EditorWindow, SavedStateCarriesTheSizeLastPainted)
{
    Rirorezo3AudioProcessor processor;
    OpenedEditor editor (processor);
    editor->setSize (1000, 521);
    testsupport::paintToImage (*editor);

    const auto element = testsupport::presetElementOf (testsupport::stateOf (processor));
    ASSERT_NE (element, nullptr);
    EXPECT_EQ (element->getStringAttribute ("GUI_W:"), "1000.0");
    EXPECT_EQ (element->getStringAttribute ("GUI_H:"), "521.0");
}

// A host may read a state on a thread of its own; the open editor is only ever resized on the
// message thread, and only while it has not painted.
TEST (EditorWindowThreads, StateReadOnAnotherThreadResizesTheEditorOnlyOnTheMessageThread)
{
    struct ResizeWatch : juce::ComponentListener
    {
        void componentMovedOrResized (juce::Component&, bool, bool wasResized) override
        {
            if (wasResized && !juce::MessageManager::getInstance()->isThisTheMessageThread())
                ++offThread;
        }
        std::atomic<int> offThread{0};
    };

    enum class Then
    {
        nothing,
        paint,
        close
    };
    struct Case
    {
        const char* what;
        bool holdsMessageLock;
        Then beforeMessagesRun;
        juce::Point<int> expectedSize;
    };
    const Case cases[] = {
        {"a loader thread", false, Then::nothing, {1000, 521}},
        {"a thread holding the message lock", true, Then::nothing, {1000, 521}},
        {"an editor that paints before the message thread gets to it", false, Then::paint, {777, 405}},
        {"an editor closed before the message thread gets to it", false, Then::close, {}},
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        Rirorezo3AudioProcessor processor;
        OpenedEditor editor (processor);
        ResizeWatch watch;
        editor->addComponentListener (&watch);

        std::atomic<bool> done{false};
        std::thread loader (
            [&]
            {
                std::unique_ptr<juce::MessageManagerLock> lock;
                if (c.holdsMessageLock)
                    lock = std::make_unique<juce::MessageManagerLock>();
                testsupport::applyState (processor, stateWithSize (std::make_pair ("1000.0", "521.0")));
                lock.reset();
                done = true;
            });
        // Taking the message lock needs the message loop running; a plain loader does not, and
        // then nothing may have resized the editor by the time it is done.
        while (c.holdsMessageLock && !done)
            testsupport::pumpMessages (1);
        loader.join();
        if (!c.holdsMessageLock)
        {
            EXPECT_EQ (sizeOf (*editor), juce::Point<int> (777, 405)) << "resized before the message thread ran";
        }

        if (c.beforeMessagesRun == Then::paint)
            testsupport::paintToImage (*editor);
        if (c.beforeMessagesRun == Then::close)
        {
            editor->removeComponentListener (&watch);
            editor.close();
        }
        testsupport::pumpMessages (50);

        EXPECT_EQ (watch.offThread.load(), 0);
        if (editor.get() != nullptr)
        {
            EXPECT_EQ (sizeOf (*editor), c.expectedSize);
            editor->removeComponentListener (&watch);
        }
        EXPECT_EQ (processor.presetManager->savedEditorWidth.load(), 1000);
    }
}

TEST (EditorWindow, DrawsBackgroundStripesImagesAndTheAboutButtonAtDesignSize)
{
    Rirorezo3AudioProcessor processor;
    OpenedEditor editor (processor);
    const auto snapshot = testsupport::paintToImage (*editor);

    // Every probe lies where no section panel covers the editor's own drawing. The top-right
    // stripes, 1, 2 and 3 units high at 15, 20 and 26, show through the patch bar.
    EXPECT_TRUE (testsupport::pixelsMatch (snapshot, {{5, 200, palette::background, "background left of the panels"},
                                                      {600, 14, palette::background, "above the stripes"},
                                                      {600, 15, palette::stripe, "first stripe"},
                                                      {600, 17, palette::background, "below the first stripe"},
                                                      {600, 20, palette::stripe, "second stripe"},
                                                      {600, 21, palette::stripe, "second stripe"},
                                                      {600, 24, palette::background, "below the second stripe"},
                                                      {600, 26, palette::stripe, "third stripe"},
                                                      {600, 28, palette::stripe, "third stripe"},
                                                      {600, 30, palette::background, "below the stripes"},
                                                      {710, 26, palette::background, "right of the stripes"},
                                                      {714, 14, palette::buttonOff, "ABOUT button face"}}));

    // Each image fills its design rectangle stretched: its ink lands where the scaled PNG puts it.
    struct Placement
    {
        const char* what;
        const char* png;
        int pngSize;
        juce::Rectangle<float> target;
        juce::Rectangle<int> searched;
    };
    const Placement placements[] = {
        {"title", BinaryData::title_png, BinaryData::title_pngSize, {20, 339, 221, 34}, {10, 330, 233, 55}},
        {"logo", BinaryData::logo_png, BinaryData::logo_pngSize, {628, 341, 130, 46}, {626, 334, 144, 52}},
    };
    for (const auto& p : placements)
    {
        SCOPED_TRACE (p.what);
        const auto picture = juce::ImageFileFormat::loadFrom (p.png, static_cast<size_t> (p.pngSize));
        ASSERT_TRUE (picture.isValid());
        // Ink of the picture: pixels at least half opaque.
        const auto pictureInk = testsupport::inkBounds (picture, juce::Colours::transparentBlack, 127);
        const auto scaleX = p.target.getWidth() / static_cast<float> (picture.getWidth());
        const auto scaleY = p.target.getHeight() / static_cast<float> (picture.getHeight());
        const juce::Rectangle<float> expected (p.target.getX() + pictureInk.getX() * scaleX,
                                               p.target.getY() + pictureInk.getY() * scaleY,
                                               pictureInk.getWidth() * scaleX, pictureInk.getHeight() * scaleY);

        const auto drawn = testsupport::inkBounds (snapshot, palette::background, 60, p.searched);
        EXPECT_NEAR (drawn.getX(), expected.getX(), 1.5f);
        EXPECT_NEAR (drawn.getY(), expected.getY(), 1.5f);
        EXPECT_NEAR (drawn.getRight(), expected.getRight(), 1.5f);
        EXPECT_NEAR (drawn.getBottom(), expected.getBottom(), 1.5f);
    }
}

TEST (EditorWindow, AboutButtonShowsTheOverlayAboveEverything)
{
    Rirorezo3AudioProcessor processor;
    OpenedEditor editor (processor);
    auto& overlay = onlyChild<AboutPanel> (*editor);
    ASSERT_FALSE (overlay.isVisible());

    editor->setVisible (true);
    aboutButtonOf (*editor).triggerClick();
    testsupport::pumpMessages (20);
    ASSERT_TRUE (overlay.isVisible());
    // The button looks pressed until it has been painted so once and its timer has run.
    testsupport::paintToImage (*editor);
    testsupport::pumpMessages (200);

    const auto snapshot = testsupport::paintToImage (*editor);
    EXPECT_TRUE (testsupport::pixelsMatch (
        snapshot, {{5, 200, palette::background.overlaidWith (palette::overlayScreen), "dimmed background"},
                   {714, 14, palette::buttonOff.overlaidWith (palette::overlayScreen), "dimmed ABOUT button"},
                   {170, 110, palette::aboutBox, "about box"}}));

    // The overlay takes the clicks meant for the button below it.
    EXPECT_EQ (editor->getComponentAt (720, 20), &overlay);
}
