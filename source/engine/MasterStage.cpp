#include "engine/FilterLimits.h"
#include "engine/MasterSection.h"
#include "engine/PluginProcessor.h"
#include "engine/RampTable.h"

#include <cmath>

namespace
{
constexpr double noiseCorner = 250.0;
constexpr double noiseQ = 0.5;

using P = PluginParameters;

// In the order the stage sets their targets.
constexpr SmootherEntry<MasterSection> masterRamps[] = {
    {&MasterSection::smoothOutputVolume, 0.01, &P::outputVolumeValue},
    {&MasterSection::smoothDryWetMix, 0.01, &P::dryWetMixValue},
    {&MasterSection::smoothNoiseLevel, 0.01, &P::noiseLevelValue},
};

// One draw as a noise sample uniform over -0.1..0.1, both ends included.
float noiseSample (AdditiveFeedbackRandom& random)
{
    constexpr float half = 1073741824.0f;
    constexpr float scale = 1.0f / 1073741824.0f;
    return ((float)random.next() - half) * scale * 0.1f;
}

// One sample's gains, from one step of each smoother.
struct Gains
{
    float volume, dry, wet, noise;
};

Gains stepGains (MasterSection& master, float noiseBoost)
{
    const auto volume = master.smoothOutputVolume.getNextValue();
    // Rounding along a ramp must not take the square roots below zero.
    const auto mix = juce::jlimit (0.0f, 1.0f, master.smoothDryWetMix.getNextValue());
    const auto level = master.smoothNoiseLevel.getNextValue();
    return {volume, std::sqrt (1.0f - mix), std::sqrt (mix), level * noiseBoost};
}

// The mixed output of one channel's sample; the dry part never takes the volume.
float mixed (float processed, float dry, float noise, const Gains& gains)
{
    const auto wet = (processed + noise) * gains.volume;
    return dry * gains.dry + wet * gains.wet;
}

void processSample (MasterSection& master, const StageBlock& block, int i, const Gains& gains,
                    AdditiveFeedbackRandom& random)
{
    // Drawn and filtered at every sample, so the generator's sequence and the filter states do not
    // depend on the noise level.
    const auto filtered = master.noiseHighShelf.processSingleSampleRaw (
        master.noiseLowShelf.processSingleSampleRaw (noiseSample (random)));
    const auto noise = gains.noise * filtered;

    block.left[i] = mixed (block.left[i], block.dryLeft[i], noise, gains);
    if (block.stereo)
        block.right[i] = mixed (block.right[i], block.dryRight[i], noise, gains);
}

// The block's samples after the first. While no smoother moves the gains stay those of the
// first of them.
template <bool rampsMoving>
void runSamples (MasterSection& master, const StageBlock& block, float noiseBoost, AdditiveFeedbackRandom& random)
{
    auto gains = stepGains (master, noiseBoost);
    for (int i = 1; i < block.numSamples; ++i)
    {
        if constexpr (rampsMoving)
            if (i > 1)
                gains = stepGains (master, noiseBoost);
        processSample (master, block, i, gains, random);
    }
}
} // namespace

void Rirorezo3AudioProcessor::prepareMasterStage()
{
    auto& master = *masterSection;
    const auto rate = getSampleRate();
    const auto corner = limitedFrequency (noiseCorner, rate);

    master.noiseLowShelf.setCoefficients (juce::IIRCoefficients::makeLowShelf (rate, corner, noiseQ, 1.2f));
    master.noiseHighShelf.setCoefficients (juce::IIRCoefficients::makeHighShelf (rate, corner, noiseQ, 0.08f));
    resetRamps (master, masterRamps, rate);
}

void Rirorezo3AudioProcessor::runMasterStage (const StageBlock& block)
{
    auto& master = *masterSection;

    const auto ruvuv = loadValue (pluginParameters.ruvuvMeltValue);
    const auto noiseBoost = ruvuv * 4.0f / 100.0f + 1.0f;

    if (block.numSamples == 0)
        return;
    processSample (master, block, 0, stepGains (master, noiseBoost), instanceRandom);

    // Set after the first sample, so a change takes effect from the block's second sample.
    for (const auto& entry : masterRamps)
        (master.*entry.ramp).setTargetValue (loadValue (pluginParameters.*entry.value));
    if (block.numSamples == 1)
        return;

    if (anyRamping (master, masterRamps))
        runSamples<true> (master, block, noiseBoost, instanceRandom);
    else
        runSamples<false> (master, block, noiseBoost, instanceRandom);
}
