#include "SampleQueue.h"

#include <algorithm>
#include <cstring>

char* SampleQueue::append (int32_t n)
{
    if (readPos >= data.size)
    {
        // fully consumed: start again at the front of the buffer
        readPos = 0;
        data.size = 0;
    }

    // Before growing the buffer, reuse the consumed bytes at its front: with varying block sizes
    // consume's compaction may not come often enough to keep the buffer at its working size.
    if (readPos > 0 && (int64_t) data.size + std::max (n, 0) > data.alloc)
    {
        const int32_t remaining = data.size - readPos;
        std::memmove (data.buf, data.buf + readPos, (size_t) remaining);
        data.size = remaining;
        readPos = 0;
    }

    const int32_t oldSize = data.size;
    if ((int64_t) oldSize + std::max (n, 0) > INT32_MAX)
        return nullptr;
    const int32_t wanted = oldSize + std::max (n, 0);
    data.resize (wanted);
    if (data.size != wanted || data.buf == nullptr)
        return nullptr;
    return data.buf + oldSize;
}

void SampleQueue::reserve (int32_t n)
{
    if (n <= data.alloc)
        return;
    const int32_t used = data.size;
    data.resize (n);
    data.resize (used);
}

void SampleQueue::consume (int32_t n)
{
    readPos = std::clamp (readPos + n, 0, data.size);
    if (readPos > data.size / 2)
    {
        const int32_t remaining = data.size - readPos;
        if (remaining > 0)
            std::memmove (data.buf, data.buf + readPos, (size_t) remaining);
        data.resize (remaining);
        readPos = 0;
    }
}
