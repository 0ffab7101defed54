#include "ChunkBuffer.h"
#include "FakeHostServices.h"

#include "AAX_CChunkDataParser.h"
#include "AAX_Errors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{
using Bytes = std::vector<unsigned char>;
using Parser = AAX_CChunkDataParser;

// Writes the parser's entries the way the host asks for them: size first, then the bytes.
Bytes writeChunk (const Parser& parser)
{
    const int32_t size = parser.GetChunkDataSize();
    ChunkBuffer buffer (static_cast<size_t> (size));
    buffer.record()->size = 0;
    EXPECT_EQ (parser.GetChunkData (buffer.record()), AAX_SUCCESS);
    EXPECT_EQ (buffer.record()->size, size);
    return buffer.dataArea (static_cast<size_t> (size));
}

Parser loadChunk (const Bytes& data, int32_t version = 7)
{
    ChunkBuffer buffer (data, version);
    Parser parser;
    parser.LoadChunk (buffer.record());
    return parser;
}

Bytes withMagic (Bytes entries)
{
    Bytes data (4 + entries.size(), 1);
    std::copy (entries.begin(), entries.end(), data.begin() + 4);
    return data;
}
} // namespace

TEST (ChunkWriter, EmptyParserWritesOnlyTheMagic)
{
    Parser parser;
    EXPECT_EQ (parser.GetChunkDataSize(), 4);
    EXPECT_EQ (writeChunk (parser), (Bytes{ 1, 1, 1, 1 }));
}

TEST (ChunkWriter, DoubleEntryMatchesTheDocumentedBytes)
{
    Parser parser;
    parser.AddDouble ("gain_L", 0.5);
    EXPECT_EQ (parser.GetChunkDataSize(), 24);
    EXPECT_EQ (writeChunk (parser), (Bytes{ 0x01, 0x01, 0x01, 0x01, 0x64, 0x5F, 0x67, 0x61, 0x69, 0x6E, 0x5F, 0x4C,
                                            0x00, 0x00, 0x00, 0x00, 0x3F, 0xE0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00 }));
}

TEST (ChunkWriter, NamesArePaddedToWholeWords)
{
    // Tag, name and NUL: 1 + 3 = 4, 5 + 3 = 8, 6 + 3 = 9 -> 12 bytes.
    for (const auto& [name, occupied] : { std::pair<const char*, int32_t>{ "a", 4 }, { "abcde", 8 }, { "abcdef", 12 } })
    {
        Parser parser;
        parser.AddInt32 (name, -2);
        EXPECT_EQ (parser.GetChunkDataSize(), 4 + occupied + 4) << name;
        const Bytes data = writeChunk (parser);
        EXPECT_EQ (Bytes (data.end() - 4, data.end()), (Bytes{ 0xFF, 0xFF, 0xFF, 0xFE })) << name;
    }
}

TEST (ChunkWriter, StringsArePaddedToWholeWords)
{
    for (const auto& [text, occupied] :
         { std::pair<const char*, int32_t>{ "ab", 4 }, { "abc", 4 }, { "abcd", 8 }, { "", 4 } })
    {
        Parser parser;
        parser.AddString ("n", AAX_CString (text));
        EXPECT_EQ (parser.GetChunkDataSize(), 4 + 4 + occupied) << text;
        const Bytes data = writeChunk (parser);
        EXPECT_EQ (data[4], 'r');
        EXPECT_EQ (data[5], '_');
        EXPECT_EQ (std::string (reinterpret_cast<const char*> (data.data() + 8)), text);
    }

    Parser parser;
    parser.AddString ("mode", AAX_CString ("abc"));
    parser.AddInt32 ("count", 3);
    const Parser loaded = loadChunk (writeChunk (parser));
    ASSERT_EQ (loaded.Entries().size(), 2u);
    EXPECT_STREQ (loaded.Entries()[0].text.CString(), "abc");
    EXPECT_EQ (loaded.Entries()[1].Int32Value(), 3);
}

