#include "ChunkBuffer.h"

#include "AAX_CChunkDataParser.h"
#include "AAX_Errors.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

// The chunk fuzzer starts from whole chunk records that the writer produced. This test makes
// them and checks them against the committed seed files; run it with LARKSPUR_WRITE_AAX_SEEDS=1
// to rewrite the files after a deliberate format change.

namespace
{
using Bytes = std::vector<unsigned char>;

// A record as the controls-state chunk operations fill it: 'elck', its name, version -1.
Bytes recordBytes (const AAX_CChunkDataParser& parser)
{
    const int32_t size = parser.GetChunkDataSize();
    ChunkBuffer buffer (static_cast<size_t> (size));
    ChunkRecord* const record = buffer.record();
    record->version = -1;
    record->chunkTypeId = 0x656C636B;
    std::strncpy (record->name, "Complete Controls State", sizeof (record->name) - 1);
    EXPECT_EQ (parser.GetChunkData (record), AAX_SUCCESS);
    return buffer.allBytes();
}

std::vector<std::pair<std::string, Bytes>> makeSeeds()
{
    std::vector<std::pair<std::string, Bytes>> seeds;

    seeds.emplace_back ("empty.chunk", recordBytes (AAX_CChunkDataParser()));

    AAX_CChunkDataParser single;
    single.AddDouble ("gain_L", 0.5);
    seeds.emplace_back ("gain_L.chunk", recordBytes (single));

    AAX_CChunkDataParser controls;
    const char* const identifiers[] = { "bypass",        "input_level",   "gain_L",   "gain_R",
                                        "frequency_1_1", "gain_1_1",      "out_1_1",  "active_1_1",
                                        "type_1_1",      "button_PK_1_1", "link_MSLR" };
    double value = 0.0;
    for (const char* identifier : identifiers)
    {
        controls.AddDouble (identifier, value);
        value += 0.0625;
    }
    seeds.emplace_back ("controls.chunk", recordBytes (controls));

    // Every type the reader knows: int16 and float entries arise only from parsing.
    const Bytes parsedTypes{ 1, 1, 1, 1, 's', '_', 'a', 0, 0x12, 0x34, 0, 0, 'f', '_', 'b', 0, 0x3F, 0xC0, 0, 0 };
    ChunkBuffer parsedBuffer (parsedTypes, 0);
    AAX_CChunkDataParser mixed;
    mixed.LoadChunk (parsedBuffer.record());
    mixed.AddInt32 ("count", -7);
    mixed.AddString ("label", AAX_CString ("abc"));
    mixed.AddString ("empty", AAX_CString (""));
    mixed.AddDouble ("", 1.0e300);
    seeds.emplace_back ("mixed.chunk", recordBytes (mixed));

    AAX_CChunkDataParser longNames;
    longNames.AddString (std::string (200, 'n').c_str(), AAX_CString (std::string (300, 's').c_str()));
    longNames.AddInt32 ("after", 1);
    seeds.emplace_back ("long.chunk", recordBytes (longNames));

    return seeds;
}
} // namespace

TEST (ChunkSeeds, CommittedSeedsAreWhatTheWriterProduces)
{
    const std::string directory = LARKSPUR_AAX_SEED_DIR;
    const bool rewrite = std::getenv ("LARKSPUR_WRITE_AAX_SEEDS") != nullptr;

    for (const auto& [name, bytes] : makeSeeds())
    {
        const std::string path = directory + "/" + name;
        if (rewrite)
        {
            std::ofstream out (path, std::ios::binary);
            out.write (reinterpret_cast<const char*> (bytes.data()), std::streamsize (bytes.size()));
        }
        std::ifstream in (path, std::ios::binary);
        ASSERT_TRUE (in.good()) << path;
        const Bytes committed ((std::istreambuf_iterator<char> (in)), std::istreambuf_iterator<char>());
        EXPECT_EQ (committed, bytes) << path;
    }
}
