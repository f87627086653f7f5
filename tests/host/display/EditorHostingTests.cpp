// The editor as a host opens, resizes, closes and saves it: the built bundle's view, embedded by
// JUCE's VST3 hosting in a real window on the display.
#include "support/display/DesktopWindow.h"
#include "support/host/HostBattery.h"

#include <gtest/gtest.h>

#include <optional>

namespace
{
constexpr double rate = 48000.0;

void pumpMessages (int milliseconds)
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (milliseconds);
}

juce::Point<int> sizeOf (const juce::Component& component)
{
    return {component.getWidth(), component.getHeight()};
}

// The plug-in's view in a window of its own, given time to attach and paint.
class HostedEditor
{
public:
    explicit HostedEditor (juce::AudioPluginInstance& plugin) : editor (plugin.createEditorIfNeeded())
    {
        if (editor != nullptr)
            window.emplace (*editor);
        settle();
    }

    ~HostedEditor()
    {
        window.reset();
        editor.reset();
        settle();
    }

    HostedEditor (const HostedEditor&) = delete;
    HostedEditor& operator= (const HostedEditor&) = delete;

    // What the host does when the user drags its window's frame.
    void resizeTo (int width, int height)
    {
        editor->setSize (width, height);
        settle();
    }

    static void settle() { pumpMessages (400); }

    std::unique_ptr<juce::AudioProcessorEditor> editor;
    std::optional<testsupport::DesktopWindow> window;
};

// The editor size in the processor's blob at the front of the plug-in's component state.
std::optional<juce::Point<int>> storedEditorSize (juce::AudioPluginInstance& plugin)
{
    juce::MemoryBlock hosted;
    plugin.getStateInformation (hosted);
    const auto component = hosttest::componentState (hosted);
    const auto root =
        juce::AudioProcessor::getXmlFromBinary (component.getData(), static_cast<int> (component.getSize()));
    if (root == nullptr || root->getFirstChildElement() == nullptr)
        return std::nullopt;
    const auto* preset = root->getFirstChildElement();
    return juce::Point<int> (preset->getIntAttribute ("GUI_W:"), preset->getIntAttribute ("GUI_H:"));
}

// Gives the plug-in its own state back with another editor size, as a host restoring a project.
void restoreWithEditorSize (juce::AudioPluginInstance& plugin, int width, int height)
{
    juce::MemoryBlock hosted;
    plugin.getStateInformation (hosted);
    const auto component = hosttest::componentState (hosted);
    auto root = juce::AudioProcessor::getXmlFromBinary (component.getData(), static_cast<int> (component.getSize()));
    ASSERT_NE (root, nullptr);
    root->getFirstChildElement()->setAttribute ("GUI_W:", static_cast<double> (width));
    root->getFirstChildElement()->setAttribute ("GUI_H:", static_cast<double> (height));

    juce::MemoryBlock blob;
    juce::AudioProcessor::copyXmlToBinary (*root, blob);
    const auto restored = hosttest::hostStateWithComponent (blob);
    plugin.setStateInformation (restored.getData(), static_cast<int> (restored.getSize()));
}

class EditorHosting : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!testsupport::DesktopWindow::displayAvailable())
            GTEST_SKIP() << "needs a display";
        ASSERT_TRUE (session.loaded()) << session.error;
    }

    hosttest::HostedSession session{rate, 512, 2};
};
} // namespace

TEST_F (EditorHosting, OpensAtTheDesignSizeOrTheStoredSize)
{
    {
        HostedEditor view (*session.plugin);
        ASSERT_NE (view.editor, nullptr);
        EXPECT_EQ (sizeOf (*view.editor), juce::Point<int> (777, 405));
        EXPECT_EQ (storedEditorSize (*session.plugin), juce::Point<int> (777, 405));
    }

    restoreWithEditorSize (*session.plugin, 1200, 625);
    HostedEditor view (*session.plugin);
    EXPECT_EQ (sizeOf (*view.editor), juce::Point<int> (1200, 625));
}

TEST_F (EditorHosting, HostResizeSettlesAtTheAspectRatioWithinTheLimits)
{
    HostedEditor view (*session.plugin);
    view.resizeTo (1000, 1000);

    const auto size = sizeOf (*view.editor);
    EXPECT_NEAR (size.x / static_cast<double> (size.y), 777.0 / 405.0, 0.01) << size.toString();
    EXPECT_TRUE (size.x >= 777 && size.x <= 1554 && size.y >= 405 && size.y <= 810) << size.toString();
    EXPECT_EQ (storedEditorSize (*session.plugin), size) << "the plug-in paints at the size the host shows";
}

TEST_F (EditorHosting, KeepsItsSizeAcrossClosingAndInTheSavedState)
{
    {
        HostedEditor view (*session.plugin);
        view.resizeTo (1000, 521);
        ASSERT_EQ (sizeOf (*view.editor), juce::Point<int> (1000, 521));
        EXPECT_EQ (storedEditorSize (*session.plugin), juce::Point<int> (1000, 521));
    }

    HostedEditor reopened (*session.plugin);
    EXPECT_EQ (sizeOf (*reopened.editor), juce::Point<int> (1000, 521));
}
