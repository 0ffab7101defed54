#include "ChunkBuffer.h"
#include "FakeEffectHost.h"
#include "FakeHostServices.h"
#include "TestEffect.h"
#include "TestParameters.h"

#include "AAX_CChunkDataParser.h"
#include "AAX_Errors.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <memory>

namespace
{
constexpr AAX_CTypeID juceChunkId = 0x6A756365; // 'juce'

// An effect on the fake host whose automation requests are confirmed at once.
struct HostedEffect
{
    FakeEffectHost host;
    TestEffect effect;

    void start()
    {
        ASSERT_EQ (effect.InitializeWithHost (host.unknown()), AAX_SUCCESS);
        host.confirmTo = &effect;
        host.calls.clear();
    }

    ~HostedEffect() { effect.TearDown(); }

    float value (const char* identifier)
    {
        AAX_IParameter* parameter = nullptr;
        effect.ParameterById (identifier, &parameter);
        return realValue (parameter);
    }

    void set (const char* identifier, double normalized)
    {
        ASSERT_EQ (effect.SetParameterNormalizedValue (identifier, normalized), AAX_SUCCESS);
    }

    // Asks for the size, then writes the chunk into a record of exactly that size.
    std::unique_ptr<ChunkBuffer> save()
    {
        uint32_t size = 0;
        EXPECT_EQ (effect.ChunkSizeForId (AAX_ControlsStateChunkId, &size), AAX_SUCCESS);
        auto buffer = std::make_unique<ChunkBuffer> (size);
        buffer->record()->chunkTypeId = AAX_ControlsStateChunkId;
        EXPECT_EQ (effect.WriteChunk (AAX_ControlsStateChunkId, buffer->record()), AAX_SUCCESS);
        return buffer;
    }
};

// A controls-state chunk holding the parser's entries.
std::unique_ptr<ChunkBuffer> chunkOf (const AAX_CChunkDataParser& entries)
{
    auto buffer = std::make_unique<ChunkBuffer> (size_t (entries.GetChunkDataSize()));
    buffer->record()->chunkTypeId = AAX_ControlsStateChunkId;
    buffer->record()->version = -1;
    EXPECT_EQ (entries.GetChunkData (buffer->record()), AAX_SUCCESS);
    return buffer;
}
} // namespace

TEST (ControlsStateChunk, OneChunkAtIndexZeroOnly)
{
    TestEffect effect;
    int32_t count = 0;
    EXPECT_EQ (effect.ChunkCount (&count), AAX_SUCCESS);
    EXPECT_EQ (count, 1);

    AAX_CTypeID id = 0;
    EXPECT_EQ (effect.ChunkIdAtIndex (0, &id), AAX_SUCCESS);
    EXPECT_EQ (id, 0x656C636Bu);
    for (const int32_t index : { 1, -1 })
    {
        id = 7;
        EXPECT_EQ (effect.ChunkIdAtIndex (index, &id), AAX_ERROR_INVALID_CHUNK_INDEX);
        EXPECT_EQ (id, 0u);
    }
}

TEST (ControlsStateChunk, ForeignChunkTypesAreRefused)
{
    HostedEffect hosted;
    hosted.effect.addParameter (unitParameter ("gain", 0.5f));
    hosted.start();

    uint32_t size = 99;
    EXPECT_EQ (hosted.effect.ChunkSizeForId (juceChunkId, &size), AAX_ERROR_INVALID_CHUNK_ID);
    EXPECT_EQ (size, 0u);

    ChunkBuffer buffer (64);
    buffer.record()->chunkTypeId = juceChunkId;
    EXPECT_EQ (hosted.effect.WriteChunk (juceChunkId, buffer.record()), AAX_ERROR_INVALID_CHUNK_ID);
    EXPECT_EQ (hosted.effect.ApplyChunk (juceChunkId, buffer.record()), AAX_ERROR_INVALID_CHUNK_ID);
    EXPECT_TRUE (hosted.host.calls.empty());

    // A chunk of another type compares as equal without being read.
    bool equal = false;
    EXPECT_EQ (hosted.effect.CompareWithChunk (buffer.record(), &equal), AAX_SUCCESS);
    EXPECT_TRUE (equal);
}

TEST (ControlsStateChunk, WriteWithoutAnnouncedSizeIsRefused)
{
    HostedEffect hosted;
    hosted.effect.addParameter (unitParameter ("gain", 0.5f));
    hosted.start();

    ChunkBuffer buffer (64);
    EXPECT_EQ (hosted.effect.WriteChunk (AAX_ControlsStateChunkId, buffer.record()), AAX_ERROR_INCORRECT_CHUNK_SIZE);
    EXPECT_EQ (buffer.record()->size, 64);
    EXPECT_EQ (buffer.record()->name[0], '\0');
}

