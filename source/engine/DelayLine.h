#pragma once

#include <algorithm>
#include <cmath>
#include <iterator>

// A circular delay line of doubles: its storage, clearing and wrapping, shared by the melt's and
// the echo's lines. Each stage interpolates its own way, so the reading stays with the stage.
template <int capacity> struct DelayLine
{
    static constexpr int size = capacity;

    double samples[(size_t)capacity];

    double& operator[] (int index) noexcept { return samples[index]; }
    double operator[] (int index) const noexcept { return samples[index]; }

    void clear() noexcept { std::fill (std::begin (samples), std::end (samples), 0.0); }

    static int next (int index) noexcept { return index + 1 >= capacity ? 0 : index + 1; }
    static int previous (int index) noexcept { return index > 0 ? index - 1 : capacity - 1; }

    // A read position (the write position less a delay) brought into 0 .. capacity: a position
    // before the start wraps once, one further out (a delay longer than the line) wraps modulo the
    // capacity, and one that is not a number reads at the start.
    static double wrapped (double position) noexcept
    {
        if (position < 0.0)
            position += capacity;
        if (position >= 0.0 && position < capacity)
            return position;

        position = std::fmod (position, (double)capacity);
        if (position < 0.0)
            position += capacity;
        return position >= 0.0 && position < capacity ? position : 0.0;
    }
};
