#pragma once

struct MeltSection;

// The jump's inputs as one block sees them, with the sample counts already derived from the tempo.
struct JumpBlock
{
    double periodBeats = 4.0;
    double start = 0.0;
    double randomRange = 0.0;
    bool power = false;
    int holdSamples = 0;
    int attackSamples = 0;
    int releaseSamples = 0;
};

JumpBlock makeJumpBlock (int rateIndex, float start, float randomRange, bool power, float snagBeats, float releaseBeats,
                         double sampleRate, double bpm);

// One sample of the jump at the given beat position; returns the envelope, 0..1.
float stepJump (MeltSection& melt, const JumpBlock& jump, double beat);
