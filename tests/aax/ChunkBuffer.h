#pragma once

#include "AAX_ChunkRecord.h"

#include <cstring>
#include <memory>
#include <vector>

// A host chunk record with exactly `dataSize` bytes of data area, so that the address sanitizer
// catches any read past it.
class ChunkBuffer
{
public:
    explicit ChunkBuffer (size_t dataSize)
        : mBytes (ChunkRecordBytes (dataSize))
        , mStorage (new unsigned char[mBytes])
    {
        std::memset (mStorage.get(), 0, mBytes);
        record()->size = static_cast<int32_t> (dataSize);
    }

    // A record of the given version holding these data-area bytes.
    ChunkBuffer (const std::vector<unsigned char>& data, int32_t version)
        : ChunkBuffer (data.size())
    {
        if (! data.empty())
            std::memcpy (ChunkRecordData (record()), data.data(), data.size());
        record()->version = version;
    }

    ChunkRecord* record() noexcept { return reinterpret_cast<ChunkRecord*> (mStorage.get()); }

    std::vector<unsigned char> dataArea (size_t count)
    {
        const unsigned char* data = ChunkRecordData (record());
        return std::vector<unsigned char> (data, data + count);
    }

    std::vector<unsigned char> allBytes() const
    {
        return std::vector<unsigned char> (mStorage.get(), mStorage.get() + mBytes);
    }

private:
    size_t mBytes;
    std::unique_ptr<unsigned char[]> mStorage;
};
