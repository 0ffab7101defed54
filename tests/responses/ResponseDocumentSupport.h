#pragma once

#include "LarkspurData.h"
#include "ResponseBank.h"

#include <array>
#include <memory>

namespace responses_test
{
inline constexpr std::array<double, 6> hostRates{ 44100.0, 48000.0, 88200.0, 96000.0, 176400.0, 192000.0 };

inline juce::String embeddedDocument()
{
    return juce::String::fromUTF8 (LarkspurData::responses_xml, LarkspurData::responses_xmlSize);
}

inline std::unique_ptr<juce::XmlElement> embeddedXml()
{
    return juce::parseXML (embeddedDocument());
}

/** The response element of the embedded document for these keys, or nullptr. */
inline const juce::XmlElement* findResponse (const juce::XmlElement& root, int band, int frequency,
                                             const juce::String& type, int gain)
{
    auto* bandElement = root.getChildByName ("b-" + juce::String (band));
    auto* frequencyElement =
        bandElement != nullptr ? bandElement->getChildByName ("f-" + juce::String (frequency)) : nullptr;
    auto* typeElement = frequencyElement != nullptr ? frequencyElement->getChildByName ("q-" + type) : nullptr;
    return typeElement != nullptr ? typeElement->getChildByName ("i-" + juce::String (gain)) : nullptr;
}

inline juce::String payloadOf (int band, int frequency, const juce::String& type, int gain)
{
    auto root = embeddedXml();
    auto* response = findResponse (*root, band, frequency, type, gain);
    return response != nullptr ? response->getStringAttribute ("audio64") : juce::String();
}

/** The decoded samples of a payload at its own rate, without the document's scale. */
inline juce::AudioBuffer<float> decodePayload (const juce::String& payload)
{
    juce::MemoryBlock bytes;
    bytes.fromBase64Encoding (payload);
    juce::FlacAudioFormat flac;
    std::unique_ptr<juce::AudioFormatReader> reader (
        flac.createReaderFor (new juce::MemoryInputStream (bytes, true), true));
    juce::AudioBuffer<float> samples;
    ResponseBank::readImpulse (samples, std::move (reader));
    return samples;
}

inline std::unique_ptr<ResponseBank> loadedBank (double hostRate)
{
    auto bank = std::make_unique<ResponseBank> (96000.0, hostRate);
    bank->load();
    return bank;
}

inline std::unique_ptr<ResponseBank> bankFromDocument (const juce::String& document, double hostRate = 96000.0)
{
    auto bank = std::make_unique<ResponseBank> (96000.0, hostRate);
    bank->loadDocument (document);
    return bank;
}

inline const juce::AudioBuffer<float>* find (const ResponseBank& bank, int band, int frequency,
                                             const juce::String& type, int gain)
{
    auto b = bank.bands.find (band);
    if (b == bank.bands.end())
        return nullptr;
    auto f = b->second.find (frequency);
    if (f == b->second.end())
        return nullptr;
    auto t = f->second.find (type);
    if (t == f->second.end())
        return nullptr;
    auto g = t->second.find (gain);
    return g != t->second.end() ? g->second.get() : nullptr;
}
} // namespace responses_test
