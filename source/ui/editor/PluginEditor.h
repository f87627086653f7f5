#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

class Rirorezo3AudioProcessor;

class Rirorezo3AudioProcessorEditor : public juce::AudioProcessorEditor
{
public:
    explicit Rirorezo3AudioProcessorEditor (Rirorezo3AudioProcessor& owner);
    ~Rirorezo3AudioProcessorEditor() override;

    void paint (juce::Graphics& g) override;

private:
    Rirorezo3AudioProcessor& audioProcessor;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Rirorezo3AudioProcessorEditor)
};
