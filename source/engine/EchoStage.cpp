#include "engine/EchoSection.h"
#include "engine/EngineMaths.h"
#include "engine/FilterLimits.h"
#include "engine/MeltSection.h"
#include "engine/PluginProcessor.h"
#include "engine/RampTable.h"
#include "engine/SoftClip.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace
{
// Far beyond any line: a longer delay would only wrap again, and a bound keeps the glide finite.
constexpr double maxDelaySamples = 1.0e9;

// No audio comes near this; bounding the loop sum keeps the filters and the soft clip finite
// for any finite input.
constexpr float loopLimit = 1.0e6f;

// Factor limits, indexed by the min and max choices.
constexpr std::array<float, 5> lowerLimits{0.125f, 0.1875f, 0.25f, 0.375f, 0.5f};
constexpr std::array<float, 4> upperLimits{0.75f, 1.0f, 1.5f, 2.0f};

template <size_t size> float factorLimit (const std::array<float, size>& table, int index)
{
    return table[(size_t)juce::jlimit (0, (int)size - 1, index)];
}

using P = PluginParameters;
using E = EchoSection;

// In the order the stage sets their targets.
constexpr SmootherEntry<E> echoRamps[] = {
    {&E::feedbackSmooth, 0.01, &P::echoFeedbackValue},
    {&E::lowPassFreqSmooth, 0.05, &P::echoLpFreqValue},
    {&E::highPassFreqSmooth, 0.05, &P::echoHpFreqValue},
    {&E::inputSmooth, 0.01, &P::echoInputValue},
    {&E::mixSmooth, 0.01, &P::echoMixValue},
};

// A target that is not a number keeps the last one.
void setDelayTarget (double& target, double samples)
{
    if (!std::isnan (samples))
        target = juce::jlimit (-maxDelaySamples, maxDelaySamples, samples);
}

// Reads before the write of this sample and takes the older of the two taps, so a whole-number
// delay D returns the sample written D + 1 samples ago.
float readLine (const EchoSection::Line& line, int writeIndex, double delay)
{
    const auto position = EchoSection::Line::wrapped (writeIndex - delay);
    const auto index = (int)position;
    const auto fraction = (float)(position - index);
    return (1.0f - fraction) * (float)line[EchoSection::Line::previous (index)] + fraction * (float)line[index];
}

// Below the shared Nyquist limit (the default 20 kHz low-pass passes it below 40.8 kHz), and above
// 0 Hz, where the coefficients would be undefined.
double usableCutoff (float frequency, double sampleRate)
{
    return limitedFrequency (std::max (1.0, (double)frequency), sampleRate);
}

// A melt output that is not a number must not reach the delay times or the stage gain.
float finiteOrZero (float x)
{
    return std::isfinite (x) ? x : 0.0f;
}

void updateFilters (EchoSection& echo, float lowPass, float highPass)
{
    if (takeNewKey (echo.lowPassFreqCache, lowPass))
        setPair (echo.lowPassL, echo.lowPassR,
                 juce::IIRCoefficients::makeLowPass (echo.sampleRate, usableCutoff (lowPass, echo.sampleRate)));
    if (takeNewKey (echo.highPassFreqCache, highPass))
        setPair (echo.highPassL, echo.highPassR,
                 juce::IIRCoefficients::makeHighPass (echo.sampleRate, usableCutoff (highPass, echo.sampleRate)));
}

// The dry and wet weights of the mix.
struct MixGains
{
    float dry, wet;
    bool equalPower;
};

MixGains mixGains (float wetShare, bool equalPower)
{
    // A ramp may overshoot its end by a rounding step; the roots must not see a negative share.
    if (equalPower)
        return {std::sqrt (std::max (0.0f, 1.0f - wetShare)), std::sqrt (std::max (0.0f, wetShare)), true};
    return {1.0f - wetShare, wetShare, false};
}

float mixSample (float dry, float wet, const MixGains& gains, float stageGain)
{
    // The delayed sample's product is formed in double precision.
    return (float)(dry * gains.dry + (double)wet * gains.wet) * stageGain;
}

// One sample's smoother values; the smoothers are independent, so each may be stepped as the
// sample begins.
struct RampValues
{
    float feedback, input, mix, lowPass, highPass;
};

RampValues stepRamps (EchoSection& echo)
{
    return {echo.feedbackSmooth.getNextValue(), echo.inputSmooth.getNextValue(), echo.mixSmooth.getNextValue(),
            echo.lowPassFreqSmooth.getNextValue(), echo.highPassFreqSmooth.getNextValue()};
}

// What the block's samples share.
struct BlockValues
{
    bool beatSync, tempoKnown, autoFactor, pingPong, loop, filterOn, powerOn, equalPower;
    float time, echoSend, stageGain, lower, upper, manualFactor, threshold;
    double modTarget, factorPeriod, slewCoefficient, glideCoefficient, beatsPerSample, secondsPerBeat, timeLeft,
        beatLeft, rateR, beat;
};

// The block's samples. While no smoother moves (the usual case) the gains, the mix weights and
// the filters' keys stay those of the first sample.
template <bool rampsMoving> void runSamples (EchoSection& echo, const StageBlock& block, const BlockValues& perBlock)
{
    auto beat = perBlock.beat;
    auto ramps = stepRamps (echo);
    auto gains = mixGains (ramps.mix, perBlock.equalPower);

    for (int n = 0; n < block.numSamples; ++n)
    {
        if constexpr (rampsMoving)
        {
            if (n > 0)
            {
                ramps = stepRamps (echo);
                gains = mixGains (ramps.mix, perBlock.equalPower);
            }
        }

        const auto inL = block.left[n];
        const auto inR = block.right[n];

        echo.factorLfo.phase = (double)(float)fractionalPart (beat / perBlock.factorPeriod);
        auto square = 0.5f;
        if (echo.factorLfo.enabled)
        {
            const auto phase = std::fmod ((float)echo.factorLfo.phase, 1.0f);
            square = phase > perBlock.threshold ? 1.0f : (phase < perBlock.threshold ? 0.0f : 0.5f);
        }

        if (std::abs (square - echo.factorSlew) < 0.01f)
            echo.factorSlew = square;
        else
            echo.factorSlew = (float)(echo.factorSlew + ((double)square - echo.factorSlew) * perBlock.slewCoefficient);

        echo.meltMod = echo.meltMod + (perBlock.modTarget - echo.meltMod) * (double)0.002f;

        // The flag set here is first seen by the next sample's square wave.
        echo.factorLfo.enabled = perBlock.autoFactor;
        const auto factor = perBlock.autoFactor ? perBlock.lower + (perBlock.upper - perBlock.lower) *
                                                                       juce::jlimit (0.0f, 1.0f, echo.factorSlew)
                                                : perBlock.manualFactor;
        const auto delayFactor = factor + echo.meltMod * perBlock.echoSend * (double)0.01f;

        if (!perBlock.beatSync)
        {
            setDelayTarget (echo.targetDelayL, delayFactor * perBlock.timeLeft * 0.001 * echo.sampleRate);
            setDelayTarget (echo.targetDelayR, delayFactor * perBlock.time * 0.001 * echo.sampleRate);
        }
        else if (perBlock.tempoKnown)
        {
            setDelayTarget (echo.targetDelayL,
                            perBlock.beatLeft * delayFactor * perBlock.secondsPerBeat * echo.sampleRate);
            setDelayTarget (echo.targetDelayR,
                            perBlock.rateR * delayFactor * perBlock.secondsPerBeat * echo.sampleRate);
        }

        echo.delayL = echo.delayL - (echo.delayL - echo.targetDelayL) * perBlock.glideCoefficient;
        echo.delayR = echo.delayR - (echo.delayR - echo.targetDelayR) * perBlock.glideCoefficient;

        const auto delayedL = readLine (echo.delayLineL, echo.writeIndex, echo.delayL);
        const auto delayedR = readLine (echo.delayLineR, echo.writeIndex, echo.delayR);

        const auto loopGain = perBlock.loop ? 1.0f : ramps.feedback;

        // Until the write below, the loop states still hold the previous sample's delayed samples.
        echo.feedbackL = juce::jlimit (-loopLimit, loopLimit, inL * ramps.input + echo.feedbackL * loopGain);
        echo.feedbackR = juce::jlimit (-loopLimit, loopLimit,
                                       echo.feedbackR * loopGain + (perBlock.pingPong ? 0.0f : inR * ramps.input));

        if (perBlock.powerOn)
        {
            if (perBlock.filterOn)
            {
                updateFilters (echo, ramps.lowPass, ramps.highPass);
                echo.feedbackL =
                    echo.highPassL.processSingleSampleRaw (echo.lowPassL.processSingleSampleRaw (echo.feedbackL));
                echo.feedbackR =
                    echo.highPassR.processSingleSampleRaw (echo.lowPassR.processSingleSampleRaw (echo.feedbackR));
            }

            if (block.stereo)
            {
                // Ping-pong crosses the channels on writing.
                echo.delayLineL[echo.writeIndex] = softClip (perBlock.pingPong ? echo.feedbackR : echo.feedbackL);
                echo.delayLineR[echo.writeIndex] = softClip (perBlock.pingPong ? echo.feedbackL : echo.feedbackR);
            }
            else
            {
                echo.delayLineL[echo.writeIndex] = softClip (echo.feedbackL);
            }

            echo.feedbackL = delayedL;
            echo.feedbackR = delayedR;

            block.left[n] = mixSample (inL, delayedL, gains, perBlock.stageGain);
            if (block.stereo)
                block.right[n] = mixSample (inR, delayedR, gains, perBlock.stageGain);
        }
        else
        {
            // Switched off, the stage passes the audio and silences the line under the write
            // position, so switching on again brings back no old repeats.
            echo.feedbackL = 0.0f;
            echo.feedbackR = 0.0f;
            echo.delayLineL[echo.writeIndex] = 0.0;
            echo.delayLineR[echo.writeIndex] = 0.0;
        }

        beat += perBlock.beatsPerSample;
        echo.writeIndex = EchoSection::Line::next (echo.writeIndex);
    }
}
} // namespace

