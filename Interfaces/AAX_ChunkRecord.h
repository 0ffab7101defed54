#pragma once

#include <cstddef>
#include <cstdint>

/** The host's state-chunk record, handed in by pointer. The header is in the host's native
    (little-endian) order; the data area of `size` bytes follows the header directly, so the
    host allocates the record with room for it. */
struct ChunkRecord
{
    int32_t size; // bytes in the data area
    int32_t version;
    uint32_t hostFields[3]; // the host's own; never read or written here
    uint32_t chunkTypeId;   // a four-character code such as 'elck'
    char name[32];          // zero-filled, at most 31 characters
    unsigned char data[4];  // the first bytes of the data area
};

static_assert (offsetof (ChunkRecord, size) == 0, "chunk record layout");
static_assert (offsetof (ChunkRecord, version) == 4, "chunk record layout");
static_assert (offsetof (ChunkRecord, chunkTypeId) == 20, "chunk record layout");
static_assert (offsetof (ChunkRecord, name) == 24, "chunk record layout");
static_assert (offsetof (ChunkRecord, data) == 56, "chunk record layout");

/** Bytes a record needs for a data area of the given size. */
constexpr size_t ChunkRecordBytes (size_t dataSize) noexcept
{
    return offsetof (ChunkRecord, data) + dataSize;
}

/** The data area, addressed from the record's start so that it may run past the declared array. */
inline unsigned char* ChunkRecordData (ChunkRecord* record) noexcept
{
    return reinterpret_cast<unsigned char*> (record) + offsetof (ChunkRecord, data);
}

inline const unsigned char* ChunkRecordData (const ChunkRecord* record) noexcept
{
    return reinterpret_cast<const unsigned char*> (record) + offsetof (ChunkRecord, data);
}
