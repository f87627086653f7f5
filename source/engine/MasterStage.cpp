#include "engine/MasterSection.h"
#include "engine/PluginProcessor.h"

void Rirorezo3AudioProcessor::prepareMasterStage() {}

void Rirorezo3AudioProcessor::runMasterStage (const StageBlock&) {}
