#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <map>

namespace testsupport
{
// Watches a processor as its host does: the values it is told of and the change gestures, per
// parameter identifier.
class ParameterWatch : private juce::AudioProcessorListener
{
public:
    explicit ParameterWatch (juce::AudioProcessor& processorToWatch);
    ~ParameterWatch() override;

    int changes (const juce::String& identifier) const;
    int gesturesBegun (const juce::String& identifier) const;
    int gesturesEnded (const juce::String& identifier) const;
    int totalChanges() const;
    int totalGestures() const;
    void reset();

private:
    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float) override;
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}
    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index) override;
    void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index) override;

    juce::String identifierAt (int index) const;
    static int countOf (const std::map<juce::String, int>& counts, const juce::String& identifier);

    juce::AudioProcessor& processor;
    std::map<juce::String, int> changeCounts, beginCounts, endCounts;
};
} // namespace testsupport
