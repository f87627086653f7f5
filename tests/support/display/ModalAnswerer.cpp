#include "support/display/ModalAnswerer.h"

#include <vector>

namespace testsupport
{
namespace
{
struct FocusWindow : juce::Component
{
    FocusWindow()
    {
        setWantsKeyboardFocus (true);
        setBounds (10, 10, 160, 90);
        addToDesktop (0);
        setVisible (true);
        toFront (true);
    }

    void paint (juce::Graphics& g) override { g.fillAll (juce::Colours::darkgrey); }
};

const juce::String menuWindowName ("menu");
} // namespace

ModalAnswerer::ModalAnswerer() : focusWindow (std::make_unique<FocusWindow>())
{
    // The window may not be mapped at the first request, so the request is repeated until the
    // focus arrives (at most a few seconds).
    for (int attempt = 0; attempt < 250 && !hasFocus(); ++attempt)
    {
        if (auto* peer = focusWindow->getPeer())
            peer->grabFocus();
        juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
    }
    startTimer (20);
}

ModalAnswerer::~ModalAnswerer()
{
    stopTimer();
}

bool ModalAnswerer::hasFocus() const
{
    return juce::Process::isForegroundProcess();
}

ModalAnswerer& ModalAnswerer::choose (const juce::StringArray& itemPath)
{
    for (const auto& item : itemPath)
        steps.push_back ({Step::Kind::menuItem, item, {}, {}, {}});
    return *this;
}

ModalAnswerer& ModalAnswerer::dismissMenu()
{
    steps.push_back ({Step::Kind::dismissMenu, {}, {}, {}, {}});
    return *this;
}

ModalAnswerer& ModalAnswerer::enterText (const juce::String& text, const juce::String& button)
{
    steps.push_back ({Step::Kind::dialog, {}, text, button, {}});
    return *this;
}

ModalAnswerer& ModalAnswerer::click (const juce::String& button)
{
    steps.push_back ({Step::Kind::dialog, {}, {}, button, {}});
    return *this;
}

ModalAnswerer& ModalAnswerer::whileOpen (std::function<void()> action)
{
    jassert (!steps.empty());
    steps.back().whileOpen = std::move (action);
    return *this;
}

juce::StringArray ModalAnswerer::problems() const
{
    auto all = unexpected;
    for (const auto& step : steps)
        all.add ("nothing shown for " + (step.kind == Step::Kind::dialog     ? "button " + step.button
                                         : step.kind == Step::Kind::menuItem ? "menu item " + step.item
                                                                             : juce::String ("menu dismissal")));
    return all;
}

void ModalAnswerer::timerCallback()
{
    // A clicked dialog stays modal until its button's message arrives: it is answered once.
    auto* modal = juce::Component::getCurrentlyModalComponent();
    if (modal == nullptr || modal == lastAnswered.getComponent())
        return;
    lastAnswered = modal;

    if (auto* dialog = dynamic_cast<juce::AlertWindow*> (modal))
        answerDialog (*dialog);
    else if (modal->getName() == menuWindowName)
        answerMenu (*modal);
    else
    {
        unexpected.add ("unknown modal component " + modal->getName());
        modal->exitModalState (0);
    }
}

std::optional<ModalAnswerer::Step> ModalAnswerer::nextStep (Step::Kind kind, const juce::String& what)
{
    if (steps.empty() || (steps.front().kind == Step::Kind::dialog) != (kind == Step::Kind::dialog))
    {
        unexpected.add ("unexpected " + what);
        return std::nullopt;
    }
    auto step = steps.front();
    steps.pop_front();
    if (step.whileOpen)
        step.whileOpen();
    return step;
}

void ModalAnswerer::answerMenu (juce::Component& menu)
{
    juce::StringArray texts;
    std::vector<juce::AccessibilityHandler*> items;
    for (auto* child : menu.getChildren())
        if (auto* handler = child->getAccessibilityHandler())
        {
            const auto title = handler->getTitle();
            const auto state = handler->getCurrentState();
            texts.add (title.isEmpty() ? "-"
                                       : title + (state.isExpandable() ? ">" : "") + (state.isChecked() ? "*" : ""));
            items.push_back (handler);
        }
    shown.add (texts.joinIntoString (" | "));

    const auto step = nextStep (Step::Kind::menuItem, "menu: " + shown.strings.getLast());
    if (step && step->kind == Step::Kind::menuItem)
    {
        for (auto* item : items)
            if (item->getTitle() == step->item)
            {
                item->getActions().invoke (juce::AccessibilityActionType::press);
                return;
            }
        unexpected.add ("no item " + step->item + " in menu: " + shown.strings.getLast());
    }
    menu.keyPressed (juce::KeyPress (juce::KeyPress::escapeKey));
}

void ModalAnswerer::answerDialog (juce::AlertWindow& dialog)
{
    // The window describes itself as its title, ". " and its message.
    const auto message = dialog.getDescription().fromFirstOccurrenceOf (dialog.getName() + ". ", false, false);
    auto* editor = dialog.getTextEditor ("UText");
    shown.add (dialog.getName() + (message.isNotEmpty() ? ": " + message : juce::String()) +
               (editor != nullptr ? " [" + editor->getText() + "]" : juce::String()));

    const auto step = nextStep (Step::Kind::dialog, "dialog: " + shown.strings.getLast());
    juce::Button* button = nullptr;
    if (step)
        for (auto* child : dialog.getChildren())
            if (auto* candidate = dynamic_cast<juce::Button*> (child);
                candidate != nullptr && candidate->getButtonText() == step->button)
                button = candidate;

    if (step && step->text && editor == nullptr)
        unexpected.add ("no text field in dialog " + dialog.getName());
    else if (step && button == nullptr)
        unexpected.add ("no button " + step->button + " in dialog " + dialog.getName());
    else if (step)
    {
        if (step->text)
            editor->setText (*step->text);
        button->triggerClick();
        return;
    }
    dialog.exitModalState (0);
}
} // namespace testsupport
