#pragma once

#include "OpenedEditor.h"
#include "ui/controls/BasicButton.h"
#include "ui/panels/PatchPanel.h"

namespace testsupport
{
// The patch bar's two text buttons as a user finds them: SAVE by its text, and the preset name
// (which opens the load menu) as the other one.
inline juce::Button& patchBarButton (juce::Component& editor, bool save)
{
    for (auto* button : childrenOfType<BasicButton> (onlyChild<PatchPanel> (editor)))
        if ((button->getButtonText() == "SAVE") == save)
            return *button;
    throw std::runtime_error ("no such patch bar button");
}
} // namespace testsupport
