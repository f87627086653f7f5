#include "engine/FilterLimits.h"
#include "engine/PluginProcessor.h"
#include "engine/RampTable.h"
#include "engine/SoftClip.h"
#include "engine/ToneSection.h"

#include <cmath>

namespace
{
using P = PluginParameters;
using T = ToneSection;

// In the order the stage sets their targets.
constexpr SmootherEntry<T> toneRamps[] = {
    {&T::smoothDrive, 0.01, &P::toneDriveValue},     {&T::smoothLowFreq, 0.05, &P::toneLowFreqValue},
    {&T::smoothLowQ, 0.01, &P::toneLowQValue},       {&T::smoothLowGain, 0.01, &P::toneLowGainValue},
    {&T::smoothMidFreq, 0.05, &P::toneMidFreqValue}, {&T::smoothMidQ, 0.01, &P::toneMidQValue},
    {&T::smoothMidGain, 0.01, &P::toneMidGainValue}, {&T::smoothHiFreq, 0.05, &P::toneHiFreqValue},
    {&T::smoothHiQ, 0.01, &P::toneHiQValue},         {&T::smoothHiGain, 0.01, &P::toneHiGainValue},
    {&T::smoothShape, 0.01, &P::toneShapeValue},     {&T::smoothSatGain, 0.01, &P::toneSatGainValue},
    {&T::smoothDamper, 0.05, &P::toneDamperValue},   {&T::smoothSaturation, 0.01, &P::toneSaturationValue},
    {&T::smoothRuvuv, 0.01, &P::ruvuvMeltValue},
};

// One sample's values of the smoothers, each stepped once; they are independent of each other,
// so the order of the steps does not matter.
struct RampValues
{
    float drive, lowFreq, lowQ, lowGain, midFreq, midQ, midGain, hiFreq, hiQ, hiGain;
    float shape, satGain, damper, saturation, ruvuv;
};

RampValues stepRamps (ToneSection& tone)
{
    RampValues ramps;
    ramps.drive = tone.smoothDrive.getNextValue();
    ramps.lowFreq = tone.smoothLowFreq.getNextValue();
    ramps.lowQ = tone.smoothLowQ.getNextValue();
    ramps.lowGain = tone.smoothLowGain.getNextValue();
    ramps.midFreq = tone.smoothMidFreq.getNextValue();
    ramps.midQ = tone.smoothMidQ.getNextValue();
    ramps.midGain = tone.smoothMidGain.getNextValue();
    ramps.hiFreq = tone.smoothHiFreq.getNextValue();
    ramps.hiQ = tone.smoothHiQ.getNextValue();
    ramps.hiGain = tone.smoothHiGain.getNextValue();
    ramps.shape = tone.smoothShape.getNextValue();
    ramps.satGain = tone.smoothSatGain.getNextValue();
    ramps.damper = tone.smoothDamper.getNextValue();
    ramps.saturation = tone.smoothSaturation.getNextValue();
    ramps.ruvuv = tone.smoothRuvuv.getNextValue();
    return ramps;
}

// A band's coefficient key: its smoothed values moved when the sum did.
float bandKey (float frequency, float q, float gain)
{
    return (frequency + q) + gain;
}

// The saturation's factors, shared by both channels of a sample.
struct Saturation
{
    float drive, inputGain, ruvuvBoost, fold, level, makeUp;
};

struct ToneChannel
{
    EngineFilter &lowShelf, &lowCut, &midPeak, &highShelf, &damper;

