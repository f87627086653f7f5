#pragma once

#include "engine/RandomGenerator.h"

#include <atomic>
#include <cstdint>

namespace testsupport
{
// The starting state of both add-and-xor generators.
constexpr std::uint32_t generatorInitialSum = 0xE9B820CFu;
constexpr std::uint32_t generatorInitialXor = 0xD74A3516u;

// Puts a generator back to its state in a fresh process, so a test sees the same draws whatever
// ran before it.
inline void restartGenerator (std::atomic<std::uint32_t>& sumWord, std::atomic<std::uint32_t>& xorWord)
{
    sumWord = generatorInitialSum;
    xorWord = generatorInitialXor;
}
} // namespace testsupport
