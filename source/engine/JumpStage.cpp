#include "engine/JumpStage.h"

#include "engine/EngineMaths.h"

#include "engine/MeltSection.h"
#include "engine/PluginProcessor.h"
#include "engine/RandomGenerator.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
// Extreme tempos must not turn a time into an out-of-range integer conversion.
int toSampleCount (double samples)
{
    constexpr double largest = 1 << 30;
    if (!(samples > 0.0))
        return 0;
    return (int)std::min (samples, largest);
}

// A ramp is never shorter than 60 ms, so a snag or release of 0 still glides.
int rampSamples (double sampleRate, float beats, float beatSeconds)
{
    return toSampleCount (std::max (sampleRate * beats * beatSeconds, 0.06 * sampleRate));
}

int toIndex (double wholeNumber)
{
    return (int)juce::jlimit ((double)std::numeric_limits<int>::min(), (double)std::numeric_limits<int>::max(),
                              wholeNumber);
}
} // namespace

JumpBlock makeJumpBlock (int rateIndex, float start, float randomRange, bool power, float snagBeats, float releaseBeats,
                         double sampleRate, double bpm)
{
    const auto beatSeconds = 60.0f / (float)bpm;

    JumpBlock jump;
    jump.periodBeats = beatTables::beats (beatTables::jump, rateIndex);
    jump.start = start;
    jump.randomRange = randomRange;
    jump.power = power;
    // A thousandth of a beat, not of a second.
    jump.holdSamples = toSampleCount (sampleRate * 0.001 * beatSeconds);
    jump.attackSamples = rampSamples (sampleRate, snagBeats, beatSeconds);
    jump.releaseSamples = rampSamples (sampleRate, releaseBeats, beatSeconds);
    return jump;
}

float stepJump (MeltSection& melt, const JumpBlock& jump, double beat)
{
    const auto pos = beat / jump.periodBeats + 2.0 - jump.start;

    // A leap of the position (a host loop, a relocation) restarts the boundary tracking just
    // before the new position, so a landing right after a boundary still counts it.
    if (std::abs (pos - melt.jumpLastPos) > 0.25)
    {
        melt.jumpLastPos = pos - (double)0.01f;
        melt.jumpLastIndex = -1;
    }

    const auto atStart = melt.jumpEnvelope.getCurrentValue();

    if (truncated (melt.jumpLastPos - melt.jumpOffset) != truncated (pos - melt.jumpOffset) &&
        truncated (pos) != (double)melt.jumpLastIndex)
    {
        melt.jumpLastIndex = toIndex (truncated (pos));

        // A boundary that passes while the envelope still moves is used up without a jump.
        if (jump.power && atStart == 0.0f)
        {
            melt.jumpOffset = (double)(float)(drawRandom (JSeedX, JXorU) * jump.randomRange);
            melt.jumpHold = jump.holdSamples;
            melt.jumpEnvelope.reset (jump.attackSamples);
            melt.jumpEnvelope.setTargetValue (1.0f);
        }
    }

    melt.jumpLastPos = pos;

    if (atStart == 1.0f && melt.jumpHold-- <= 1)
    {
        melt.jumpEnvelope.reset (jump.releaseSamples);
        melt.jumpEnvelope.setTargetValue (0.0f);
    }

    return melt.jumpEnvelope.getNextValue();
}

void Rirorezo3AudioProcessor::resetJumpState()
{
    meltSection->jumpLastIndex = -1;
    meltSection->jumpLastPos = 0.98;
    meltSection->jumpOffset = 0.0;
}