    float process (float input, const Saturation& saturation, bool lowCutOn)
    {
        auto x = lowShelf.processSingleSampleRaw (input * saturation.drive);
        if (lowCutOn)
            x = lowCut.processSingleSampleRaw (x);
        x = midPeak.processSingleSampleRaw (x);
        x = highShelf.processSingleSampleRaw (x);

        const auto w = softClip (x * saturation.inputGain * saturation.ruvuvBoost);
        const auto angle = w * saturation.fold;
        auto out = x * (1.0f - saturation.level);
        // At saturation 0 the sine term is a zero, which leaves any sample but a zero as it is: the
        // sine is then skipped, as long as its term would have been a finite zero.
        if (!(saturation.level == 0.0f && out != 0.0f && std::isfinite (angle) && std::isfinite (saturation.makeUp)))
            out = out + std::sin (angle) * saturation.makeUp * saturation.level;
        return damper.processSingleSampleRaw (out);
    }
};

void updateCoefficients (ToneSection& tone, const RampValues& ramps, bool lowCutOn)
{
    const auto rate = tone.sampleRate;
    if (takeNewKey (tone.lastLowSum, bandKey (ramps.lowFreq, ramps.lowQ, ramps.lowGain)))
    {
        const auto frequency = limitedFrequency (ramps.lowFreq, rate);
        setPair (tone.lowShelfL, tone.lowShelfR,
                 juce::IIRCoefficients::makeLowShelf (rate, frequency, ramps.lowQ, ramps.lowGain));
        if (lowCutOn)
            setPair (tone.lowCutL, tone.lowCutR, juce::IIRCoefficients::makeHighPass (rate, frequency, ramps.lowQ));
    }

    if (takeNewKey (tone.lastMidSum, bandKey (ramps.midFreq, ramps.midQ, ramps.midGain)))
        setPair (tone.midPeakL, tone.midPeakR,
                 juce::IIRCoefficients::makePeakFilter (rate, limitedFrequency (ramps.midFreq, rate), ramps.midQ,
                                                        limitedPeakGain (ramps.midGain)));

    if (takeNewKey (tone.lastHighSum, bandKey (ramps.hiFreq, ramps.hiQ, ramps.hiGain)))
        setPair (tone.highShelfL, tone.highShelfR,
                 juce::IIRCoefficients::makeHighShelf (rate, limitedFrequency (ramps.hiFreq, rate), ramps.hiQ,
                                                       ramps.hiGain));

    const auto cutoff = ramps.damper - ramps.ruvuv * 1800.0f / 100.0f;
    if (takeNewKey (tone.lastDamperCutoff, cutoff))
        setPair (tone.damperL, tone.damperR,
                 juce::IIRCoefficients::makeLowPass (rate, limitedFrequency (cutoff, rate)));
}

Saturation saturationOf (const RampValues& ramps)
{
    Saturation saturation;
    saturation.drive = ramps.drive;
    // Ruvuv raises the saturation's input and its fold together.
    saturation.ruvuvBoost = ramps.ruvuv / 100.0f + 1.0f;
    saturation.inputGain = (ramps.satGain * -3.0f) / 100.0f + 8.0f;
    saturation.fold = (ramps.shape * 0.5f / 100.0f + 1.0f) * saturation.ruvuvBoost;
    saturation.level = ramps.saturation / 100.0f;
    saturation.makeUp = (ramps.satGain * 0.38f) / 100.0f + 0.12f;
    return saturation;
}

// The block's samples. While no smoother moves (the usual case) the coefficients and the
// saturation factors are those of the first sample throughout.
template <bool rampsMoving> void runSamples (ToneSection& tone, const StageBlock& block, bool lowCutOn)
{
    ToneChannel left{tone.lowShelfL, tone.lowCutL, tone.midPeakL, tone.highShelfL, tone.damperL};
    ToneChannel right{tone.lowShelfR, tone.lowCutR, tone.midPeakR, tone.highShelfR, tone.damperR};

    auto ramps = stepRamps (tone);
    updateCoefficients (tone, ramps, lowCutOn);
    auto saturation = saturationOf (ramps);

    for (int i = 0; i < block.numSamples; ++i)
    {
        if constexpr (rampsMoving)
        {
            if (i > 0)
            {
                ramps = stepRamps (tone);
                updateCoefficients (tone, ramps, lowCutOn);
                saturation = saturationOf (ramps);
            }
        }

        block.left[i] = left.process (block.left[i], saturation, lowCutOn);
        if (block.stereo)
            block.right[i] = right.process (block.right[i], saturation, lowCutOn);
    }
}
} // namespace

void Rirorezo3AudioProcessor::prepareToneStage()
{
    auto& tone = *toneSection;
    tone.sampleRate = getSampleRate();
    resetRamps (tone, toneRamps, tone.sampleRate);

    tone.lastLowCut = -1;
    tone.lastLowSum = unsetFilterKey;
    tone.lastMidSum = unsetFilterKey;
    tone.lastHighSum = unsetFilterKey;
    tone.lastDamperCutoff = unsetFilterKey;
}

void Rirorezo3AudioProcessor::runToneStage (const StageBlock& block)
{
    auto& tone = *toneSection;

    for (const auto& entry : toneRamps)
        (tone.*entry.ramp).setTargetValue (loadValue (pluginParameters.*entry.value));
    const std::int32_t lowCut = loadValue (pluginParameters.toneLowCutValue) ? 1 : 0;

    // Switched off, the smoothers keep time so the section comes back at its current settings.
    if (!loadValue (pluginParameters.tonePowerValue))
    {
        advanceRamps (tone, toneRamps, block.numSamples);
        return;
    }

    if (tone.lastLowCut != lowCut)
    {
        tone.lastLowCut = lowCut;
        tone.lastLowSum = unsetFilterKey;
    }

    if (block.numSamples == 0)
        return;
    if (anyRamping (tone, toneRamps))
        runSamples<true> (tone, block, lowCut != 0);
    else
        runSamples<false> (tone, block, lowCut != 0);
}
