#include "AllocationCounter.h"

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <new>

// glibc's own allocator under its internal names, so the replacements below can forward to it.
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
// Plain thread-local flag: reading it must not allocate, as it is read inside malloc itself.
thread_local bool counting = false;
std::atomic<long> allocationCount{0};
std::atomic<long> deallocationCount{0};

void noteAllocation() noexcept
{
    if (counting)
        allocationCount.fetch_add (1, std::memory_order_relaxed);
}

void release (void* pointer) noexcept
{
    if (counting && pointer != nullptr)
        deallocationCount.fetch_add (1, std::memory_order_relaxed);
    __libc_free (pointer);
}

void* allocate (std::size_t size) noexcept
{
    noteAllocation();
    return __libc_malloc (size == 0 ? 1 : size);
}

void* allocateAligned (std::size_t size, std::align_val_t alignment) noexcept
{
    noteAllocation();
    return __libc_memalign ((std::size_t)alignment, size == 0 ? 1 : size);
}
} // namespace

namespace allocationcounter
{
void countOnThisThread (bool shouldCount) noexcept
{
    counting = shouldCount;
}

long allocations() noexcept
{
    return allocationCount.load();
}

long deallocations() noexcept
{
    return deallocationCount.load();
}
} // namespace allocationcounter

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

    void* aligned_alloc (size_t alignment, size_t size)
    {
        noteAllocation();
        return __libc_memalign (alignment, size);
    }

    int posix_memalign (void** result, size_t alignment, size_t size)
    {
        noteAllocation();
        if (alignment < sizeof (void*) || (alignment & (alignment - 1)) != 0)
            return EINVAL;
        *result = __libc_memalign (alignment, size);
        return *result != nullptr ? 0 : ENOMEM;
    }

    void free (void* pointer)
    {
        release (pointer);
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

void* operator new (std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    return allocateAligned (size, alignment);
}

void* operator new[] (std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    return allocateAligned (size, alignment);
}

// Every sized and aligned form of delete ends in the one release.
void operator delete (void* pointer) noexcept
{
    release (pointer);
}
void operator delete[] (void* pointer) noexcept
{
    release (pointer);
}
void operator delete (void* pointer, std::size_t) noexcept
{
    release (pointer);
}
void operator delete[] (void* pointer, std::size_t) noexcept
{
    release (pointer);
}
void operator delete (void* pointer, std::align_val_t) noexcept
{
    release (pointer);
}
void operator delete[] (void* pointer, std::align_val_t) noexcept
{
    release (pointer);
}
void operator delete (void* pointer, std::size_t, std::align_val_t) noexcept
{
    release (pointer);
}
void operator delete[] (void* pointer, std::size_t, std::align_val_t) noexcept
{
    release (pointer);
}
void operator delete (void* pointer, const std::nothrow_t&) noexcept
{
    release (pointer);
}
void operator delete[] (void* pointer, const std::nothrow_t&) noexcept
{
    release (pointer);
}
