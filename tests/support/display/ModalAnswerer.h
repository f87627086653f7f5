#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <deque>
#include <functional>
#include <memory>
#include <optional>

namespace testsupport
{
// Answers the menus and dialogs that the code under test opens, from inside their modal loops
// and through JUCE's own modal component manager: it works on the topmost modal component,
// presses menu items by their text through their accessibility actions (opening sub-menus on
// the way), types into a dialog's "UText" editor and clicks dialog buttons. Whatever it was not
// told to expect it dismisses and reports, so a test cannot hang.
//
// It keeps a small window of its own focused as well: a menu closes itself at once while no
// window of the process has the keyboard focus.
class ModalAnswerer : private juce::Timer
{
public:
    ModalAnswerer();
    ~ModalAnswerer() override;

    // Whether the process got the keyboard focus; menus cannot be answered without it.
    bool hasFocus() const;

    // A menu item, given by the texts of the sub-menus leading to it and its own.
    ModalAnswerer& choose (const juce::StringArray& itemPath);
    ModalAnswerer& dismissMenu();
    ModalAnswerer& enterText (const juce::String& text, const juce::String& button);
    ModalAnswerer& click (const juce::String& button);
    // Runs the action inside the modal loop of the step given last, just before that step is
    // answered: what a host may do while a menu or dialog of the plug-in is open.
    ModalAnswerer& whileOpen (std::function<void()> action);

    // What was not expected, and the steps that found nothing to answer.
    juce::StringArray problems() const;

    // One line per menu or dialog answered: a menu's item texts joined by " | " ("-" for a
    // separator, ">" after a sub-menu, "*" after a ticked item), or a dialog's title, then ": "
    // and its message if it has one, then the initial text of its text field in brackets.
    juce::StringArray shown;

private:
    struct Step
    {
        enum class Kind
        {
            menuItem,
            dismissMenu,
            dialog
        } kind;
        juce::String item;
        std::optional<juce::String> text;
        juce::String button;
        std::function<void()> whileOpen;
    };

    void timerCallback() override;
    void answerMenu (juce::Component& menu);
    void answerDialog (juce::AlertWindow& dialog);
    std::optional<Step> nextStep (Step::Kind kind, const juce::String& what);

    std::deque<Step> steps;
    juce::StringArray unexpected;
    juce::Component::SafePointer<juce::Component> lastAnswered;
    std::unique_ptr<juce::Component> focusWindow;
};
} // namespace testsupport
