#include "ResponseDocumentSupport.h"

#include <gtest/gtest.h>

using namespace responses_test;

namespace
{
/** A small document: band elements holding response elements, built attribute by attribute. */
struct DocumentBuilder
{
    juce::XmlElement root{ "responses" };

    juce::XmlElement& addBand (const juce::String& tag) { return *root.createNewChildElement (tag); }

    static juce::XmlElement& addResponse (juce::XmlElement& band, const juce::String& frequencyTag,
                                          const juce::String& typeTag, const juce::String& responseTag)
    {
        auto* frequency = band.getChildByName (frequencyTag);
        if (frequency == nullptr)
            frequency = band.createNewChildElement (frequencyTag);
        auto* type = frequency->getChildByName (typeTag);
        if (type == nullptr)
            type = frequency->createNewChildElement (typeTag);
        return *type->createNewChildElement (responseTag);
    }

    juce::String text() const { return root.toString(); }
};

void setBandAttributes (juce::XmlElement& band, int number, const juce::String& name)
{
    band.setAttribute ("band", number);
    band.setAttribute ("bandName", name);
    for (auto* flag : { "gainEnabled", "frequencyEnabled", "typeEnabled", "mixEnabled" })
        band.setAttribute (flag, 1);
}

juce::XmlElement& addResponse (juce::XmlElement& band, int frequency, const juce::String& type, int gain,
                               const juce::String& payload)
{
    auto& response =
        DocumentBuilder::addResponse (band, "f-" + juce::String (frequency), "q-" + type, "i-" + juce::String (gain));
    response.setAttribute ("f", frequency);
    response.setAttribute ("gain", gain);
    response.setAttribute ("q", type);
    response.setAttribute ("audio64", payload);
    return response;
}

void setType (juce::XmlElement& band, int frequency, const juce::String& type)
{
    band.getChildByName ("f-" + juce::String (frequency))->getChildByName ("q-" + type)->setAttribute ("q", type);
}

int countResponses (const ResponseBank& bank)
{
    int count = 0;
    for (auto& [band, frequencies] : bank.bands)
        for (auto& [frequency, types] : frequencies)
            for (auto& [type, gains] : types)
                count += (int) gains.size();
    return count;
}

bool isEmpty (const ResponseBank& bank)
{
    return bank.bands.empty() && bank.bandNames.isEmpty() && bank.frequencyEnabled.isEmpty() &&
           bank.typeEnabled.isEmpty() && bank.gainEnabled.isEmpty() && bank.mixEnabled.isEmpty();
}

const juce::String& lowShelf()
{
    static const auto payload = payloadOf (1, 100, "LP", 6);
    return payload;
}

const juce::String& peak()
{
    static const auto payload = payloadOf (2, 800, "PK", -4);
    return payload;
}
} // namespace

TEST (ResponseBankFailure, ADocumentThatDoesNotParseOrHasAnotherRootLeavesTheBankEmpty)
{
    EXPECT_TRUE (isEmpty (*bankFromDocument ("")));
    EXPECT_TRUE (isEmpty (*bankFromDocument ("<responses><b-1 band=\"1\">")));
    EXPECT_TRUE (isEmpty (*bankFromDocument ("not xml at all")));

    DocumentBuilder document;
    document.root.setTagName ("presets");
    auto& band = document.addBand ("b-1");
    setBandAttributes (band, 1, "LF");
    addResponse (band, 100, "LP", 6, lowShelf());
    setType (band, 100, "LP");
    const auto bank = bankFromDocument (document.text());
    EXPECT_TRUE (isEmpty (*bank));
    EXPECT_TRUE (bank->tree.hasType ("presets"));
}

TEST (ResponseBankFailure, APayloadThatIsNotFlacIsSkippedAndTheOthersLoad)
{
    DocumentBuilder document;
    auto& band = document.addBand ("b-2");
    setBandAttributes (band, 2, "MF");
    addResponse (band, 800, "PK", -4, peak());
    addResponse (band, 800, "PK", 2, juce::MemoryBlock ("not a flac stream", 17).toBase64Encoding());
    addResponse (band, 800, "PK", 4, "");
    addResponse (band, 800, "PK", 6, "no dot here");
    addResponse (band, 800, "PK", 9, "-5.AAAA");
    addResponse (band, 800, "PK", 12, "2000000000." + peak().fromFirstOccurrenceOf (".", false, false));
    addResponse (band, 800, "PK", -2, "99999999999999999999999." + peak().fromFirstOccurrenceOf (".", false, false));
    setType (band, 800, "PK");
    // A value tree would decode this as binary and allocate what its size prefix claims.
    band.setAttribute ("base64:huge", "-1.AAAA");

    for (auto rate : { 48000.0, 96000.0 })
    {
        const auto bank = bankFromDocument (document.text(), rate);
        EXPECT_EQ (countResponses (*bank), 1);
        auto* loaded = find (*bank, 2, 800, "PK", -4);
        ASSERT_NE (loaded, nullptr);
        EXPECT_EQ (loaded->getNumSamples(), (int) (1152 / (96000.0 / rate)));
    }
}

TEST (ResponseBankFailure, MissingBandGainOrTypeAttributesFileUnderZeroAndTheEmptyType)
{
    DocumentBuilder document;
    auto& band = document.addBand ("b-1");
    band.setAttribute ("bandName", "LF");
    addResponse (band, 100, "LP", 6, lowShelf()).removeAttribute ("gain");
    // the response's own q is not read: the type comes from its parent
    addResponse (band, 200, "PK", 4, peak());

    const auto bank = bankFromDocument (document.text());
    EXPECT_EQ (countResponses (*bank), 2);
    EXPECT_NE (find (*bank, 0, 100, "", 0), nullptr);
    EXPECT_NE (find (*bank, 0, 200, "", 4), nullptr);
    EXPECT_EQ (bank->bandNames, juce::StringArray ("LF"));
}

