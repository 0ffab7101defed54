#pragma once

#include "ColourPalette.h"
#include "FilterComponent.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <atomic>

class BandSetSlot;

/** The frame round the three band panels of one processing channel. The editor builds one per
    channel on the same rectangle and shows one at a time; the title says what the shown channel
    processes ("Left Linked", "Mid Only", "All", "Mono", ...) and the outline and title take the
    channel's colour. After construction the channel-mode selector retitles and switches the groups
    through setText and setVisible. */
class FilterGroupComponent : public juce::GroupComponent
{
public:
    /** The channel number comes from the slot; mainOutput is read only here, to tell whether the
        editor is mono. */
    FilterGroupComponent (juce::AudioProcessorValueTreeState& state, const juce::AudioChannelSet& mainOutput,
                          const BandSetSlot& slot);
    ~FilterGroupComponent() override;

    void paint (juce::Graphics& g) override;
    void resized() override;

    /** Returns the three bands to their default frequency, gain, trim and type; the title, colours
        and visibility stay. */
    void resetBands();

    /** Titles the group and shows or hides it from the channel-mode switches; on a mono output the
        channel 1 group is shown, titled "Mono". With no mode switch on, nothing changes. */
    void updateTitle();

    int getChannel() const noexcept { return channel; }
    FilterComponent& getBandPanel (int index) noexcept { return *bandPanels[(size_t) index]; }

private:
    juce::AudioProcessorValueTreeState& state;
    const bool monoOutput;
    const int channel;
    FilterComponent band1, band2, band3;
    const std::array<FilterComponent*, 3> bandPanels{ &band1, &band2, &band3 };
    juce::Colour channel1Colour, channel2Colour;
    /** The plain values of process_L, process_R, process_M, process_S and process_A, then link_MSLR. */
    std::array<std::atomic<float>*, 5> modeSwitches{};
    std::atomic<float>* linkMSLR = nullptr;
    ColourPalette palette;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FilterGroupComponent)
};
