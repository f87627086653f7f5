#pragma once

#include "engine/DelayLine.h"
#include "engine/LFO.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <array>

// Cycle lengths in quarter-note beats, indexed by the rate choices. The fractions are held at
// their single-precision values.
namespace beatTables
{
using Table = std::array<double, 13>;

// Wow rate; the echo's left and right rates use it too.
inline constexpr Table wow{4.0,
                           3.0,
                           2.0,
                           1.3333333730697632,
                           1.5,
                           1.0,
                           0.6666666865348816,
                           0.75,
                           0.5,
                           0.3333333432674408,
                           0.375,
                           0.25,
                           0.1666666716337204};
// Flutter and drop-out rate.
inline constexpr Table flutter{1.0,   0.6666666865348816, 0.75,   0.5,   0.3333333432674408, 0.375,
                               0.25,  0.1666666716337204, 0.1875, 0.125, 0.0833333283662796, 0.09375,
                               0.0625};
// Jump period; the echo's factor rate uses it too.
inline constexpr Table jump{
    32.0, 24.0, 16.0, 12.0, 8.0, 6.0, 4.0, 3.0, 2.0, 1.3333333730697632, 1.5, 1.0, 0.6666666865348816};

// An index from outside the choice list reads the nearest entry.
inline double beats (const Table& table, int index)
{
    return table[(size_t)juce::jlimit (0, (int)table.size() - 1, index)];
}
} // namespace beatTables

// The melt stage's state: a plain record that the processor works on. The echo stage steps some
// of these ramps once per block and reads the left oscillator outputs.
struct MeltSection
{
    using Ramp = juce::SmoothedValue<float, juce::ValueSmoothingTypes::Linear>;

    static constexpr int delayCapacity = 192000;
    using Line = DelayLine<delayCapacity>;

    LFO wowLfo;
    LFO flutterLfo;
    LFO dropoutLfo;
    double sampleRate = -1.0;
    Line delayLineL{};
    Line delayLineR{};
    float wowL = 0.0f;
    float wowR = 0.0f;
    float flutterL = 0.0f;
    float flutterR = 0.0f;
    float dropoutL = 0.0f;
    float dropoutR = 0.0f;
    bool dropoutOn = false;
    bool meltOn = false;
    float delayTimeL = 0.0f;
    float delayTimeR = 0.0f;
    int writeIndex = 0;
    int flowShape = 0;
    int dropoutShape = 0;
    bool flowSynced = false;
    bool dropoutSynced = false;

    Ramp smoothWowFreq;
    Ramp smoothFlowMix;
    Ramp smoothFlutterFreq;
    Ramp smoothFlowRnd;
    Ramp smoothFlowLevel;
    Ramp smoothDropoutPhase;
    Ramp smoothDropoutRnd;
    Ramp smoothDropoutLevel;
    Ramp smoothJumpCurve;
    Ramp smoothJumpLevel;
    Ramp smoothChorus;
    Ramp smoothRuvuv;
    Ramp smoothDepth;

    int jumpLastIndex = -1;
    int jumpHold = 0;
    double jumpLastPos = 0.98;
    double jumpOffset = 0.0;
    Ramp jumpEnvelope;
};
