// The product library driven through the stand-in host as a host drives it: initialisation,
// automation, packets, chunks, processing, bypass and the longer-block re-preparation.

#include "AAX_ChunkRecord.h"
#include "AAX_Errors.h"
#include "AAX_IParameter.h"
#include "EndToEndFixture.h"
#include "HostString.h"
#include "InsertRenderer.h"
#include "TestSignal.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <limits>
#include <thread>

using namespace endtoend;

namespace
{
constexpr AAX_CTypeID controlsStateChunk = 0x656C636B;  // 'elck'
constexpr AAX_CTypeID processorStateChunk = 0x6A756365; // 'juce'

const ProjectChunk* findChunk (const HostProject& project, AAX_CTypeID chunkId)
{
    for (const ProjectChunk& chunk : project.chunks)
        if (chunk.chunkId == chunkId)
            return &chunk;
    return nullptr;
}

float postedFloat (const HostInstanceServices::PostedPacket& packet)
{
    float value = -1.0f;
    if (packet.data.size() == sizeof (value))
        std::memcpy (&value, packet.data.data(), sizeof (value));
    return value;
}

double channelEnergy (const juce::AudioBuffer<float>& audio, int channel, int start, int count)
{
    double sum = 0.0;
    for (int i = start; i < start + count; ++i)
        sum += double (audio.getSample (channel, i)) * audio.getSample (channel, i);
    return sum;
}
} // namespace

TEST_F (EndToEnd, InitialisationMirrorsTheParametersInTheProcessorsOrderPlusTheMasterBypass)
{
    auto insert = makeInstance();
    ASSERT_NE (insert, nullptr);

    ConvolutionEqAudioProcessor processor;
    std::vector<std::string> expected;
    for (auto* parameter : processor.getParameters())
        expected.push_back (dynamic_cast<juce::AudioProcessorParameterWithID*> (parameter)->paramID.toStdString());
    expected.push_back ("MasterBypassID");
    ASSERT_EQ (expected.size(), 60u);
    EXPECT_EQ (insert->parameterIds(), expected);

    auto& effect = insert->effect();
    HostString text;
    AAX_IString& out = text;
    EXPECT_EQ (effect.MasterBypassIdentifier (&out), AAX_SUCCESS);
    EXPECT_EQ (text.str(), "MasterBypassID");

    // Steps capped at 2048, switches and choices discrete, gains continuous.
    int32_t steps = 0;
    uint32_t type = 99;
    EXPECT_EQ (effect.ParameterStepCount ("gain_L", &steps), AAX_SUCCESS);
    EXPECT_EQ (steps, 2048);
    EXPECT_EQ (effect.ParameterStepCount ("preset", &steps), AAX_SUCCESS);
    EXPECT_EQ (steps, 101);
    EXPECT_EQ (effect.ParameterType ("gain_L", &type), AAX_SUCCESS);
    EXPECT_EQ (type, 1u);
    EXPECT_EQ (effect.ParameterType ("type_1_1", &type), AAX_SUCCESS);
    EXPECT_EQ (type, 0u);
    EXPECT_EQ (effect.ParameterStepCount ("type_1_1", &steps), AAX_SUCCESS);
    EXPECT_EQ (steps, 2);

    EXPECT_EQ (effect.ParameterName ("input_level", &out), AAX_SUCCESS);
    EXPECT_EQ (text.str(), "Input level");
    EXPECT_EQ (effect.ParameterAbbreviatedName ("input_level", &out, 4), AAX_SUCCESS);
    EXPECT_EQ (text.str(), "Inpu");

    // Defaults come from the processor; texts from its own conversions.
    double value = -1.0;
    EXPECT_EQ (effect.ParameterDefaultNormalizedValue ("input_level", &value), AAX_SUCCESS);
    EXPECT_NEAR (value, 0.6242951, 1.0e-6);
    EXPECT_EQ (effect.StringFromNormalizedValue ("type_1_3", 1.0, text, 0), AAX_SUCCESS);
    EXPECT_EQ (text.str(), "HP");

    // Every mirrored parameter was registered with the host; the latency reported is 0.
    int registered = 0;
    for (const auto& event : insert->services().automationEvents())
        registered += event.kind == "register" ? 1 : 0;
    EXPECT_EQ (registered, 60);
    EXPECT_EQ (insert->services().reportedLatencies(), std::vector<int32_t>{ 0 });
}