TEST (ControlsStateChunk, WriteRefusesEntriesThatChangedSizeSinceTheAnnouncement)
{
    HostedEffect hosted;
    auto named = std::make_unique<DoubleValuedParameter> ("ratio", 0.5);
    hosted.effect.addParameter (unitParameter ("gain", 0.5f));
    hosted.start();

    uint32_t size = 0;
    ASSERT_EQ (hosted.effect.ChunkSizeForId (AAX_ControlsStateChunkId, &size), AAX_SUCCESS);
    hosted.effect.registry().AddParameter (named.release());

    ChunkBuffer buffer (size);
    EXPECT_EQ (hosted.effect.WriteChunk (AAX_ControlsStateChunkId, buffer.record()), AAX_ERROR_INCORRECT_CHUNK_SIZE);
}

TEST (ControlsStateChunk, MasterBypassIsFilteredAndTheVersionIsMinusOne)
{
    HostedEffect hosted;
    hosted.effect.addParameter (unitParameter ("gain_L", 0.5f));
    hosted.effect.addParameter (unitParameter (AAX_MasterBypassParameterId, 1.0f));
    hosted.effect.addParameter (unitParameter ("gain_R", 0.25f));
    hosted.start();

    uint32_t size = 0;
    ASSERT_EQ (hosted.effect.ChunkSizeForId (AAX_ControlsStateChunkId, &size), AAX_SUCCESS);
    EXPECT_EQ (size, 4u + 2u * 20u);

    ChunkBuffer buffer (size);
    buffer.record()->version = 5;
    ASSERT_EQ (hosted.effect.WriteChunk (AAX_ControlsStateChunkId, buffer.record()), AAX_SUCCESS);
    EXPECT_EQ (buffer.record()->size, int32_t (size));
    EXPECT_EQ (buffer.record()->version, -1);
    EXPECT_STREQ (buffer.record()->name, "Complete Controls State");
    for (size_t i = std::strlen ("Complete Controls State"); i < sizeof (buffer.record()->name); ++i)
        EXPECT_EQ (buffer.record()->name[i], '\0');

    // The first entry is exactly the documented "gain_L" = 0.5.
    const std::vector<unsigned char> firstEntry{
        0x01, 0x01, 0x01, 0x01, 'd',  '_',  'g',  'a',  'i',  'n',  '_',  'L',
        0x00, 0x00, 0x00, 0x00, 0x3F, 0xE0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00
    };
    EXPECT_EQ (buffer.dataArea (24), firstEntry);

    AAX_CChunkDataParser parsed;
    parsed.LoadChunk (buffer.record());
    ASSERT_EQ (parsed.Entries().size(), 2u);
    EXPECT_STREQ (parsed.Entries()[0].name.CString(), "gain_L");
    EXPECT_STREQ (parsed.Entries()[1].name.CString(), "gain_R");
    EXPECT_EQ (parsed.Entries()[1].typeCode, AAX_CChunkDataParser::typeDouble);
    EXPECT_EQ (parsed.Entries()[1].DoubleValue(), 0.25);
    EXPECT_TRUE (hosted.host.calls.empty());
}

TEST (ControlsStateChunk, RoundTripIntoASecondObject)
{
    HostedEffect source;
    HostedEffect target;
    for (HostedEffect* hosted : { &source, &target })
    {
        hosted->effect.addParameter (unitParameter ("gain_1_1", 0.5f));
        hosted->effect.addParameter (unitParameter (AAX_MasterBypassParameterId, 0.0f));
        hosted->effect.addParameter (unitParameter ("frequency_1_1", 0.5f));
        hosted->effect.addParameter (unitParameter ("out_1_1", 0.5f));
        hosted->start();
    }
    source.set ("gain_1_1", 0.125);
    source.set ("frequency_1_1", 0.8);
    source.set ("out_1_1", 1.0 / 3.0);
    source.set (AAX_MasterBypassParameterId, 1.0);

    const auto saved = source.save();
    bool equal = true;
    ASSERT_EQ (target.effect.CompareWithChunk (saved->record(), &equal), AAX_SUCCESS);
    EXPECT_FALSE (equal);

    ASSERT_EQ (target.effect.ApplyChunk (AAX_ControlsStateChunkId, saved->record()), AAX_SUCCESS);
    for (const char* identifier : { "gain_1_1", "frequency_1_1", "out_1_1" })
        EXPECT_EQ (target.value (identifier), source.value (identifier)) << identifier;
    // The master bypass is not part of the chunk.
    EXPECT_EQ (target.value (AAX_MasterBypassParameterId), 0.0f);

    // Each value arrived as a request the host confirmed.
    EXPECT_EQ (target.host.callsStartingWith ("touch").size(), 3u);
    EXPECT_EQ (target.host.callsStartingWith ("request").size(), 3u);
    EXPECT_EQ (target.host.callsStartingWith ("release").size(), 3u);

    ASSERT_EQ (target.effect.CompareWithChunk (saved->record(), &equal), AAX_SUCCESS);
    EXPECT_TRUE (equal);
    ASSERT_EQ (source.effect.CompareWithChunk (saved->record(), &equal), AAX_SUCCESS);
    EXPECT_TRUE (equal);
}

