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
constexpr RampSpec<T> toneRamps[] = {
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
    RampValues v;
    v.drive = tone.smoothDrive.getNextValue();
    v.lowFreq = tone.smoothLowFreq.getNextValue();
    v.lowQ = tone.smoothLowQ.getNextValue();
    v.lowGain = tone.smoothLowGain.getNextValue();
    v.midFreq = tone.smoothMidFreq.getNextValue();
    v.midQ = tone.smoothMidQ.getNextValue();
    v.midGain = tone.smoothMidGain.getNextValue();
    v.hiFreq = tone.smoothHiFreq.getNextValue();
    v.hiQ = tone.smoothHiQ.getNextValue();
    v.hiGain = tone.smoothHiGain.getNextValue();
    v.shape = tone.smoothShape.getNextValue();
    v.satGain = tone.smoothSatGain.getNextValue();
    v.damper = tone.smoothDamper.getNextValue();
    v.saturation = tone.smoothSaturation.getNextValue();
    v.ruvuv = tone.smoothRuvuv.getNextValue();
    return v;
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

void updateCoefficients (ToneSection& tone, const RampValues& v, bool lowCutOn)
{
    const auto rate = tone.sampleRate;
    if (takeNewKey (tone.lastLowSum, bandKey (v.lowFreq, v.lowQ, v.lowGain)))
    {
        const auto frequency = limitedFrequency (v.lowFreq, rate);
        setPair (tone.lowShelfL, tone.lowShelfR,
                 juce::IIRCoefficients::makeLowShelf (rate, frequency, v.lowQ, v.lowGain));
        if (lowCutOn)
            setPair (tone.lowCutL, tone.lowCutR, juce::IIRCoefficients::makeHighPass (rate, frequency, v.lowQ));
    }

    if (takeNewKey (tone.lastMidSum, bandKey (v.midFreq, v.midQ, v.midGain)))
        setPair (tone.midPeakL, tone.midPeakR,
                 juce::IIRCoefficients::makePeakFilter (rate, limitedFrequency (v.midFreq, rate), v.midQ,
                                                        limitedPeakGain (v.midGain)));

    if (takeNewKey (tone.lastHighSum, bandKey (v.hiFreq, v.hiQ, v.hiGain)))
        setPair (tone.highShelfL, tone.highShelfR,
                 juce::IIRCoefficients::makeHighShelf (rate, limitedFrequency (v.hiFreq, rate), v.hiQ, v.hiGain));

    const auto cutoff = v.damper - v.ruvuv * 1800.0f / 100.0f;
    if (takeNewKey (tone.lastDamperCutoff, cutoff))
        setPair (tone.damperL, tone.damperR,
                 juce::IIRCoefficients::makeLowPass (rate, limitedFrequency (cutoff, rate)));
}

Saturation saturationOf (const RampValues& v)
{
    Saturation saturation;
    saturation.drive = v.drive;
    // Ruvuv raises the saturation's input and its fold together.
    saturation.ruvuvBoost = v.ruvuv / 100.0f + 1.0f;
    saturation.inputGain = (v.satGain * -3.0f) / 100.0f + 8.0f;
    saturation.fold = (v.shape * 0.5f / 100.0f + 1.0f) * saturation.ruvuvBoost;
    saturation.level = v.saturation / 100.0f;
    saturation.makeUp = (v.satGain * 0.38f) / 100.0f + 0.12f;
    return saturation;
}

// The block's samples. While no smoother moves (the usual case) the coefficients and the
// saturation factors are those of the first sample throughout.
template <bool rampsMoving> void runSamples (ToneSection& tone, const StageBlock& block, bool lowCutOn)
{
    ToneChannel left{tone.lowShelfL, tone.lowCutL, tone.midPeakL, tone.highShelfL, tone.damperL};
    ToneChannel right{tone.lowShelfR, tone.lowCutR, tone.midPeakR, tone.highShelfR, tone.damperR};

    auto v = stepRamps (tone);
    updateCoefficients (tone, v, lowCutOn);
    auto saturation = saturationOf (v);

    for (int i = 0; i < block.numSamples; ++i)
    {
        if constexpr (rampsMoving)
        {
            if (i > 0)
            {
                v = stepRamps (tone);
                updateCoefficients (tone, v, lowCutOn);
                saturation = saturationOf (v);
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

    for (const auto& spec : toneRamps)
        (tone.*spec.ramp).setTargetValue (loadValue (pluginParameters.*spec.value));
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
