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

    const int32_t oldSize = data.size;
    const int32_t wanted = oldSize + std::max (n, 0);
    data.resize (wanted);
    if (data.size != wanted || data.buf == nullptr)
        return nullptr;
    return data.buf + oldSize;
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
