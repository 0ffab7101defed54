// Writes the embedded responses document from the designer's text output: every response as a
// single-frame FLAC stream (one channel, 24 bits, 96 kHz, block size 1152, no length and no MD5
// in STREAMINFO) in JUCE's memory-block base-64 form.
//
// Usage: larkspur_response_writer <design text> <responses.xml>

#include <FLAC/stream_encoder.h>
#include <juce_core/juce_core.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace
{
constexpr int responseLength = 1152;
constexpr unsigned sampleRate = 96000;
constexpr unsigned bitsPerSample = 24;

FLAC__StreamEncoderWriteStatus appendBytes (const FLAC__StreamEncoder*, const FLAC__byte buffer[], size_t bytes,
                                            uint32_t, uint32_t, void* clientData)
{
    static_cast<juce::MemoryBlock*> (clientData)->append (buffer, bytes);
    return FLAC__STREAM_ENCODER_WRITE_STATUS_OK;
}

bool encodeFlac (const std::vector<FLAC__int32>& samples, juce::MemoryBlock& out)
{
    auto* encoder = FLAC__stream_encoder_new();
    if (encoder == nullptr)
        return false;

    bool ok = FLAC__stream_encoder_set_channels (encoder, 1) &&
              FLAC__stream_encoder_set_bits_per_sample (encoder, bitsPerSample) &&
              FLAC__stream_encoder_set_sample_rate (encoder, sampleRate) &&
              FLAC__stream_encoder_set_compression_level (encoder, 8) &&
              FLAC__stream_encoder_set_blocksize (encoder, responseLength) &&
              FLAC__stream_encoder_set_total_samples_estimate (encoder, 0);

    // Without seek and tell callbacks the encoder cannot go back to fill in STREAMINFO, so the
    // stream keeps a total sample count of 0 and an MD5 signature of 0.
    ok = ok && FLAC__stream_encoder_init_stream (encoder, appendBytes, nullptr, nullptr, nullptr, &out) ==
                   FLAC__STREAM_ENCODER_INIT_STATUS_OK;
    if (ok)
    {
        const FLAC__int32* channels[] = { samples.data() };
        ok = FLAC__stream_encoder_process (encoder, channels, (uint32_t) samples.size());
        ok = FLAC__stream_encoder_finish (encoder) && ok;
    }
    FLAC__stream_encoder_delete (encoder);
    return ok;
}

int fail (const std::string& message)
{
    std::fprintf (stderr, "larkspur_response_writer: %s\n", message.c_str());
    return 1;
}
} // namespace

int main (int argc, char** argv)
{
    if (argc != 3)
        return fail ("usage: larkspur_response_writer <design text> <responses.xml>");

    std::ifstream design (argv[1]);
    if (! design)
        return fail (std::string ("cannot read ") + argv[1]);

    juce::XmlElement root ("responses");
    juce::XmlElement* bandElement = nullptr;
    std::string line;
    int responses = 0;

    while (std::getline (design, line))
    {
        std::istringstream fields (line);
        std::string kind;
        fields >> kind;

        if (kind == "gain")
        {
            std::string gain;
            fields >> gain;
            root.setAttribute ("gain", juce::String (gain));
        }
        else if (kind == "band")
        {
            int band = 0;
            std::string name;
            fields >> band >> name;
            bandElement = root.createNewChildElement ("b-" + juce::String (band));
            bandElement->setAttribute ("band", band);
            bandElement->setAttribute ("bandName", juce::String (name));
            for (auto* flag : { "gainEnabled", "frequencyEnabled", "typeEnabled", "mixEnabled" })
                bandElement->setAttribute (flag, 1);
        }
        else if (kind == "response")
        {
            int band = 0, frequency = 0, gain = 0;
            std::string type;
            fields >> band >> frequency >> type >> gain;

            std::vector<FLAC__int32> samples;
            samples.reserve (responseLength);
            for (long value; fields >> value;)
                samples.push_back ((FLAC__int32) value);

            if (bandElement == nullptr || samples.size() != (size_t) responseLength)
                return fail ("malformed response line: " + line.substr (0, 40));

            auto frequencyTag = "f-" + juce::String (frequency);
            auto* frequencyElement = bandElement->getChildByName (frequencyTag);
            if (frequencyElement == nullptr)
            {
                frequencyElement = bandElement->createNewChildElement (frequencyTag);
                frequencyElement->setAttribute ("frequency", frequency);
            }

            auto typeTag = "q-" + juce::String (type);
            auto* typeElement = frequencyElement->getChildByName (typeTag);
            if (typeElement == nullptr)
            {
                typeElement = frequencyElement->createNewChildElement (typeTag);
                typeElement->setAttribute ("q", juce::String (type));
            }

            juce::MemoryBlock flac;
            if (! encodeFlac (samples, flac))
                return fail ("FLAC encoding failed");

            auto* response = typeElement->createNewChildElement ("i-" + juce::String (gain));
            response->setAttribute ("f", frequency);
            response->setAttribute ("gain", gain);
            response->setAttribute ("q", juce::String (type));
            response->setAttribute ("audio64", flac.toBase64Encoding());
            ++responses;
        }
        else if (! kind.empty())
        {
            return fail ("unknown line: " + kind);
        }
    }

    if (responses == 0)
        return fail ("no responses in the design");

    if (! root.writeTo (juce::File::getCurrentWorkingDirectory().getChildFile (argv[2])))
        return fail (std::string ("cannot write ") + argv[2]);
    return 0;
}
