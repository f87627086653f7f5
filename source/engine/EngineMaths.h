#pragma once

#include <cmath>

// x truncated toward zero, exactly as std::trunc (x). Without SSE4.1 the library's truncation is
// a slow sequence, and the oscillators and the jump take several per sample; the conversion
// through a 32-bit integer truncates the same way (the sign copy keeps the sign of a zero), and
// only values outside its range (or not numbers) take the library's way.
inline double truncated (double x)
{
    if (__builtin_expect (std::abs (x) < 2147483648.0, 1))
        return std::copysign ((double)(int)x, x);
    return std::trunc (x);
}

// x minus x truncated toward zero. An oscillator's phase plus its increment mostly lies between
// 0 and 2, where the truncation is 0 or 1: comparing is quicker than converting, and each
// subtraction is the same one.
inline double fractionalPart (double x)
{
    if (x > 0.0 && x < 1.0)
        return x;
    if (x >= 1.0 && x < 2.0)
        return x - 1.0;
    return x - truncated (x);
}
