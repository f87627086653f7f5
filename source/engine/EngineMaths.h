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

// x minus x truncated toward zero.
inline double fractionalPart (double x)
{
    return x - truncated (x);
}
