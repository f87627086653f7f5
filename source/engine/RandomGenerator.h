#pragma once

#include <atomic>
#include <cstdint>

// Two process-wide add-and-xor generators with the same rule and starting state: the engine's
// pair (jump offsets, audio thread) and the editor's pair (section randomisers, message thread).
// Each pair is used by one thread; relaxed atomics keep a second instance free of data races.
extern std::atomic<std::uint32_t> JSeedX;
extern std::atomic<std::uint32_t> JXorU;
extern std::atomic<std::uint32_t> SeedX;
extern std::atomic<std::uint32_t> XorU;

// One draw on a pair: returns the new sum word times 2^-32, in [2^-32, 1 - 2^-32].
double drawRandom (std::atomic<std::uint32_t>& sumWord, std::atomic<std::uint32_t>& xorWord) noexcept;
