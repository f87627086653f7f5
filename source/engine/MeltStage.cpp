#include "engine/EngineMaths.h"
#include "engine/JumpStage.h"
#include "engine/MeltSection.h"
#include "engine/PluginProcessor.h"
#include "engine/RampTable.h"

#include <cmath>

namespace
{
using P = PluginParameters;
using M = MeltSection;

// In declaration order, which is also the order their targets are set in. The drop-out phase
// follows the block's snapshot of its parameter.
constexpr SmootherEntry<M> meltRamps[] = {
    {&M::smoothWowFreq, 0.3, &P::meltWowFreqValue},
    {&M::smoothFlowMix, 0.3, &P::meltFlowMixValue},
    {&M::smoothFlutterFreq, 0.3, &P::meltFlutterFreqValue},
    {&M::smoothFlowRnd, 0.3, &P::meltFlowRndValue},
    {&M::smoothFlowLevel, 0.3, &P::meltFlowLevelValue},
    {&M::smoothDropoutPhase, 0.3},
    {&M::smoothDropoutRnd, 0.3, &P::meltDropoutRndValue},
    {&M::smoothDropoutLevel, 0.3, &P::meltDropoutLevelValue},
    {&M::smoothJumpCurve, 0.3, &P::meltJumpCurveValue},
    {&M::smoothJumpLevel, 0.3, &P::meltJumpLevelValue},
    {&M::smoothChorus, 0.05, &P::meltChorusValue},
    {&M::smoothRuvuv, 0.3, &P::ruvuvMeltValue},
    {&M::smoothDepth, 0.3, &P::meltDepthValue},
};

// One sample's values of the ramps. The ramps are independent of each other, so stepping them
// all as the sample begins gives each use the value it would get stepping where it is used; the
// flow level moves three steps a sample, one for each use.
struct RampValues
{
    float wowFreq, flowMix, flutterFreq, flowRnd, dropPhase, dropRnd, chorus, mondo, depth;
    float curve, level1, level2, level3, dropLevel, jumpLevel;
};

RampValues stepRamps (MeltSection& melt)
{
    RampValues ramps;
    ramps.wowFreq = melt.smoothWowFreq.getNextValue();
    ramps.flowMix = melt.smoothFlowMix.getNextValue();
    ramps.flutterFreq = melt.smoothFlutterFreq.getNextValue();
    ramps.flowRnd = melt.smoothFlowRnd.getNextValue();
    ramps.dropPhase = melt.smoothDropoutPhase.getNextValue();
    ramps.dropRnd = melt.smoothDropoutRnd.getNextValue();
    ramps.chorus = melt.smoothChorus.getNextValue();
    ramps.mondo = melt.smoothRuvuv.getNextValue();
    ramps.depth = melt.smoothDepth.getNextValue();
    ramps.curve = melt.smoothJumpCurve.getNextValue();
    ramps.level1 = melt.smoothFlowLevel.getNextValue();
    ramps.level2 = melt.smoothFlowLevel.getNextValue();
    ramps.level3 = melt.smoothFlowLevel.getNextValue();
    ramps.dropLevel = melt.smoothDropoutLevel.getNextValue();
    ramps.jumpLevel = melt.smoothJumpLevel.getNextValue();
    return ramps;
}

// What the block's samples share.
struct BlockValues
{
    double wowCycleBeats, flutterCycleBeats, dropoutCycleBeats;
    float wowSync, flutterSync;
    bool flowPower;
    double wowIncrement, flutterIncrement, dropoutIncrement;
    JumpBlock jump;
    double beat, beatIncrement;
};

// The oscillator outputs follow slowly, but snap once they are close.
float slew (float current, float target, float coefficient)
{
    return std::abs (target - current) < 0.01f ? target : current + (target - current) * coefficient;
}

// A synced oscillator's phase, from the beat position; held at single precision.
double syncedPhase (double beat, double cycleBeats)
{
    const auto cycles = beat / cycleBeats;
    const auto phase = (double)(float)fractionalPart (cycles);
    return std::isfinite (phase) ? phase : 0.0;
}

// The line is written before it is read, so the interpolation sits one sample behind the
// delay time: taps i - 1 and i around position p.
float readDelay (const MeltSection::Line& line, int writeIndex, float delaySeconds, double sampleRate)
{
    const auto position = MeltSection::Line::wrapped (writeIndex - delaySeconds * sampleRate);
    const auto index = (int)position;
    const auto fraction = position - index;
    const auto earlier = (float)line[MeltSection::Line::previous (index)];
    const auto later = (float)line[index];
    return (float)((1.0 - fraction) * earlier + fraction * later);
}

// The block's samples. While no ramp moves (the usual case) every sample sees the same ramp
// values, read once before the loop, and the compiler keeps what follows from them out of it.
template <bool rampsMoving>
void runSamples (MeltSection& melt, const StageBlock& block, const BlockValues& perBlock,
                 AdditiveFeedbackRandom& random)
{
    auto beat = perBlock.beat;
    auto ramps = stepRamps (melt);

    for (int i = 0; i < block.numSamples; ++i)
    {
        if constexpr (rampsMoving)
            if (i > 0)
                ramps = stepRamps (melt);

        const auto inL = block.left[i];
        const auto inR = block.stereo ? block.right[i] : block.left[i];

        // Free running, a faster oscillator swings less far.
        const auto wowFree = 25.0f + (ramps.wowFreq - 0.25f) * (-17.0f) / 3.75f;
        const auto flutterFree = 8.0f + (ramps.flutterFreq - 5.0f) * (-6.5f) / 10.0f;

        const auto envelope = stepJump (melt, perBlock.jump, beat);
        const auto curveFactor = 1.0f - 0.6f * ramps.curve / 100.0f;

        if (melt.flowSynced)
        {
            melt.wowLfo.phase = melt.wowLfo.randPhase = syncedPhase (beat, perBlock.wowCycleBeats);
            melt.flutterLfo.phase = melt.flutterLfo.randPhase = syncedPhase (beat, perBlock.flutterCycleBeats);
        }

        const auto wowDepth = ramps.level1 * (melt.flowSynced ? perBlock.wowSync : wowFree);
        const auto flutterDepth = ramps.level2 * (melt.flowSynced ? perBlock.flutterSync : flutterFree);

        melt.wowLfo.phaseInc = melt.wowLfo.randInc = perBlock.wowIncrement;
        melt.wowLfo.randDepth = ramps.flowRnd;
        melt.wowLfo.enabled = perBlock.flowPower;
        melt.flutterLfo.phaseInc = melt.flutterLfo.randInc = perBlock.flutterIncrement;
        melt.flutterLfo.randDepth = ramps.flowRnd;
        melt.flutterLfo.enabled = perBlock.flowPower;

        const auto chorusOffset = ramps.chorus * 0.5f / 100.0f;

        // All six oscillators advance first, in their order (their random draws come in that order),
        // and only then are their waves read, so the six sines can run side by side.
        const auto flow = [&] (LFO& lfo, float phaseB)
        { return lfo.advance (melt.flowShape, melt.flowSynced, 0.0f, phaseB, true, false, random); };
        const auto wowLeft = flow (melt.wowLfo, 0.0f);
        const auto wowRight = flow (melt.wowLfo, chorusOffset);
        const auto flutterLeft = flow (melt.flutterLfo, 0.0f);
        const auto flutterRight = flow (melt.flutterLfo, chorusOffset);

        if (melt.dropoutSynced)
            melt.dropoutLfo.phase = melt.dropoutLfo.randPhase = syncedPhase (beat, perBlock.dropoutCycleBeats);

        melt.dropoutLfo.phaseInc = melt.dropoutLfo.randInc = perBlock.dropoutIncrement;
        melt.dropoutLfo.randDepth = ramps.dropRnd;
        melt.dropoutLfo.enabled = melt.dropoutOn;

        const auto dropout = [&] (float phaseB)
        {
            return melt.dropoutLfo.advance (melt.dropoutShape, melt.dropoutSynced, ramps.dropPhase, phaseB, false, true,
                                            random);
        };
        const auto dropoutLeft = dropout (0.0f);
        const auto dropoutRight = dropout (chorusOffset);

        melt.wowL = slew (melt.wowL, wowLeft.output(), 0.0002f);
        melt.wowR = slew (melt.wowR, wowRight.output(), 0.0002f);
        melt.flutterL = slew (melt.flutterL, flutterLeft.output(), 0.0002f);
        melt.flutterR = slew (melt.flutterR, flutterRight.output(), 0.0002f);
        melt.dropoutL = slew (melt.dropoutL, dropoutLeft.output(), 0.01f);
        melt.dropoutR = slew (melt.dropoutR, dropoutRight.output(), 0.01f);

        const auto scale = (1.0f + 2.0f * ramps.mondo / 100.0f) * ramps.depth;
        const auto shapedEnvelope = curveFactor * (envelope * envelope);
        const auto jumpDelay = 0.1f * ramps.jumpLevel * shapedEnvelope * (1.0f - shapedEnvelope) * scale;

        const auto delayTime = [&] (float wow, float flutter)
        {
            return 0.001f * scale * ((1.0f - ramps.flowMix) * wowDepth * wow + ramps.flowMix * flutterDepth * flutter) +
                   jumpDelay + 0.01f;
        };
        melt.delayTimeL = delayTime (melt.wowL, melt.flutterL);
        if (block.stereo)
            melt.delayTimeR = delayTime (melt.wowR, melt.flutterR);

        melt.delayLineL[melt.writeIndex] = inL;
        melt.delayLineR[melt.writeIndex] = inR;
        const auto yL = readDelay (melt.delayLineL, melt.writeIndex, melt.delayTimeL, melt.sampleRate);
        const auto yR =
            block.stereo ? readDelay (melt.delayLineR, melt.writeIndex, melt.delayTimeR, melt.sampleRate) : 0.0f;
        melt.writeIndex = MeltSection::Line::next (melt.writeIndex);

        const auto chorusMix = perBlock.flowPower ? ramps.chorus / 100.0f : 0.0f;
        const auto dropoutGain = [&] (float dropoutOutput)
        {
            if (!melt.dropoutOn)
                return 1.0f;
            return 1.0f - juce::jlimit (0.0f, 1.0f,
                                        dropoutOutput * ramps.dropLevel * (1.0f + ramps.mondo / 100.0f) * ramps.depth);
        };

        block.left[i] = (yL + inL * chorusMix * ramps.level3 * ramps.depth) * dropoutGain (melt.dropoutL);
        if (block.stereo)
            block.right[i] = (yR + inR * chorusMix * ramps.level3 * ramps.depth) * dropoutGain (melt.dropoutR);

        beat += perBlock.beatIncrement;
    }
}
} // namespace

