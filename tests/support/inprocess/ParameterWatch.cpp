#include "ParameterWatch.h"

namespace testsupport
{
ParameterWatch::ParameterWatch (juce::AudioProcessor& processorToWatch) : processor (processorToWatch)
{
    processor.addListener (this);
}

ParameterWatch::~ParameterWatch()
{
    processor.removeListener (this);
}

juce::String ParameterWatch::identifierAt (int index) const
{
    if (auto* withID = dynamic_cast<juce::AudioProcessorParameterWithID*> (processor.getParameters()[index]))
        return withID->paramID;
    return juce::String (index);
}

int ParameterWatch::countOf (const std::map<juce::String, int>& counts, const juce::String& identifier)
{
    const auto found = counts.find (identifier);
    return found == counts.end() ? 0 : found->second;
}

int ParameterWatch::changes (const juce::String& identifier) const
{
    return countOf (changeCounts, identifier);
}

int ParameterWatch::gesturesBegun (const juce::String& identifier) const
{
    return countOf (beginCounts, identifier);
}

int ParameterWatch::gesturesEnded (const juce::String& identifier) const
{
    return countOf (endCounts, identifier);
}

int ParameterWatch::totalChanges() const
{
    int total = 0;
    for (const auto& entry : changeCounts)
        total += entry.second;
    return total;
}

int ParameterWatch::totalGestures() const
{
    int total = 0;
    for (const auto& entry : beginCounts)
        total += entry.second;
    return total;
}

void ParameterWatch::reset()
{
    changeCounts.clear();
    beginCounts.clear();
    endCounts.clear();
}

void ParameterWatch::audioProcessorParameterChanged (juce::AudioProcessor*, int index, float)
{
    ++changeCounts[identifierAt (index)];
}

void ParameterWatch::audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index)
{
    ++beginCounts[identifierAt (index)];
}

void ParameterWatch::audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index)
{
    ++endCounts[identifierAt (index)];
}
} // namespace testsupport
