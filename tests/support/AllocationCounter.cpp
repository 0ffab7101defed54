#include "AllocationCounter.h"

#include <cstdlib>
#include <new>

// The C allocation functions of everything linked into the binary reach the __wrap_ versions
// below (the linker's --wrap, set by the build), which count and pass on to the real ones.
extern "C"
{
    void* __real_malloc (std::size_t);
    void* __real_calloc (std::size_t, std::size_t);
    void* __real_realloc (void*, std::size_t);
    void* __real_aligned_alloc (std::size_t, std::size_t);
    int __real_posix_memalign (void**, std::size_t, std::size_t);
}

namespace
{
thread_local long allocationsOnThisThread = 0;
thread_local bool failOnThisThread = false;

void* allocate (std::size_t size)
{
    ++allocationsOnThisThread;
    if (failOnThisThread)
        return nullptr;
    return __real_malloc (size == 0 ? 1 : size);
}

void* allocateAligned (std::size_t size, std::align_val_t alignment)
{
    ++allocationsOnThisThread;
    if (failOnThisThread)
        return nullptr;
    const auto align = static_cast<std::size_t> (alignment);
    const std::size_t rounded = (size + align - 1) / align * align;
    return __real_aligned_alloc (align, rounded == 0 ? align : rounded);
}

void* orThrow (void* p)
{
    if (p == nullptr)
        throw std::bad_alloc();
    return p;
}
} // namespace

extern "C"
{
    void* __wrap_malloc (std::size_t size)
    {
        ++allocationsOnThisThread;
        return __real_malloc (size);
    }

    void* __wrap_calloc (std::size_t count, std::size_t size)
    {
        ++allocationsOnThisThread;
        return __real_calloc (count, size);
    }

    void* __wrap_realloc (void* p, std::size_t size)
    {
        ++allocationsOnThisThread;
        return __real_realloc (p, size);
    }

    void* __wrap_aligned_alloc (std::size_t alignment, std::size_t size)
    {
        ++allocationsOnThisThread;
        return __real_aligned_alloc (alignment, size);
    }

    int __wrap_posix_memalign (void** result, std::size_t alignment, std::size_t size)
    {
        ++allocationsOnThisThread;
        return __real_posix_memalign (result, alignment, size);
    }
}

AllocationCounter::AllocationCounter()
    : start (allocationsOnThisThread)
{
}

long AllocationCounter::count() const
{
    return allocationsOnThisThread - start;
}

void AllocationCounter::reset()
{
    start = allocationsOnThisThread;
}

ScopedAllocationFailure::ScopedAllocationFailure()
    : previous (failOnThisThread)
{
    failOnThisThread = true;
}

ScopedAllocationFailure::~ScopedAllocationFailure()
{
    failOnThisThread = previous;
}

void* operator new (std::size_t size)
{
    return orThrow (allocate (size));
}
void* operator new[] (std::size_t size)
{
    return orThrow (allocate (size));
}
void* operator new (std::size_t size, const std::nothrow_t&) noexcept
{
    return allocate (size);
}
void* operator new[] (std::size_t size, const std::nothrow_t&) noexcept
{
    return allocate (size);
}
void* operator new (std::size_t size, std::align_val_t a)
{
    return orThrow (allocateAligned (size, a));
}
void* operator new[] (std::size_t size, std::align_val_t a)
{
    return orThrow (allocateAligned (size, a));
}
void* operator new (std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept
{
    return allocateAligned (size, a);
}
void* operator new[] (std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept
{
    return allocateAligned (size, a);
}

void operator delete (void* p) noexcept
{
    std::free (p);
}
void operator delete[] (void* p) noexcept
{
    std::free (p);
}
void operator delete (void* p, std::size_t) noexcept
{
    std::free (p);
}
void operator delete[] (void* p, std::size_t) noexcept
{
    std::free (p);
}
void operator delete (void* p, const std::nothrow_t&) noexcept
{
    std::free (p);
}
void operator delete[] (void* p, const std::nothrow_t&) noexcept
{
    std::free (p);
}
void operator delete (void* p, std::align_val_t) noexcept
{
    std::free (p);
}
void operator delete[] (void* p, std::align_val_t) noexcept
{
    std::free (p);
}
void operator delete (void* p, std::size_t, std::align_val_t) noexcept
{
    std::free (p);
}
void operator delete[] (void* p, std::size_t, std::align_val_t) noexcept
{
    std::free (p);
}
void operator delete (void* p, std::align_val_t, const std::nothrow_t&) noexcept
{
    std::free (p);
}
void operator delete[] (void* p, std::align_val_t, const std::nothrow_t&) noexcept
{
    std::free (p);
}
