#include "engine/RandomGenerator.h"

namespace
{
constexpr std::uint32_t initialSum = 0xE9B820CFu;
constexpr std::uint32_t initialXor = 0xD74A3516u;
} // namespace

std::atomic<std::uint32_t> JSeedX{initialSum};
std::atomic<std::uint32_t> JXorU{initialXor};
std::atomic<std::uint32_t> SeedX{initialSum};
std::atomic<std::uint32_t> XorU{initialXor};

double drawRandom (std::atomic<std::uint32_t>& sumWord, std::atomic<std::uint32_t>& xorWord) noexcept
{
    const auto oldSum = sumWord.load (std::memory_order_relaxed);

    // Neither word may become 0, or the generator would stick.
    auto x = xorWord.load (std::memory_order_relaxed) ^ oldSum;
    if (x == 0)
        x = initialXor;
    xorWord.store (x, std::memory_order_relaxed);

    auto s = x + oldSum;
    if (s == 0)
        s = initialSum;
    sumWord.store (s, std::memory_order_relaxed);

    return (double)s * 0x1p-32;
}
