#pragma once

#include "parameters/PluginParameters.h"
#include "ui/controls/LabeledControls.h"
#include "ui/panels/ProportionalLayout.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

class Rirorezo3AudioProcessor;

// One knob of a panel's control table: what building, laying out and binding it need.
struct KnobRow
{
    using Slot = std::unique_ptr<juce::AudioProcessorValueTreeState::SliderAttachment> PluginParameters::*;

    const juce::String& parameterID;
    // Null for a knob shown without a caption wrapper.
    const juce::String* caption;
    // The range and suffix the knob is built with; the attachment replaces the range with the
    // parameter's, the suffix stays.
    float minimum, maximum;
    const juce::String& suffix;
    double doubleClickValue;
    // Of the wrapper, or of the bare knob.
    juce::Rectangle<float> design;
    Slot slot;

    BasicKnob makeKnob() const { return BasicKnob (minimum, maximum, suffix); }
    DecibelKnob makeDecibelKnob() const { return DecibelKnob (minimum, maximum); }
};

// A panel's knob (and its wrapper, if any) beside its row, so one loop can walk them all.
struct TableKnob
{
    const KnobRow& row;
    BasicKnob& knob;
    LabeledKnob* wrapper;

    juce::Component& placed() const;
    void layOut (const ProportionalLayout& layout) const;

    // Double-click value, the knob's look, the wrapper's caption look; the wrapper (or the bare
    // knob) made visible and added to the panel, on top of what is there.
    void addTo (juce::Component& panel, juce::LookAndFeel& knobLook, juce::LookAndFeel& captionLook) const;
    void attach (Rirorezo3AudioProcessor& processor) const;
    void clearLooks() const;
};

// An empty unit: no blank and no suffix after the value.
inline const juce::String noUnit;
