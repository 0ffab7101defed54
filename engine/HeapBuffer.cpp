#include "HeapBuffer.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace
{
// Plain operator new (not malloc) so that allocation counters in tests see every engine allocation.
char* allocateBytes (int32_t n)
{
    return static_cast<char*> (::operator new ((size_t) n, std::nothrow));
}
void freeBytes (char* p)
{
    ::operator delete (p);
}

int64_t roundDownToPage (int64_t n)
{
    return n & ~(int64_t) 4095;
}
} // namespace

HeapBuffer::~HeapBuffer()
{
    freeBytes (buf);
}

char* HeapBuffer::resize (int32_t newSize, bool allowShrink)
{
    newSize = std::max (newSize, 0);
    if (newSize == size)
        return size > 0 ? buf : nullptr;

    int32_t threshold = 0;
    if (allowShrink && newSize < size)
        threshold = std::max (std::min (alloc - 4 * granularity, alloc / 2), 1);

    if (newSize > alloc || newSize < threshold)
    {
        // In 64 bits: near the int32 limit the growth would wrap negative and free the buffer.
        int64_t newAlloc;
        if (newSize < 1)
            newAlloc = 0;
        else if (granularity >= 4096)
        {
            int64_t g = roundDownToPage (std::max (newSize / 2, granularity));
            g = std::clamp<int64_t> (g, 4096, 4194304);
            newAlloc = roundDownToPage ((int64_t) newSize + 96 + g) - 96;
        }
        else
            newAlloc = (int64_t) std::max (newSize / 2, granularity) + newSize;

        // More than an int32 can count is a failed allocation: the old buffer and size remain.
        if (newAlloc > INT32_MAX)
            return size > 0 ? buf : nullptr;

        if (newAlloc != alloc)
        {
            if (newAlloc < 1)
            {
                freeBytes (buf);
                buf = nullptr;
                alloc = size = 0;
                return nullptr;
            }

            char* fresh = allocateBytes ((int32_t) newAlloc);
            if (fresh == nullptr)
                return size > 0 ? buf : nullptr;
            if (buf != nullptr)
                std::memcpy (fresh, buf, (size_t) std::min (newSize, size));
            freeBytes (buf);
            buf = fresh;
            alloc = (int32_t) newAlloc;
        }
    }

    size = newSize;
    return size > 0 ? buf : nullptr;
}
