#include "ProcessingReference.h"

#include "ProcessorParameterAccess.h"

#include <cmath>

namespace processing_test
{
namespace
{
constexpr int defaultFrequencies[3] = { 50, 1500, 10000 };

juce::String bandId (const char* prefix, int channel, int band)
{
    return juce::String (prefix) + "_" + juce::String (channel) + "_" + juce::String (band);
}

void setSwitch (ConvolutionEqAudioProcessor& processor, const juce::String& id, bool on)
{
    setPlainValue (processor, id, on ? 1.0f : 0.0f);
}
} // namespace

ChainSettings::ChainSettings()
{
    for (auto& channel : bands)
        for (size_t b = 0; b < 3; ++b)
            channel[b].frequency = defaultFrequencies[b];
}

ChainSettings& ChainSettings::mode (bool l, bool r, bool m, bool s, bool a)
{
    processL = l;
    processR = r;
    processM = m;
    processS = s;
    processA = a;
    return *this;
}

void ChainSettings::applyTo (ConvolutionEqAudioProcessor& processor) const
{
    setPlainValue (processor, "input_level", inputLevel);
    setSwitch (processor, "process_L", processL);
    setSwitch (processor, "process_R", processR);
    setSwitch (processor, "process_M", processM);
    setSwitch (processor, "process_S", processS);
    setSwitch (processor, "process_A", processA);
    setSwitch (processor, "link_MSLR", link);
    setSwitch (processor, "solo", solo);
    setSwitch (processor, "solo_1", solo1);
    setSwitch (processor, "solo_2", solo2);
    setPlainValue (processor, "gain", gain);
    setPlainValue (processor, "gain_L", gainL);
    setPlainValue (processor, "gain_R", gainR);
    setSwitch (processor, "phase", phase);
    setSwitch (processor, "phase_L", phaseL);
    setSwitch (processor, "phase_R", phaseR);

    for (int channel = 1; channel <= 2; ++channel)
        for (int band = 1; band <= 3; ++band)
        {
            const auto& b = bands[(size_t) channel - 1][(size_t) band - 1];
            setSwitch (processor, bandId ("active", channel, band), b.active);
            setPlainValue (processor, bandId ("frequency", channel, band), (float) b.frequency);
            setPlainValue (processor, bandId ("gain", channel, band), (float) b.gain);
            setPlainValue (processor, bandId ("out", channel, band), b.trim);
            auto& type = parameter (processor, bandId ("type", channel, band));
            const int index = b.type == "PK" ? 0 : 1;
            type.setValueNotifyingHost (type.convertTo0to1 ((float) index));
        }
}

float bandLevel (int band, float gainDb, float trimDb)
{
    if (band == 1)
        return (float) std::pow (10.0, ((double) gainDb * 0.25 + (double) trimDb) * 0.05);
    if (band == 2)
        return powf (10.0f, (trimDb - 3.0f) * 0.05f);
    return (float) std::pow (10.0, ((double) (trimDb - 3.0f) + (double) gainDb * 0.25) * 0.05);
}

float outputFactor (float gainDb, bool invert, float compensationDb)
{
    const double level = (double) gainDb + (double) compensationDb;
    const double magnitude = level > -100.0 ? std::pow (10.0, level * 0.05) : 0.0;
    return (float) (invert ? -magnitude : magnitude);
}

const juce::AudioBuffer<float>& bankResponse (const ResponseBank& bank, int band, const BandSettings& settings)
{
    return *bank.bands.at (band).at (settings.frequency).at (settings.type).at (settings.gain);
}

ReferenceChain::ReferenceChain (std::shared_ptr<const ResponseBank> bankToUse, const ChainSettings& settings)
    : bank (std::move (bankToUse))
{
    if (bank == nullptr)
        return;

    for (int c = 0; c < 2; ++c)
        for (int b = 0; b < 3; ++b)
            slots[c][b] =
                std::make_unique<EngineSlot> (&bankResponse (*bank, b + 1, settings.bands[(size_t) c][(size_t) b]));
}

BlockTerms ReferenceChain::run (const juce::AudioBuffer<float>& input, const ChainSettings& settings)
{
    const int n = input.getNumSamples();
    const bool stereo = input.getNumChannels() == 2;
    const int channels = stereo ? 2 : 1;

    // Input stage: non-finite samples count as silence; above 0 dB the saturation drives with the
    // input gain once more.
    const float g = settings.inputLevel > -100.0f ? powf (10.0f, settings.inputLevel * 0.05f) : 0.0f;
    std::vector<float> x[2];
    for (int ch = 0; ch < 2; ++ch)
    {
        x[ch].assign ((size_t) n, 0.0f);
        if (ch >= input.getNumChannels())
            continue;
        for (int i = 0; i < n; ++i)
        {
            float s = input.getSample (ch, i);
            s = std::isfinite (s) ? s * g : 0.0f;
            x[ch][(size_t) i] = g > 1.0f ? atanf (g * s) * 0.63661975f : s;
        }
    }

    BlockTerms terms;
    terms.x0 = x[0];
    terms.x1 = x[1];
    terms.mid.resize ((size_t) n);
    terms.side.resize ((size_t) n);
    for (size_t i = 0; i < (size_t) n; ++i)
    {
        terms.mid[i] = (x[0][i] + x[1][i]) * 0.5f;
        terms.side[i] = (x[0][i] - x[1][i]) * 0.5f;
    }

    // Both processing channels receive the same encoded pair.
    std::vector<float> encoded[2] = { std::vector<float> ((size_t) n, 0.0f), std::vector<float> ((size_t) n, 0.0f) };
    if (! stereo)
        encoded[0] = x[0];
    else if (settings.processM || settings.processS)
        encoded[0] = terms.mid, encoded[1] = terms.side;
    else if (settings.processL || settings.processR || settings.processA)
        encoded[0] = x[0], encoded[1] = x[1];

    for (int c = 0; c < 2; ++c)
    {
        auto* sums = c == 0 ? terms.p1 : terms.p2;
        sums[0].assign ((size_t) n, 0.0f);
        sums[1].assign ((size_t) n, 0.0f);

        for (int b = 0; b < 3; ++b)
        {
            const auto& band = settings.bands[(size_t) c][(size_t) b];
            juce::AudioBuffer<float> work (channels, n);
            for (int ch = 0; ch < channels; ++ch)
                work.copyFrom (ch, 0, encoded[ch].data(), n);

            if (slots[c][b] != nullptr && band.active)
            {
                slots[c][b]->process (work.getArrayOfWritePointers(), channels, n);
                work.applyGain (bandLevel (b + 1, (float) band.gain, band.trim));
            }

            for (int ch = 0; ch < channels; ++ch)
                for (int i = 0; i < n; ++i)
                    sums[ch][(size_t) i] += work.getSample (ch, i);
        }
    }
    return terms;
}

juce::AudioBuffer<float> noiseBlock (int numChannels, int numSamples, juce::Random& random, float amplitude)
{
    juce::AudioBuffer<float> block (numChannels, numSamples);
    for (int ch = 0; ch < numChannels; ++ch)
        for (int i = 0; i < numSamples; ++i)
            block.setSample (ch, i, amplitude * (2.0f * random.nextFloat() - 1.0f));
    return block;
}

juce::AudioBuffer<float> impulseBlock (int numChannels, int numSamples)
{
    juce::AudioBuffer<float> block (numChannels, numSamples);
    block.clear();
    for (int ch = 0; ch < numChannels; ++ch)
        block.setSample (ch, 0, 1.0f);
    return block;
}

juce::AudioBuffer<float> processed (ConvolutionEqAudioProcessor& processor, juce::AudioBuffer<float> block)
{
    juce::MidiBuffer midi;
    const juce::ScopedLock lock (processor.getCallbackLock());
    processor.processBlock (block, midi);
    return block;
}

void prepare (ConvolutionEqAudioProcessor& processor, double sampleRate, int blockSize)
{
    processor.setRateAndBufferSizeDetails (sampleRate, blockSize);
    processor.prepareToPlay (sampleRate, blockSize);
}

void runMessageLoop()
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
}

float maxDifference (const juce::AudioBuffer<float>& actual, int ch, const std::vector<float>& expected)
{
    float worst = 0.0f;
    for (int i = 0; i < actual.getNumSamples(); ++i)
    {
        const float difference = std::abs (actual.getSample (ch, i) - expected[(size_t) i]);
        if (! (difference <= worst))
            worst = difference;
    }
    return worst;
}
} // namespace processing_test
