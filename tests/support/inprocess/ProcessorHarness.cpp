#include "ProcessorHarness.h"

#include "BlockLoop.h"
#include "HostPreparation.h"
#include "ParameterAccess.h"

#include <cmath>

namespace testsupport
{
ProcessorHarness::ProcessorHarness (double rate, int block, int channelCount)
    : processor (std::make_unique<Rirorezo3AudioProcessor>()), sampleRate (rate), blockSize (block),
      channels (channelCount)
{
    playHead.tempo = 120.0;
    playHead.ppq = 0.0;
    processor->setPlayHead (&playHead);
    const auto prepared = prepareLikeHost (*processor, sampleRate, blockSize, channels);
    jassertquiet (prepared);
}

void ProcessorHarness::setNormalised (const juce::String& identifier, float normalisedValue)
{
    auto* parameter = processor->apvts.getParameter (identifier);
    jassert (parameter != nullptr);
    parameter->setValueNotifyingHost (normalisedValue);
}

void ProcessorHarness::setPlain (const juce::String& identifier, float plainValue)
{
    setPlainValue (*processor, identifier, plainValue);
}

float ProcessorHarness::getPlain (const juce::String& identifier) const
{
    auto* parameter = processor->apvts.getParameter (identifier);
    jassert (parameter != nullptr);
    return parameter->convertFrom0to1 (parameter->getValue());
}

void ProcessorHarness::processBlock (juce::AudioBuffer<float>& block)
{
    juce::MidiBuffer midi;
    processor->processBlock (block, midi);
    playHead.advance (block.getNumSamples(), sampleRate);
}

void ProcessorHarness::process (juce::AudioBuffer<float>& buffer)
{
    processInBlocks (buffer, blockSize, [this] (juce::AudioBuffer<float>& block, int) { processBlock (block); });
}

juce::AudioBuffer<float> ProcessorHarness::silence (int numSamples) const
{
    juce::AudioBuffer<float> buffer (channels, numSamples);
    buffer.clear();
    return buffer;
}

juce::AudioBuffer<float> ProcessorHarness::impulse (int numSamples, int at, float level) const
{
    auto buffer = silence (numSamples);
    for (int c = 0; c < channels; ++c)
        buffer.setSample (c, at, level);
    return buffer;
}

juce::AudioBuffer<float> ProcessorHarness::sine (int numSamples, double frequency, float level) const
{
    auto buffer = silence (numSamples);
    for (int c = 0; c < channels; ++c)
        for (int i = 0; i < numSamples; ++i)
            buffer.setSample (
                c, i, level * (float)std::sin (juce::MathConstants<double>::twoPi * frequency * i / sampleRate));
    return buffer;
}

juce::AudioBuffer<float> ProcessorHarness::constant (int numSamples, float level) const
{
    auto buffer = silence (numSamples);
    for (int c = 0; c < channels; ++c)
        juce::FloatVectorOperations::fill (buffer.getWritePointer (c), level, numSamples);
    return buffer;
}

void ProcessorHarness::settle (double seconds)
{
    auto quiet = silence ((int)std::lround (seconds * sampleRate));
    process (quiet);
}

bool allFiniteAndNormal (const juce::AudioBuffer<float>& buffer)
{
    for (int c = 0; c < buffer.getNumChannels(); ++c)
        for (int i = 0; i < buffer.getNumSamples(); ++i)
        {
            const auto value = buffer.getSample (c, i);
            if (!std::isfinite (value) || (value != 0.0f && std::fpclassify (value) == FP_SUBNORMAL))
                return false;
        }
    return true;
}
} // namespace testsupport
