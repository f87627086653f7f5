#pragma once

#include <cstdint>

// The source of the oscillators' drift and the master noise: one per instance, so no instance
// queues on a process-wide lock or moves another's sequence. It is the C library's additive
// feedback generator (degree 31, separation 3): seeded with n it gives exactly what rand() gives
// after srand(n), which keeps the sound of a session made before each instance had its own.
class AdditiveFeedbackRandom
{
public:
    explicit AdditiveFeedbackRandom (std::uint32_t seed) noexcept { reseed (seed); }

    // The seed 0 counts as 1, as the library's does.
    void reseed (std::uint32_t seed) noexcept;

    // Uniform over 0 .. 2^31 - 1. Plain loads and stores of the instance's own words.
    std::int32_t next() noexcept
    {
        const auto sum = words[front] += words[rear];
        front = front + 1 == degree ? 0 : front + 1;
        rear = rear + 1 == degree ? 0 : rear + 1;
        return (std::int32_t) (sum >> 1);
    }

    // 1 for the first instance a process creates, 2 for the second, and so on: instances side by
    // side draw different noise, so two tracks with the same settings never add up coherently.
    static std::uint32_t seedForNewInstance() noexcept;

private:
    static constexpr int degree = 31;
    static constexpr int separation = 3;

    std::uint32_t words[degree];
    int front = separation;
    int rear = 0;
};
