#include "ui/panels/KnobTable.h"

#include "engine/PluginProcessor.h"

juce::Component& TableKnob::placed() const
{
    if (wrapper != nullptr)
        return *wrapper;
    return knob;
}

void TableKnob::layOut (const ProportionalLayout& layout) const
{
    placed().setBounds (layout.bounds (row.design));
}

void TableKnob::addTo (juce::Component& panel, juce::LookAndFeel& knobLook, juce::LookAndFeel& captionLook) const
{
    // Set before the attachment exists; the attachment then returns double-clicks to the
    // parameter's default.
    knob.setDoubleClickReturnValue (true, row.doubleClickValue, {});
    knob.setLookAndFeel (&knobLook);
    if (wrapper != nullptr)
        wrapper->setLookAndFeel (&captionLook);
    placed().setVisible (true);
    panel.addChildComponent (placed());
}

void TableKnob::attach (Rirorezo3AudioProcessor& processor) const
{
    auto& parameters = processor.pluginParameters;
    parameters.*row.slot = std::make_unique<juce::AudioProcessorValueTreeState::SliderAttachment> (
        *parameters.apvts, row.parameterID, knob);
}

void TableKnob::clearLooks() const
{
    knob.setLookAndFeel (nullptr);
    if (wrapper != nullptr)
        wrapper->setLookAndFeel (nullptr);
}
