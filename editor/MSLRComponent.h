#pragma once

#include "ColourPalette.h"
#include "PrimaryClickButton.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

class FilterGroupComponent;

/** The channel-mode selector in the output section: five radio buttons for the mode (Left, Right,
    Mid, Side, All), the link of the two processing channels and the two channel solo switches, each
    bound to its switch parameter. Whenever a mode button or Link LR reports a click, the group that
    edits the chosen mode is shown, the other hidden, and the shown one retitled. */
class MSLRComponent : public juce::Component, private juce::Button::Listener
{
public:
    /** The groups are the editor's and must outlive the selector. */
    MSLRComponent (juce::AudioProcessorValueTreeState& state, FilterGroupComponent* channelGroup1,
                   FilterGroupComponent* channelGroup2);
    ~MSLRComponent() override;

    void paint (juce::Graphics& g) override;
    void resized() override;

    /** The output section sets All, the solos and Link LR on Reset. */
    juce::DrawableButton& getLeftButton() noexcept { return left; }
    juce::DrawableButton& getRightButton() noexcept { return right; }
    juce::DrawableButton& getMidButton() noexcept { return mid; }
    juce::DrawableButton& getSideButton() noexcept { return side; }
    juce::DrawableButton& getAllButton() noexcept { return all; }
    juce::DrawableButton& getSoloChannel1Button() noexcept { return soloChannel1; }
    juce::DrawableButton& getSoloChannel2Button() noexcept { return soloChannel2; }
    juce::DrawableButton& getLinkButton() noexcept { return linkLR; }

    static constexpr int modeRadioGroup = 1001;

private:
    using ButtonAttachment = juce::AudioProcessorValueTreeState::ButtonAttachment;

    void buttonClicked (juce::Button* button) override;
    void setUpButton (juce::DrawableButton& button, const char* artwork, PaletteColour::Entry onColour,
                      PaletteColour::Entry offColour, const char* parameterId,
                      std::unique_ptr<ButtonAttachment>& attachment, bool listen);
    void showGroupFor (juce::Button& modeButton, bool linked);

    juce::AudioProcessorValueTreeState& state;
    FilterGroupComponent* group1;
    FilterGroupComponent* group2;

    /** The buttons come before their attachments, so that every attachment goes first. */
    // Only the primary mouse button switches them: a right-click changes no channel mode.
    PrimaryClickButton<juce::DrawableButton> left, right, mid, side, all;
    PrimaryClickButton<juce::DrawableButton> soloChannel1, soloChannel2;
    PrimaryClickButton<juce::DrawableButton> linkLR;
    std::unique_ptr<ButtonAttachment> leftAttachment, rightAttachment, midAttachment, sideAttachment, allAttachment;
    std::unique_ptr<ButtonAttachment> soloChannel1Attachment, soloChannel2Attachment;
    std::unique_ptr<ButtonAttachment> linkAttachment;
    ColourPalette palette;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MSLRComponent)
};