TEST (ChunkWriter, RecordWithoutRoomIsRefused)
{
    Parser parser;
    parser.AddDouble ("gain", 1.0);
    EXPECT_EQ (parser.GetChunkData (nullptr), AAX_CHUNK_SERIALIZATION_FAILED);
}

TEST (ChunkReader, RoundTripKeepsTypesNamesAndValues)
{
    Parser parser;
    parser.AddDouble ("gain_L", -12.25);
    parser.AddInt32 ("steps", -123456789);
    parser.AddString ("label", AAX_CString ("Larkspur"));
    parser.AddDouble ("", 3.0);

    const Parser loaded = loadChunk (writeChunk (parser), 42);
    EXPECT_EQ (loaded.Version(), 42);
    ASSERT_EQ (loaded.Entries().size(), 4u);
    for (size_t i = 0; i < 4; ++i)
    {
        EXPECT_EQ (loaded.Entries()[i].typeCode, parser.Entries()[i].typeCode);
        EXPECT_STREQ (loaded.Entries()[i].name.CString(), parser.Entries()[i].name.CString());
        EXPECT_EQ (loaded.Entries()[i].valueBits, parser.Entries()[i].valueBits);
        EXPECT_STREQ (loaded.Entries()[i].text.CString(), parser.Entries()[i].text.CString());
    }
}

TEST (ChunkReader, Int16AndFloatEntries)
{
    const Parser loaded = loadChunk (withMagic ({ 's', '_', 'a', 0, 0x12, 0x34, 0, 0, //
                                                  'f', '_', 'b', 0, 0x3F, 0xC0, 0x00, 0x00 }));
    ASSERT_EQ (loaded.Entries().size(), 2u);
    EXPECT_EQ (loaded.Entries()[0].typeCode, Parser::typeInt16);
    EXPECT_EQ (loaded.Entries()[0].Int16Value(), 0x1234);
    EXPECT_EQ (loaded.Entries()[0].valueBits, 0x1234u);
    EXPECT_STREQ (loaded.Entries()[0].name.CString(), "a");
    EXPECT_EQ (loaded.Entries()[1].typeCode, Parser::typeFloat);
    EXPECT_EQ (loaded.Entries()[1].FloatValue(), 1.5f);

    // Parsed int16 entries are written back the same way.
    EXPECT_EQ (writeChunk (loaded), withMagic ({ 's', '_', 'a', 0, 0x12, 0x34, 0, 0, //
                                                 'f', '_', 'b', 0, 0x3F, 0xC0, 0x00, 0x00 }));
}

TEST (ChunkReader, ShortOrForeignRecordsLoadNothingButTheVersion)
{
    EXPECT_TRUE (loadChunk ({ 1, 1, 1, 1 }, 3).Entries().empty());
    EXPECT_EQ (loadChunk ({ 1, 1, 1, 1 }, 3).Version(), 3);
    EXPECT_TRUE (loadChunk ({ 1, 1, 1, 2, 'l', '_', 'a', 0, 0, 0, 0, 1 }, -5).Entries().empty());
    EXPECT_EQ (loadChunk ({ 1, 1, 1, 2, 'l', '_', 'a', 0, 0, 0, 0, 1 }, -5).Version(), -5);
    EXPECT_TRUE (loadChunk ({}, 1).Entries().empty());

    ChunkBuffer negative (Bytes{ 1, 1, 1, 1, 'l', '_', 'a', 0, 0, 0, 0, 1 }, 2);
    negative.record()->size = -8;
    Parser parser;
    parser.AddInt32 ("old", 1);
    parser.LoadChunk (negative.record());
    EXPECT_TRUE (parser.Entries().empty());
    EXPECT_EQ (parser.Version(), 2);
}

