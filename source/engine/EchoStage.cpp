#include "engine/EchoSection.h"
#include "engine/PluginProcessor.h"

void Rirorezo3AudioProcessor::prepareEchoStage() {}

void Rirorezo3AudioProcessor::clearEchoDelay() {}

void Rirorezo3AudioProcessor::runEchoStage (const StageBlock&) {}
