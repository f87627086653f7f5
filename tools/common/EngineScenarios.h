#pragma once

// Parameter settings that exercise the engine, shared by the benchmark, the pinned renders and
// the allocation and robustness tests. Values are plain (in the parameter's own unit).

#include <vector>

namespace scenarios
{
struct Setting
{
    const char* identifier;
    float plain;
};

// A parameter swept between two plain values, a new value at every block.
struct Sweep
{
    const char* identifier;
    float low, high;
};

// Every power switch on and every optional path engaged: the tone with low cut, drive and
// saturation, the melt with wow, flutter, drop-outs and jumps, the echo linked in ping-pong with
// feedback, the noise.
inline const std::vector<Setting> everySectionOn{
    {"tonePower", 1.0f},      {"toneLowCut", 1.0f},       {"toneDrive", 6.0f},         {"toneSaturation", 60.0f},
    {"toneShape", 40.0f},     {"toneSatGain", 30.0f},     {"meltPower", 1.0f},         {"meltFlowPower", 1.0f},
    {"meltFlowMix", 50.0f},   {"meltDropoutPower", 1.0f}, {"meltDropoutLevel", 60.0f}, {"meltJumpPower", 1.0f},
    {"meltJumpLevel", 50.0f}, {"meltChorus", 50.0f},      {"meltEchoSend", 50.0f},     {"echoPower", 1.0f},
    {"echoFeedback", 70.0f},  {"echoPingPong", 1.0f},     {"echoLink", 1.0f},          {"noiseLevel", 20.0f},
    {"ruvuvMelt", 40.0f},     {"dryWetMix", 80.0f},
};

// The tone and echo filters never come to rest.
inline const std::vector<Sweep> filterSweeps{
    {"toneLowFreq", 80.0f, 800.0f},    {"toneMidFreq", 120.0f, 3000.0f}, {"toneHiFreq", 800.0f, 5000.0f},
    {"toneDamper", 3000.0f, 20000.0f}, {"toneLowGain", -12.0f, 6.0f},    {"toneMidGain", -6.0f, 6.0f},
    {"echoHpFreq", 20.0f, 2000.0f},    {"echoLpFreq", 500.0f, 20000.0f},
};

// A long ringing echo that decays towards the subnormal range once the input stops.
inline const std::vector<Setting> ringingEcho{{"echoFeedback", 95.0f}, {"echoMix", 100.0f}};

// Wow, flutter, drop-outs and jumps all moving the melt's delay at once.
inline const std::vector<Setting> wholeMelt{
    {"meltFlowMix", 50.0f},   {"meltFlowLevel", 80.0f}, {"meltDropoutLevel", 60.0f},
    {"meltJumpLevel", 80.0f}, {"meltJumpRnd", 0.5f},    {"meltChorus", 50.0f},
};

// The echo in milliseconds at either end of its time range: the cost must not follow the delay.
inline const std::vector<Setting> shortestEcho{{"echoSync", 0.0f}, {"echoTime", 0.5f}, {"echoFeedback", 70.0f}};
inline const std::vector<Setting> longestEcho{{"echoSync", 0.0f}, {"echoTime", 1000.0f}, {"echoFeedback", 70.0f}};

// Echo in beats and every melt oscillator locked to the playing host's position.
inline const std::vector<Setting> beatsWithHostPlaying{
    {"echoSync", 1.0f}, {"meltFlowSync", 1.0f}, {"meltDropoutSync", 1.0f}, {"echoFactorMode", 1.0f}};

// The echo in beats, its channels crossing and its loop holding the repeats at full level.
inline const std::vector<Setting> loopingPingPong{
    {"echoSync", 1.0f}, {"echoPingPong", 1.0f}, {"echoLoop", 1.0f}, {"echoFactorMode", 1.0f}, {"echoFilter", 1.0f}};
} // namespace scenarios
