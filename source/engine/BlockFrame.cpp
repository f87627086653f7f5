#include "engine/PluginProcessor.h"

#include <cmath>

namespace
{
struct Transport
{
    double tempo = 120.0;
    double position = 0.0;
    bool playing = false;
};

// A tempo that is not finite or not positive, or a position that is not finite, counts as absent.
Transport readTransport (juce::AudioPlayHead& playHead)
{
    Transport transport;
    if (const auto position = playHead.getPosition())
    {
        if (const auto tempo = position->getBpm(); tempo && std::isfinite (*tempo) && *tempo > 0.0)
            transport.tempo = *tempo;
        if (const auto ppq = position->getPpqPosition(); ppq && std::isfinite (*ppq))
            transport.position = *ppq;
        transport.playing = position->getIsPlaying();
    }
    return transport;
}

// Input samples that are not finite would poison every delay line and filter state.
void replaceNonFiniteSamples (juce::AudioBuffer<float>& buffer)
{
    for (int channel = 0; channel < buffer.getNumChannels(); ++channel)
    {
        auto* samples = buffer.getWritePointer (channel);
        for (int i = 0; i < buffer.getNumSamples(); ++i)
            if (!std::isfinite (samples[i]))
                samples[i] = 0.0f;
    }
}
} // namespace

void Rirorezo3AudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    juce::ScopedNoDenormals noDenormals;

    const auto numSamples = buffer.getNumSamples();
    const auto numChannels = buffer.getNumChannels();

    for (auto channel = getTotalNumInputChannels(); channel < getTotalNumOutputChannels(); ++channel)
        if (channel < numChannels)
            buffer.clear (channel, 0, numSamples);

    if (!buffer.hasBeenCleared())
        replaceNonFiniteSamples (buffer);

    // Before any preparation the engine has no sample rate: the audio passes through.
    if (engineSampleRate <= 0.0 || numChannels == 0)
        return;

    blockFlowSync = loadValue (pluginParameters.meltFlowSyncValue);
    blockDropoutSync = loadValue (pluginParameters.meltDropoutSyncValue);

    if (auto* hostPlayHead = getPlayHead())
    {
        const auto transport = readTransport (*hostPlayHead);
        bpm = transport.tempo;
        tailTempo.store (bpm, std::memory_order_relaxed);
        isPlaying = transport.playing ? 1 : 0;
        blockDropoutPhase = loadValue (pluginParameters.meltDropoutPhaseValue);
        blockJumpStart = loadValue (pluginParameters.meltJumpStartValue);

        if (transport.playing)
        {
            ppqPosition = transport.position;
            if (transport.position == 0.0)
                resetJumpState();
        }
    }

    // A block larger than the dry copy's capacity (a host sending more than it announced) runs
    // as consecutive chunks, so the audio thread never allocates; the position moves on between
    // chunks as it would between blocks.
    const auto capacity = dryBuffer.getNumSamples();
    int start = 0;
    do
    {
        const auto count = juce::jmin (capacity, numSamples - start);
        runStagesOver (buffer, start, count);
        start += count;
        if (isPlaying == 0 || start < numSamples)
            ppqPosition = ppqPosition + count * ((bpm / 60.0) / engineSampleRate);
    } while (start < numSamples);
}

void Rirorezo3AudioProcessor::runStagesOver (juce::AudioBuffer<float>& buffer, int start, int count)
{
    const auto numChannels = juce::jmin (buffer.getNumChannels(), dryBuffer.getNumChannels());
    for (int channel = 0; channel < numChannels; ++channel)
    {
        if (buffer.hasBeenCleared())
            dryBuffer.clear (channel, 0, count);
        else
            dryBuffer.copyFrom (channel, 0, buffer, channel, start, count);
    }

    StageBlock block;
    block.numSamples = count;
    block.stereo = getTotalNumOutputChannels() == 2 && numChannels >= 2;
    block.left = buffer.getWritePointer (0, start);
    block.right = block.stereo ? buffer.getWritePointer (1, start) : block.left;
    block.dryLeft = dryBuffer.getReadPointer (0);
    block.dryRight = block.stereo ? dryBuffer.getReadPointer (1) : block.dryLeft;

    runToneStage (block);
    runMeltStage (block);
    runEchoStage (block);
    runMasterStage (block);
}
