#pragma once

#include "HeapBuffer.h"

/** A queue of bytes kept in a list of fixed-size blocks. Emptied blocks go to a spare list and are
    reused, so a queue that is filled and drained at a steady rate stops allocating. */
class BlockQueue
{
public:
    static constexpr int32_t defaultBlockSize = 65536 - 64;

    BlockQueue() = default;
    ~BlockQueue();

    BlockQueue (const BlockQueue&) = delete;
    BlockQueue& operator= (const BlockQueue&) = delete;

    /** Stores n bytes at the back (zeros when data is null) contiguously in one block. Returns
        where they were stored, or null when n < 1 or memory ran out. */
    char* add (const void* data, int32_t n);

    /** Like add, but leaves the n bytes for the caller to write: they are queued already. */
    char* append (int32_t n);

    /** Moves every block to the spare list and forgets what was queued. */
    void clear();

    /** Drops n bytes from the front. */
    void advance (int32_t n);

    /** Copies up to n queued bytes into dst without consuming them; returns the count copied. */
    int32_t copyOut (void* dst, int32_t n) const;

    /** Allocates empty blocks of blockSize onto the spare list until it holds count blocks. */
    void reserveSpares (int32_t count);

    /** Allocates the spare blocks and list room that a queue needs when it never holds more than
        mostQueued bytes and is added at most largestAdd bytes at a time, so that its adds and advances
        then allocate nothing. On failure it stops; the queue still works and allocates as it goes. */
    void reserveFor (int32_t largestAdd, int32_t mostQueued);

    int32_t numBlocks() const noexcept { return blocks.size / (int32_t) sizeof (Block*); }
    int32_t numSpares() const noexcept { return spares.size / (int32_t) sizeof (Block*); }

    struct Block
    {
        int32_t capacity;
        int32_t used;
        char* bytes() noexcept { return reinterpret_cast<char*> (this + 1); }
        const char* bytes() const noexcept { return reinterpret_cast<const char*> (this + 1); }
    };

    HeapBuffer blocks;
    HeapBuffer spares;
    int32_t readOffset = 0;
    int32_t available = 0;
    int32_t blockSize = defaultBlockSize;
    int32_t maxSpares = -1;

private:
    Block** blockList() const noexcept { return blocks.as<Block*>(); }
    Block** spareList() const noexcept { return spares.as<Block*>(); }
    bool push (HeapBuffer& list, Block* block);
    void retire (Block* block);
};
