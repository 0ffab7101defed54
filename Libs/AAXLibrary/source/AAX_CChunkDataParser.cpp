#include "AAX_CChunkDataParser.h"

#include "AAX_ChunkRecord.h"
#include "AAX_Errors.h"
#include "AAX_Trace.h"

#include <cstring>
#include <exception>
#include <limits>
#include <stdexcept>
#include <string>

namespace
{
constexpr unsigned char magic[4] = { 0x01, 0x01, 0x01, 0x01 };
constexpr int64_t headerSize = 4;

int64_t roundUpTo4 (int64_t value) noexcept
{
    return (value + 3) & ~int64_t (3);
}

const char* tagOf (int32_t typeCode) noexcept
{
    switch (typeCode)
    {
        case AAX_CChunkDataParser::typeFloat:
            return "f_";
        case AAX_CChunkDataParser::typeInt32:
            return "l_";
        case AAX_CChunkDataParser::typeDouble:
            return "d_";
        case AAX_CChunkDataParser::typeInt16:
            return "s_";
        case AAX_CChunkDataParser::typeString:
            return "r_";
        default:
            return nullptr;
    }
}

// Bytes an entry's value occupies in the data area, padding included.
int64_t storedValueSize (const AAX_CChunkDataParser::Entry& entry) noexcept
{
    switch (entry.typeCode)
    {
        case AAX_CChunkDataParser::typeDouble:
            return 8;
        case AAX_CChunkDataParser::typeFloat:
        case AAX_CChunkDataParser::typeInt32:
        case AAX_CChunkDataParser::typeInt16:
            return 4;
        case AAX_CChunkDataParser::typeString:
            return roundUpTo4 (int64_t (entry.text.Length()) + 1);
        default:
            return 0;
    }
}

void writeBigEndian (unsigned char* target, uint64_t value, int byteCount) noexcept
{
    for (int i = byteCount - 1; i >= 0; --i)
    {
        target[i] = static_cast<unsigned char> (value & 0xFF);
        value >>= 8;
    }
}

uint64_t readBigEndian (const unsigned char* source, int byteCount) noexcept
{
    uint64_t value = 0;
    for (int i = 0; i < byteCount; ++i)
        value = (value << 8) | source[i];
    return value;
}

uint64_t bitsOfDouble (double value) noexcept
{
    uint64_t bits = 0;
    std::memcpy (&bits, &value, sizeof (bits));
    return bits;
}
} // namespace

double AAX_CChunkDataParser::Entry::DoubleValue() const noexcept
{
    double value = 0.0;
    std::memcpy (&value, &valueBits, sizeof (value));
    return value;
}

int32_t AAX_CChunkDataParser::Entry::Int32Value() const noexcept
{
    return static_cast<int32_t> (static_cast<uint32_t> (valueBits));
}

float AAX_CChunkDataParser::Entry::FloatValue() const noexcept
{
    const uint32_t bits = static_cast<uint32_t> (valueBits);
    float value = 0.0f;
    std::memcpy (&value, &bits, sizeof (value));
    return value;
}

uint16_t AAX_CChunkDataParser::Entry::Int16Value() const noexcept
{
    return static_cast<uint16_t> (valueBits);
}

AAX_CChunkDataParser::AAX_CChunkDataParser() = default;

AAX_CChunkDataParser::~AAX_CChunkDataParser() = default;

void AAX_CChunkDataParser::Clear()
{
    mLastFoundIndex = -1;
    mVersion = -1;
    mEntries.clear();
}

void AAX_CChunkDataParser::AddDouble (const char* name, double value)
{
    Entry entry;
    entry.typeCode = typeDouble;
    entry.name.SetCString (name);
    entry.valueBits = bitsOfDouble (value);
    mEntries.push_back (std::move (entry));
}