TEST (ChunkReader, UnknownTagLoadsAsTypeZeroAndReadingGoesOn)
{
    const Parser loaded = loadChunk (withMagic ({ 'x', '_', 'a', 'b', 'c', 0, 0, 0, //
                                                  'l', '_', 'n', 0, 0, 0, 0, 9 }));
    ASSERT_EQ (loaded.Entries().size(), 2u);
    EXPECT_EQ (loaded.Entries()[0].typeCode, Parser::typeUnknown);
    EXPECT_EQ (loaded.Entries()[0].valueBits, 0u);
    EXPECT_STREQ (loaded.Entries()[0].name.CString(), "abc");
    EXPECT_EQ (loaded.Entries()[1].typeCode, Parser::typeInt32);
    EXPECT_STREQ (loaded.Entries()[1].name.CString(), "n");
    EXPECT_EQ (loaded.Entries()[1].Int32Value(), 9);
}

TEST (ChunkReader, LongNamesAreCutAt255Characters)
{
    Bytes entries{ 'l', '_' };
    entries.insert (entries.end(), 300, 'q');
    entries.push_back (0);
    const Parser loaded = loadChunk (withMagic (entries));
    ASSERT_FALSE (loaded.Entries().empty());
    EXPECT_EQ (loaded.Entries()[0].name.Length(), 253u);
}

TEST (ChunkReader, ValuesThatDoNotFitEndParsingKeepingEarlierEntries)
{
    // A double with only four of its bytes, an int16 with one byte, a string without NUL.
    for (const Bytes& tail : { Bytes{ 'd', '_', 'b', 0, 0x3F, 0xF0, 0, 0 }, Bytes{ 's', '_', 'b', 0, 0x12 },
                               Bytes{ 'r', '_', 'b', 0, 'a', 'b', 'c', 'd' }, Bytes{ 'f', '_', 'b', 0 } })
    {
        Bytes entries{ 'l', '_', 'a', 0, 0, 0, 0, 5 };
        entries.insert (entries.end(), tail.begin(), tail.end());
        const Parser loaded = loadChunk (withMagic (entries));
        ASSERT_EQ (loaded.Entries().size(), 1u);
        EXPECT_EQ (loaded.Entries()[0].Int32Value(), 5);
    }
}

TEST (ChunkReader, ValidChunkCutAtEveryByteKeepsTheEntriesBeforeTheCut)
{
    Parser parser;
    parser.AddDouble ("gain_L", 0.5);
    parser.AddString ("name", AAX_CString ("abc"));
    parser.AddInt32 ("a", 77);
    parser.AddString ("long", AAX_CString ("abcdefgh"));
    parser.AddDouble ("freq_1_1", 1500.0);
    const Bytes full = writeChunk (parser);

    // Where each entry's bytes end, padding included.
    std::vector<size_t> ends;
    size_t offset = 4;
    for (const auto& entry : parser.Entries())
    {
        offset += (entry.name.Length() + 3 + 3) / 4 * 4;
        offset += entry.typeCode == Parser::typeDouble   ? 8
                  : entry.typeCode == Parser::typeString ? (entry.text.Length() + 1 + 3) / 4 * 4
                                                         : 4;
        ends.push_back (offset);
    }
    ASSERT_EQ (ends.back(), full.size());

    for (size_t cut = 0; cut <= full.size(); ++cut)
    {
        const Parser loaded = loadChunk (Bytes (full.begin(), full.begin() + long (cut)));
        size_t complete = 0;
        while (complete < ends.size() && ends[complete] <= cut)
            ++complete;

        ASSERT_GE (loaded.Entries().size(), complete) << cut;
        ASSERT_LE (loaded.Entries().size(), parser.Entries().size()) << cut;
        for (size_t i = 0; i < loaded.Entries().size(); ++i)
        {
            EXPECT_EQ (loaded.Entries()[i].typeCode, parser.Entries()[i].typeCode) << cut;
            EXPECT_STREQ (loaded.Entries()[i].name.CString(), parser.Entries()[i].name.CString()) << cut;
            EXPECT_EQ (loaded.Entries()[i].valueBits, parser.Entries()[i].valueBits) << cut;
            EXPECT_STREQ (loaded.Entries()[i].text.CString(), parser.Entries()[i].text.CString()) << cut;
        }
    }
}

