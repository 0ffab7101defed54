#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <cstdint>
#include <functional>

/** Watches the 18 frequency, gain and type parameters of the six bands and, on the message thread,
    hands the bands whose parameters changed to a selection callback. Changes arrive on whatever
    thread set the parameter (host automation, presets, A-B, state loads); any number of them before
    the message thread gets round to it ends in one callback. */
class BandReselector : private juce::AudioProcessorValueTreeState::Listener, private juce::AsyncUpdater
{
public:
    /** Bit (channel - 1) * 3 + band - 1 of the mask stands for band 1 to 3 of processing channel 1 or 2. */
    using SelectBands = std::function<void (std::uint32_t bandMask)>;

    BandReselector (juce::AudioProcessorValueTreeState& state, SelectBands selectBands);
    ~BandReselector() override;

    /** Marks bands for the next callback. Any thread. */
    void request (std::uint32_t bandMask);

    static std::uint32_t bandBit (int channel, int band) noexcept
    {
        return std::uint32_t (1) << ((channel - 1) * 3 + band - 1);
    }

private:
    void parameterChanged (const juce::String& parameterID, float newValue) override;
    void handleAsyncUpdate() override;

    juce::AudioProcessorValueTreeState& state;
    SelectBands selectBands;
    std::atomic<std::uint32_t> pendingBands{ 0 };

    JUCE_DECLARE_NON_COPYABLE (BandReselector)
};
