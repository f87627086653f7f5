#pragma once

class Rirorezo3AudioProcessor;

// The "!?!" buttons' action: one draw of the editor's generator pair for each parameter of the
// sub-preset group that is randomised, in table order, set as that parameter's normalised value
// with a notification and no gesture. Groups outside the table do nothing.
void randomiseSubPresetGroup (Rirorezo3AudioProcessor& processor, int group);
