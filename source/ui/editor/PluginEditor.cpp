#include "ui/editor/PluginEditor.h"

#include "engine/PluginProcessor.h"

Rirorezo3AudioProcessorEditor::Rirorezo3AudioProcessorEditor (Rirorezo3AudioProcessor& owner)
    : juce::AudioProcessorEditor (owner), audioProcessor (owner)
{
    setSize (777, 405);
}

Rirorezo3AudioProcessorEditor::~Rirorezo3AudioProcessorEditor() = default;

void Rirorezo3AudioProcessorEditor::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::black);
}
