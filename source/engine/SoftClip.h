#pragma once

// Close to x for small x and to x / 64 for large x; single precision, evaluated in this order
// because later stages compare sample values bit for bit.
inline float softClip (float x)
{
    return x * (x * x + 512.0f) / (64.0f * x * x + 512.0f);
}
