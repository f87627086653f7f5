#include "engine/JumpStage.h"
#include "engine/MeltSection.h"
#include "engine/PluginProcessor.h"

#include <cmath>

namespace
{
using Ramp = MeltSection::Ramp;

struct RampSpec
{
    Ramp MeltSection::*ramp;
    double seconds;
};

// In declaration order, which is also the order their targets are set in.
constexpr RampSpec meltRamps[] = {
    {&MeltSection::smoothWowFreq, 0.3},     {&MeltSection::smoothFlowMix, 0.3},
    {&MeltSection::smoothFlutterFreq, 0.3}, {&MeltSection::smoothFlowRnd, 0.3},
    {&MeltSection::smoothFlowLevel, 0.3},   {&MeltSection::smoothDropoutPhase, 0.3},
    {&MeltSection::smoothDropoutRnd, 0.3},  {&MeltSection::smoothDropoutLevel, 0.3},
    {&MeltSection::smoothJumpCurve, 0.3},   {&MeltSection::smoothJumpLevel, 0.3},
    {&MeltSection::smoothChorus, 0.05},     {&MeltSection::smoothRuvuv, 0.3},
    {&MeltSection::smoothDepth, 0.3},
};
constexpr auto numMeltRamps = sizeof (meltRamps) / sizeof (meltRamps[0]);

// The oscillator outputs follow slowly, but snap once they are close.
float slew (float current, float target, float coefficient)
{
    return std::abs (target - current) < 0.01f ? target : current + (target - current) * coefficient;
}

// A synced oscillator's phase, from the beat position; held at single precision.
double syncedPhase (double beat, double cycleBeats)
{
    const auto cycles = beat / cycleBeats;
    const auto phase = (double)(float)(cycles - std::trunc (cycles));
    return std::isfinite (phase) ? phase : 0.0;
}

// The line is written before it is read, so the interpolation sits one sample behind the
// delay time: taps i - 1 and i around position p.
float readDelay (const double* line, int writeIndex, float delaySeconds, double sampleRate)
{
    constexpr auto capacity = MeltSection::delayCapacity;

    auto position = writeIndex - delaySeconds * sampleRate;
    if (!(position >= 0.0 && position < capacity))
    {
        position = std::fmod (position, (double)capacity);
        if (position < 0.0)
            position += capacity;
        if (!(position >= 0.0 && position < capacity))
            position = 0.0;
    }

    const auto index = (int)position;
    const auto fraction = position - index;
    const auto earlier = (float)line[index == 0 ? capacity - 1 : index - 1];
    const auto later = (float)line[index];
    return (float)((1.0 - fraction) * earlier + fraction * later);
}
} // namespace

void Rirorezo3AudioProcessor::prepareMeltStage()
{
    auto& melt = *meltSection;
    melt.sampleRate = engineSampleRate;
    clearMeltDelay();

    for (auto* lfo : {&melt.wowLfo, &melt.flutterLfo, &melt.dropoutLfo})
        lfo->sampleRate = engineSampleRate;

    for (const auto& spec : meltRamps)
        (melt.*spec.ramp).reset (engineSampleRate, spec.seconds);

    melt.wowL = melt.wowR = 0.0f;
    melt.flutterL = melt.flutterR = 0.0f;
    melt.dropoutL = melt.dropoutR = 0.0f;

    melt.jumpLastIndex = -1;
    melt.jumpHold = 0;
    melt.jumpLastPos = 0.98;
    melt.jumpOffset = 0.0;
    melt.jumpEnvelope.setCurrentAndTargetValue (0.0f);
}

void Rirorezo3AudioProcessor::clearMeltDelay()
{
    auto& melt = *meltSection;
    melt.writeIndex = 0;
    std::fill (std::begin (melt.delayLineL), std::end (melt.delayLineL), 0.0);
    std::fill (std::begin (melt.delayLineR), std::end (melt.delayLineR), 0.0);
}

