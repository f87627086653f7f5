#pragma once

#include <juce_core/juce_core.h>

// The folder that holds all presets and sub-presets of the named plug-in, without a trailing
// separator. The one place where the platforms differ.
juce::String presetRootPath (const juce::String& pluginName);
