// Times the processor in this process and counts the heap allocations made inside processBlock.
#include "BenchCore.h"

#include "engine/PluginProcessor.h"

#include <atomic>
#include <cstdlib>
#include <new>

extern "C"
{
    void* __libc_malloc (size_t);
    void* __libc_calloc (size_t, size_t);
    void* __libc_realloc (void*, size_t);
    void* __libc_memalign (size_t, size_t);
    void __libc_free (void*);
}

namespace
{
// Only the thread inside processBlock counts; every other allocation passes unseen.
thread_local bool insideBlock = false;
std::atomic<long> allocationsInsideBlock{0};

void noteAllocation()
{
    if (insideBlock)
        allocationsInsideBlock.fetch_add (1, std::memory_order_relaxed);
}

void* allocate (std::size_t size)
{
    noteAllocation();
    return __libc_malloc (size == 0 ? 1 : size);
}

void* allocateAligned (std::size_t size, std::align_val_t alignment)
{
    noteAllocation();
    return __libc_memalign ((std::size_t)alignment, size == 0 ? 1 : size);
}
} // namespace

// JUCE's buffers take their memory from malloc, not from new, so both families are counted.
extern "C"
{
    void* malloc (size_t size)
    {
        noteAllocation();
        return __libc_malloc (size);
    }

    void* calloc (size_t count, size_t size)
    {
        noteAllocation();
        return __libc_calloc (count, size);
    }

    void* realloc (void* pointer, size_t size)
    {
        noteAllocation();
        return __libc_realloc (pointer, size);
    }

    void free (void* pointer)
    {
        __libc_free (pointer);
    }
}

void* operator new (std::size_t size)
{
    if (auto* pointer = allocate (size))
        return pointer;
    throw std::bad_alloc();
}

void* operator new[] (std::size_t size)
{
    return operator new (size);
}
void* operator new (std::size_t size, const std::nothrow_t&) noexcept
{
    return allocate (size);
}
void* operator new[] (std::size_t size, const std::nothrow_t&) noexcept
{
    return allocate (size);
}

void* operator new (std::size_t size, std::align_val_t alignment)
{
    if (auto* pointer = allocateAligned (size, alignment))
        return pointer;
    throw std::bad_alloc();
}

void* operator new[] (std::size_t size, std::align_val_t alignment)
{
    return operator new (size, alignment);
}

void operator delete (void* pointer) noexcept
{
    __libc_free (pointer);
}
void operator delete[] (void* pointer) noexcept
{
    __libc_free (pointer);
}
void operator delete (void* pointer, std::size_t) noexcept
{
    __libc_free (pointer);
}
void operator delete[] (void* pointer, std::size_t) noexcept
{
    __libc_free (pointer);
}
void operator delete (void* pointer, std::align_val_t) noexcept
{
    __libc_free (pointer);
}
void operator delete[] (void* pointer, std::align_val_t) noexcept
{
    __libc_free (pointer);
}
void operator delete (void* pointer, std::size_t, std::align_val_t) noexcept
{
    __libc_free (pointer);
}
void operator delete[] (void* pointer, std::size_t, std::align_val_t) noexcept
{
    __libc_free (pointer);
}

int main()
{
    juce::ScopedJuceInitialiser_GUI juce;

    bench::Target target;
    target.create = [] (double sampleRate, int blockSize, int channels) -> std::unique_ptr<juce::AudioProcessor>
    {
        auto processor = std::make_unique<Rirorezo3AudioProcessor>();
        const auto set = channels == 1 ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo();
        juce::AudioProcessor::BusesLayout layout;
        layout.inputBuses.add (set);
        layout.outputBuses.add (set);
        if (!processor->setBusesLayout (layout))
            return nullptr;
        processor->setRateAndBufferSizeDetails (sampleRate, blockSize);
        processor->prepareToPlay (sampleRate, blockSize);
        return processor;
    };
    target.findParameter = [] (juce::AudioProcessor& processor,
                               const juce::String& id) -> juce::AudioProcessorParameter*
    { return static_cast<Rirorezo3AudioProcessor&> (processor).apvts.getParameter (id); };
    target.aroundBlock = [] (bool inside) { insideBlock = inside; };
    target.allocations = [] { return allocationsInsideBlock.load(); };

    bench::runAll (target, "in-process processor");
    return 0;
}
