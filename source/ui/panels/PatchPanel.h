#pragma once

#include "ui/controls/BasicButton.h"
#include "ui/style/ButtonLookAndFeels.h"

#include <juce_gui_basics/juce_gui_basics.h>

class Rirorezo3AudioProcessor;

// The strip for whole presets along the top of the editor: the current preset's name (a click
// opens the load menu), SAVE, and two arrows that load the previous or next preset of the
// current preset's folder at once. It has no background: the editor's shows through.
class PatchPanel : public juce::Component, public juce::Button::Listener
{
public:
    explicit PatchPanel (Rirorezo3AudioProcessor* processor);
    ~PatchPanel() override;

    void paint (juce::Graphics& g) override;
    void resized() override;
    void buttonClicked (juce::Button* button) override;

private:
    // Loads the preset beside the current one: direction -1 the previous, +1 the next.
    void stepPreset (int direction);
    // A name changed elsewhere (a host's state load) shows once the bar paints again.
    void showPresetName();

    Rirorezo3AudioProcessor* processor;
    juce::SharedResourcePointer<ButtonLookAndFeel> buttonLookAndFeel;
    juce::SharedResourcePointer<DropButtonLookAndFeel> dropButtonLookAndFeel;

    BasicButton presetButton;
    BasicButton saveButton;
    juce::ArrowButton previousButton{{}, 0.5f, juce::Colours::black};
    juce::ArrowButton nextButton{{}, 0.0f, juce::Colours::black};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PatchPanel)
};
