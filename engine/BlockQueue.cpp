#include "BlockQueue.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace
{
BlockQueue::Block* newBlock (int32_t capacity)
{
    void* memory = ::operator new (sizeof (BlockQueue::Block) + (size_t) capacity, std::nothrow);
    if (memory == nullptr)
        return nullptr;
    auto* block = static_cast<BlockQueue::Block*> (memory);
    block->capacity = capacity;
    block->used = 0;
    return block;
}

void freeBlock (BlockQueue::Block* block)
{
    ::operator delete (block);
}
} // namespace

BlockQueue::~BlockQueue()
{
    for (int32_t i = 0; i < numBlocks(); ++i)
        freeBlock (blockList()[i]);
    for (int32_t i = 0; i < numSpares(); ++i)
        freeBlock (spareList()[i]);
}

bool BlockQueue::push (HeapBuffer& list, Block* block)
{
    const int32_t oldSize = list.size;
    list.resize (oldSize + (int32_t) sizeof (Block*));
    if (list.size != oldSize + (int32_t) sizeof (Block*))
        return false;
    std::memcpy (list.buf + oldSize, &block, sizeof (Block*));
    return true;
}

void BlockQueue::retire (Block* block)
{
    if ((maxSpares >= 0 && numSpares() >= maxSpares) || ! push (spares, block))
        freeBlock (block);
}

char* BlockQueue::add (const void* data, int32_t n)
{
    char* dst = append (n);
    if (dst != nullptr)
    {
        if (data != nullptr)
            std::memcpy (dst, data, (size_t) n);
        else
            std::memset (dst, 0, (size_t) n);
    }
    return dst;
}

char* BlockQueue::append (int32_t n)
{
    if (n < 1)
        return nullptr;

    Block* last = numBlocks() > 0 ? blockList()[numBlocks() - 1] : nullptr;
    if (last == nullptr || last->used + n > last->capacity)
    {
        Block* block = nullptr;
        if (numSpares() > 0)
        {
            block = spareList()[numSpares() - 1];
            spares.resize (spares.size - (int32_t) sizeof (Block*));
            if (block->capacity < n)
            {
                freeBlock (block);
                block = nullptr;
            }
        }
        if (block == nullptr)
            block = newBlock (std::max (n, blockSize));
        if (block == nullptr)
            return nullptr;

        block->used = 0;
        if (! push (blocks, block))
        {
            retire (block);
            return nullptr;
        }
        last = block;
    }

    char* dst = last->bytes() + last->used;
    last->used += n;
    available += n;
    return dst;
}

void BlockQueue::reserveSpares (int32_t count)
{
    while (numSpares() < count)
    {
        Block* block = newBlock (blockSize);
        if (block == nullptr)
            return;
        if (! push (spares, block))
        {
            freeBlock (block);
            return;
        }
    }
}

void BlockQueue::reserveFor (int32_t largestAdd, int32_t mostQueued)
{
    largestAdd = std::max (largestAdd, 1);
    mostQueued = std::max (mostQueued, 0);

    // Blocks of at least twice the largest add: a block is left behind only when an add does not fit,
    // so every block but the first and the last then holds more than capacity - largestAdd bytes.
    const int64_t capacity = std::max<int64_t> (blockSize, 2 * (int64_t) largestAdd);
    if (capacity > INT32_MAX - (int64_t) sizeof (Block))
        return;
    const int64_t count = mostQueued / (capacity - largestAdd) + 2;
    const int64_t listBytes = count * (int64_t) sizeof (Block*);
    if (listBytes > INT32_MAX)
        return;

    for (HeapBuffer* list : { &blocks, &spares })
    {
        if (list->alloc >= listBytes)
            continue;
        const int32_t used = list->size;
        list->resize ((int32_t) listBytes);
        list->resize (used);
    }

    // A spare too small for the largest add would be freed and replaced by the add that takes it.
    for (int32_t i = numSpares() - 1; i >= 0; --i)
        if (spareList()[i]->capacity < largestAdd)
        {
            freeBlock (spareList()[i]);
            spareList()[i] = spareList()[numSpares() - 1];
            spares.resize (spares.size - (int32_t) sizeof (Block*));
        }

    while (numBlocks() + numSpares() < count)
    {
        Block* block = newBlock ((int32_t) capacity);
        if (block == nullptr)
            return;
        if (! push (spares, block))
        {
            freeBlock (block);
            return;
        }
    }
}

void BlockQueue::clear()
{
    for (int32_t i = numBlocks() - 1; i >= 0; --i)
        retire (blockList()[i]);
    blocks.resize (0);
    readOffset = 0;
    available = 0;
}

void BlockQueue::advance (int32_t n)
{
    readOffset += n;
    available = std::max (available - n, 0);

    int32_t dropped = 0;
    while (dropped < numBlocks() && readOffset >= blockList()[dropped]->used)
    {
        readOffset -= blockList()[dropped]->used;
        retire (blockList()[dropped]);
        ++dropped;
    }
    if (dropped > 0)
    {
        const int32_t left = numBlocks() - dropped;
        std::memmove (blocks.buf, blocks.buf + dropped * (int32_t) sizeof (Block*), (size_t) left * sizeof (Block*));
        blocks.resize (left * (int32_t) sizeof (Block*));
    }
    if (readOffset < 0 || numBlocks() == 0)
        readOffset = 0;
}

int32_t BlockQueue::copyOut (void* dst, int32_t n) const
{
    auto* out = static_cast<char*> (dst);
    int32_t copied = 0;
    int32_t offset = readOffset;
    for (int32_t i = 0; i < numBlocks() && copied < n; ++i)
    {
        const Block* block = blockList()[i];
        const int32_t take = std::min (block->used - offset, n - copied);
        if (take > 0)
        {
            std::memcpy (out + copied, block->bytes() + offset, (size_t) take);
            copied += take;
        }
        offset = 0;
    }
    return copied;
}
