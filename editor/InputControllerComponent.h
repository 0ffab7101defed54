#pragma once

#include "ColourPalette.h"
#include "LinearSlider.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

/** The column at the editor's left edge: the input level fader with "Input" above it. */
class InputControllerComponent : public juce::Component
{
public:
    explicit InputControllerComponent (juce::AudioProcessorValueTreeState& valueTreeState);
    ~InputControllerComponent() override;

    void paint (juce::Graphics& g) override;
    void resized() override;

    /** The input level fader, which the output section's Reset also sets. */
    LinearSlider& getFader() noexcept { return fader; }
    juce::Label& getCaption() noexcept { return caption; }

private:
    juce::AudioProcessorValueTreeState& valueTreeState;
    LinearSlider fader;
    juce::Label caption;
    std::unique_ptr<juce::AudioProcessorValueTreeState::SliderAttachment> attachment;
    ColourPalette palette;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (InputControllerComponent)
};
