#pragma once

#include <cstdint>

/** A byte buffer that grows in large steps and gives memory back only when asked to.
    All of the convolution engine's memory lives in these, so that steady-state processing reuses
    what earlier blocks allocated. Allocation failure never throws: the size simply stays short. */
class HeapBuffer
{
public:
    static constexpr int32_t defaultGranularity = 4096;

    explicit HeapBuffer (int32_t growthStep = defaultGranularity)
        : granularity (growthStep)
    {
    }
    ~HeapBuffer();

    HeapBuffer (const HeapBuffer&) = delete;
    HeapBuffer& operator= (const HeapBuffer&) = delete;

    HeapBuffer (HeapBuffer&& other) noexcept
        : buf (other.buf)
        , alloc (other.alloc)
        , size (other.size)
        , granularity (other.granularity)
    {
        other.buf = nullptr;
        other.alloc = other.size = 0;
    }

    /** Sets the bytes in use to newSize (negative counts as 0), reallocating when it passes the
        allocation or, with allowShrink, falls well below it. Contents up to the smaller size are kept.
        Returns the buffer, or null when the size is 0; on failure the old buffer and size remain. */
    char* resize (int32_t newSize, bool allowShrink = false);

    template <class T>
    T* as() const
    {
        return reinterpret_cast<T*> (buf);
    }

    char* buf = nullptr;
    int32_t alloc = 0;
    int32_t size = 0;
    int32_t granularity;
};