void Rirorezo3AudioProcessor::runMeltStage (const StageBlock& block)
{
    auto& melt = *meltSection;
    const auto& p = pluginParameters;

    melt.dropoutOn = loadValue (p.meltDropoutPowerValue);
    melt.meltOn = loadValue (p.meltPowerValue);
    melt.flowShape = loadValue (p.meltFlowTypeValue);
    melt.dropoutShape = loadValue (p.meltDropoutTypeValue);
    melt.flowSynced = blockFlowSync != 0;
    melt.dropoutSynced = blockDropoutSync != 0;

    const float targets[numMeltRamps] = {
        loadValue (p.meltWowFreqValue),    loadValue (p.meltFlowMixValue),      loadValue (p.meltFlutterFreqValue),
        loadValue (p.meltFlowRndValue),    loadValue (p.meltFlowLevelValue),    blockDropoutPhase,
        loadValue (p.meltDropoutRndValue), loadValue (p.meltDropoutLevelValue), loadValue (p.meltJumpCurveValue),
        loadValue (p.meltJumpLevelValue),  loadValue (p.meltChorusValue),       loadValue (p.ruvuvMeltValue),
        loadValue (p.meltDepthValue),
    };
    for (size_t r = 0; r < numMeltRamps; ++r)
        (melt.*meltRamps[r].ramp).setTargetValue (targets[r]);

    // Switched off, the audio passes and everything but the ramps stands still.
    if (!melt.meltOn)
    {
        for (const auto& spec : meltRamps)
            for (int i = 0; i < block.numSamples; ++i)
                (melt.*spec.ramp).getNextValue();
        return;
    }

    const auto wowRate = loadValue (p.meltWowRateValue);
    const auto flutterRate = loadValue (p.meltFlutterRateValue);
    const auto wowCycleBeats = beatTables::beats (beatTables::wow, wowRate);
    const auto flutterCycleBeats = beatTables::beats (beatTables::flutter, flutterRate);
    const auto dropoutCycleBeats = beatTables::beats (beatTables::flutter, loadValue (p.meltDropoutRateValue));
    const auto clampedWowRate = juce::jlimit (0, 12, wowRate);
    const auto clampedFlutterRate = juce::jlimit (0, 12, flutterRate);
    // Integer divisions, truncating: the synced depths step in whole milliseconds.
    const auto wowSync = (float)(25 + (-23 * clampedWowRate) / 12);
    const auto flutterSync = 0.25f * (float)(50 + (-49 * clampedFlutterRate) / 12);

    const auto flowPower = loadValue (p.meltFlowPowerValue);
    const auto wowIncrement = (double)loadValue (p.meltWowFreqValue) / melt.wowLfo.sampleRate;
    const auto flutterIncrement = (double)loadValue (p.meltFlutterFreqValue) / melt.flutterLfo.sampleRate;
    const auto dropoutIncrement = (double)loadValue (p.meltDropoutFreqValue) / melt.dropoutLfo.sampleRate;

    const auto jump = makeJumpBlock (loadValue (p.meltJumpRateValue), blockJumpStart, loadValue (p.meltJumpRndValue),
                                     loadValue (p.meltJumpPowerValue), loadValue (p.meltJumpSnagValue),
                                     loadValue (p.meltJumpReleaseValue), melt.sampleRate, bpm);

    auto beat = ppqPosition;
    const auto beatIncrement = bpm / 60.0 / melt.sampleRate;

    for (int i = 0; i < block.numSamples; ++i)
    {
        const auto inL = block.left[i];
        const auto inR = block.stereo ? block.right[i] : block.left[i];

        const auto wowFreq = melt.smoothWowFreq.getNextValue();
        const auto flowMix = melt.smoothFlowMix.getNextValue();
        const auto flutterFreq = melt.smoothFlutterFreq.getNextValue();
        const auto flowRnd = melt.smoothFlowRnd.getNextValue();
        const auto dropPhase = melt.smoothDropoutPhase.getNextValue();
        const auto dropRnd = melt.smoothDropoutRnd.getNextValue();
        const auto chorus = melt.smoothChorus.getNextValue();
        const auto mondo = melt.smoothRuvuv.getNextValue();
        const auto depth = melt.smoothDepth.getNextValue();

        // Free running, a faster oscillator swings less far.
        const auto wowFree = 25.0f + (wowFreq - 0.25f) * (-17.0f) / 3.75f;
        const auto flutterFree = 8.0f + (flutterFreq - 5.0f) * (-6.5f) / 10.0f;

        const auto envelope = stepJump (melt, jump, beat);
        const auto curve = melt.smoothJumpCurve.getNextValue();
        const auto curveFactor = 1.0f - 0.6f * curve / 100.0f;

        if (melt.flowSynced)
        {
            melt.wowLfo.phase = melt.wowLfo.randPhase = syncedPhase (beat, wowCycleBeats);
            melt.flutterLfo.phase = melt.flutterLfo.randPhase = syncedPhase (beat, flutterCycleBeats);
        }

        const auto level1 = melt.smoothFlowLevel.getNextValue();
        const auto level2 = melt.smoothFlowLevel.getNextValue();
        const auto wowDepth = level1 * (melt.flowSynced ? wowSync : wowFree);
        const auto flutterDepth = level2 * (melt.flowSynced ? flutterSync : flutterFree);

        melt.wowLfo.phaseInc = melt.wowLfo.randInc = wowIncrement;
        melt.wowLfo.randDepth = flowRnd;
        melt.wowLfo.enabled = flowPower;
        melt.flutterLfo.phaseInc = melt.flutterLfo.randInc = flutterIncrement;
        melt.flutterLfo.randDepth = flowRnd;
        melt.flutterLfo.enabled = flowPower;

        const auto chorusOffset = chorus * 0.5f / 100.0f;

        const auto flow = [&] (LFO& lfo, float& output, float phaseB)
        { output = slew (output, lfo.getMelt (melt.flowShape, melt.flowSynced, 0.0f, phaseB, true, false), 0.0002f); };
        flow (melt.wowLfo, melt.wowL, 0.0f);
        flow (melt.wowLfo, melt.wowR, chorusOffset);
        flow (melt.flutterLfo, melt.flutterL, 0.0f);
        flow (melt.flutterLfo, melt.flutterR, chorusOffset);

        if (melt.dropoutSynced)
            melt.dropoutLfo.phase = melt.dropoutLfo.randPhase = syncedPhase (beat, dropoutCycleBeats);

        const auto dropLevel = melt.smoothDropoutLevel.getNextValue();

        melt.dropoutLfo.phaseInc = melt.dropoutLfo.randInc = dropoutIncrement;
        melt.dropoutLfo.randDepth = dropRnd;
        melt.dropoutLfo.enabled = melt.dropoutOn;

        const auto dropout = [&] (float& output, float phaseB)
        {
            const auto value =
                melt.dropoutLfo.getMelt (melt.dropoutShape, melt.dropoutSynced, dropPhase, phaseB, false, true);
            output = slew (output, value, 0.01f);
        };
        dropout (melt.dropoutL, 0.0f);
        dropout (melt.dropoutR, chorusOffset);

        const auto jumpLevel = melt.smoothJumpLevel.getNextValue();
        const auto scale = (1.0f + 2.0f * mondo / 100.0f) * depth;
        const auto shapedEnvelope = curveFactor * (envelope * envelope);
        const auto jumpDelay = 0.1f * jumpLevel * shapedEnvelope * (1.0f - shapedEnvelope) * scale;

        const auto delayTime = [&] (float wow, float flutter) {
            return 0.001f * scale * ((1.0f - flowMix) * wowDepth * wow + flowMix * flutterDepth * flutter) + jumpDelay +
                   0.01f;
        };
        melt.delayTimeL = delayTime (melt.wowL, melt.flutterL);
        if (block.stereo)
            melt.delayTimeR = delayTime (melt.wowR, melt.flutterR);

        melt.delayLineL[melt.writeIndex] = inL;
        melt.delayLineR[melt.writeIndex] = inR;
        const auto yL = readDelay (melt.delayLineL, melt.writeIndex, melt.delayTimeL, melt.sampleRate);
        const auto yR =
            block.stereo ? readDelay (melt.delayLineR, melt.writeIndex, melt.delayTimeR, melt.sampleRate) : 0.0f;
        if (++melt.writeIndex == MeltSection::delayCapacity)
            melt.writeIndex = 0;

        const auto level3 = melt.smoothFlowLevel.getNextValue();
        const auto chorusMix = flowPower ? chorus / 100.0f : 0.0f;
        const auto dropoutGain = [&] (float dropoutOutput)
        {
            if (!melt.dropoutOn)
                return 1.0f;
            return 1.0f - juce::jlimit (0.0f, 1.0f, dropoutOutput * dropLevel * (1.0f + mondo / 100.0f) * depth);
        };

        block.left[i] = (yL + inL * chorusMix * level3 * depth) * dropoutGain (melt.dropoutL);
        if (block.stereo)
            block.right[i] = (yR + inR * chorusMix * level3 * depth) * dropoutGain (melt.dropoutR);

        beat += beatIncrement;
    }
}