TEST (ControlsStateChunk, MissingEntryLeavesItsParameterAndSetsTheOthers)
{
    HostedEffect hosted;
    hosted.effect.addParameter (unitParameter ("a", 0.1f));
    hosted.effect.addParameter (unitParameter ("b", 0.2f));
    hosted.effect.addParameter (unitParameter ("c", 0.3f));
    hosted.start();

    AAX_CChunkDataParser entries;
    entries.AddDouble ("a", 0.75);
    entries.AddDouble ("c", 0.5);
    const auto chunk = chunkOf (entries);

    ASSERT_EQ (hosted.effect.ApplyChunk (AAX_ControlsStateChunkId, chunk->record()), AAX_SUCCESS);
    EXPECT_EQ (hosted.value ("a"), 0.75f);
    EXPECT_EQ (hosted.value ("b"), 0.2f);
    EXPECT_EQ (hosted.value ("c"), 0.5f);

    bool equal = true;
    ASSERT_EQ (hosted.effect.CompareWithChunk (chunk->record(), &equal), AAX_SUCCESS);
    EXPECT_FALSE (equal);
}

TEST (ControlsStateChunk, ComparisonIsAtFloatPrecision)
{
    HostedEffect hosted;
    hosted.effect.addParameter (unitParameter ("gain", 0.3f));
    hosted.effect.addParameter (unitParameter (AAX_MasterBypassParameterId, 1.0f));
    hosted.start();

    auto compare = [&hosted] (double entry)
    {
        AAX_CChunkDataParser entries;
        entries.AddDouble ("gain", entry);
        entries.AddDouble (AAX_MasterBypassParameterId, 0.0);
        const auto chunk = chunkOf (entries);
        bool equal = false;
        EXPECT_EQ (hosted.effect.CompareWithChunk (chunk->record(), &equal), AAX_SUCCESS);
        return equal;
    };

    EXPECT_TRUE (compare (0.30000000001));
    EXPECT_TRUE (compare (0.3));
    EXPECT_FALSE (compare (0.3001));
    EXPECT_FALSE (compare (std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE (compare (1e300));

    // An entry of the wrong type counts as missing.
    AAX_CChunkDataParser wrongType;
    wrongType.AddInt32 ("gain", 0);
    const auto chunk = chunkOf (wrongType);
    bool equal = true;
    EXPECT_EQ (hosted.effect.CompareWithChunk (chunk->record(), &equal), AAX_SUCCESS);
    EXPECT_FALSE (equal);
}

TEST (ControlsStateChunk, ComparisonWithoutParametersIsEqual)
{
    TestEffect effect;
    AAX_CChunkDataParser entries;
    entries.AddDouble ("gain", 0.5);
    const auto chunk = chunkOf (entries);
    bool equal = false;
    EXPECT_EQ (effect.CompareWithChunk (chunk->record(), &equal), AAX_SUCCESS);
    EXPECT_TRUE (equal);
}

TEST (ControlsStateChunk, NonFiniteEntriesLeaveTheParametersUnchanged)
{
    FakeEffectHost host;
    std::vector<std::string> log;
    TestEffect effect;
    for (const char* identifier : { "nan", "inf", "minusInf", "huge" })
        effect.addParameter (std::make_unique<RecordingParameter> (identifier, 0.25f, log));
    effect.addParameter (unitParameter ("fine", 0.25f));
    ASSERT_EQ (effect.InitializeWithHost (host.unknown()), AAX_SUCCESS);
    host.confirmTo = &effect;
    host.calls.clear();

    AAX_CChunkDataParser entries;
    entries.AddDouble ("nan", std::numeric_limits<double>::quiet_NaN());
    entries.AddDouble ("inf", std::numeric_limits<double>::infinity());
    entries.AddDouble ("minusInf", -std::numeric_limits<double>::infinity());
    entries.AddDouble ("huge", 1e300);
    entries.AddDouble ("fine", 0.75);
    const auto chunk = chunkOf (entries);

    ASSERT_EQ (effect.ApplyChunk (AAX_ControlsStateChunkId, chunk->record()), AAX_SUCCESS);
    EXPECT_TRUE (log.empty());
    for (const char* identifier : { "nan", "inf", "minusInf", "huge" })
    {
        AAX_IParameter* parameter = nullptr;
        effect.ParameterById (identifier, &parameter);
        EXPECT_EQ (realValue (parameter), 0.25f) << identifier;
    }
    EXPECT_EQ (host.callsStartingWith ("request"), (std::vector<std::string>{ "request fine 0.75" }));
    effect.TearDown();
}

TEST (ControlsStateChunk, ShortOrUnmarkedChunksChangeNothingAndCompareUnequal)
{
    HostedEffect hosted;
    hosted.effect.addParameter (unitParameter ("gain", 0.5f));
    hosted.start();

    ChunkBuffer shortChunk (std::vector<unsigned char>{ 1, 1, 1, 1 }, 3);
    ChunkBuffer unmarked (std::vector<unsigned char>{ 2, 1, 1, 1, 'd', '_', 'g', 0 }, 3);
    for (ChunkBuffer* chunk : { &shortChunk, &unmarked })
    {
        chunk->record()->chunkTypeId = AAX_ControlsStateChunkId;
        EXPECT_EQ (hosted.effect.ApplyChunk (AAX_ControlsStateChunkId, chunk->record()), AAX_SUCCESS);
        bool equal = true;
        EXPECT_EQ (hosted.effect.CompareWithChunk (chunk->record(), &equal), AAX_SUCCESS);
        EXPECT_FALSE (equal);
    }
    EXPECT_TRUE (hosted.host.calls.empty());
    EXPECT_EQ (hosted.value ("gain"), 0.5f);
}

namespace
{
// Answers none of the typed getters, so it has no place in the chunk.
class NoValueParameter : public ValuelessParameter
{
public:
    using ValuelessParameter::ValuelessParameter;
    bool ValueAsString (AAX_IString*) const override { return false; }
};

// Answers as a bool only: the float getter comes first in the probes.
class BoolOnlyParameter : public BoolValuedParameter
{
public:
    using BoolValuedParameter::BoolValuedParameter;
    bool ValueAsFloat (float*) const override { return false; }
};
} // namespace

TEST (ControlsStateChunk, EntryKindsFollowTheParametersValueKinds)
{
    TestEffect effect;
    effect.addParameter (unitParameter ("float", 0.5f));
    effect.addParameter (std::make_unique<BoolOnlyParameter> ("switch", true));
    effect.addParameter (std::make_unique<DoubleValuedParameter> ("ratio", 0.125));
    effect.addParameter (std::make_unique<ValuelessParameter> ("text"));
    effect.addParameter (std::make_unique<NoValueParameter> ("nothing"));
    ASSERT_EQ (effect.InitializeWithHost (nullptr), AAX_SUCCESS);

    effect.BuildChunkData();
    const auto& entries = effect.chunkParser().Entries();
    ASSERT_EQ (entries.size(), 4u);
    EXPECT_STREQ (entries[0].name.CString(), "float");
    EXPECT_EQ (entries[0].typeCode, AAX_CChunkDataParser::typeDouble);
    EXPECT_EQ (entries[0].DoubleValue(), 0.5);
    EXPECT_STREQ (entries[1].name.CString(), "switch");
    EXPECT_EQ (entries[1].typeCode, AAX_CChunkDataParser::typeInt32);
    EXPECT_EQ (entries[1].Int32Value(), 1);
    EXPECT_STREQ (entries[2].name.CString(), "ratio");
    EXPECT_EQ (entries[2].typeCode, AAX_CChunkDataParser::typeDouble);
    EXPECT_EQ (entries[2].DoubleValue(), 0.125);
    // Without a numeric getter the value's text is kept.
    EXPECT_STREQ (entries[3].name.CString(), "text");
    EXPECT_EQ (entries[3].typeCode, AAX_CChunkDataParser::typeString);
    EXPECT_STREQ (entries[3].text.CString(), "0.000");

    // Bool compares as entry != 0, double at float precision, text byte for byte.
    AAX_CChunkDataParser matching;
    matching.AddDouble ("float", 0.5);
    matching.AddInt32 ("switch", 7);
    matching.AddDouble ("ratio", 0.125000000001);
    matching.AddString ("text", AAX_CString ("0.000"));
    const auto chunk = chunkOf (matching);
    bool equal = false;
    EXPECT_EQ (effect.CompareWithChunk (chunk->record(), &equal), AAX_SUCCESS);
    EXPECT_TRUE (equal);

    AAX_CChunkDataParser otherText;
    otherText.AddDouble ("float", 0.5);
    otherText.AddInt32 ("switch", 1);
    otherText.AddDouble ("ratio", 0.125);
    otherText.AddString ("text", AAX_CString ("0.0001"));
    const auto differing = chunkOf (otherText);
    EXPECT_EQ (effect.CompareWithChunk (differing->record(), &equal), AAX_SUCCESS);
    EXPECT_FALSE (equal);
    effect.TearDown();
}
