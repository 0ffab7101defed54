// Feeds arbitrary chunk records to the controls-state chunk reader. The input is a whole record
// (56-byte header, then the data area); its size field is trusted only as far as the input goes,
// as the host guarantees for real records. The entries that were read must survive a write and
// a second read unchanged.

#include "AAX_CChunkDataParser.h"
#include "AAX_Errors.h"
#include "FuzzedChunkRecord.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace
{
bool sameEntries (const AAX_CChunkDataParser::Entry& a, const AAX_CChunkDataParser::Entry& b)
{
    return a.typeCode == b.typeCode && std::strcmp (a.name.CString(), b.name.CString()) == 0 &&
           a.valueBits == b.valueBits && std::strcmp (a.text.CString(), b.text.CString()) == 0;
}

void checkRoundTrip (const AAX_CChunkDataParser& loaded)
{
    AAX_CChunkDataParser rebuilt;
    std::vector<const AAX_CChunkDataParser::Entry*> kept;
    for (const auto& entry : loaded.Entries())
    {
        if (entry.typeCode == AAX_CChunkDataParser::typeDouble)
            rebuilt.AddDouble (entry.name.CString(), entry.DoubleValue());
        else if (entry.typeCode == AAX_CChunkDataParser::typeInt32)
            rebuilt.AddInt32 (entry.name.CString(), entry.Int32Value());
        else if (entry.typeCode == AAX_CChunkDataParser::typeString)
            rebuilt.AddString (entry.name.CString(), entry.text);
        else
            continue;
        kept.push_back (&entry);
    }

    const int32_t size = rebuilt.GetChunkDataSize();
    if (size < 4)
        __builtin_trap();
    ChunkRecordStorage storage (static_cast<size_t> (size));
    if (rebuilt.GetChunkData (storage.record()) != AAX_SUCCESS || storage.record()->size != size)
        __builtin_trap();

    AAX_CChunkDataParser reread;
    reread.LoadChunk (storage.record());
    if (reread.Entries().size() != kept.size())
        __builtin_trap();
    for (size_t i = 0; i < kept.size(); ++i)
        if (! sameEntries (reread.Entries()[i], *kept[i]))
            __builtin_trap();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    ChunkRecordStorage input = chunkRecordFromInput (data, size);
    ChunkRecord* const record = input.record();

    AAX_CChunkDataParser parser;
    parser.LoadChunk (record);
    if (parser.Version() != record->version)
        __builtin_trap();

    for (const auto& entry : parser.Entries())
    {
        double d = 0.0;
        int32_t i = 0;
        AAX_CString s;
        parser.FindDouble (entry.name.CString(), &d);
        parser.FindInt32 (entry.name.CString(), &i);
        parser.FindString (entry.name.CString(), &s);
    }

    checkRoundTrip (parser);
    return 0;
}
