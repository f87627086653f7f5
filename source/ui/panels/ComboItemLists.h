#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Every menu's item list, in the order of its parameter's values: item ids are positions from 1.
// In the note texts "b" is a bar, a leading "." a dotted value and a trailing "T" a triplet.
namespace comboItems
{
inline const juce::StringArray syncModes{"Manual", "BPM"};
inline const juce::StringArray noteValues{"1b",   ".1/2", "1/2",  "1/2T",  ".1/4", "1/4",  "1/4T",
                                          ".1/8", "1/8",  "1/8T", ".1/16", "1/16", "1/16T"};
inline const juce::StringArray fastNoteValues{"1/4",   "1/4T",  ".1/8", "1/8",   "1/8T",  ".1/16", "1/16",
                                              "1/16T", ".1/32", "1/32", "1/32T", ".1/64", "1/64"};
// The melt's jump rate and the echo's factor rate.
inline const juce::StringArray barRates{"8b",   "6b",  "4b",   "3b",   "2b",  "1.5b", "1b",
                                        ".1/2", "1/2", "1/2T", ".1/4", "1/4", "1/4T"};
inline const juce::StringArray flowTypes{"Smooth", "Robotic", "RampUp", "RampDown"};
inline const juce::StringArray dropoutTypes{"Smooth", "Robotic", "Rect", "Rect Inv"};
inline const juce::StringArray echoMinimumFactors{"0.125", "0.1875", "0.25", "0.375", "0.5"};
inline const juce::StringArray echoMaximumFactors{"0.75", "1", "1.5", "2"};
inline const juce::StringArray echoMixModes{"Pow", "Lin"};
inline const juce::StringArray echoFactorModes{"Manual", "Auto"};
} // namespace comboItems

class Populations
{
public:
    static void populateSyncModeComboBox (juce::ComboBox& box);
    static void populateSyncRateComboBox (juce::ComboBox& box);
    static void populateSyncRateFastComboBox (juce::ComboBox& box);

    // Replaces whatever the box held, without a change notification and without a selection.
    static void populate (juce::ComboBox& box, const juce::StringArray& items);
};
