#include "engine/MeltSection.h"
#include "engine/PluginProcessor.h"

void Rirorezo3AudioProcessor::prepareMeltStage() {}

void Rirorezo3AudioProcessor::clearMeltDelay() {}

void Rirorezo3AudioProcessor::resetJumpState() {}

void Rirorezo3AudioProcessor::runMeltStage (const StageBlock&) {}
