#include "engine/EchoSection.h"
#include "engine/EngineMaths.h"
#include "engine/FilterLimits.h"
#include "engine/MeltSection.h"
#include "engine/PluginProcessor.h"
#include "engine/SoftClip.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace
{
constexpr double lineLength = EchoSection::delayCapacity;

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

// Ramp lengths in samples; an unusable rate gives no ramp instead of an undefined conversion.
int rampSteps (double seconds, double sampleRate)
{
    const auto steps = std::floor (seconds * sampleRate);
    return steps >= 1.0 ? (int)std::min (steps, 1.0e8) : 0;
}

// A target that is not a number keeps the last one.
void setDelayTarget (double& target, double samples)
{
    if (!std::isnan (samples))
        target = juce::jlimit (-maxDelaySamples, maxDelaySamples, samples);
}

// Reads before the write of this sample and takes the older of the two taps, so a whole-number
// delay D returns the sample written D + 1 samples ago.
float readLine (const double* line, int writeIndex, double delay)
{
    auto position = writeIndex - delay;
    if (position < 0.0)
        position += lineLength;
    if (position < 0.0 || position >= lineLength)
    {
        position = std::fmod (position, lineLength);
        if (position < 0.0)
            position += lineLength;
        // Reads as the line's end would: the older tap is the last slot either way.
        if (position >= lineLength)
            position = 0.0;
    }

    const auto index = (int)position;
    const auto older = index > 0 ? index - 1 : EchoSection::delayCapacity - 1;
    const auto fraction = (float)(position - index);
    return (1.0f - fraction) * (float)line[older] + fraction * (float)line[index];
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

float mixSample (float dry, float wet, float wetShare, bool equalPower, float gain)
{
    // A ramp may overshoot its end by a rounding step; the roots must not see a negative share.
    const auto mixed = equalPower ? dry * std::sqrt (std::max (0.0f, 1.0f - wetShare)) +
                                        (double)wet * std::sqrt (std::max (0.0f, wetShare))
                                  : dry * (1.0f - wetShare) + (double)wet * wetShare;
    return (float)mixed * gain;
}
} // namespace

void Rirorezo3AudioProcessor::prepareEchoStage()
{
    auto& echo = *echoSection;
    const auto rate = engineSampleRate;

    echo.sampleRate = rate;
    echo.factorLfo.sampleRate = rate;
    clearEchoDelay();

    const auto shortRamp = rampSteps (0.01, rate);
    const auto filterRamp = rampSteps (0.05, rate);
    echo.feedbackSmooth.reset (shortRamp);
    echo.inputSmooth.reset (shortRamp);
    echo.mixSmooth.reset (shortRamp);
    echo.lowPassFreqSmooth.reset (filterRamp);
    echo.highPassFreqSmooth.reset (filterRamp);

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
    std::fill (std::begin (echo.delayLineL), std::end (echo.delayLineL), 0.0);
    std::fill (std::begin (echo.delayLineR), std::end (echo.delayLineR), 0.0);
    echo.feedbackL = 0.0f;
    echo.feedbackR = 0.0f;
}

void Rirorezo3AudioProcessor::runEchoStage (const StageBlock& block)
{
    auto& echo = *echoSection;
    auto& melt = *meltSection;
    const auto& values = pluginParameters;

    const auto beatSync = loadValue (values.echoSyncValue) == 1;
    const auto rateLeft = loadValue (values.echoRateLeftValue);
    const auto rateRight = loadValue (values.echoRateRightValue);
    const auto minIndex = loadValue (values.echoMinValue);
    const auto maxIndex = loadValue (values.echoMaxValue);
    const auto factorRate = loadValue (values.echoFactorRateValue);
    const auto time = loadValue (values.echoTimeValue);
    const auto offset = loadValue (values.echoOffsetValue);
    const auto offsetMs = loadValue (values.echoOffsetMsValue);
    const auto length = loadValue (values.echoLengthValue);
    const auto glide = loadValue (values.echoGlideValue);
    const auto input = loadValue (values.echoInputValue);
    const auto feedback = loadValue (values.echoFeedbackValue);
    const auto highPassFreq = loadValue (values.echoHpFreqValue);
    const auto lowPassFreq = loadValue (values.echoLpFreqValue);
    const auto mix = loadValue (values.echoMixValue);
    const auto equalPower = loadValue (values.echoMixModeValue) == 0;
    const auto autoFactor = loadValue (values.echoFactorModeValue) == 1;
    const auto link = loadValue (values.echoLinkValue);
    const auto pingPong = loadValue (values.echoPingPongValue);
    const auto loop = loadValue (values.echoLoopValue);
    const auto filterOn = loadValue (values.echoFilterValue);
    const auto powerOn = loadValue (values.echoPowerValue);
    const auto echoSend = loadValue (values.meltEchoSendValue);

    // The melt's ramps are stepped here too, even with the melt off, in this order: each step
    // moves the melt's own state.
    const auto flowMix = melt.smoothFlowMix.getNextValue();
    const auto mondo = melt.smoothRuvuv.getNextValue();
    const auto flowLevel1 = melt.smoothFlowLevel.getNextValue();
    const auto flowLevel2 = melt.smoothFlowLevel.getNextValue();
    const auto jumpLevel = melt.smoothJumpLevel.getNextValue();
    const auto jumpCurve = melt.smoothJumpCurve.getNextValue();
    const auto envelope = melt.jumpEnvelope.getNextValue();

    const auto modTarget =
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
    const auto stageGain = 1.0f - 0.5f * duck * echoSend;

    echo.feedbackSmooth.setTargetValue (feedback);
    echo.lowPassFreqSmooth.setTargetValue (lowPassFreq);
    echo.highPassFreqSmooth.setTargetValue (highPassFreq);
    echo.inputSmooth.setTargetValue (input);
    echo.mixSmooth.setTargetValue (mix);

    const auto rateL = beatTables::beats (beatTables::wow, rateLeft);
    const auto rateR = link ? rateL : beatTables::beats (beatTables::wow, rateRight);
    const auto lower = factorLimit (lowerLimits, minIndex);
    const auto upper = factorLimit (upperLimits, maxIndex);
    const auto factorPeriod = beatTables::beats (beatTables::jump, factorRate);

    const auto noGlide = glide < 1.0f;
    const double slewCoefficient = noGlide ? 0.5f : juce::jmap (glide, 0.0f, 100.0f, 0.05f, 0.00001f);
    const double glideCoefficient = noGlide ? 0.5f : juce::jmap (glide, 0.0f, 100.0f, 0.005f, 0.00009f);

    const auto manualFactor = juce::jmap (length, -100.0f, 100.0f, lower, upper);
    const auto threshold = juce::jlimit (0.0f, 1.0f, juce::jmap (length, -100.0f, 100.0f, 1.0f, 0.0f));
    const auto offsetFactor = juce::jmap (offset, 0.0f, 100.0f, 1.0f, 1.3f);
    const auto tempoKnown = bpm > 0.0 && std::isfinite (bpm);
    const auto beatsPerSample = tempoKnown ? bpm / 60.0 / echo.sampleRate : 0.0;
    const auto secondsPerBeat = tempoKnown ? 60.0 / bpm : 0.0;
    const auto timeLeft = (double)(time + offsetMs);
    const auto beatLeft = rateL * offsetFactor;

    auto beat = std::isfinite (ppqPosition) ? ppqPosition : 0.0;

    for (int n = 0; n < block.numSamples; ++n)
    {
        const auto inL = block.left[n];
        const auto inR = block.right[n];
        auto loopGain = echo.feedbackSmooth.getNextValue();
        const auto inputGain = echo.inputSmooth.getNextValue();
        const auto wetShare = echo.mixSmooth.getNextValue();

        echo.factorLfo.phase = (double)(float)fractionalPart (beat / factorPeriod);
        auto square = 0.5f;
        if (echo.factorLfo.enabled)
        {
            const auto phase = std::fmod ((float)echo.factorLfo.phase, 1.0f);
            square = phase > threshold ? 1.0f : (phase < threshold ? 0.0f : 0.5f);
        }

        if (std::abs (square - echo.factorSlew) < 0.01f)
            echo.factorSlew = square;
        else
            echo.factorSlew = (float)(echo.factorSlew + ((double)square - echo.factorSlew) * slewCoefficient);

        echo.meltMod = echo.meltMod + (modTarget - echo.meltMod) * (double)0.002f;

        // The flag set here is first seen by the next sample's square wave.
        echo.factorLfo.enabled = autoFactor;
        const auto factor =
            autoFactor ? lower + (upper - lower) * juce::jlimit (0.0f, 1.0f, echo.factorSlew) : manualFactor;
        const auto delayFactor = factor + echo.meltMod * echoSend * (double)0.01f;

        if (!beatSync)
        {
            setDelayTarget (echo.targetDelayL, delayFactor * timeLeft * 0.001 * echo.sampleRate);
            setDelayTarget (echo.targetDelayR, delayFactor * time * 0.001 * echo.sampleRate);
        }
        else if (tempoKnown)
        {
            setDelayTarget (echo.targetDelayL, beatLeft * delayFactor * secondsPerBeat * echo.sampleRate);
            setDelayTarget (echo.targetDelayR, rateR * delayFactor * secondsPerBeat * echo.sampleRate);
        }

        echo.delayL = echo.delayL - (echo.delayL - echo.targetDelayL) * glideCoefficient;
        echo.delayR = echo.delayR - (echo.delayR - echo.targetDelayR) * glideCoefficient;

        const auto delayedL = readLine (echo.delayLineL, echo.writeIndex, echo.delayL);
        const auto delayedR = readLine (echo.delayLineR, echo.writeIndex, echo.delayR);

        if (loop)
            loopGain = 1.0f;

        // Until the write below, the loop states still hold the previous sample's delayed samples.
        echo.feedbackL = juce::jlimit (-loopLimit, loopLimit, inL * inputGain + echo.feedbackL * loopGain);
        echo.feedbackR =
            juce::jlimit (-loopLimit, loopLimit, echo.feedbackR * loopGain + (pingPong ? 0.0f : inR * inputGain));

        const auto lowPass = echo.lowPassFreqSmooth.getNextValue();
        const auto highPass = echo.highPassFreqSmooth.getNextValue();

        if (powerOn)
        {
            if (filterOn)
            {
                updateFilters (echo, lowPass, highPass);
                echo.feedbackL =
                    echo.highPassL.processSingleSampleRaw (echo.lowPassL.processSingleSampleRaw (echo.feedbackL));
                echo.feedbackR =
                    echo.highPassR.processSingleSampleRaw (echo.lowPassR.processSingleSampleRaw (echo.feedbackR));
            }

            if (block.stereo)
            {
                // Ping-pong crosses the channels on writing.
                echo.delayLineL[echo.writeIndex] = softClip (pingPong ? echo.feedbackR : echo.feedbackL);
                echo.delayLineR[echo.writeIndex] = softClip (pingPong ? echo.feedbackL : echo.feedbackR);
            }
            else
            {
                echo.delayLineL[echo.writeIndex] = softClip (echo.feedbackL);
            }

            echo.feedbackL = delayedL;
            echo.feedbackR = delayedR;

            block.left[n] = mixSample (inL, delayedL, wetShare, equalPower, stageGain);
            if (block.stereo)
                block.right[n] = mixSample (inR, delayedR, wetShare, equalPower, stageGain);
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

        beat += beatsPerSample;
        echo.writeIndex = echo.writeIndex + 1 >= EchoSection::delayCapacity ? 0 : echo.writeIndex + 1;
    }
}