TEST_F (EndToEnd, TheMasterBypassPacketIsPostedOnceAfterInitialisationAndAgainWhenItChanges)
{
    auto insert = makeInstance();
    ASSERT_NE (insert, nullptr);

    auto packets = insert->services().postedPackets();
    ASSERT_EQ (packets.size(), 1u);
    EXPECT_EQ (packets[0].field, 3);
    EXPECT_EQ (postedFloat (packets[0]), 0.0f);

    EXPECT_EQ (insert->effect().DispatchPackets(), AAX_SUCCESS);
    EXPECT_EQ (insert->services().postedPackets().size(), 1u);

    ASSERT_EQ (insert->automate ("MasterBypassID", 1.0), AAX_SUCCESS);
    insert->idle();
    packets = insert->services().postedPackets();
    ASSERT_EQ (packets.size(), 2u);
    EXPECT_EQ (packets[1].field, 3);
    EXPECT_EQ (postedFloat (packets[1]), 1.0f);
}

TEST_F (EndToEnd, PlugInSideChangesReachTheHostAsTouchRequestReleaseAndStoreOnlyWhenConfirmed)
{
    HostInstance::Options options;
    options.confirmationDelay = std::chrono::milliseconds (20);
    auto insert = makeInstance (options);
    ASSERT_NE (insert, nullptr);
    insert->services().clearRecords();

    ASSERT_EQ (insert->selectPreset ("Big Synth"), AAX_SUCCESS);

    std::vector<std::string> gainL;
    for (const auto& event : insert->services().automationEvents())
        if (event.identifier == "gain_L")
            gainL.push_back (event.kind);
    EXPECT_EQ (gainL, (std::vector<std::string>{ "touch", "request", "release" }));

    // The host parameter holds its old value until the host answers.
    const double bigSynthGainL = 0.6669667959213257;
    AAX_IParameter* parameter = nullptr;
    ASSERT_EQ (insert->effect().ParameterById ("gain_L", &parameter), AAX_SUCCESS);
    EXPECT_NEAR (parameter->NormalizedValue(), 0.6242951, 1.0e-6);

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds (5);
    while (insert->services().pendingConfirmations() > 0 && std::chrono::steady_clock::now() < deadline)
    {
        std::this_thread::sleep_for (std::chrono::milliseconds (5));
        insert->idle();
    }
    EXPECT_NEAR (parameter->NormalizedValue(), bigSynthGainL, 1.0e-6);
    EXPECT_NEAR (insert->normalizedValue ("gain_L"), bigSynthGainL, 1.0e-6);

    // A confirmed value is not sent back to the host as a new request.
    size_t requests = 0;
    for (const auto& event : insert->services().automationEvents())
        requests += event.kind == "request" && event.identifier == "gain_L" ? 1 : 0;
    EXPECT_EQ (requests, 1u);
}

TEST_F (EndToEnd, AutomationOfTheLeftGainChangesTheLeftOutput)
{
    auto automated = makeInstance();
    auto steady = makeInstance();
    ASSERT_NE (automated, nullptr);
    ASSERT_NE (steady, nullptr);

    constexpr int block = 512;
    const auto input = testSignal (block * 40);
    juce::AudioBuffer<float> firstHalf (2, block * 20);
    juce::AudioBuffer<float> secondHalf (2, block * 20);
    for (int channel = 0; channel < 2; ++channel)
    {
        firstHalf.copyFrom (channel, 0, input, channel, 0, block * 20);
        secondHalf.copyFrom (channel, 0, input, channel, block * 20, block * 20);
    }

    const auto steadyFirst = processDirectly (*steady, firstHalf, block);
    const auto steadySecond = processDirectly (*steady, secondHalf, block);
    const auto automatedFirst = processDirectly (*automated, firstHalf, block);
    ASSERT_EQ (automated->automate ("gain_L", normalisedFor ("gain_L", -12.0f)), AAX_SUCCESS);
    const auto automatedSecond = processDirectly (*automated, secondHalf, block);

    EXPECT_EQ (firstDifference (automatedFirst, steadyFirst), "");
    const double ratio =
        channelEnergy (automatedSecond, 0, 0, block * 20) / channelEnergy (steadySecond, 0, 0, block * 20);
    EXPECT_NEAR (10.0 * std::log10 (ratio), -12.0, 0.2);
    for (int i = 0; i < block * 20; ++i)
        ASSERT_EQ (automatedSecond.getSample (1, i), steadySecond.getSample (1, i)) << i;
}