void Rirorezo3AudioProcessor::prepareMeltStage()
{
    auto& melt = *meltSection;
    melt.sampleRate = engineSampleRate;
    clearMeltDelay();

    for (auto* lfo : {&melt.wowLfo, &melt.flutterLfo, &melt.dropoutLfo})
        lfo->sampleRate = engineSampleRate;

    resetRamps (melt, meltRamps, engineSampleRate);

    melt.wowL = melt.wowR = 0.0f;
    melt.flutterL = melt.flutterR = 0.0f;
    melt.dropoutL = melt.dropoutR = 0.0f;

    // Preparing starts the jump afresh, as a transport start does, and also stops its envelope.
    resetJumpState();
    melt.jumpHold = 0;
    melt.jumpEnvelope.setCurrentAndTargetValue (0.0f);
}

void Rirorezo3AudioProcessor::clearMeltDelay()
{
    auto& melt = *meltSection;
    melt.writeIndex = 0;
    melt.delayLineL.clear();
    melt.delayLineR.clear();
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

    for (const auto& entry : meltRamps)
        (melt.*entry.ramp).setTargetValue (entry.value != nullptr ? loadValue (p.*entry.value) : blockDropoutPhase);

    // Switched off, the audio passes and everything but the ramps stands still.
    if (!melt.meltOn)
    {
        advanceRamps (melt, meltRamps, block.numSamples);
        return;
    }

    const auto wowRate = loadValue (p.meltWowRateValue);
    const auto flutterRate = loadValue (p.meltFlutterRateValue);
    const auto clampedWowRate = juce::jlimit (0, 12, wowRate);
    const auto clampedFlutterRate = juce::jlimit (0, 12, flutterRate);

    BlockValues perBlock;
    perBlock.wowCycleBeats = beatTables::beats (beatTables::wow, wowRate);
    perBlock.flutterCycleBeats = beatTables::beats (beatTables::flutter, flutterRate);
    perBlock.dropoutCycleBeats = beatTables::beats (beatTables::flutter, loadValue (p.meltDropoutRateValue));
    // Integer divisions, truncating: the synced depths step in whole milliseconds.
    perBlock.wowSync = (float)(25 + (-23 * clampedWowRate) / 12);
    perBlock.flutterSync = 0.25f * (float)(50 + (-49 * clampedFlutterRate) / 12);
    perBlock.flowPower = loadValue (p.meltFlowPowerValue);
    perBlock.wowIncrement = (double)loadValue (p.meltWowFreqValue) / melt.wowLfo.sampleRate;
    perBlock.flutterIncrement = (double)loadValue (p.meltFlutterFreqValue) / melt.flutterLfo.sampleRate;
    perBlock.dropoutIncrement = (double)loadValue (p.meltDropoutFreqValue) / melt.dropoutLfo.sampleRate;
    perBlock.jump = makeJumpBlock (loadValue (p.meltJumpRateValue), blockJumpStart, loadValue (p.meltJumpRndValue),
                                   loadValue (p.meltJumpPowerValue), loadValue (p.meltJumpSnagValue),
                                   loadValue (p.meltJumpReleaseValue), melt.sampleRate, bpm);
    perBlock.beat = ppqPosition;
    perBlock.beatIncrement = bpm / 60.0 / melt.sampleRate;

    if (block.numSamples == 0)
        return;
    if (anyRamping (melt, meltRamps))
        runSamples<true> (melt, block, perBlock, instanceRandom);
    else
        runSamples<false> (melt, block, perBlock, instanceRandom);
}

double Rirorezo3AudioProcessor::meltTailSeconds() const
{
    const auto& p = pluginParameters;
    if (!loadValue (p.meltPowerValue))
        return 0.0;

    // The longest delay the settings allow: 10 ms, plus the deepest swing of the flow (25 ms at
    // full level, the oscillators reaching up to 1.75) and the largest jump.
    const auto scale = (1.0 + 2.0 * loadValue (p.ruvuvMeltValue) / 100.0) * loadValue (p.meltDepthValue);
    const auto flow = 0.001 * scale * loadValue (p.meltFlowLevelValue) * 25.0 * 1.75;
    const auto jump = 0.025 * loadValue (p.meltJumpLevelValue) * scale;
    return 0.01 + flow + jump;
}
