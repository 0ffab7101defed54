#pragma once

#include "HeapBuffer.h"

/** A first-in first-out queue of bytes on one growable buffer. Consumed bytes are reclaimed by
    moving the rest to the front once more than half of the buffer has been read. */
class SampleQueue
{
public:
    /** Room for n more bytes at the back, or null when the buffer could not grow. */
    char* append (int32_t n);

    /** Grows the buffer, if it must, to hold at least n bytes, so that appends up to that much
        allocate nothing later. The contents stay; on failure nothing changes. */
    void reserve (int32_t n);

    /** Drops n bytes from the front (clamped to what is queued). */
    void consume (int32_t n);

    int32_t queued() const noexcept { return data.size - readPos; }
    char* front() const noexcept { return readPos < 0 || readPos >= data.size ? nullptr : data.buf + readPos; }

    /** Forgets everything queued, keeping the memory. */
    void empty()
    {
        data.resize (0);
        readPos = 0;
    }

    /** Float views, the engine's unit. */
    float* appendFloats (int32_t n) { return reinterpret_cast<float*> (append (n * 4)); }
    void consumeFloats (int32_t n) { consume (n * 4); }
    int32_t queuedFloats() const noexcept { return queued() / 4; }
    float* frontFloats() const noexcept { return reinterpret_cast<float*> (front()); }

    HeapBuffer data;
    int32_t readPos = 0;
};