TEST_F (EndToEnd, BothChunksRoundTripIntoASecondInstance)
{
    auto first = makeInstance();
    auto second = makeInstance();
    ASSERT_NE (first, nullptr);
    ASSERT_NE (second, nullptr);

    ASSERT_EQ (first->selectPreset ("Thump M-S"), AAX_SUCCESS);
    ASSERT_EQ (first->automate ("gain_1_2", normalisedFor ("gain_1_2", 6.0f)), AAX_SUCCESS);
    ASSERT_EQ (first->automate ("MasterBypassID", 1.0), AAX_SUCCESS);
    first->idle();

    HostProject saved;
    ASSERT_EQ (first->saveChunks (saved), AAX_SUCCESS);
    ASSERT_EQ (saved.chunks.size(), 2u);
    EXPECT_EQ (saved.chunks[0].chunkId, controlsStateChunk);
    EXPECT_EQ (saved.chunks[0].name, "Complete Controls State");
    EXPECT_EQ (saved.chunks[0].version, -1);
    EXPECT_EQ (saved.chunks[1].chunkId, processorStateChunk);
    ASSERT_GT (saved.chunks[1].data.size(), 8u);
    EXPECT_EQ (std::memcmp (saved.chunks[1].data.data(), "VC2!", 4), 0);

    // Through a project file, as a host stores it.
    const auto path = juce::File::createTempFile ("project").getFullPathName().toStdString();
    std::string error;
    ASSERT_TRUE (saved.save (path, error)) << error;
    HostProject loaded;
    ASSERT_TRUE (loaded.load (path, error)) << error;
    juce::File (path).deleteFile();

    ASSERT_EQ (second->loadChunks (loaded), AAX_SUCCESS);
    second->idle();
    for (const std::string& identifier : first->parameterIds())
    {
        if (identifier != "MasterBypassID")
        {
            EXPECT_EQ (second->normalizedValue (identifier), first->normalizedValue (identifier)) << identifier;
        }
    }

    HostProject again;
    ASSERT_EQ (second->saveChunks (again), AAX_SUCCESS);
    ASSERT_EQ (again.chunks.size(), 2u);
    EXPECT_EQ (again.chunks[0].data, saved.chunks[0].data);
    EXPECT_EQ (again.chunks[1].data, saved.chunks[1].data);

    bool equal = false;
    EXPECT_EQ (second->compareChunk (saved.chunks[0], equal), AAX_SUCCESS);
    EXPECT_TRUE (equal);
}

TEST_F (EndToEnd, ACorruptedProcessorStateChunkLeavesTheInstanceAsItWas)
{
    auto insert = makeInstance();
    ASSERT_NE (insert, nullptr);
    ASSERT_EQ (insert->selectPreset ("Top End"), AAX_SUCCESS);
    insert->idle();

    HostProject before;
    ASSERT_EQ (insert->saveChunks (before), AAX_SUCCESS);
    const ProjectChunk* state = findChunk (before, processorStateChunk);
    ASSERT_NE (state, nullptr);

    std::vector<ProjectChunk> corruptions;
    ProjectChunk badMagic = *state;
    badMagic.data[0] = 'X';
    corruptions.push_back (badMagic);
    ProjectChunk cut = *state;
    cut.data.resize (state->data.size() / 2);
    corruptions.push_back (cut);
    ProjectChunk garbage = *state;
    for (size_t i = 8; i < garbage.data.size(); ++i)
        garbage.data[i] = static_cast<unsigned char> ('<' + i % 7);
    corruptions.push_back (garbage);
    ProjectChunk empty = *state;
    empty.data.clear();
    corruptions.push_back (empty);

    for (const ProjectChunk& corrupted : corruptions)
    {
        HostProject project;
        project.chunks.push_back (corrupted);
        EXPECT_EQ (insert->loadChunks (project), AAX_SUCCESS);
        insert->idle();

        HostProject after;
        ASSERT_EQ (insert->saveChunks (after), AAX_SUCCESS);
        EXPECT_EQ (findChunk (after, processorStateChunk)->data, state->data);
        EXPECT_EQ (findChunk (after, controlsStateChunk)->data, findChunk (before, controlsStateChunk)->data);
    }
}

