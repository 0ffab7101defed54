#pragma once

#include "ResponseBank.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <atomic>
#include <memory>
#include <mutex>

class EngineSlot;

/** One band (1 = LF, 2 = MF, 3 = HF) of one processing channel.

    Picks the band's response for a frequency, type and gain from the response bank, blends two
    neighbouring gain steps when the gain lies between them, and convolves the band's signal with it
    through two engine slots. A new response is chosen on the selecting thread (the editor's message
    thread, or the processor while it prepares or reselects) and handed to the audio thread through
    staging buffers: the audio thread loads it into the idle slot, warms that slot up on a scratch copy
    of the signal for five blocks and then switches to it.

    The very first response after construction goes straight into the active slot, so that a freshly
    built band is heard from its first block instead of staying silent through a hand-over.
*/
class BandConvolver
{
public:
    /** The bank is kept alive for as long as the convolver exists; it is only read. */
    BandConvolver (double sampleRate, int band, std::shared_ptr<const ResponseBank> bank);
    ~BandConvolver();

    /** Chooses the response for frequency (Hz), type and gain (dB) and marks it pending for the audio
        thread. A band, frequency, type or gain step missing from the bank changes nothing.
        Safe to call from any thread except the audio thread; it waits only for other selecting threads. */
    void selectImpulse (double frequency, juce::String type, double gain);

    /** True when selecting (frequency, type, gain) would choose what the last successful selection
        chose: the same frequency key, the same type and the same gain. */
    bool isCurrentSelection (double frequency, const juce::String& type, double gain) const;

    /** selectImpulse, skipped when the selection is the current one. Returns false when it was skipped. */
    bool selectImpulseIfChanged (double frequency, const juce::String& type, double gain);

    /** Audio thread, once per block. work holds a copy of the band's input and receives the band's
        output; scratch is room for a second copy, which process makes itself in the blocks that run a
        slot on it. Never blocks; allocates only in a block that loads a new response. */
    void process (float* const* work, float* const* scratch, int numChannels, int numSamples);

    /** Sizes both engines so that blocks of up to n samples allocate nothing, except in a block that
        loads a new response. Call before the convolver is handed to the audio thread. */
    void setMaximumBlockSize (int n);

    int getBandNumber() const noexcept { return band; }
    double getSampleRate() const noexcept { return sampleRate; }
    void setSampleRate (double newSampleRate) noexcept { sampleRate = newSampleRate; }

    /** Until the band is marked loaded, process does nothing and a selection stays pending. */
    bool isLoaded() const noexcept { return loaded.load (std::memory_order_acquire); }
    void setLoaded (bool shouldBeLoaded) noexcept { loaded.store (shouldBeLoaded, std::memory_order_release); }

    /** A selected response waits to be loaded by the audio thread. */
    bool isPending() const noexcept { return (published.load (std::memory_order_acquire) & freshBit) != 0; }

    const juce::String& getBandName() const noexcept { return bandName; }
    bool isFrequencyEnabled() const noexcept { return frequencyEnabled; }
    bool isTypeEnabled() const noexcept { return typeEnabled; }
    bool isGainEnabled() const noexcept { return gainEnabled; }
    bool isMixEnabled() const noexcept { return mixEnabled; }

    /** The band's entries in the bank (empty when the bank has no such band). */
    const ResponseBank::FrequencyMap& getFrequencyMap() const noexcept { return *frequencyMap; }

    /** A copy of the last selected response (blended when the gain lay between steps). */
    juce::AudioBuffer<float> getCurrentResponse() const;

    /** Outside a hand-over the idle slot's output is never heard and its history is discarded by the
        next load, so it is not run. Running it anyway changes no output sample; this switch exists
        to show exactly that. */
    void setIdleSlotRunning (bool shouldRun) noexcept { idleSlotRunning = shouldRun; }

    /** Audio thread: which channels of work the next blocks' routing hears. The engines skip their
        direct dot products for the others (and for everything on scratch), which changes no sample
        that is heard, now or once the channel is heard again. */
    void setHeardChannels (bool first, bool second) noexcept
    {
        heard[0] = first;
        heard[1] = second;
    }

private:
    void publishStaging();
    const juce::AudioBuffer<float>* takeStaging();
    void takePendingResponse();
    void processSlot (EngineSlot& slot, float* const* channels, bool onWork, int numChannels, int numSamples);
    void runHandOver (EngineSlot& newSlot, EngineSlot& oldSlot, float* const* work, float* const* scratch,
                      int numChannels, int numSamples);
    bool findSelection (double frequency, const juce::String& type, double gain, int& frequencyKeyFound,
                        const juce::AudioBuffer<float>*& lowerStep, int& lowerKey,
                        const juce::AudioBuffer<float>*& upperStep, int& upperKey) const;

    /** Declared so that destruction releases the band name, upper and lower, slotB, slotA, staging and
        current, in that order; the slots refer to staging, which therefore outlives them. */
    std::shared_ptr<const ResponseBank> bank;
    const ResponseBank::FrequencyMap* frequencyMap = nullptr;
    std::atomic<bool> loaded{ false };
    int band;
    double sampleRate;
    bool responseInForce = false; // audio thread only: false while the active slot holds the silent start-up impulse
    bool idleSlotRunning = false;
    bool heard[2] = { true, true }; // audio thread only

    /** Serialises selecting threads and guards what only they touch: current, lower, upper, the staging
        buffer being written and the last selection. The audio thread never takes it. */
    mutable std::mutex selectionLock;
    juce::AudioBuffer<float> current;

    /** Three staging buffers handed between the selecting side and the audio thread without a lock: the
        selecting side fills the one it owns and swaps it into the middle with the fresh bit set (the
        pending flag); the audio thread swaps the middle one out for the one it last loaded. Neither
        side ever touches a buffer the other may be using, and neither waits for the other. */
    static constexpr int freshBit = 4;
    juce::AudioBuffer<float> staging[3];
    std::atomic<int> published{ 1 };
    int writingIndex = 0; // selecting side, under selectionLock
    int readingIndex = 2; // audio thread
    std::unique_ptr<EngineSlot> slotA, slotB;
    juce::AudioBuffer<float> lower, upper;
    int frequencyKey = 700;
    int gainKey = 100;
    bool hasSelection = false;
    juce::String selectedType;
    double selectedGain = 0.0;
    juce::String bandName;
    bool frequencyEnabled = false, typeEnabled = false, gainEnabled = false, mixEnabled = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BandConvolver)
};
