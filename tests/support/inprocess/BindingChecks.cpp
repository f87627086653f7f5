#include "BindingChecks.h"

#include "ParameterWatch.h"
#include "UserEdits.h"

#include <gtest/gtest.h>

namespace testsupport
{
void expectKnobBound (ProcessorHarness& harness, const juce::String& identifier, juce::Slider& knob)
{
    SCOPED_TRACE (identifier.toStdString());
    const auto range = harness.processor->apvts.getParameter (identifier)->getNormalisableRange();
    const auto tolerance = 1.0e-4 * range.getRange().getLength();

    harness.setNormalised (identifier, 0.3f);
    EXPECT_NEAR (knob.getValue(), harness.getPlain (identifier), tolerance) << "host change";

    ParameterWatch watch (*harness.processor);
    const auto edited = range.snapToLegalValue (range.convertFrom0to1 (0.8f));
    dragTo (knob, edited);
    EXPECT_NEAR (harness.getPlain (identifier), edited, tolerance) << "user edit";
    EXPECT_EQ (watch.gesturesBegun (identifier), 1);
    EXPECT_EQ (watch.gesturesEnded (identifier), 1);
    EXPECT_EQ (watch.totalGestures(), 1);
}

void expectSwitchBound (ProcessorHarness& harness, const juce::String& identifier, juce::Button& toggle)
{
    SCOPED_TRACE (identifier.toStdString());
    const auto wasOn = harness.getPlain (identifier) >= 0.5f;
    EXPECT_EQ (toggle.getToggleState(), wasOn) << "shows the parameter";

    harness.setPlain (identifier, wasOn ? 0.0f : 1.0f);
    EXPECT_EQ (toggle.getToggleState(), !wasOn) << "host change";

    ParameterWatch watch (*harness.processor);
    click (toggle);
    EXPECT_EQ (harness.getPlain (identifier), wasOn ? 1.0f : 0.0f) << "user click";
    EXPECT_EQ (toggle.getToggleState(), wasOn);
    EXPECT_EQ (watch.gesturesBegun (identifier), 1);
    EXPECT_EQ (watch.gesturesEnded (identifier), 1);
    EXPECT_EQ (watch.totalGestures(), 1);
}
} // namespace testsupport