TEST_F (EndToEnd, ARenderedPresetEqualsTheProcessorRunDirectly)
{
    auto insert = makeInstance();
    ASSERT_NE (insert, nullptr);
    ASSERT_EQ (insert->selectPreset ("Natural Thump"), AAX_SUCCESS);
    for (int turn = 0; turn < 3; ++turn)
        insert->idle();

    const auto input = testSignal (static_cast<int> (sampleRate) * 2);
    juce::AudioBuffer<float> rendered;
    InsertRenderer renderer;
    renderer.blockSize = 512;
    renderer.render (*insert, input, rendered);

    auto reference = makeReference (*insert, 1024);
    EXPECT_EQ (reference->getValueTreeState().getParameter ("type_1_1")->getCurrentValueAsText(), "LP");
    const auto expected = processReference (*reference, input, 512);
    EXPECT_EQ (firstDifference (rendered, expected), "");
    EXPECT_NE (firstDifference (rendered, input), "");
}

TEST_F (EndToEnd, TheMasterBypassPassesTheInputThrough)
{
    auto insert = makeInstance();
    ASSERT_NE (insert, nullptr);
    ASSERT_EQ (insert->selectPreset ("Saturated"), AAX_SUCCESS);
    ASSERT_EQ (insert->automate ("MasterBypassID", 1.0), AAX_SUCCESS);
    insert->idle();

    const auto input = testSignal (48000);
    juce::AudioBuffer<float> rendered;
    InsertRenderer().render (*insert, input, rendered);
    EXPECT_EQ (firstDifference (rendered, input), "");

    // And back on: processed again.
    ASSERT_EQ (insert->automate ("MasterBypassID", 0.0), AAX_SUCCESS);
    insert->idle();
    InsertRenderer().render (*insert, input, rendered);
    EXPECT_NE (firstDifference (rendered, input), "");
}

TEST_F (EndToEnd, ABlockLongerThanPreparedPreparesAgainAndStillProcessesCorrectly)
{
    auto insert = makeInstance();
    ASSERT_NE (insert, nullptr);
    ASSERT_EQ (insert->automate ("gain_2_2", normalisedFor ("gain_2_2", 6.0f)), AAX_SUCCESS);
    ASSERT_EQ (insert->automate ("gain_1_1", normalisedFor ("gain_1_1", -4.0f)), AAX_SUCCESS);
    insert->idle();

    const auto input = testSignal (4096 * 8);
    const auto rendered = processDirectly (*insert, input, 4096);
    auto reference = makeReference (*insert, 4096);
    const auto expected = processReference (*reference, input, 4096);
    EXPECT_EQ (firstDifference (rendered, expected), "");
    EXPECT_TRUE (allFinite (rendered));
}

TEST_F (EndToEnd, ValuesThatAreNotFiniteNeverReachAParameter)
{
    auto insert = makeInstance();
    ASSERT_NE (insert, nullptr);
    auto& effect = insert->effect();
    const double before = insert->normalizedValue ("gain_L");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();

    for (const double bad : { nan, inf, -inf })
    {
        EXPECT_NE (effect.UpdateParameterNormalizedValue ("gain_L", bad, 0), AAX_SUCCESS);
        EXPECT_NE (effect.SetParameterNormalizedValue ("gain_L", bad), AAX_SUCCESS);
        EXPECT_NE (effect.SetParameterNormalizedRelative ("gain_L", bad), AAX_SUCCESS);
        EXPECT_NE (effect.UpdateParameterNormalizedRelative ("gain_L", bad), AAX_SUCCESS);
        insert->idle();
        EXPECT_EQ (insert->normalizedValue ("gain_L"), before);
    }
    for (const char* text : { "nan", "inf", "-inf" })
    {
        double converted = 0.25;
        EXPECT_EQ (effect.NormalizedValueFromString ("gain_L", &converted, HostString (text)),
                   AAX_ERROR_INVALID_STRING_CONVERSION)
            << text;
        EXPECT_EQ (converted, 0.25);
    }

    // A controls-state chunk whose entry for gain_L is NaN (big-endian double).
    HostProject project;
    ASSERT_EQ (insert->saveChunks (project), AAX_SUCCESS);
    ProjectChunk controls = *findChunk (project, controlsStateChunk);
    const std::string name = "d_gain_L";
    auto at = std::search (controls.data.begin(), controls.data.end(), name.begin(), name.end());
    ASSERT_NE (at, controls.data.end());
    const size_t valueOffset = ((static_cast<size_t> (at - controls.data.begin()) + name.size() + 1 + 3) / 4) * 4;
    const unsigned char quietNaN[8] = { 0x7F, 0xF8, 0, 0, 0, 0, 0, 0 };
    std::memcpy (controls.data.data() + valueOffset, quietNaN, sizeof (quietNaN));
    HostProject poisoned;
    poisoned.chunks.push_back (controls);
    EXPECT_EQ (insert->loadChunks (poisoned), AAX_SUCCESS);
    insert->idle();
    EXPECT_EQ (insert->normalizedValue ("gain_L"), before);

    // A processor state whose gain_L reads "nan".
    ProjectChunk state = *findChunk (project, processorStateChunk);
    std::string xml (state.data.begin() + 8, state.data.end() - 1);
    const std::string attribute = "id=\"gain_L\" value=\"";
    const size_t position = xml.find (attribute);
    ASSERT_NE (position, std::string::npos);
    const size_t valueStart = position + attribute.size();
    xml.replace (valueStart, xml.find ('"', valueStart) - valueStart, "nan");
    juce::MemoryBlock block;
    juce::AudioProcessor::copyXmlToBinary (*juce::parseXML (xml), block);
    state.data.assign (static_cast<const unsigned char*> (block.getData()),
                       static_cast<const unsigned char*> (block.getData()) + block.getSize());
    poisoned.chunks = { state };
    EXPECT_EQ (insert->loadChunks (poisoned), AAX_SUCCESS);
    insert->idle();
    EXPECT_EQ (insert->normalizedValue ("gain_L"), before);

    const auto rendered = processDirectly (*insert, testSignal (4096), 512);
    EXPECT_TRUE (allFinite (rendered));
}