void AAX_CChunkDataParser::AddInt32 (const char* name, int32_t value)
{
    Entry entry;
    entry.typeCode = typeInt32;
    entry.name.SetCString (name);
    entry.valueBits = static_cast<uint32_t> (value);
    mEntries.push_back (std::move (entry));
}

void AAX_CChunkDataParser::AddString (const char* name, AAX_CString text)
{
    Entry entry;
    entry.typeCode = typeString;
    entry.name.SetCString (name);
    entry.text = text;
    mEntries.push_back (std::move (entry));
}

int32_t AAX_CChunkDataParser::FindName (const AAX_CString& name)
{
    const int32_t count = static_cast<int32_t> (mEntries.size());
    int32_t last = mLastFoundIndex;
    if (last >= count - 1)
    {
        mLastFoundIndex = -1;
        last = -1;
    }
    else if (last < -1)
        return -1;

    const auto matches = [&] (int32_t index)
    { return std::strcmp (mEntries[static_cast<size_t> (index)].name.CString(), name.CString()) == 0; };

    for (int32_t index = last + 1; index < count; ++index)
        if (matches (index))
            return mLastFoundIndex = index;

    for (int32_t index = 0; index <= last; ++index)
        if (matches (index))
            return mLastFoundIndex = index;

    return -1;
}

bool AAX_CChunkDataParser::FindDouble (const char* name, double* value)
{
    const int32_t index = FindName (AAX_CString (name));
    if (index < 0 || value == nullptr || mEntries[static_cast<size_t> (index)].typeCode != typeDouble)
        return false;
    *value = mEntries[static_cast<size_t> (index)].DoubleValue();
    return true;
}

bool AAX_CChunkDataParser::FindInt32 (const char* name, int32_t* value)
{
    const int32_t index = FindName (AAX_CString (name));
    if (index < 0 || value == nullptr || mEntries[static_cast<size_t> (index)].typeCode != typeInt32)
        return false;
    *value = mEntries[static_cast<size_t> (index)].Int32Value();
    return true;
}

bool AAX_CChunkDataParser::FindString (const char* name, AAX_IString* text)
{
    const int32_t index = FindName (AAX_CString (name));
    if (index < 0 || text == nullptr || mEntries[static_cast<size_t> (index)].typeCode != typeString)
        return false;
    text->AssignString (mEntries[static_cast<size_t> (index)].text);
    return true;
}

int32_t AAX_CChunkDataParser::GetChunkDataSize() const
{
    int64_t size = headerSize;
    for (const Entry& entry : mEntries)
    {
        size += roundUpTo4 (int64_t (entry.name.Length()) + 3) + storedValueSize (entry);
        if (size > std::numeric_limits<int32_t>::max())
            return -1;
    }
    return static_cast<int32_t> (size);
}

AAX_Result AAX_CChunkDataParser::GetChunkData (ChunkRecord* record) const
{
    const int32_t size = GetChunkDataSize();
    if (size < headerSize || record == nullptr)
        return AAX_CHUNK_SERIALIZATION_FAILED;

    try
    {
        unsigned char* const data = ChunkRecordData (record);
        std::memset (data, 0, static_cast<size_t> (size));
        std::memcpy (data, magic, sizeof (magic));
        int64_t offset = headerSize;

        for (const Entry& entry : mEntries)
        {
            const char* const tag = tagOf (entry.typeCode);
            if (tag == nullptr)
                continue;

            const int64_t nameLength = entry.name.Length();
            int64_t valueSize = 4;
            if (entry.typeCode == typeDouble)
                valueSize = 8;
            else if (entry.typeCode == typeInt16)
                valueSize = 2;
            else if (entry.typeCode == typeString)
                valueSize = int64_t (entry.text.Length()) + 1;

            if (offset + 2 + nameLength + 1 + valueSize > size)
                throw std::out_of_range ("aborting: chunk data will overflow buffer");

            std::memcpy (data + offset, tag, 2);
            offset += 2;
            std::memcpy (data + offset, entry.name.CString(), static_cast<size_t> (nameLength + 1));
            offset = roundUpTo4 (offset + nameLength + 1);

            switch (entry.typeCode)
            {
                case typeDouble:
                    writeBigEndian (data + offset, entry.valueBits, 8);
                    offset += 8;
                    break;
                case typeInt16:
                    writeBigEndian (data + offset, entry.valueBits & 0xFFFF, 2);
                    offset += 4;
                    break;
                case typeString:
                    std::memcpy (data + offset, entry.text.CString(), static_cast<size_t> (valueSize));
                    offset = roundUpTo4 (offset + valueSize);
                    break;
                default:
                    writeBigEndian (data + offset, entry.valueBits & 0xFFFFFFFF, 4);
                    offset += 4;
                    break;
            }
        }
    }
    catch (const std::exception& error)
    {
        const char* const text = error.what();
        AAX_Trace (AAX_TRACE_PRIORITY_ERROR, "AAX_CChunkDataParser::GetChunkData ERROR: %s",
                   text != nullptr && text[0] != '\0' ? text : "Unknown exception");
        return AAX_CHUNK_SERIALIZATION_FAILED;
    }
    catch (...)
    {
        return AAX_CHUNK_SERIALIZATION_FAILED;
    }

    record->size = size;
    return AAX_SUCCESS;
}