TEST (ResponseBankFailure, IntegerAttributesAreReadLikeStrtolAndAResponseWithoutAnIntegerFrequencyIsSkipped)
{
    DocumentBuilder document;
    auto& band = document.addBand ("b-7");
    band.setAttribute ("band", " +3 dB");
    band.setAttribute ("frequencyEnabled", "1");
    band.setAttribute ("typeEnabled", "on");
    band.setAttribute ("gainEnabled", "  -2x");
    // mixEnabled missing
    addResponse (band, 100, "PK", 6, peak());
    addResponse (band, 200, "PK", 6, peak()).removeAttribute ("f");
    addResponse (band, 300, "PK", 6, peak()).setAttribute ("f", "three hundred");
    addResponse (band, 400, "PK", 6, peak()).setAttribute ("f", "99999999999");
    addResponse (band, 500, "PK", 6, peak()).setAttribute ("f", " 5000Hz");
    addResponse (band, 800, "PK", 6, peak()).setAttribute ("f", juce::String::fromUTF8 ("\xd9\xa5"));
    addResponse (band, 600, "PK", 6, peak()).setAttribute ("gain", "-9.5");
    addResponse (band, 700, "PK", 6, peak()).setAttribute ("gain", "loud");
    for (auto frequency : { 100, 200, 300, 400, 500, 600, 700, 800 })
        setType (band, frequency, "PK");

    const auto bank = bankFromDocument (document.text());
    ASSERT_EQ (bank->bands.size(), 1u);
    ASSERT_EQ (bank->bands.count (3), 1u);
    std::vector<int> frequencies;
    for (auto& [frequency, types] : bank->bands.at (3))
        frequencies.push_back (frequency);
    EXPECT_EQ (frequencies, std::vector<int> ({ 100, 600, 700, 5000 }));
    EXPECT_NE (find (*bank, 3, 600, "PK", -9), nullptr);
    EXPECT_NE (find (*bank, 3, 700, "PK", 0), nullptr);
    EXPECT_EQ (bank->frequencyEnabled, juce::Array<int> (1));
    EXPECT_EQ (bank->typeEnabled, juce::Array<int> (0));
    EXPECT_EQ (bank->gainEnabled, juce::Array<int> (-2));
    EXPECT_EQ (bank->mixEnabled, juce::Array<int> (0));
}

TEST (ResponseBankFailure, ALaterResponseWithTheSameKeysReplacesTheEarlierOne)
{
    DocumentBuilder document;
    auto& band = document.addBand ("b-2");
    setBandAttributes (band, 2, "MF");
    addResponse (band, 800, "PK", -4, lowShelf());
    band.getChildByName ("f-800")->getChildByName ("q-PK")->createNewChildElement ("i-again")->setAttribute ("f", 800);
    auto* again = band.getChildByName ("f-800")->getChildByName ("q-PK")->getChildByName ("i-again");
    again->setAttribute ("gain", -4);
    again->setAttribute ("audio64", peak());
    setType (band, 800, "PK");

    const auto bank = bankFromDocument (document.text());
    auto* loaded = find (*bank, 2, 800, "PK", -4);
    ASSERT_NE (loaded, nullptr);
    const auto expected = decodePayload (peak());
    for (int n = 0; n < expected.getNumSamples(); ++n)
        ASSERT_EQ (loaded->getSample (0, n), expected.getSample (0, n)) << n;
}

TEST (ResponseBankFailure, TheDocumentGainScalesEveryDecodedResponse)
{
    auto makeDocument = [] (const juce::String* gain)
    {
        DocumentBuilder document;
        if (gain != nullptr)
            document.root.setAttribute ("gain", *gain);
        auto& band = document.addBand ("b-1");
        setBandAttributes (band, 1, "LF");
        addResponse (band, 100, "LP", 6, lowShelf());
        setType (band, 100, "LP");
        return document.text();
    };

    const auto decoded = decodePayload (lowShelf());
    ASSERT_EQ (decoded.getNumSamples(), 1152);

    const auto unscaled = bankFromDocument (makeDocument (nullptr));
    const juce::String doubling ("6.0206");
    const auto doubled = bankFromDocument (makeDocument (&doubling));
    auto* plain = find (*unscaled, 1, 100, "LP", 6);
    auto* twice = find (*doubled, 1, 100, "LP", 6);
    ASSERT_NE (plain, nullptr);
    ASSERT_NE (twice, nullptr);
    for (int n = 0; n < 1152; ++n)
    {
        ASSERT_EQ (plain->getSample (0, n), decoded.getSample (0, n)) << n;
        ASSERT_EQ (twice->getSample (0, n), 2.0f * decoded.getSample (0, n)) << n;
    }

    // a scale that would overflow the samples rejects the document
    const juce::String absurd ("1e300");
    EXPECT_TRUE (bankFromDocument (makeDocument (&absurd))->bands.empty());
}

TEST (ResponseBankFailure, AnEmptyBankIsWhatANewBankHolds)
{
    ResponseBank bank (96000.0, 48000.0);
    EXPECT_TRUE (isEmpty (bank));
    EXPECT_FALSE (bank.tree.isValid());
}
