#pragma once

#include "AAX_ChunkRecord.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

// A chunk record with exactly `dataSize` bytes of data area, so that any read past it is caught.
class ChunkRecordStorage
{
public:
    explicit ChunkRecordStorage (size_t dataSize)
        : bytes (new unsigned char[ChunkRecordBytes (dataSize)]())
    {
    }

    ChunkRecord* record() noexcept { return reinterpret_cast<ChunkRecord*> (bytes.get()); }

private:
    std::unique_ptr<unsigned char[]> bytes;
};

// The fuzzer's input as a whole record: the 56-byte header (zero where the input is shorter), then
// the data area. The size field is trusted only as far as the input goes, as the host guarantees
// for real records.
inline ChunkRecordStorage chunkRecordFromInput (const uint8_t* data, size_t size)
{
    constexpr size_t headerBytes = ChunkRecordBytes (0);
    const size_t available = size > headerBytes ? size - headerBytes : 0;

    ChunkRecordStorage storage (available);
    ChunkRecord* const record = storage.record();
    std::memcpy (record, data, size < headerBytes ? size : headerBytes);
    if (available != 0)
        std::memcpy (ChunkRecordData (record), data + headerBytes, available);
    if (record->size > 0 && static_cast<size_t> (record->size) > available)
        record->size = static_cast<int32_t> (available);
    return storage;
}
