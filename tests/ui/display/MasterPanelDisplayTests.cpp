#include "ParameterWatch.h"
#include "ProcessorHarness.h"
#include "support/display/DesktopWindow.h"
#include "ui/panels/MasterPanel.h"

#include <gtest/gtest.h>

using namespace testsupport;

// The attachments replace the panel's own double-click values with the parameters' defaults.
TEST (MasterPanelOnScreen, DoubleClickReturnsEachKnobToItsParametersDefault)
{
    if (!DesktopWindow::displayAvailable())
        GTEST_SKIP() << "needs a display";
    ProcessorHarness harness;
    MasterPanel panel (harness.processor.get());
    DesktopWindow window (panel);

    const struct
    {
        const char* identifier;
        juce::Slider& knob;
    } knobs[] = {{"ruvuvMelt", panel.ruvuvKnob},
                 {"outputVolume", panel.outputVolumeKnob},
                 {"dryWetMix", panel.dryWetKnob},
                 {"noiseLevel", panel.noiseKnob}};
    for (const auto& k : knobs)
    {
        auto& parameter = *harness.processor->apvts.getParameter (k.identifier);
        harness.setNormalised (k.identifier, 0.37f);
        ParameterWatch watch (*harness.processor);

        window.doubleClick (panel.getLocalArea (&k.knob, k.knob.getLocalBounds()).toFloat().getCentre());

        EXPECT_EQ (parameter.getValue(), parameter.getDefaultValue()) << k.identifier;
        EXPECT_EQ (watch.gesturesEnded (k.identifier), watch.gesturesBegun (k.identifier)) << k.identifier;
    }
}
