#include "ProcessorHarness.h"
#include "engine/EchoSection.h"
#include <gtest/gtest.h>
#include <cstdio>
TEST (EchoProbe, Print)
{
    testsupport::ProcessorHarness h (22050.0, 512, 1);
    h.setPlain ("echoTime", 200.0f);
    h.processor->pluginParameters.echoTimeValue.store (200.0f);
    h.setPlain ("echoSync", 0.0f);
    auto b = h.silence (4800); h.process (b);
    std::printf ("%.9g %.12f %.12f %d\n", (double) h.processor->pluginParameters.echoTimeValue.load(), h.processor->echoSection->delayL, h.processor->echoSection->targetDelayL, b.getNumSamples());
}
