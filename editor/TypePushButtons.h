#pragma once

#include "BandSetSlot.h"
#include "ColourPalette.h"
#include "PrimaryClickButton.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

/** The band panel's pair of image buttons that choose a band's filter type: LP or PK for the low
    band, PK or HP for the high band (the middle band has PK only, and it is given no area). They are
    bound to the band's switch parameters and act as a radio group; a click selects the band's new
    response at once and records the type in the band's type parameter, from which the processor
    selects the response when it is prepared. */
class TypePushButtons : public juce::Component, public juce::Button::Listener
{
public:
    /** bandIndex: 0 to 2, the band's position in the channel's convolver set. */
    TypePushButtons (juce::AudioProcessorValueTreeState& state, const BandSetSlot& bandSetSlot, int channel,
                     int bandIndex);
    ~TypePushButtons() override;

    void paint (juce::Graphics& g) override;
    void resized() override;
    void buttonClicked (juce::Button* button) override;

    /** The PK button, which every band has; the band panel's reset clicks it. */
    juce::Button& getPeakButton() noexcept { return peakButton; }

    /** The radio group the type buttons share. */
    static constexpr int radioGroup = 1002;

private:
    juce::String parameterId (const juce::String& prefix) const;
    void setUpButton (juce::DrawableButton& button,
                      std::unique_ptr<juce::AudioProcessorValueTreeState::ButtonAttachment>& attachment,
                      const char* artwork);

    const BandSetSlot& bandSetSlot;
    int bandNumber;
    int bandIndex;
    juce::String typeName{ "PK" };
    int channel;
    juce::AudioProcessorValueTreeState& valueTreeState;

    PrimaryClickButton<juce::DrawableButton> lowButton{ "LP", juce::DrawableButton::ImageFitted };
    PrimaryClickButton<juce::DrawableButton> peakButton{ "PK", juce::DrawableButton::ImageFitted };
    PrimaryClickButton<juce::DrawableButton> highButton{ "HP", juce::DrawableButton::ImageFitted };

    std::unique_ptr<juce::AudioProcessorValueTreeState::ButtonAttachment> highAttachment;
    std::unique_ptr<juce::AudioProcessorValueTreeState::ButtonAttachment> peakAttachment;
    std::unique_ptr<juce::AudioProcessorValueTreeState::ButtonAttachment> lowAttachment;

    ColourPalette palette;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TypePushButtons)
};
