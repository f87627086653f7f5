#pragma once

// Counts the heap traffic of marked threads. A program that links AllocationCounter.cpp has its
// global allocation functions replaced (the malloc family, which JUCE's buffers use, and every
// operator new and delete), so whatever a marked thread allocates or frees is seen, wherever in
// the program or a library it happens.
namespace allocationcounter
{
// Marks or unmarks the calling thread; only marked threads are counted.
void countOnThisThread (bool counting) noexcept;

// Totals over every marked thread since the program started.
long allocations() noexcept;
long deallocations() noexcept;

// Marks the calling thread while it lives.
class ScopedCounting
{
public:
    ScopedCounting() noexcept { countOnThisThread (true); }
    ~ScopedCounting() { countOnThisThread (false); }
    ScopedCounting (const ScopedCounting&) = delete;
    ScopedCounting& operator= (const ScopedCounting&) = delete;
};
} // namespace allocationcounter
