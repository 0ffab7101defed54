#pragma once

#include "BandConvolver.h"

#include <juce_core/juce_core.h>

#include <atomic>
#include <memory>

/** The three band convolvers of one processing channel: index 0, 1, 2 hold bands 1 (LF), 2 (MF) and
    3 (HF). The processor builds a new set, with a new bank, at every preparation and never refills
    one; the set and each of its convolvers keep that bank alive for as long as they exist.
*/
class BandConvolverSet
{
public:
    static constexpr int numBands = 3;

    BandConvolverSet (double sampleRate, int channel, std::shared_ptr<const ResponseBank> bank);
    ~BandConvolverSet();

    /** Selects the first response of the band at index (0 to 2) and marks the band loaded; once all
        three bands are loaded the set is ready. An index outside 0 to 2 is ignored. */
    void setBand (int index, double sampleRate, double frequency, juce::String type, double gain);

    /** Sizes every band's engines so that blocks of up to n samples allocate nothing, except in a
        block that loads a new response. Call before the set is handed to the audio thread. */
    void setMaximumBlockSize (int n);

    /** Destroys the band convolvers, the last band first. */
    void clear();

    int getChannel() const noexcept { return channel; }
    double getSampleRate() const noexcept { return sampleRate; }
    bool isReady() const noexcept { return ready.load (std::memory_order_acquire); }

    int getNumBands() const noexcept { return bands.size(); }

    /** The convolver at index 0 to 2, or nullptr for any other index. */
    BandConvolver* getBand (int index) const noexcept { return bands[index]; }

private:
    std::shared_ptr<const ResponseBank> bank;
    double sampleRate;
    int channel;
    std::atomic<bool> ready{ true };
    juce::OwnedArray<BandConvolver> bands;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BandConvolverSet)
};
