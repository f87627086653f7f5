#pragma once

#include "ui/controls/BasicButton.h"
#include "ui/panels/MeltPages.h"
#include "ui/style/ButtonLookAndFeels.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>

class Rirorezo3AudioProcessor;

// The melt section's panel: three tabs choose which page shows, each with the power switch of
// its part of the melt under it and its own LOAD, SAVE and "!?!" buttons in the header (only the
// set of the tab that is on shows); the panel's own knobs and the whole section's power switch.
// The pages hang below the panel's bottom edge by design: they keep their own design size.
class MeltPanel : public juce::Component
{
public:
    explicit MeltPanel (Rirorezo3AudioProcessor* processorIn);
    ~MeltPanel() override;

    void paint (juce::Graphics& g) override;
    void resized() override;

    static constexpr float designWidth = 437.0f, designHeight = 159.0f;

    // A tab, the buttons of its sub-preset group and its page's power switch.
    struct PageButtons
    {
        BasicButton tab, load, save, randomise, power;
    };

    juce::SharedResourcePointer<BasicLookAndFeel> basicLookAndFeel;
    juce::SharedResourcePointer<KnobLabelLookAndFeel> knobLabelLookAndFeel;
    juce::SharedResourcePointer<ButtonLookAndFeel> buttonLookAndFeel;
    juce::SharedResourcePointer<OrangeButtonLookAndFeel> orangeButtonLookAndFeel;
    Rirorezo3AudioProcessor* processor;
    MeltFlowPanel flowPage;
    MeltDropoutPanel dropoutPage;
    MeltJumpPanel jumpPage;
    // FLOW, DROPOUT, JUMP.
    std::array<PageButtons, 3> pageButtons;
    MeltControl chorus, echoSend, depth;
    BasicButton power;

private:
    MeltPage& page (size_t index);
    void showTab (size_t index);

    JUCE_DECLARE_NON_COPYABLE (MeltPanel)
};
