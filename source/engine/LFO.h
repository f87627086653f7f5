#pragma once

// A modulation oscillator with a slow random drift that bends its speed (free running) or its
// depth (synced). The owner sets sampleRate, phaseInc, randInc, randDepth and enabled before
// each sample, and in synced mode also overwrites phase and randPhase.
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

    // Advances half a sample's worth of phase and returns a control value around 0.5:
    // 0.5 ± 0.25 × amplitude in flow mode, 0.5 ± 0.5 × amplitude in dropout mode.
    float getMelt (int shape, bool synced, float phaseA, float phaseB, bool flowMode, bool dropoutMode);
};
