#pragma once

#include "engine/AdditiveFeedbackRandom.h"
#include "engine/EngineMaths.h"

#include <cmath>

// A modulation oscillator with a slow random drift that bends its speed (free running) or its
// depth (synced). The owner sets sampleRate, phaseInc, randInc, randDepth and enabled before
// each sample, and in synced mode also overwrites phase and randPhase. The drift draws from the
// instance's generator, passed to every call.
struct LFO
{
    double phase = 0.0;
    double randPhase = 0.0;
    float prevRandPhase = 0.0f;
    float randTarget = 0.0f;
    double sampleRate = -1.0;
    double phaseInc = 0.0;
    double randInc = 0.0;
    float randSmooth = 0.0f;
    float randDepth = 0.0f;
    bool enabled = false;

    // One call's reading of the wave: where and how the wave is read, but not its value. The
    // value depends on nothing the oscillator keeps, so a caller may advance several oscillators
    // first and evaluate their waves (sines, mostly) afterwards, side by side.
    struct Reading
    {
        // A disabled oscillator, no output mode or a shape outside the table read 0.5.
        bool constant = true;
        int shape = 0;
        bool flowMode = false;
        double x = 0.0;
        // The single-precision read position before its fmodf, for the triangle and the soft square.
        float unwrapped = 0.0f;
        float amplitude = 1.0f;

        float output() const
        {
            if (constant)
                return 0.5f;

            constexpr float twoPi = 6.283185f;
            double wave = 0.0;
            switch (shape)
            {
            case 0:
                wave = std::sin (twoPi * x);
                break;
            case 1:
            {
                // fmodf keeps the sign: a phase driven backwards reads below zero.
                const auto y = std::fmod (unwrapped, 1.0f);
                if (!flowMode)
                    wave = std::atan (std::sin ((double)(twoPi * y)) / 0.01) / 1.5;
                else
                    wave = y <= 0.5f ? 4.0 * (y - 0.25) : 4.0 * (0.75 - y);
                break;
            }
            case 2:
                wave = 1.0 - 2.0 * std::abs (std::sin (0.5 * twoPi * x));
                break;
            default:
                wave = 2.0 * std::abs (std::sin (0.5 * twoPi * x)) - 1.0;
                break;
            }

            const auto scaled = (float)wave * amplitude;
            return flowMode ? (float)(0.5 - 0.5 * (scaled * 0.5)) : (float)(0.5 - 0.5 * scaled);
        }
    };

    // Advances half a sample's worth of phase and returns a control value around 0.5:
    // 0.5 ± 0.25 × amplitude in flow mode, 0.5 ± 0.5 × amplitude in dropout mode.
    float getMelt (int shape, bool synced, float phaseA, float phaseB, bool flowMode, bool dropoutMode,
                   AdditiveFeedbackRandom& random)
    {
        return advance (shape, synced, phaseA, phaseB, flowMode, dropoutMode, random).output();
    }

    // Everything a call of getMelt changes (the drift clock, its random draws, the phase), and the
    // reading from which its output follows.
    Reading advance (int shape, bool synced, float phaseA, float phaseB, bool flowMode, bool dropoutMode,
                     AdditiveFeedbackRandom& random)
    {
        Reading reading;
        if (!enabled)
            return reading;

        // The drift clock runs a full increment per call, so a new target arrives about every half cycle.
        const auto clock = fractionalPart (100.0 + randPhase);
        if ((double)prevRandPhase - clock > (double)0.9f)
            randTarget = (float)(random.next() - (1 << 30)) * 0x1p-30f;
        prevRandPhase = (float)clock;
        randPhase = fractionalPart (randPhase + randInc);
        randSmooth = randSmooth + randTarget;

        if (!flowMode && !dropoutMode)
            return reading;

        const auto k1 = synced ? 0.995f : 0.9995f;
        const auto k2 = synced ? 0.008f : 0.0008f;
        randSmooth = randSmooth * k1;
        const auto drift = 1.0f + randDepth * (randSmooth * k2 - 1.0f);
        const auto speed = synced ? 1.0f : drift;

        if (shape < 0 || shape > 3)
            return reading;

        reading.constant = false;
        reading.shape = shape;
        reading.flowMode = flowMode;
        reading.amplitude = synced ? drift : 1.0f;
        // The 100 keeps the read valid while a strong drift runs the phase backwards.
        reading.x = fractionalPart (100.0 + phase + phaseA + phaseB);
        if (shape == 1)
            reading.unwrapped = (float)(phaseA + phase + phaseB);

        phase = fractionalPart (phase + phaseInc * 0.5 * speed);
        return reading;
    }
};