TEST_F (EndToEnd, AMonoInsertProcessesOneChannel)
{
    HostInstance::Options options;
    options.channels = 1;
    auto insert = makeInstance (options);
    ASSERT_NE (insert, nullptr);
    ASSERT_EQ (insert->selectPreset ("Natural Thump"), AAX_SUCCESS);
    insert->idle();

    juce::AudioBuffer<float> input (1, 8192);
    input.copyFrom (0, 0, testSignal (8192), 0, 0, 8192);
    const auto rendered = processDirectly (*insert, input, 512);

    auto reference = makeReference (*insert, 1024, 1);
    EXPECT_EQ (firstDifference (rendered, processReference (*reference, input, 512)), "");
    EXPECT_NE (firstDifference (rendered, input), "");
}

TEST_F (EndToEnd, TheChunkOperationsAnswerForBothChunksAndRefuseMisuse)
{
    auto insert = makeInstance();
    ASSERT_NE (insert, nullptr);
    auto& effect = insert->effect();

    int32_t count = 0;
    EXPECT_EQ (effect.ChunkCount (&count), AAX_SUCCESS);
    EXPECT_EQ (count, 2);
    AAX_CTypeID chunkId = 1;
    EXPECT_EQ (effect.ChunkIdAtIndex (0, &chunkId), AAX_SUCCESS);
    EXPECT_EQ (chunkId, controlsStateChunk);
    EXPECT_EQ (effect.ChunkIdAtIndex (1, &chunkId), AAX_SUCCESS);
    EXPECT_EQ (chunkId, processorStateChunk);
    EXPECT_EQ (effect.ChunkIdAtIndex (2, &chunkId), AAX_ERROR_INVALID_CHUNK_INDEX);
    EXPECT_EQ (chunkId, 0u);

    // The host must ask for the size before the contents, for either chunk.
    std::vector<unsigned char> storage (ChunkRecordBytes (4096), 0);
    auto* record = reinterpret_cast<ChunkRecord*> (storage.data());
    EXPECT_EQ (effect.WriteChunk (processorStateChunk, record), AAX_ERROR_INCORRECT_CHUNK_SIZE);
    EXPECT_EQ (effect.WriteChunk (controlsStateChunk, record), AAX_ERROR_INCORRECT_CHUNK_SIZE);
    uint32_t size = 0;
    EXPECT_EQ (effect.ChunkSizeForId (0x41424344, &size), AAX_ERROR_INVALID_CHUNK_ID);

    // The processor-state chunk is the processor's own block: "VC2!" and its length.
    ASSERT_EQ (effect.ChunkSizeForId (processorStateChunk, &size), AAX_SUCCESS);
    ASSERT_LE (size, 4096u);
    ASSERT_EQ (effect.WriteChunk (processorStateChunk, record), AAX_SUCCESS);
    EXPECT_EQ (record->size, static_cast<int32_t> (size));
    const unsigned char* data = ChunkRecordData (record);
    EXPECT_EQ (std::memcmp (data, "VC2!", 4), 0);
    uint32_t textLength = 0;
    std::memcpy (&textLength, data + 4, sizeof (textLength));
    EXPECT_EQ (textLength, size - 9);
    EXPECT_EQ (effect.WriteChunk (processorStateChunk, record), AAX_ERROR_INCORRECT_CHUNK_SIZE);
}

