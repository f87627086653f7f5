#include "support/display/DesktopWindow.h"

namespace testsupport
{
DesktopWindow::DesktopWindow (juce::Component& contentIn) : content (contentIn), clock (juce::Time::currentTimeMillis())
{
    content.setTopLeftPosition (40, 40);
    content.addToDesktop (juce::ComponentPeer::windowIsTemporary);
    content.setVisible (true);
    juce::MessageManager::getInstance()->runDispatchLoopUntil (50);
}

DesktopWindow::~DesktopWindow()
{
    content.removeFromDesktop();
}

bool DesktopWindow::displayAvailable()
{
    return juce::SystemStats::getEnvironmentVariable ("DISPLAY", {}).isNotEmpty();
}

juce::ComponentPeer& DesktopWindow::peer() const
{
    return *content.getPeer();
}

void DesktopWindow::mouseEvent (juce::Point<float> position, juce::ModifierKeys modifiers)
{
    // Event times move on by a little each time, so a press pair counts as a double-click only
    // when the test asks for one.
    clock += 10;
    peer().handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, position, modifiers,
                             juce::MouseInputSource::defaultPressure, juce::MouseInputSource::defaultOrientation,
                             clock);
}

void DesktopWindow::move (juce::Point<float> position)
{
    mouseEvent (position, {});
}

void DesktopWindow::press (juce::Point<float> position)
{
    mouseEvent (position, juce::ModifierKeys::leftButtonModifier);
}

void DesktopWindow::release (juce::Point<float> position)
{
    mouseEvent (position, {});
}

void DesktopWindow::click (juce::Point<float> position)
{
    move (position);
    press (position);
    release (position);
    // Far enough apart that the next click is not taken as the second of a double-click.
    clock += 1000;
}

void DesktopWindow::doubleClick (juce::Point<float> position)
{
    move (position);
    press (position);
    release (position);
    press (position);
    release (position);
    clock += 1000;
}

void DesktopWindow::wheel (juce::Point<float> position, float deltaY)
{
    move (position);
    juce::MouseWheelDetails details;
    details.deltaX = 0.0f;
    details.deltaY = deltaY;
    details.isReversed = false;
    details.isSmooth = false;
    details.isInertial = false;
    clock += 10;
    peer().handleMouseWheel (juce::MouseInputSource::InputSourceType::mouse, position, clock, details);
}

void DesktopWindow::leave()
{
    move ({-100.0f, -100.0f});
}

bool DesktopWindow::grabFocus()
{
    for (int attempt = 0; attempt < 250 && !juce::Process::isForegroundProcess(); ++attempt)
    {
        peer().grabFocus();
        juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
    }
    return juce::Process::isForegroundProcess();
}

void DesktopWindow::pressKey (const juce::KeyPress& key)
{
    peer().handleKeyPress (key);
}

void DesktopWindow::type (const juce::String& text)
{
    for (auto character : text)
        pressKey (juce::KeyPress (static_cast<int> (character), {}, character));
}
} // namespace testsupport
