#pragma once

#include "ui/controls/BasicButton.h"
#include "ui/panels/AboutPanel.h"
#include "ui/panels/EchoPanel.h"
#include "ui/panels/MasterPanel.h"
#include "ui/panels/MeltPanel.h"
#include "ui/panels/PatchPanel.h"
#include "ui/panels/TonePanel.h"
#include "ui/style/ButtonLookAndFeels.h"

#include <juce_audio_processors/juce_audio_processors.h>

class Rirorezo3AudioProcessor;

// The plug-in's window: the patch bar and the section panels over a background with the title,
// the maker's logo and stripes, an ABOUT button and the about overlay above everything. Everything
// scales from the design size; the size the window last painted at outlives it in the preset
// manager and in saved states.
class Rirorezo3AudioProcessorEditor : public juce::AudioProcessorEditor, public juce::Button::Listener
{
public:
    explicit Rirorezo3AudioProcessorEditor (Rirorezo3AudioProcessor& owner);
    ~Rirorezo3AudioProcessorEditor() override;

    void paint (juce::Graphics& g) override;
    void resized() override;
    void buttonClicked (juce::Button* button) override;

    static constexpr int designWidth = 777;
    static constexpr int designHeight = 405;

private:
    juce::Image logoImage;
    juce::Image titleImage;
    juce::SharedResourcePointer<ButtonLookAndFeel> buttonLookAndFeel;
    Rirorezo3AudioProcessor& audioProcessor;

    PatchPanel patchPanel;
    TonePanel tonePanel;
    MeltPanel meltPanel;
    EchoPanel echoPanel;
    MasterPanel masterPanel;
    AboutPanel aboutPanel;
    BasicButton aboutButton;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Rirorezo3AudioProcessorEditor)
};
