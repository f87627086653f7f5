#include "engine/AdditiveFeedbackRandom.h"

#include <atomic>

void AdditiveFeedbackRandom::reseed (std::uint32_t seed) noexcept
{
    if (seed == 0)
        seed = 1;

    // The words follow 16807 × previous modulo 2^31 - 1, in the library's overflow-free form; the
    // word is signed, as the library's is, so a seed above 2^31 starts from a negative one.
    auto word = (std::int32_t)seed;
    words[0] = seed;
    for (int i = 1; i < degree; ++i)
    {
        const std::int64_t high = word / 127773;
        const std::int64_t low = word % 127773;
        auto next = 16807 * low - 2836 * high;
        if (next < 0)
            next += 2147483647;
        word = (std::int32_t)next;
        words[i] = (std::uint32_t)word;
    }

    front = separation;
    rear = 0;
    // The library throws away the first ten rounds, which still echo the seed's pattern.
    for (int i = 0; i < 10 * degree; ++i)
        next();
}

std::uint32_t AdditiveFeedbackRandom::seedForNewInstance() noexcept
{
    static std::atomic<std::uint32_t> instancesCreated{0};
    return instancesCreated.fetch_add (1, std::memory_order_relaxed) + 1;
}
