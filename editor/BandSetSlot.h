#pragma once

#include <memory>

class BandConvolverSet;
class BandConvolver;
class ConvolutionEqAudioProcessor;

/** Where the editor finds one processing channel's band convolver set. The processor replaces both
    sets at every preparation, possibly on the audio thread, so the set is looked up at every use and
    held only for that call. Before the first preparation there is no set: callers then treat the
    band as empty (no detents, nothing to select). */
class BandSetSlot
{
public:
    BandSetSlot (ConvolutionEqAudioProcessor& processor, int channel) noexcept;

    /** The processing channel, 1 or 2, as the editor assigned it. */
    int getChannel() const noexcept { return channel; }

    /** The set the processor holds now, or null before the first preparation. */
    std::shared_ptr<BandConvolverSet> currentSet() const;

    /** The band convolver at index 0 to 2 of the current set, kept alive through the returned
        set; both are null when there is no set. */
    struct Band
    {
        std::shared_ptr<BandConvolverSet> set;
        BandConvolver* convolver = nullptr;
        explicit operator bool() const noexcept { return convolver != nullptr; }
        BandConvolver* operator->() const noexcept { return convolver; }
    };
    Band band (int index) const;

    /** The number (1 to 3) the current set gives the band at index; before the first preparation
        the band at index i is band i + 1. */
    int bandNumber (int index) const;

private:
    ConvolutionEqAudioProcessor& processor;
    int channel;
};
