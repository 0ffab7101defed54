#pragma once

#include "AAX.h"
#include "AAX_CString.h"

#include <vector>

struct ChunkRecord;

/** Turns a list of named, typed values into the data area of the controls-state chunk and back.
    Data area: the magic 01 01 01 01, then entries of a two-character type tag, the name, a NUL,
    zero padding to a multiple of 4, and the value big-endian (strings as they are, NUL-terminated
    and padded). There is no count and no terminator: the area ends at the record's size. */
class AAX_CChunkDataParser
{
public:
    enum TypeCode : int32_t
    {
        typeUnknown = 0, // no tag recognised; only ever parsed, never written
        typeFloat = 1,
        typeInt32 = 2,
        typeDouble = 3,
        typeInt16 = 4,
        typeString = 5,
    };

    struct Entry
    {
        int32_t typeCode = typeUnknown;
        AAX_CString name;
        /** A double's bits, or in the low part an int32, a float's bits or an unsigned 16-bit
            value, zero-extended. */
        uint64_t valueBits = 0;
        AAX_CString text;

        double DoubleValue() const noexcept;
        int32_t Int32Value() const noexcept;
        float FloatValue() const noexcept;
        uint16_t Int16Value() const noexcept;
    };

    AAX_CChunkDataParser();
    virtual ~AAX_CChunkDataParser();

    /** No entries; version and last-found index -1. */
    void Clear();

    void AddDouble (const char* name, double value);
    void AddInt32 (const char* name, int32_t value);
    void AddString (const char* name, AAX_CString text);

    /** The index of the entry with exactly this name, or -1. Searches start after the entry found
        last and wrap round, so lookups made in entry order cost one comparison each. */
    int32_t FindName (const AAX_CString& name);
    /** True, with the value, only when the entry exists and has that type; a null name counts as
        the empty name. */
    bool FindDouble (const char* name, double* value);
    bool FindInt32 (const char* name, int32_t* value);
    bool FindString (const char* name, AAX_IString* text);

    /** The size of the data area for the current entries (negative if it would not fit 32 bits). */
    int32_t GetChunkDataSize() const;
    /** Writes the data area and the record's size: 0, or -333 on any failure (the record's size
        is then left as it was). */
    AAX_Result GetChunkData (ChunkRecord* record) const;
    /** Replaces the entries by those parsed from the record and takes its version. Never reads
        past the record's size: an entry that does not fit ends parsing, keeping the entries before. */
    void LoadChunk (const ChunkRecord* record);

    int32_t Version() const noexcept { return mVersion; }
    void SetVersion (int32_t version) noexcept { mVersion = version; }

    const std::vector<Entry>& Entries() const noexcept { return mEntries; }

private:
    int32_t mLastFoundIndex = -1;
    int32_t mVersion = -1;
    std::vector<Entry> mEntries;
};
