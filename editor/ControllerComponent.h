#pragma once

#include "ColourPalette.h"
#include "LinearSlider.h"
#include "MSLRComponent.h"
#include "PrimaryClickButton.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <memory>

class FilterGroupComponent;
class InputControllerComponent;

/** The output section at the editor's right edge: output gain faders, phase and solo switches, the
    link of the left and right gains, Reset, the maker's logo and the product label, and on a stereo
    output the channel-mode selector. A mono output (decided once, at construction) gets one gain
    fader with phase and solo; any other gets left and right faders with their phases and the link. */
class ControllerComponent : public juce::GroupComponent, public juce::Slider::Listener, public juce::Button::Listener
{
public:
    /** The groups and the input column are the editor's and must outlive the section. */
    ControllerComponent (juce::AudioProcessorValueTreeState& state, const juce::AudioChannelSet& mainOutput,
                         FilterGroupComponent* channelGroup1, FilterGroupComponent* channelGroup2,
                         InputControllerComponent* inputColumn);
    ~ControllerComponent() override;

    void paint (juce::Graphics& g) override;
    void resized() override;

    /** The gain link: while Link is on, moving one output fader moves the other by as much. */
    void sliderValueChanged (juce::Slider* slider) override;

    /** Link takes both faders' values as the link's reference; Reset returns to the starting state. */
    void buttonClicked (juce::Button* button) override;

    bool isMono() const noexcept { return mono; }
    MSLRComponent& getSelector() noexcept { return selector; }
    LinearSlider& getGainFader() noexcept { return gainFader; }
    LinearSlider& getLeftFader() noexcept { return leftFader; }
    LinearSlider& getRightFader() noexcept { return rightFader; }
    juce::Label& getLeftCaption() noexcept { return leftCaption; }
    juce::Label& getRightCaption() noexcept { return rightCaption; }
    juce::DrawableButton& getSoloButton() noexcept { return solo; }
    juce::DrawableButton& getLinkButton() noexcept { return link; }
    juce::DrawableButton& getPhaseButton() noexcept { return phase; }
    juce::DrawableButton& getPhaseLeftButton() noexcept { return phaseLeft; }
    juce::DrawableButton& getPhaseRightButton() noexcept { return phaseRight; }
    juce::DrawableButton& getResetButton() noexcept { return reset; }
    juce::DrawableButton& getLogo() noexcept { return logo; }
    juce::Label& getProductLabel() noexcept { return productLabel; }

private:
    using SliderAttachment = juce::AudioProcessorValueTreeState::SliderAttachment;
    using ButtonAttachment = juce::AudioProcessorValueTreeState::ButtonAttachment;

    void buildStereoForm();
    void buildMonoForm();
    void setUpFader (LinearSlider& fader, juce::Colour trackColour);
    void setUpCaption (juce::Label& caption, const juce::String& text, juce::Component& owner);
    void setUpSwitch (juce::DrawableButton& button, const char* parameterId,
                      std::unique_ptr<juce::AudioProcessorValueTreeState::ButtonAttachment>& attachment, bool listen,
                      const char* artwork, juce::Colour on, juce::Colour off);
    void layOutStereo (int w);
    void layOutMono (int w, int h);
    void resetToStartingState();
    void followPartner (LinearSlider& moved, double& lastMoved, LinearSlider& partner, double& lastPartner);

    juce::AudioProcessorValueTreeState& valueTreeState;
    const bool mono;
    FilterGroupComponent* group1;
    FilterGroupComponent* group2;
    InputControllerComponent* input;

    MSLRComponent selector;
    LinearSlider gainFader, leftFader, rightFader;
    juce::Label leftCaption, rightCaption;
    std::unique_ptr<SliderAttachment> gainAttachment, leftGainAttachment, rightGainAttachment;
    // Only the primary mouse button switches them or resets: a right-click acts on nothing.
    PrimaryClickButton<juce::DrawableButton> solo, link, phase, phaseLeft, phaseRight, reset;
    juce::DrawableButton logo;
    std::unique_ptr<ButtonAttachment> linkAttachment, soloAttachment, phaseAttachment, phaseLeftAttachment,
        phaseRightAttachment;
    double lastLeftGain = 0.0, lastRightGain = 0.0;
    std::array<juce::Colour, 4> switchColours; // on and off, left or mono; on and off, right
    juce::Label productLabel;
    ColourPalette palette;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ControllerComponent)
};
