#include "engine/FilterLimits.h"
#include "engine/PluginProcessor.h"
#include "engine/SoftClip.h"
#include "engine/ToneSection.h"

#include <cmath>

namespace
{
// Each smoother with the mirror value it follows and its ramp length, in the order the stage
// sets their targets.
struct ToneRamp
{
    ToneSection::Ramp ToneSection::*ramp;
    std::atomic<float> PluginParameters::*value;
    double seconds;
};

constexpr ToneRamp toneRamps[] = {
    {&ToneSection::smoothDrive, &PluginParameters::toneDriveValue, 0.01},
    {&ToneSection::smoothLowFreq, &PluginParameters::toneLowFreqValue, 0.05},
    {&ToneSection::smoothLowQ, &PluginParameters::toneLowQValue, 0.01},
    {&ToneSection::smoothLowGain, &PluginParameters::toneLowGainValue, 0.01},
    {&ToneSection::smoothMidFreq, &PluginParameters::toneMidFreqValue, 0.05},
    {&ToneSection::smoothMidQ, &PluginParameters::toneMidQValue, 0.01},
    {&ToneSection::smoothMidGain, &PluginParameters::toneMidGainValue, 0.01},
    {&ToneSection::smoothHiFreq, &PluginParameters::toneHiFreqValue, 0.05},
    {&ToneSection::smoothHiQ, &PluginParameters::toneHiQValue, 0.01},
    {&ToneSection::smoothHiGain, &PluginParameters::toneHiGainValue, 0.01},
    {&ToneSection::smoothShape, &PluginParameters::toneShapeValue, 0.01},
    {&ToneSection::smoothSatGain, &PluginParameters::toneSatGainValue, 0.01},
    {&ToneSection::smoothDamper, &PluginParameters::toneDamperValue, 0.05},
    {&ToneSection::smoothSaturation, &PluginParameters::toneSaturationValue, 0.01},
    {&ToneSection::smoothRuvuv, &PluginParameters::ruvuvMeltValue, 0.01},
};

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
        const auto out =
            x * (1.0f - saturation.level) + std::sin (w * saturation.fold) * saturation.makeUp * saturation.level;
        return damper.processSingleSampleRaw (out);
    }
};
} // namespace

void Rirorezo3AudioProcessor::prepareToneStage()
{
    auto& tone = *toneSection;
    tone.sampleRate = getSampleRate();

    for (const auto& entry : toneRamps)
        (tone.*entry.ramp).reset (tone.sampleRate, entry.seconds);

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
        for (const auto& entry : toneRamps)
            for (int i = 0; i < block.numSamples; ++i)
                (tone.*entry.ramp).getNextValue();
        return;
    }

    const auto rate = tone.sampleRate;
    ToneChannel left{tone.lowShelfL, tone.lowCutL, tone.midPeakL, tone.highShelfL, tone.damperL};
    ToneChannel right{tone.lowShelfR, tone.lowCutR, tone.midPeakR, tone.highShelfR, tone.damperR};

    if (tone.lastLowCut != lowCut)
    {
        tone.lastLowCut = lowCut;
        tone.lastLowSum = unsetFilterKey;
    }

    for (int i = 0; i < block.numSamples; ++i)
    {
        const auto lowFreq = tone.smoothLowFreq.getNextValue();
        const auto lowQ = tone.smoothLowQ.getNextValue();
        const auto lowGain = tone.smoothLowGain.getNextValue();
        if (takeNewKey (tone.lastLowSum, bandKey (lowFreq, lowQ, lowGain)))
        {
            const auto frequency = limitedFrequency (lowFreq, rate);
            setPair (tone.lowShelfL, tone.lowShelfR,
                     juce::IIRCoefficients::makeLowShelf (rate, frequency, lowQ, lowGain));
            if (lowCut != 0)
                setPair (tone.lowCutL, tone.lowCutR, juce::IIRCoefficients::makeHighPass (rate, frequency, lowQ));
        }

        const auto midFreq = tone.smoothMidFreq.getNextValue();
        const auto midQ = tone.smoothMidQ.getNextValue();
        const auto midGain = tone.smoothMidGain.getNextValue();
        if (takeNewKey (tone.lastMidSum, bandKey (midFreq, midQ, midGain)))
            setPair (tone.midPeakL, tone.midPeakR,
                     juce::IIRCoefficients::makePeakFilter (rate, limitedFrequency (midFreq, rate), midQ,
                                                            limitedPeakGain (midGain)));

        const auto hiFreq = tone.smoothHiFreq.getNextValue();
        const auto hiQ = tone.smoothHiQ.getNextValue();
        const auto hiGain = tone.smoothHiGain.getNextValue();
        if (takeNewKey (tone.lastHighSum, bandKey (hiFreq, hiQ, hiGain)))
            setPair (tone.highShelfL, tone.highShelfR,
                     juce::IIRCoefficients::makeHighShelf (rate, limitedFrequency (hiFreq, rate), hiQ, hiGain));

        Saturation saturation{};
        saturation.drive = tone.smoothDrive.getNextValue();

        const auto ruvuv = tone.smoothRuvuv.getNextValue();
        const auto damper = tone.smoothDamper.getNextValue();
        const auto cutoff = damper - ruvuv * 1800.0f / 100.0f;
        if (takeNewKey (tone.lastDamperCutoff, cutoff))
            setPair (tone.damperL, tone.damperR,
                     juce::IIRCoefficients::makeLowPass (rate, limitedFrequency (cutoff, rate)));

        // Ruvuv raises the saturation's input and its fold together.
        saturation.ruvuvBoost = ruvuv / 100.0f + 1.0f;
        const auto satGain = tone.smoothSatGain.getNextValue();
        const auto shape = tone.smoothShape.getNextValue();
        saturation.inputGain = (satGain * -3.0f) / 100.0f + 8.0f;
        saturation.fold = (shape * 0.5f / 100.0f + 1.0f) * saturation.ruvuvBoost;
        saturation.level = tone.smoothSaturation.getNextValue() / 100.0f;
        saturation.makeUp = (satGain * 0.38f) / 100.0f + 0.12f;

        block.left[i] = left.process (block.left[i], saturation, lowCut != 0);
        if (block.stereo)
            block.right[i] = right.process (block.right[i], saturation, lowCut != 0);
    }
}
