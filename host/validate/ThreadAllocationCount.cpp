#include "ThreadAllocationCount.h"

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace
{
// Initial-exec storage in the program itself: reading it never allocates.
thread_local long allocations = 0;
} // namespace

long allocationsOnThisThread() noexcept
{
    return allocations;
}

#if ! defined(LARKSPUR_SANITIZED)
// The C library's own entry points behind malloc and friends; the program's definitions below take
// the place of the C library's for every library in the process, loaded at run time or not.
extern "C"
{
    void* __libc_malloc (size_t);
    void* __libc_calloc (size_t, size_t);
    void* __libc_realloc (void*, size_t);
    void* __libc_memalign (size_t, size_t);
    void* __libc_valloc (size_t);
    void* __libc_pvalloc (size_t);
    void __libc_free (void*);

    void* malloc (size_t size)
    {
        ++allocations;
        return __libc_malloc (size);
    }

    void* calloc (size_t count, size_t size)
    {
        ++allocations;
        return __libc_calloc (count, size);
    }

    void* realloc (void* pointer, size_t size)
    {
        ++allocations;
        return __libc_realloc (pointer, size);
    }

    void* memalign (size_t alignment, size_t size)
    {
        ++allocations;
        return __libc_memalign (alignment, size);
    }

    void* aligned_alloc (size_t alignment, size_t size)
    {
        ++allocations;
        return __libc_memalign (alignment, size);
    }

    int posix_memalign (void** result, size_t alignment, size_t size)
    {
        ++allocations;
        if (alignment < sizeof (void*) || (alignment & (alignment - 1)) != 0)
            return EINVAL;
        void* pointer = __libc_memalign (alignment, size);
        if (pointer == nullptr && size != 0)
            return ENOMEM;
        *result = pointer;
        return 0;
    }

    void* valloc (size_t size)
    {
        ++allocations;
        return __libc_valloc (size);
    }

    void* pvalloc (size_t size)
    {
        ++allocations;
        return __libc_pvalloc (size);
    }

    void free (void* pointer)
    {
        __libc_free (pointer);
    }
}

namespace
{
void* allocate (size_t size) noexcept
{
    return malloc (size == 0 ? 1 : size);
}

void* allocateAligned (size_t size, std::align_val_t alignment) noexcept
{
    const auto align = static_cast<size_t> (alignment);
    return memalign (align, size == 0 ? align : size);
}
} // namespace
#else
namespace
{
void* allocate (size_t size) noexcept
{
    ++allocations;
    return std::malloc (size == 0 ? 1 : size);
}

void* allocateAligned (size_t size, std::align_val_t alignment) noexcept
{
    ++allocations;
    const auto align = static_cast<size_t> (alignment);
    const size_t rounded = (size + align - 1) / align * align;
    return std::aligned_alloc (align, rounded == 0 ? align : rounded);
}
} // namespace
#endif

namespace
{
void* orThrow (void* pointer)
{
    if (pointer == nullptr)
        throw std::bad_alloc();
    return pointer;
}
} // namespace

void* operator new (size_t size)
{
    return orThrow (allocate (size));
}
void* operator new[] (size_t size)
{
    return orThrow (allocate (size));
}
void* operator new (size_t size, const std::nothrow_t&) noexcept
{
    return allocate (size);
}
void* operator new[] (size_t size, const std::nothrow_t&) noexcept
{
    return allocate (size);
}
void* operator new (size_t size, std::align_val_t alignment)
{
    return orThrow (allocateAligned (size, alignment));
}
void* operator new[] (size_t size, std::align_val_t alignment)
{
    return orThrow (allocateAligned (size, alignment));
}
void* operator new (size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    return allocateAligned (size, alignment);
}
void* operator new[] (size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    return allocateAligned (size, alignment);
}

void operator delete (void* pointer) noexcept
{
    std::free (pointer);
}
void operator delete[] (void* pointer) noexcept
{
    std::free (pointer);
}
void operator delete (void* pointer, size_t) noexcept
{
    std::free (pointer);
}
void operator delete[] (void* pointer, size_t) noexcept
{
    std::free (pointer);
}
void operator delete (void* pointer, const std::nothrow_t&) noexcept
{
    std::free (pointer);
}
void operator delete[] (void* pointer, const std::nothrow_t&) noexcept
{
    std::free (pointer);
}
void operator delete (void* pointer, std::align_val_t) noexcept
{
    std::free (pointer);
}
void operator delete[] (void* pointer, std::align_val_t) noexcept
{
    std::free (pointer);
}
void operator delete (void* pointer, size_t, std::align_val_t) noexcept
{
    std::free (pointer);
}
void operator delete[] (void* pointer, size_t, std::align_val_t) noexcept
{
    std::free (pointer);
}
void operator delete (void* pointer, std::align_val_t, const std::nothrow_t&) noexcept
{
    std::free (pointer);
}
void operator delete[] (void* pointer, std::align_val_t, const std::nothrow_t&) noexcept
{
    std::free (pointer);
}
