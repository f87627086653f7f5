#include "UserEdits.h"

#include "UiSnapshot.h"

namespace testsupport
{
juce::MouseEvent mouseEventOn (juce::Component& component, juce::Point<float> position, juce::ModifierKeys modifiers,
                               int numberOfClicks)
{
    const auto now = juce::Time::getCurrentTime();
    return juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(), position, modifiers,
                             juce::MouseInputSource::defaultPressure, juce::MouseInputSource::defaultOrientation,
                             juce::MouseInputSource::defaultRotation, juce::MouseInputSource::defaultTiltX,
                             juce::MouseInputSource::defaultTiltY, &component, &component, now, position, now,
                             numberOfClicks, false);
}

void dragTo (juce::Slider& slider, double value)
{
    const auto centre = slider.getLocalBounds().toFloat().getCentre();
    slider.mouseDown (mouseEventOn (slider, centre, juce::ModifierKeys::leftButtonModifier));
    slider.setValue (value, juce::sendNotificationSync);
    slider.mouseUp (mouseEventOn (slider, centre));
}

void click (juce::Button& button)
{
    button.triggerClick();
    pumpMessages (20);
}
} // namespace testsupport