void Rirorezo3AudioProcessor::prepareEchoStage()
{
    auto& echo = *echoSection;
    const auto rate = engineSampleRate;

    echo.sampleRate = rate;
    echo.factorLfo.sampleRate = rate;
    clearEchoDelay();

    resetRamps (echo, echoRamps, rate);

    // Forces both coefficient sets to be computed by the first filtered sample.
    echo.lowPassFreqCache = unsetFilterKey;
    echo.highPassFreqCache = unsetFilterKey;
    echo.factorSlew = 0.0f;
    echo.targetDelayL = 0.0;
    echo.targetDelayR = 0.0;
    echo.meltMod = 0.0;
    echo.delayL = 0.0;
    echo.delayR = 0.0;
}

void Rirorezo3AudioProcessor::clearEchoDelay()
{
    auto& echo = *echoSection;
    echo.writeIndex = 0;
    echo.delayLineL.clear();
    echo.delayLineR.clear();
    echo.feedbackL = 0.0f;
    echo.feedbackR = 0.0f;
}

void Rirorezo3AudioProcessor::runEchoStage (const StageBlock& block)
{
    auto& echo = *echoSection;
    auto& melt = *meltSection;
    const auto& values = pluginParameters;

    BlockValues perBlock;
    perBlock.beatSync = loadValue (values.echoSyncValue) == 1;
    const auto rateLeft = loadValue (values.echoRateLeftValue);
    const auto rateRight = loadValue (values.echoRateRightValue);
    const auto minIndex = loadValue (values.echoMinValue);
    const auto maxIndex = loadValue (values.echoMaxValue);
    const auto factorRate = loadValue (values.echoFactorRateValue);
    perBlock.time = loadValue (values.echoTimeValue);
    const auto offset = loadValue (values.echoOffsetValue);
    const auto offsetMs = loadValue (values.echoOffsetMsValue);
    const auto length = loadValue (values.echoLengthValue);
    const auto glide = loadValue (values.echoGlideValue);
    perBlock.equalPower = loadValue (values.echoMixModeValue) == 0;
    perBlock.autoFactor = loadValue (values.echoFactorModeValue) == 1;
    const auto link = loadValue (values.echoLinkValue);
    perBlock.pingPong = loadValue (values.echoPingPongValue);
    perBlock.loop = loadValue (values.echoLoopValue);
    perBlock.filterOn = loadValue (values.echoFilterValue);
    perBlock.powerOn = loadValue (values.echoPowerValue);
    perBlock.echoSend = loadValue (values.meltEchoSendValue);

    // The melt's ramps are stepped here too, even with the melt off, in this order: each step
    // moves the melt's own state.
    const auto flowMix = melt.smoothFlowMix.getNextValue();
    const auto mondo = melt.smoothRuvuv.getNextValue();
    const auto flowLevel1 = melt.smoothFlowLevel.getNextValue();
    const auto flowLevel2 = melt.smoothFlowLevel.getNextValue();
    const auto jumpLevel = melt.smoothJumpLevel.getNextValue();
    const auto jumpCurve = melt.smoothJumpCurve.getNextValue();
    const auto envelope = melt.jumpEnvelope.getNextValue();

    perBlock.modTarget =
        finiteOrZero (juce::jmap (mondo, 0.0f, 100.0f, 1.0f, 3.0f) *
                      ((1.0f - flowMix) * flowLevel1 * melt.wowL + flowMix * flowLevel2 * melt.flutterL +
                       jumpLevel * 32.0f * juce::jmap (jumpCurve, 0.0f, 100.0f, 1.0f, 0.8f) * envelope * envelope));

    auto duck = 0.0f;
    if (melt.meltOn && melt.dropoutOn)
    {
        const auto dropoutLevel = melt.smoothDropoutLevel.getNextValue();
        const auto mondo2 = melt.smoothRuvuv.getNextValue();
        duck = finiteOrZero (
            dropoutLevel *
            juce::jlimit (0.0f, 1.0f, juce::jmap (mondo2, 0.0f, 100.0f, 1.0f, 2.0f) * dropoutLevel * melt.dropoutL));
    }
    perBlock.stageGain = 1.0f - 0.5f * duck * perBlock.echoSend;

    for (const auto& entry : echoRamps)
        (echo.*entry.ramp).setTargetValue (loadValue (values.*entry.value));

    const auto rateL = beatTables::beats (beatTables::wow, rateLeft);
    perBlock.rateR = link ? rateL : beatTables::beats (beatTables::wow, rateRight);
    perBlock.lower = factorLimit (lowerLimits, minIndex);
    perBlock.upper = factorLimit (upperLimits, maxIndex);
    perBlock.factorPeriod = beatTables::beats (beatTables::jump, factorRate);

    const auto noGlide = glide < 1.0f;
    perBlock.slewCoefficient = noGlide ? 0.5f : juce::jmap (glide, 0.0f, 100.0f, 0.05f, 0.00001f);
    perBlock.glideCoefficient = noGlide ? 0.5f : juce::jmap (glide, 0.0f, 100.0f, 0.005f, 0.00009f);

    perBlock.manualFactor = juce::jmap (length, -100.0f, 100.0f, perBlock.lower, perBlock.upper);
    perBlock.threshold = juce::jlimit (0.0f, 1.0f, juce::jmap (length, -100.0f, 100.0f, 1.0f, 0.0f));
    const auto offsetFactor = juce::jmap (offset, 0.0f, 100.0f, 1.0f, 1.3f);
    perBlock.tempoKnown = bpm > 0.0 && std::isfinite (bpm);
    perBlock.beatsPerSample = perBlock.tempoKnown ? bpm / 60.0 / echo.sampleRate : 0.0;
    perBlock.secondsPerBeat = perBlock.tempoKnown ? 60.0 / bpm : 0.0;
    perBlock.timeLeft = (double)(perBlock.time + offsetMs);
    perBlock.beatLeft = rateL * offsetFactor;
    perBlock.beat = std::isfinite (ppqPosition) ? ppqPosition : 0.0;

    if (block.numSamples == 0)
        return;
    if (anyRamping (echo, echoRamps))
        runSamples<true> (echo, block, perBlock);
    else
        runSamples<false> (echo, block, perBlock);
}