TEST_F (EndToEnd, TheFrameworksAsynchronousWorkRunsInTheHostsIdleCall)
{
    auto automated = makeInstance();
    auto steady = makeInstance();
    ASSERT_NE (automated, nullptr);
    ASSERT_NE (steady, nullptr);
    for (auto* insert : { automated.get(), steady.get() })
    {
        ASSERT_EQ (insert->automate ("gain_1_1", normalisedFor ("gain_1_1", 9.0f)), AAX_SUCCESS);
        insert->idle();
    }

    constexpr int block = 512;
    const auto input = testSignal (block * 10);
    EXPECT_EQ (firstDifference (processDirectly (*automated, input, block), processDirectly (*steady, input, block)),
               "");

    // A band's new frequency is selected by an asynchronous update of JUCE: without the
    // host's idle call the band keeps its response.
    ASSERT_EQ (automated->automate ("frequency_1_1", normalisedFor ("frequency_1_1", 400.0f)), AAX_SUCCESS);
    EXPECT_EQ (firstDifference (processDirectly (*automated, input, block), processDirectly (*steady, input, block)),
               "");

    automated->idle();
    EXPECT_NE (firstDifference (processDirectly (*automated, input, block), processDirectly (*steady, input, block)),
               "");
}

// The built-in signal's sweep must end below the Nyquist frequency, or it folds back down and the
// top of the spectrum never gets any signal. Its frequency just before the fade-out is measured
// from the sign changes.
TEST (BuiltInTestSignal, TheSweepEndsAtTwentyKilohertzOrJustBelowTheNyquistFrequency)
{
    for (const double rate : { 8000.0, 16000.0, 22050.0, 32000.0, 44100.0, 48000.0, 96000.0 })
    {
        const auto signal = makeTestSignal (rate, 1);
        const int sweepEnd = static_cast<int> (3.0 * rate);
        const int windowEnd = sweepEnd - static_cast<int> (0.01 * rate);
        const int windowStart = windowEnd - static_cast<int> (0.01 * rate);
        int signChanges = 0;
        for (int i = windowStart + 1; i < windowEnd; ++i)
            signChanges += (signal.getSample (0, i - 1) < 0.0f) != (signal.getSample (0, i) < 0.0f) ? 1 : 0;
        const double measured = signChanges * rate / (2.0 * (windowEnd - windowStart - 1));

        const double expectedEnd = std::min (20000.0, 0.45 * rate);
        EXPECT_LT (measured, expectedEnd * 1.01) << rate << " Hz";
        EXPECT_GT (measured, expectedEnd * 0.93) << rate << " Hz";
    }
}

TEST_F (EndToEnd, TextFromTheHostThatIsNotUtf8IsRefusedUnread)
{
    auto insert = makeInstance();
    ASSERT_NE (insert, nullptr);

    // Broken sequences at the end made JUCE's conversion read past the text.
    for (const char* text : { "\xff\xfe", "12\xe2\x82", "\xf4", "\xc0\xaf", "\xed\xa0\x80", "3\xf8\x88\x80\x80\x80" })
    {
        double value = -1.0;
        EXPECT_EQ (insert->effect().NormalizedValueFromString ("gain_1_2", &value, HostString (text)),
                   AAX_ERROR_INVALID_STRING_CONVERSION);
        EXPECT_EQ (value, -1.0);
        EXPECT_EQ (insert->selectPreset (text), AAX_ERROR_INVALID_ARGUMENT);
    }
    double value = 0.0;
    EXPECT_EQ (insert->effect().NormalizedValueFromString ("gain_1_2", &value, HostString ("6")), AAX_SUCCESS);
    EXPECT_NEAR (value, 0.75, 1.0e-6);
}