void AAX_CChunkDataParser::LoadChunk (const ChunkRecord* record)
{
    Clear();
    if (record == nullptr)
        return;
    mVersion = record->version;

    const int64_t size = record->size;
    const unsigned char* const data = ChunkRecordData (record);
    if (size < 5 || std::memcmp (data, magic, sizeof (magic)) != 0)
        return;

    int64_t offset = headerSize;
    while (offset < size)
    {
        // The tagged name: up to its NUL, looking at no more than 255 bytes or the rest of the area.
        const int64_t room = size - offset < 255 ? size - offset : 255;
        const auto* const nameStart = reinterpret_cast<const char*> (data + offset);
        const auto* const nul = static_cast<const char*> (std::memchr (nameStart, 0, static_cast<size_t> (room)));
        const int64_t nameLength = nul != nullptr ? nul - nameStart : room;
        const std::string taggedName (nameStart, static_cast<size_t> (nameLength));
        offset = roundUpTo4 (offset + nameLength + 1);

        Entry entry;
        // A number of `valueBytes` in a slot of `slotBytes`; false when the value runs past the area.
        const auto readNumber = [&] (int32_t typeCode, int valueBytes, int slotBytes)
        {
            if (offset + valueBytes > size)
                return false;
            entry.typeCode = typeCode;
            entry.valueBits = readBigEndian (data + offset, valueBytes);
            offset += slotBytes;
            return true;
        };
        switch (nameLength > 0 ? taggedName[0] : '\0')
        {
            case 'd':
                if (! readNumber (typeDouble, 8, 8))
                    return;
                break;
            case 'f':
                if (! readNumber (typeFloat, 4, 4))
                    return;
                break;
            case 'l':
                if (! readNumber (typeInt32, 4, 4))
                    return;
                break;
            case 's':
                // Two bytes of value padded to four.
                if (! readNumber (typeInt16, 2, 4))
                    return;
                break;
            case 'r':
            {
                // The text must end with a NUL inside the area.
                if (offset >= size)
                    return;
                const auto* const textStart = reinterpret_cast<const char*> (data + offset);
                const auto* const end =
                    static_cast<const char*> (std::memchr (textStart, 0, static_cast<size_t> (size - offset)));
                if (end == nullptr)
                    return;
                entry.typeCode = typeString;
                entry.text.SetCString (textStart);
                offset = roundUpTo4 (offset + (end - textStart) + 1);
                break;
            }
            default:
                entry.typeCode = typeUnknown;
                break;
        }

        entry.name.SetCString (taggedName.size() >= 3 ? taggedName.c_str() + 2 : "");
        mEntries.push_back (std::move (entry));
    }
}
