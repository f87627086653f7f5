#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace testsupport
{
// Puts a component on the display in a window of its own, so that mouse and key events reach it
// through its peer as a user's would. The positions are in the component's own coordinates.
// Only for the display test programs: without a display there is no peer.
class DesktopWindow
{
public:
    explicit DesktopWindow (juce::Component& content);
    ~DesktopWindow();

    static bool displayAvailable();

    juce::ComponentPeer& peer() const;

    void move (juce::Point<float> position);
    void press (juce::Point<float> position);
    void release (juce::Point<float> position);
    void click (juce::Point<float> position);
    void doubleClick (juce::Point<float> position);
    void wheel (juce::Point<float> position, float deltaY);
    // Moves the pointer off the window, so the component sees the exit.
    void leave();

    // Gives the window the keyboard focus (retrying until the display grants it); false when it
    // never came.
    bool grabFocus();
    // A key press as the focused component receives it.
    void pressKey (const juce::KeyPress& key);
    void type (const juce::String& text);

private:
    void mouseEvent (juce::Point<float> position, juce::ModifierKeys modifiers);

    juce::Component& content;
    juce::int64 clock;
};
} // namespace testsupport
