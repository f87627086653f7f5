#include "support/display/PopupMenus.h"

#include <algorithm>

namespace testsupport
{
juce::Component* findOpenMenu()
{
    auto& desktop = juce::Desktop::getInstance();
    for (int i = desktop.getNumComponents(); --i >= 0;)
        if (auto* window = desktop.getComponent (i); window->getName() == "menu" && window->isShowing())
            return window;
    return nullptr;
}

std::vector<juce::Component*> menuRows (juce::Component& menu)
{
    std::vector<juce::Component*> rows;
    for (auto* child : menu.getChildren())
        if (child->isVisible() && child->getAccessibilityHandler() != nullptr)
            rows.push_back (child);
    std::sort (rows.begin(), rows.end(), [] (auto* a, auto* b) { return a->getY() < b->getY(); });
    return rows;
}

void clickInWindow (juce::Component& window, juce::Point<float> position)
{
    auto* peer = window.getPeer();
    if (peer == nullptr)
        return;

    // The pointer's own motion event comes first, so it cannot overtake the press below.
    juce::Desktop::setMousePosition (window.localPointToGlobal (position).roundToInt());
    juce::MessageManager::getInstance()->runDispatchLoopUntil (100);
    auto time = juce::Time::currentTimeMillis();
    // The platform layer records the buttons before it hands an event on; menus read that record.
    const auto send = [&] (juce::ModifierKeys modifiers)
    {
        juce::ModifierKeys::currentModifiers =
            juce::ModifierKeys::currentModifiers.withoutMouseButtons().withFlags (modifiers.getRawFlags());
        peer->handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, position, modifiers,
                                juce::MouseInputSource::defaultPressure, juce::MouseInputSource::defaultOrientation,
                                time += 10);
        juce::MessageManager::getInstance()->runDispatchLoopUntil (60);
    };
    send ({});
    send (juce::ModifierKeys::leftButtonModifier);
    send ({});
}
} // namespace testsupport