TEST (ChunkLookup, FindsByTypeAndLeavesOutputsAloneOtherwise)
{
    Parser parser;
    parser.AddDouble ("gain", 0.25);
    parser.AddInt32 ("count", 4);
    parser.AddString ("label", AAX_CString ("hi"));
    parser.AddDouble ("", 9.0);

    double d = -1.0;
    int32_t i = -1;
    AAX_CString s ("untouched");
    EXPECT_TRUE (parser.FindDouble ("gain", &d));
    EXPECT_EQ (d, 0.25);
    EXPECT_TRUE (parser.FindInt32 ("count", &i));
    EXPECT_EQ (i, 4);
    EXPECT_TRUE (parser.FindString ("label", &s));
    EXPECT_STREQ (s.CString(), "hi");

    d = -1.0;
    i = -1;
    s.SetCString ("untouched");
    EXPECT_FALSE (parser.FindDouble ("count", &d));
    EXPECT_EQ (d, -1.0);
    EXPECT_FALSE (parser.FindInt32 ("gain", &i));
    EXPECT_EQ (i, -1);
    EXPECT_FALSE (parser.FindString ("gain", &s));
    EXPECT_STREQ (s.CString(), "untouched");
    EXPECT_FALSE (parser.FindDouble ("missing", &d));
    EXPECT_EQ (d, -1.0);

    EXPECT_TRUE (parser.FindDouble (nullptr, &d));
    EXPECT_EQ (d, 9.0);
}

TEST (ChunkLookup, SearchStartsAfterTheLastHitAndWrapsRound)
{
    // Duplicate names show where each search starts.
    Parser parser;
    parser.AddInt32 ("a", 1);
    parser.AddInt32 ("b", 2);
    parser.AddInt32 ("a", 3);
    parser.AddInt32 ("c", 4);

    EXPECT_EQ (parser.FindName (AAX_CString ("a")), 0);
    EXPECT_EQ (parser.FindName (AAX_CString ("a")), 2);
    EXPECT_EQ (parser.FindName (AAX_CString ("a")), 0);
    EXPECT_EQ (parser.FindName (AAX_CString ("c")), 3);
    // After the last entry the next search starts again from the first.
    EXPECT_EQ (parser.FindName (AAX_CString ("a")), 0);
    EXPECT_EQ (parser.FindName (AAX_CString ("b")), 1);
    EXPECT_EQ (parser.FindName (AAX_CString ("b")), 1);
    EXPECT_EQ (parser.FindName (AAX_CString ("zzz")), -1);
    EXPECT_EQ (parser.FindName (AAX_CString ("a")), 2);

    parser.Clear();
    EXPECT_EQ (parser.FindName (AAX_CString ("a")), -1);
    EXPECT_EQ (parser.Version(), -1);
}

TEST (ChunkLookup, EntryOrderLookupsAfterAParse)
{
    Parser writer;
    writer.AddInt32 ("a", 1);
    writer.AddInt32 ("b", 2);
    writer.AddInt32 ("c", 3);
    Parser loaded = loadChunk (writeChunk (writer));

    int32_t value = 0;
    for (const auto& [name, expected] : { std::pair<const char*, int32_t>{ "a", 1 },
                                          { "b", 2 },
                                          { "c", 3 },
                                          { "a", 1 },
                                          { "c", 3 },
                                          { "b", 2 },
                                          { "b", 2 } })
    {
        EXPECT_TRUE (loaded.FindInt32 (name, &value)) << name;
        EXPECT_EQ (value, expected) << name;
    }
}