double Rirorezo3AudioProcessor::echoTailSeconds() const
{
    const auto& p = pluginParameters;
    if (!loadValue (p.echoPowerValue))
        return 0.0;

    // With the loop on, or a feedback of 100 % or more, the repeats never die away.
    const auto feedback = (double)loadValue (p.echoFeedbackValue);
    if (loadValue (p.echoLoopValue) || !(feedback < 1.0))
        return std::numeric_limits<double>::infinity();

    // The longest delay factor the settings allow: the upper limit in Auto, the manual factor
    // otherwise, plus the most the melt's modulation can add (its oscillators swing up to 1.75).
    const auto lower = factorLimit (lowerLimits, loadValue (p.echoMinValue));
    const auto upper = factorLimit (upperLimits, loadValue (p.echoMaxValue));
    const auto factor = loadValue (p.echoFactorModeValue) == 1
                            ? std::max (lower, upper)
                            : juce::jmap (loadValue (p.echoLengthValue), -100.0f, 100.0f, lower, upper);
    const auto meltModulation = juce::jmap (loadValue (p.ruvuvMeltValue), 0.0f, 100.0f, 1.0f, 3.0f) *
                                (loadValue (p.meltFlowLevelValue) * 1.75f + loadValue (p.meltJumpLevelValue) * 32.0f);
    const auto delayFactor = (double)factor + (double)meltModulation * loadValue (p.meltEchoSendValue) * 0.01;

    double repeatSeconds = 0.0;
    if (loadValue (p.echoSyncValue) == 1)
    {
        const auto rateLeft = beatTables::beats (beatTables::wow, loadValue (p.echoRateLeftValue)) *
                              juce::jmap (loadValue (p.echoOffsetValue), 0.0f, 100.0f, 1.0f, 1.3f);
        const auto rateRight = loadValue (p.echoLinkValue)
                                   ? beatTables::beats (beatTables::wow, loadValue (p.echoRateLeftValue))
                                   : beatTables::beats (beatTables::wow, loadValue (p.echoRateRightValue));
        repeatSeconds =
            std::max (rateLeft, rateRight) * delayFactor * 60.0 / tailTempo.load (std::memory_order_relaxed);
    }
    else
    {
        const auto time = (double)loadValue (p.echoTimeValue);
        repeatSeconds = std::max (time, time + loadValue (p.echoOffsetMsValue)) * delayFactor * 0.001;
    }

    // Each repeat is the previous one times the feedback (the loop's filters and soft clip only
    // lower it), so a full-scale input falls below -100 dB after this many repeats.
    constexpr double silence = 1.0e-5;
    const auto repeats = feedback > 0.0 ? std::ceil (std::log (silence) / std::log (feedback)) : 1.0;
    return repeats * repeatSeconds;
}
