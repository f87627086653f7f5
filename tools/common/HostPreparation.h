#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

// Prepares a processor the way a host does before it plays: the matching mono or stereo layout
// on input and output, the rate and block size, then prepareToPlay. False when the processor
// refuses the layout (it is then left unprepared).
inline bool prepareLikeHost (juce::AudioProcessor& processor, double sampleRate, int blockSize, int channels)
{
    const auto set = channels == 1 ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo();
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (set);
    layout.outputBuses.add (set);
    if (!processor.setBusesLayout (layout))
        return false;

    processor.setRateAndBufferSizeDetails (sampleRate, blockSize);
    processor.prepareToPlay (sampleRate, blockSize);
    return true;
}
