#include "engine/PluginProcessor.h"
#include "engine/ToneSection.h"

void Rirorezo3AudioProcessor::prepareToneStage() {}

void Rirorezo3AudioProcessor::runToneStage (const StageBlock&) {}
