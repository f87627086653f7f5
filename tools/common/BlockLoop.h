#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

// Runs a whole buffer through a processor in place, in blocks of at most blockSize samples, as a
// host does: each block is copied out, handed to process (with the index of its first sample) and
// copied back.
template <typename Process> void processInBlocks (juce::AudioBuffer<float>& audio, int blockSize, Process&& process)
{
    juce::AudioBuffer<float> block (audio.getNumChannels(), blockSize);
    for (int start = 0; start < audio.getNumSamples(); start += blockSize)
    {
        const auto count = juce::jmin (blockSize, audio.getNumSamples() - start);
        block.setSize (audio.getNumChannels(), count, false, false, true);
        for (int channel = 0; channel < audio.getNumChannels(); ++channel)
            block.copyFrom (channel, 0, audio, channel, start, count);
        process (block, start);
        for (int channel = 0; channel < audio.getNumChannels(); ++channel)
            audio.copyFrom (channel, start, block, channel, 0, count);
    }
}
