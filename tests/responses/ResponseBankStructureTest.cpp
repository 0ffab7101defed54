#include "ResponseDocumentSupport.h"

#include <gtest/gtest.h>

using namespace responses_test;

namespace
{
const std::vector<int> gainSteps{ -12, -9, -6, -4, -2, 0, 2, 4, 6, 9, 12 };

struct BandLayout
{
    int band;
    std::vector<int> frequencies;
    std::vector<juce::String> types;
};

const std::vector<BandLayout> layout{
    { 1, { 50, 100, 200, 300, 400 }, { "LP", "PK" } },
    { 2, { 400, 800, 1500, 3000, 5000 }, { "PK" } },
    { 3, { 5000, 7000, 10000, 12500, 15000 }, { "HP", "PK" } },
};

int expectedLength (double rate)
{
    return (int) (1152.0 / (96000.0 / rate));
}

std::vector<juce::String> typesOf (const ResponseBank::FrequencyMap& frequencies, int frequency)
{
    std::vector<juce::String> types;
    for (auto& [type, gains] : frequencies.at (frequency))
        types.push_back (type);
    return types;
}
} // namespace

TEST (ResponseBankStructure, EveryRateHoldsAll275ResponsesAtTheTruncatedLength)
{
    const std::map<double, int> lengths{ { 44100.0, 529 },  { 48000.0, 576 },   { 88200.0, 1058 },
                                         { 96000.0, 1152 }, { 176400.0, 2116 }, { 192000.0, 2304 } };
    for (auto rate : hostRates)
    {
        SCOPED_TRACE (rate);
        const auto bank = loadedBank (rate);
        ASSERT_EQ (expectedLength (rate), lengths.at (rate));

        int count = 0;
        for (auto& [band, frequencies] : bank->bands)
            for (auto& [frequency, types] : frequencies)
                for (auto& [type, gains] : types)
                    for (auto& [gain, buffer] : gains)
                    {
                        ASSERT_NE (buffer, nullptr);
                        EXPECT_EQ (buffer->getNumChannels(), 1);
                        EXPECT_EQ (buffer->getNumSamples(), lengths.at (rate));
                        ++count;
                    }
        EXPECT_EQ (count, 275);
    }
}

TEST (ResponseBankStructure, BandsFrequenciesTypesAndGainsAreTheStepsOfTheControls)
{
    const auto bank = loadedBank (48000.0);
    ASSERT_EQ (bank->bands.size(), 3u);

    for (auto& expected : layout)
    {
        SCOPED_TRACE (expected.band);
        auto& frequencies = bank->bands.at (expected.band);
        std::vector<int> frequencyKeys;
        for (auto& [frequency, types] : frequencies)
            frequencyKeys.push_back (frequency);
        EXPECT_EQ (frequencyKeys, expected.frequencies);

        for (auto frequency : expected.frequencies)
        {
            EXPECT_EQ (typesOf (frequencies, frequency), expected.types);
            for (auto& [type, gains] : frequencies.at (frequency))
            {
                std::vector<int> gainKeys;
                for (auto& [gain, buffer] : gains)
                    gainKeys.push_back (gain);
                EXPECT_EQ (gainKeys, gainSteps);
            }
        }
    }
}

TEST (ResponseBankStructure, BandNamesAndFlagsFollowTheDocument)
{
    const auto bank = loadedBank (44100.0);
    EXPECT_EQ (bank->bandNames, juce::StringArray ({ "LF", "MF", "HF" }));
    for (auto* flags : { &bank->frequencyEnabled, &bank->typeEnabled, &bank->gainEnabled, &bank->mixEnabled })
        EXPECT_EQ (*flags, juce::Array<int> ({ 1, 1, 1 }));
    EXPECT_TRUE (bank->tree.hasType ("responses"));
    EXPECT_EQ (bank->sourceRate, 96000.0);
    EXPECT_EQ (bank->hostRate, 44100.0);
}

