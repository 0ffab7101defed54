#include "ResponseBank.h"

#include "LarkspurData.h"
#include "UntrustedNumber.h"
#include "UntrustedXml.h"

#include <soxr.h>

#include <climits>
#include <cmath>
#include <optional>
#include <vector>

namespace
{
// The stored responses are 1152 samples long; anything far longer is not a response.
constexpr juce::int64 maximumResponseLength = 1 << 16;

// A document scale beyond this would overflow the float samples.
constexpr double maximumDocumentGainDb = 200.0;

/** Base-10 integer text as C's strtol reads it: leading white space, an optional sign, then
    digits up to the first other character. Empty when there is no digit or the value does
    not fit in 32 bits. */
std::optional<int> parseInteger (const juce::var& value)
{
    const auto text = value.toString();
    auto p = text.getCharPointer();

    while (p.isWhitespace())
        ++p;

    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = (p.getAndAdvance() == '-');

    const auto isDigit = [] (juce::juce_wchar c) { return c >= '0' && c <= '9'; };
    if (! isDigit (*p))
        return std::nullopt;

    juce::int64 magnitude = 0;
    while (isDigit (*p))
    {
        magnitude = magnitude * 10 + (p.getAndAdvance() - '0');
        if (magnitude > (juce::int64) INT_MAX + 1)
            return std::nullopt;
    }

    const auto result = negative ? -magnitude : magnitude;
    if (result > INT_MAX || result < INT_MIN)
        return std::nullopt;
    return (int) result;
}

int integerOrZero (const juce::ValueTree& element, const juce::Identifier& name)
{
    return element.hasProperty (name) ? parseInteger (element.getProperty (name)).value_or (0) : 0;
}

/** The document's scale (root attribute `gain`, dB): 1 when absent, empty when unusable. */
std::optional<float> documentScale (const juce::ValueTree& root)
{
    static const juce::Identifier gainId ("gain");
    if (! root.hasProperty (gainId))
        return 1.0f;

    const auto gainDb = parseUntrustedNumber (root.getProperty (gainId).toString());
    if (! gainDb || std::abs (*gainDb) > maximumDocumentGainDb)
        return std::nullopt;
    return (float) std::pow (10.0, *gainDb / 20.0);
}

/** Decodes JUCE's "size.characters" base-64 form, refusing a size that the
    characters cannot hold (JUCE would allocate whatever the prefix says). */
bool decodePayload (const juce::String& text, juce::MemoryBlock& bytes)
{
    const auto dot = text.indexOfChar ('.');
    if (dot <= 0)
        return false;

    const auto prefix = text.substring (0, dot);
    if (dot > 18 || ! prefix.containsOnly ("0123456789"))
        return false;

    const auto declared = prefix.getLargeIntValue();
    const auto capacity = ((juce::int64) (text.length() - dot - 1) * 6 + 7) / 8;
    if (declared <= 0 || declared > capacity)
        return false;

    return bytes.fromBase64Encoding (text);
}

int resampledLength (int inputLength, double sourceRate, double hostRate)
{
    if (! (sourceRate > 0.0 && hostRate > 0.0 && std::isfinite (sourceRate) && std::isfinite (hostRate)))
        return 0;

    const double ratio = sourceRate / hostRate;
    const double length = (double) inputLength / ratio;
    return length < (double) INT_MAX ? (int) length : 0;
}

/** Resamples several one-channel responses through one minimum-phase stream, which costs
    little more than one response does.

    libsoxr aligns the peak of its filter with the input time, so a minimum-phase filter's
    rising edge lands a few output samples before it. The stream therefore starts with zeros
    and a unit probe whose first significant output sample marks where a response's first
    sample begins; every response is read back from that offset, plus its own distance from
    the probe, and so loses nothing at its start and comes out at most a few samples late.
*/
void resampleTogether (const std::vector<const juce::AudioBuffer<float>*>& inputs,
                       const std::vector<juce::AudioBuffer<float>*>& outputs, double sourceRate, double hostRate)
{
    jassert (inputs.size() == outputs.size());
    bool anyOutput = false;

    for (size_t i = 0; i < inputs.size(); ++i)
    {
        const auto length = resampledLength (inputs[i]->getNumSamples(), sourceRate, hostRate);
        outputs[i]->setSize (1, length);
        outputs[i]->clear();
        anyOutput = anyOutput || length > 0;
    }

    if (! anyOutput)
        return;

    if (sourceRate == hostRate)
    {
        for (size_t i = 0; i < inputs.size(); ++i)
            outputs[i]->copyFrom (0, 0, *inputs[i], 0, 0, outputs[i]->getNumSamples());
        return;
    }

    // Stream layout in input samples: zeros, the probe, then every response at least
    // 1920 samples after the previous start and 768 samples after its end.
    constexpr size_t probePosition = 320;
    constexpr size_t spacing = 1920;
    constexpr size_t gap = 768;

    std::vector<size_t> starts (inputs.size());
    size_t position = probePosition + spacing;
    for (size_t i = 0; i < inputs.size(); ++i)
    {
        starts[i] = position;
        position += std::max (spacing, (size_t) inputs[i]->getNumSamples() + gap);
    }

    std::vector<float> stream (position + gap, 0.0f);
    stream[probePosition] = 1.0f;
    for (size_t i = 0; i < inputs.size(); ++i)
        std::copy_n (inputs[i]->getReadPointer (0), inputs[i]->getNumSamples(), stream.begin() + (long) starts[i]);

    // Input positions become output positions as (position * hostRate) / sourceRate, which is
    // exact whenever the result is a whole number of samples.
    const auto toOutput = [sourceRate, hostRate] (size_t inputPosition)
    { return (double) inputPosition * hostRate / sourceRate; };

    std::vector<float> resampled ((size_t) std::ceil (toOutput (stream.size())) + 64, 0.0f);

    const auto io = soxr_io_spec (SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    const auto quality = soxr_quality_spec (SOXR_VHQ | SOXR_MINIMUM_PHASE, 0);
    const auto runtime = soxr_runtime_spec (1);
    size_t consumed = 0, produced = 0;

    if (soxr_oneshot (sourceRate, hostRate, 1, stream.data(), stream.size(), &consumed, resampled.data(),
                      resampled.size(), &produced, &io, &quality, &runtime) != nullptr)
        return;

    // The probe's first sample above 1e-7 of its peak is where a response's first sample begins.
    // Only the probe's own stretch is searched: the first response's edge follows close behind.
    const auto probeEnd = std::min (produced, (size_t) toOutput (probePosition + spacing / 2));
    float peak = 0.0f;
    for (size_t n = 0; n < probeEnd; ++n)
        peak = std::max (peak, std::abs (resampled[n]));

    auto probeStart = (size_t) toOutput (probePosition);
    for (size_t n = 0; n < probeEnd && peak > 0.0f; ++n)
    {
        if (std::abs (resampled[n]) > peak * 1.0e-7f)
        {
            probeStart = n;
            break;
        }
    }

    for (size_t i = 0; i < inputs.size(); ++i)
    {
        const auto offset = probeStart + (size_t) std::floor (toOutput (starts[i] - probePosition));
        const auto available = offset < produced ? produced - offset : 0;
        const auto count = std::min ((size_t) outputs[i]->getNumSamples(), available);
        std::copy_n (resampled.begin() + (long) offset, count, outputs[i]->getWritePointer (0));
    }
}

struct DecodedResponse
{
    int band = 0;
    int frequency = 0;
    juce::String type;
    int gain = 0;
    juce::AudioBuffer<float> samples;
};
} // namespace

ResponseBank::ResponseBank (double sourceRateToUse, double hostRateToUse)
    : sourceRate (sourceRateToUse)
    , hostRate (hostRateToUse)
{
}

ResponseBank::~ResponseBank() = default;

void ResponseBank::load()
{
    loadDocument (juce::String::fromUTF8 (LarkspurData::responses_xml, LarkspurData::responses_xmlSize));
}

void ResponseBank::loadDocument (const juce::String& documentText)
{
    static const juce::Identifier rootType ("responses"), bandId ("band"), bandNameId ("bandName"),
        frequencyEnabledId ("frequencyEnabled"), typeEnabledId ("typeEnabled"), gainEnabledId ("gainEnabled"),
        mixEnabledId ("mixEnabled"), typeId ("q"), frequencyId ("f"), gainId ("gain"), payloadId ("audio64");

    bands.clear();
    bandNames.clear();
    frequencyEnabled.clear();
    typeEnabled.clear();
    gainEnabled.clear();
    mixEnabled.clear();
    tree = {};

    const auto xml = parseUntrustedXml (documentText);
    if (xml == nullptr)
        return;

    tree = valueTreeFromUntrustedXml (*xml);
    if (! tree.hasType (rootType))
        return;

    const auto scale = documentScale (tree);
    if (! scale.has_value())
        return;

    juce::FlacAudioFormat flac;
    std::vector<DecodedResponse> decoded;

    for (const auto& bandElement : tree)
    {
        const auto band = integerOrZero (bandElement, bandId);
        bandNames.add (bandElement.getProperty (bandNameId).toString());
        frequencyEnabled.add (integerOrZero (bandElement, frequencyEnabledId));
        typeEnabled.add (integerOrZero (bandElement, typeEnabledId));
        gainEnabled.add (integerOrZero (bandElement, gainEnabledId));
        mixEnabled.add (integerOrZero (bandElement, mixEnabledId));

        for (const auto& frequencyElement : bandElement)
        {
            for (const auto& typeElement : frequencyElement)
            {
                const auto type = typeElement.getProperty (typeId).toString();

                for (const auto& responseElement : typeElement)
                {
                    const auto frequency = parseInteger (responseElement.getProperty (frequencyId));
                    if (! frequency.has_value())
                        continue;

                    juce::MemoryBlock bytes;
                    if (! decodePayload (responseElement.getProperty (payloadId).toString(), bytes))
                        continue;

                    std::unique_ptr<juce::AudioFormatReader> reader (
                        flac.createReaderFor (new juce::MemoryInputStream (bytes, true), true));
                    if (reader == nullptr || reader->sampleRate <= 0.0 ||
                        reader->lengthInSamples > maximumResponseLength)
                        continue;

                    DecodedResponse response;
                    response.band = band;
                    response.frequency = *frequency;
                    response.type = type;
                    response.gain = integerOrZero (responseElement, gainId);
                    readImpulse (response.samples, std::move (reader));
                    response.samples.applyGain (*scale);
                    decoded.push_back (std::move (response));
                }
            }
        }
    }

    std::vector<const juce::AudioBuffer<float>*> inputs;
    std::vector<std::unique_ptr<juce::AudioBuffer<float>>> resampled;
    std::vector<juce::AudioBuffer<float>*> outputs;
    for (auto& response : decoded)
    {
        inputs.push_back (&response.samples);
        resampled.push_back (std::make_unique<juce::AudioBuffer<float>>());
        outputs.push_back (resampled.back().get());
    }
    resampleTogether (inputs, outputs, sourceRate, hostRate);

    // In document order, so that a later response with the same keys replaces an earlier one.
    for (size_t i = 0; i < decoded.size(); ++i)
    {
        const auto& response = decoded[i];
        bands[response.band][response.frequency][response.type][response.gain] = std::move (resampled[i]);
    }
}

void ResponseBank::readImpulse (juce::AudioBuffer<float>& output, std::unique_ptr<juce::AudioFormatReader> reader)
{
    const auto length = reader != nullptr ? (int) juce::jlimit<juce::int64> (0, INT_MAX, reader->lengthInSamples) : 0;
    output.setSize (1, length);
    output.clear();

    if (length > 0)
        reader->read (&output, 0, length, 0, true, false);
}

void ResponseBank::resample (juce::AudioBuffer<float>& output, const juce::AudioBuffer<float>& input,
                             double sourceRateToUse, double hostRateToUse)
{
    juce::AudioBuffer<float> firstChannel (1, input.getNumSamples());
    if (input.getNumChannels() > 0)
        firstChannel.copyFrom (0, 0, input, 0, 0, input.getNumSamples());
    else
        firstChannel.clear();

    resampleTogether ({ &firstChannel }, { &output }, sourceRateToUse, hostRateToUse);
}
