#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

// Preset folder, paths, names, text entries and the editor's sizes.
class PresetManager
{
public:
    explicit PresetManager (juce::AudioProcessor* processorToUse) : processor (processorToUse) {}

    juce::AudioProcessor* processor;
};
