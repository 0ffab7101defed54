#pragma once

#include "ResponseBank.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <memory>
#include <vector>

namespace convolver_test
{
inline const std::vector<int> gainSteps{ -12, -9, -6, -4, -2, 0, 2, 4, 6, 9, 12 };

/** A response that differs for every key, with samples spread over a few octaves of magnitude so that
    a blend, a tear or a wrong step cannot go unnoticed. */
inline juce::AudioBuffer<float> makeResponse (int band, int frequency, const juce::String& type, int gain, int length)
{
    juce::AudioBuffer<float> buffer (1, length);
    const float typeOffset = type == "HP" ? 0.3f : (type == "LP" ? -0.3f : 0.0f);
    for (int i = 0; i < length; ++i)
    {
        const float shape = std::sin (0.37f * (float) (i + 1) * (float) band + (float) frequency * 0.001f);
        buffer.setSample (0, i, (shape + typeOffset) * (1.0f + 0.05f * (float) gain) / (float) (i + 1));
    }
    return buffer;
}

inline void putResponse (ResponseBank& bank, int band, int frequency, const juce::String& type, int gain,
                         juce::AudioBuffer<float> response)
{
    bank.bands[band][frequency][type][gain] = std::make_unique<juce::AudioBuffer<float>> (std::move (response));
}

inline void addBand (ResponseBank& bank, int band, const juce::String& name, const std::vector<int>& frequencies,
                     const std::vector<juce::String>& types, int length)
{
    for (int frequency : frequencies)
        for (const auto& type : types)
            for (int gain : gainSteps)
                putResponse (bank, band, frequency, type, gain, makeResponse (band, frequency, type, gain, length));

    bank.bandNames.add (name);
    bank.frequencyEnabled.add (1);
    bank.typeEnabled.add (1);
    bank.gainEnabled.add (1);
    bank.mixEnabled.add (1);
}

/** The layout of the real bank (bands, frequencies, types and gains) with short synthetic responses. */
inline std::shared_ptr<ResponseBank> makeBank (int length = 48)
{
    auto bank = std::make_shared<ResponseBank> (96000.0, 48000.0);
    addBand (*bank, 1, "LF", { 50, 100, 200, 300, 400 }, { "LP", "PK" }, length);
    addBand (*bank, 2, "MF", { 400, 800, 1500, 3000, 5000 }, { "PK" }, length);
    addBand (*bank, 3, "HF", { 5000, 7000, 10000, 12500, 15000 }, { "HP", "PK" }, length);
    return bank;
}

inline const juce::AudioBuffer<float>& responseIn (const ResponseBank& bank, int band, int frequency,
                                                   const juce::String& type, int gain)
{
    return *bank.bands.at (band).at (frequency).at (type).at (gain);
}

inline bool sameSamples (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
{
    if (a.getNumChannels() != b.getNumChannels() || a.getNumSamples() != b.getNumSamples())
        return false;
    for (int c = 0; c < a.getNumChannels(); ++c)
        for (int i = 0; i < a.getNumSamples(); ++i)
            if (a.getSample (c, i) != b.getSample (c, i))
                return false;
    return true;
}
} // namespace convolver_test
