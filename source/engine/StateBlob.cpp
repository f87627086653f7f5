#include "engine/PluginProcessor.h"

void Rirorezo3AudioProcessor::getStateInformation (juce::MemoryBlock&) {}

void Rirorezo3AudioProcessor::setStateInformation (const void*, int) {}

void Rirorezo3AudioProcessor::loadDefaultPreset() {}
