#pragma once

#include "BandSetSlot.h"
#include "ControllerComponent.h"
#include "FilterGroupComponent.h"
#include "InputControllerComponent.h"
#include "TabFocus.h"
#include "state/StateComponent.h"

#include <juce_audio_processors/juce_audio_processors.h>

class ConvolutionEqAudioProcessor;

/** The plug-in's window: a fixed 800 x 518 editor that the processor creates whenever the host
    shows the plug-in's interface. It holds the input column, one channel group per processing
    channel (one of them shown at a time), the preset strip and the output section, refers to the
    processor and its value-tree state and owns nothing of them. Delete it through the processor's
    editorBeingDeleted path. */
class ConvolutionEqAudioProcessorEditor : public juce::AudioProcessorEditor
{
public:
    ConvolutionEqAudioProcessorEditor (ConvolutionEqAudioProcessor& processor,
                                       juce::AudioProcessorValueTreeState& valueTreeState);
    ~ConvolutionEqAudioProcessorEditor() override;

    /** Makes this editor the processor's window, built on the processor's own value-tree state. */
    static void installOn (ConvolutionEqAudioProcessor& processor);

    void paint (juce::Graphics& g) override;
    void paintOverChildren (juce::Graphics& g) override;
    void resized() override;

    // The keyboard focus: see TabFocus.
    bool keyPressed (const juce::KeyPress& key) override;
    std::unique_ptr<juce::ComponentTraverser> createKeyboardFocusTraverser() override;
    void focusGained (FocusChangeType cause) override;
    void focusOfChildComponentChanged (FocusChangeType cause) override;

    static constexpr int width = 800;
    static constexpr int height = 518;
    static constexpr juce::uint32 backgroundArgb = 0xFF231E1A;

private:
    juce::AudioProcessorValueTreeState& valueTreeState;
    BandSetSlot channel1Slot, channel2Slot;
    InputControllerComponent inputColumn;
    FilterGroupComponent channelGroup1, channelGroup2;
    state::StateComponent presetStrip;
    ControllerComponent outputSection;
    TabFocus tabFocus{ *this };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ConvolutionEqAudioProcessorEditor)
};
