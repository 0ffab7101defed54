#pragma once

#include "ColourPalette.h"
#include "KnobSlider.h"
#include "SnapSliderComponent.h"
#include "TypePushButtons.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <memory>
#include <string>

class BandSetSlot;

/** The panel of one band of one processing channel: from top to bottom the stepped frequency
    knob, the band-type buttons, the stepped gain knob and the Trim knob, bound to the band's
    parameters. The knobs' detents are the band's steps in the response bank, and the panel shows
    only the controls that the bank enables for the band. Moving the frequency or gain knob
    selects the band's new response at once through the slot's current set. */
class FilterComponent : public juce::GroupComponent, private juce::Slider::Listener
{
public:
    /** bandIndex 0 to 2 is the band's position in the channel's set. Detents, band number and which
        controls are shown are taken from the set that exists now; without one the band counts as
        empty: band number bandIndex + 1, no detents, only the Trim knob shown. */
    FilterComponent (juce::AudioProcessorValueTreeState& state, const BandSetSlot& slot, int channel, int bandIndex);
    ~FilterComponent() override;

    void paint (juce::Graphics& g) override;
    void resized() override;

    /** Sets the frequency, gain and trim knobs to their parameters' defaults (with asynchronous
        notification) and clicks the band's PK button asynchronously. */
    void resetBand();

    SnapSliderComponent& getFrequencyKnob() noexcept { return frequencyKnob; }
    SnapSliderComponent& getGainKnob() noexcept { return gainKnob; }
    TypePushButtons& getTypeButtons() noexcept { return typeButtons; }
    KnobSlider& getTrimKnob() noexcept { return trimKnob; }

private:
    using SliderAttachment = juce::AudioProcessorValueTreeState::SliderAttachment;

    void sliderValueChanged (juce::Slider* slider) override;
    juce::String parameterId (const char* prefix) const;
    void resetToDefault (juce::Slider& slider, const char* prefix);

    const BandSetSlot& slot;
    ColourPalette palette;
    int channel;
    int bandNumber;
    int bandIndex;
    juce::AudioProcessorValueTreeState& state;
    SnapSliderComponent frequencyKnob;
    std::unique_ptr<SliderAttachment> frequencyAttachment;
    SnapSliderComponent gainKnob;
    std::unique_ptr<SliderAttachment> gainAttachment;
    TypePushButtons typeButtons;
    KnobSlider trimKnob;
    std::unique_ptr<SliderAttachment> trimAttachment;
    bool frequencyShown = false, typeShown = false, gainShown = false, trimShown = true;

    /** Read by the knob listener: the band's type choice and the parameter store's values. */
    juce::AudioParameterChoice* typeParameter = nullptr;
    std::atomic<float>* frequencyValue = nullptr;
    std::atomic<float>* gainValue = nullptr;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FilterComponent)
};