TEST (ResponseBankStructure, EveryPayloadIsOneFrameOf1152SamplesWithoutLengthOrSignature)
{
    auto root = embeddedXml();
    ASSERT_NE (root, nullptr);
    EXPECT_TRUE (root->hasTagName ("responses"));

    int payloads = 0;
    for (auto* band : root->getChildIterator())
        for (auto* frequency : band->getChildIterator())
            for (auto* type : frequency->getChildIterator())
                for (auto* response : type->getChildIterator())
                {
                    SCOPED_TRACE (response->getTagName());
                    juce::MemoryBlock bytes;
                    ASSERT_TRUE (bytes.fromBase64Encoding (response->getStringAttribute ("audio64")));
                    auto* data = static_cast<const uint8_t*> (bytes.getData());
                    ASSERT_GT (bytes.getSize(), 42u);
                    ASSERT_EQ (std::memcmp (data, "fLaC", 4), 0);
                    ASSERT_EQ (data[4] & 0x7f, 0); // STREAMINFO comes first
                    const uint8_t* info = data + 8;

                    const int minimumBlock = (info[0] << 8) | info[1];
                    const int maximumBlock = (info[2] << 8) | info[3];
                    const int sampleRate = (info[10] << 12) | (info[11] << 4) | (info[12] >> 4);
                    const int channels = ((info[12] >> 1) & 7) + 1;
                    const int bits = (((info[12] & 1) << 4) | (info[13] >> 4)) + 1;
                    uint64_t totalSamples = info[13] & 0x0f;
                    for (int i = 14; i < 18; ++i)
                        totalSamples = (totalSamples << 8) | info[i];

                    EXPECT_EQ (minimumBlock, 1152);
                    EXPECT_EQ (maximumBlock, 1152);
                    EXPECT_EQ (sampleRate, 96000);
                    EXPECT_EQ (channels, 1);
                    EXPECT_EQ (bits, 24);
                    EXPECT_EQ (totalSamples, 0u);
                    for (int i = 18; i < 34; ++i)
                        EXPECT_EQ (info[i], 0) << "MD5 byte " << i - 18;

                    juce::FlacAudioFormat flac;
                    std::unique_ptr<juce::AudioFormatReader> reader (
                        flac.createReaderFor (new juce::MemoryInputStream (bytes, true), true));
                    ASSERT_NE (reader, nullptr);
                    EXPECT_EQ (reader->lengthInSamples, 1152);
                    ++payloads;
                }
    EXPECT_EQ (payloads, 275);
}

TEST (ResponseBankStructure, ResponseElementsCarryTheirKeysInTheDocumentForm)
{
    auto root = embeddedXml();
    ASSERT_NE (root, nullptr);
    EXPECT_TRUE (root->hasAttribute ("gain"));

    auto* band = root->getChildByName ("b-3");
    ASSERT_NE (band, nullptr);
    EXPECT_EQ (band->getStringAttribute ("bandName"), "HF");
    auto* response = findResponse (*root, 3, 12500, "HP", -12);
    ASSERT_NE (response, nullptr);
    EXPECT_EQ (response->getTagName(), "i--12");
    EXPECT_EQ (response->getAttributeName (0), "f");
    EXPECT_EQ (response->getAttributeName (1), "gain");
    EXPECT_EQ (response->getAttributeName (2), "q");
    EXPECT_EQ (response->getAttributeName (3), "audio64");
    EXPECT_EQ (response->getIntAttribute ("f"), 12500);
    EXPECT_EQ (response->getStringAttribute ("q"), "HP");
}

TEST (ResponseBankStructure, At96kHzTheBufferIsTheScaledDecodedResponse)
{
    const auto bank = loadedBank (96000.0);
    auto root = embeddedXml();
    const auto scale = (float) std::pow (10.0, root->getDoubleAttribute ("gain") / 20.0);
    const auto decoded = decodePayload (payloadOf (2, 1500, "PK", 4));
    auto* buffer = find (*bank, 2, 1500, "PK", 4);
    ASSERT_NE (buffer, nullptr);
    ASSERT_EQ (decoded.getNumSamples(), 1152);
    for (int n = 0; n < 1152; ++n)
        ASSERT_EQ (buffer->getSample (0, n), decoded.getSample (0, n) * scale) << n;
}
