#include "ControllerComponent.h"

#include "Artwork.h"
#include "FilterGroupComponent.h"
#include "InputControllerComponent.h"
#include "ParameterLayout.h"
#include "SharedPaint.h"
#include "SvgDrawable.h"

#include <cmath>

namespace
{
constexpr auto imageStyle = juce::DrawableButton::ImageFitted;
const juce::Colour white (0xFFFFFFFF);

// Sets a fader to a target, held inside its range.
void setWithinRange (juce::Slider& fader, double target)
{
    const auto minimum = fader.getMinimum();
    const auto maximum = fader.getMaximum();
    const auto value = target >= maximum ? maximum : (target <= minimum ? minimum : target);
    fader.setValue (value, juce::sendNotificationAsync);
}
} // namespace

ControllerComponent::ControllerComponent (juce::AudioProcessorValueTreeState& state,
                                          const juce::AudioChannelSet& mainOutput, FilterGroupComponent* channelGroup1,
                                          FilterGroupComponent* channelGroup2, InputControllerComponent* inputColumn)
    : juce::GroupComponent ({}, {})
    , valueTreeState (state)
    , mono (mainOutput == juce::AudioChannelSet::mono())
    , group1 (channelGroup1)
    , group2 (channelGroup2)
    , input (inputColumn)
    , selector (state, channelGroup1, channelGroup2)
    , solo ("Solo", imageStyle)
    , link ("Link", imageStyle)
    , phase ("Phase", imageStyle)
    , phaseLeft ("Phase L", imageStyle)
    , phaseRight ("Phase R", imageStyle)
    , reset ("Reset", imageStyle)
    , logo ("Korvel Audio Tools", imageStyle)
{
    fillColourPalette (palette);
    switchColours = { palette[PaletteColour::outputSwitchOn], palette[PaletteColour::outputSwitchOff],
                      palette[PaletteColour::rightPhaseOn], palette[PaletteColour::rightPhaseOff] };

    if (mono)
        buildMonoForm();
    else
        buildStereoForm();

    {
        const auto normal = createButtonImage (Artwork::buttonReset, palette[PaletteColour::outputSwitchOff]);
        const auto lit = createButtonImage (Artwork::buttonReset, palette[PaletteColour::outputSwitchOn]);
        reset.setImages (normal.get(), lit.get(), lit.get(), normal.get(), lit.get(), lit.get(), lit.get(), lit.get());
    }
    addAndMakeVisible (reset);
    reset.addListener (this);

    addAndMakeVisible (logo);
    const auto logoImage = createSvgDrawable (juce::String::fromUTF8 (Artwork::korvelLogo), juce::Colour (0xFF7DF97D),
                                              juce::Colour (0xFFA9B0B7), 1.5f);
    logo.setImages (logoImage.get());

    productLabel.setText ("Larkspur", juce::dontSendNotification);
    productLabel.setFont (juce::Font (14.0f, juce::Font::plain));
    productLabel.setColour (juce::Label::textColourId, white);
    productLabel.setJustificationType (juce::Justification::centred);
    addAndMakeVisible (productLabel);

    setSize (140, 660);
}

ControllerComponent::~ControllerComponent() = default;

void ControllerComponent::buildStereoForm()
{
    addAndMakeVisible (selector);

    setUpFader (leftFader, palette[PaletteColour::faderTrack]);
    leftGainAttachment = std::make_unique<SliderAttachment> (valueTreeState, ParameterIds::gainL, leftFader);
    leftFader.addListener (this);
    setUpCaption (leftCaption, "Out L", leftFader);
    lastLeftGain = leftFader.getValue();

    setUpSwitch (phaseLeft, ParameterIds::phaseL, phaseLeftAttachment, true, Artwork::buttonPhase, switchColours[0],
                 switchColours[1]);
    setUpSwitch (link, ParameterIds::linkGain, linkAttachment, true, Artwork::buttonLink, switchColours[0],
                 switchColours[1]);

    setUpFader (rightFader, palette[PaletteColour::rightFaderTrack]);
    rightGainAttachment = std::make_unique<SliderAttachment> (valueTreeState, ParameterIds::gainR, rightFader);
    rightFader.addListener (this);
    setUpCaption (rightCaption, "Out R", rightFader);
    lastRightGain = rightFader.getValue();

    setUpSwitch (phaseRight, ParameterIds::phaseR, phaseRightAttachment, true, Artwork::buttonPhase, switchColours[2],
                 switchColours[3]);
}

void ControllerComponent::buildMonoForm()
{
    setUpSwitch (solo, ParameterIds::solo, soloAttachment, false, Artwork::buttonSpeaker,
                 palette[PaletteColour::soloOn], palette[PaletteColour::soloOff]);

    setUpCaption (leftCaption, "Output", solo);

    gainFader.setBounds (680, 20, 100, 100);
    setUpFader (gainFader, palette[PaletteColour::faderTrack]);
    gainAttachment = std::make_unique<SliderAttachment> (valueTreeState, ParameterIds::gain, gainFader);

    setUpSwitch (phase, ParameterIds::phase, phaseAttachment, true, Artwork::buttonPhase, switchColours[0],
                 switchColours[1]);
}

void ControllerComponent::setUpFader (LinearSlider& fader, juce::Colour trackColour)
{
    fader.setSliderStyle (juce::Slider::LinearVertical);
    fader.setColour (juce::Slider::trackColourId, trackColour);
    fader.enableValuePopup (2000);
    addAndMakeVisible (fader);
}

void ControllerComponent::setUpCaption (juce::Label& caption, const juce::String& captionText, juce::Component& owner)
{
    caption.setText (captionText, juce::dontSendNotification);
    caption.setColour (juce::Label::textColourId, juce::Colours::lightgrey);
    caption.setJustificationType (juce::Justification::centred);
    caption.attachToComponent (&owner, false);
    addAndMakeVisible (caption);
}

// The listener comes after the attachment, so that the initial state does not reach it.
void ControllerComponent::setUpSwitch (juce::DrawableButton& button, const char* parameterId,
                                       std::unique_ptr<ButtonAttachment>& attachment, bool listen, const char* artwork,
                                       juce::Colour on, juce::Colour off)
{
    button.setClickingTogglesState (true);
    button.setColour (juce::DrawableButton::backgroundOnColourId, juce::Colours::transparentBlack);
    attachment = std::make_unique<ButtonAttachment> (valueTreeState, parameterId, button);
    addAndMakeVisible (button);
    if (listen)
        button.addListener (this);

    setToggleImages (button, artwork, on, off);
}

void ControllerComponent::paint (juce::Graphics& g)
{
    paintTransparent (g);
}

// Children are placed from their sizes before this call, so the layout settles on the second pass.
void ControllerComponent::resized()
{
    const int w = getWidth();
    const int h = getHeight();

    logo.setBounds ((w - logo.getWidth()) / 2, h - logo.getHeight(), 180, 142);

    // The label's right edge is the section's.
    const auto font = productLabel.getFont();
    const auto textWidth = std::ceil (font.getStringWidthFloat (productLabel.getText()));
    const auto fontHeight = font.getHeight();
    productLabel.setBounds (w - (int) textWidth, (int) ((float) h - fontHeight - 13.0f), (int) textWidth,
                            (int) fontHeight);

    if (mono)
        layOutMono (w, h);
    else
        layOutStereo (w);

    reset.toFront (true);
}

void ControllerComponent::layOutStereo (int w)
{
    const int x0 = (w - selector.getWidth()) / 2;
    const int fifth = selector.getWidth() / 5;
    selector.setBounds (x0, 0, 150, 112);

    const int selectorWidth = selector.getWidth();
    const int selectorHeight = selector.getHeight();
    const int belowSelector = selector.getY() + selectorHeight;
    const int a = (2 * selectorWidth) / 5;
    const int b = selectorWidth / 5;
    const int buttonWidth = (int) ((float) selectorWidth / 3.0f);
    const int buttonHeight = (int) ((float) selectorHeight * 0.25f);

    leftFader.setBounds (x0 + (a - leftFader.getWidth()) / 2, belowSelector + 30, 65, 160);
    phaseLeft.setBounds (x0 + (a - phaseLeft.getWidth()) / 2, leftFader.getBottom() + leftFader.getTextBoxHeight(),
                         buttonWidth, buttonHeight);
    link.setBounds (x0 + 2 * fifth + (b - link.getWidth()) / 2,
                    belowSelector + (leftFader.getHeight() + leftCaption.getHeight()) / 2, buttonWidth, buttonHeight);

    rightFader.setBounds (x0 + 3 * fifth + (a - rightFader.getWidth()) / 2, belowSelector + 30, 65, 160);
    const int belowRightFader = rightFader.getBottom() + rightFader.getTextBoxHeight();
    phaseRight.setBounds (x0 + 3 * fifth + (a - phaseRight.getWidth()) / 2, belowRightFader, buttonWidth, buttonHeight);
    reset.setBounds (x0 + 2 * fifth + (b - reset.getWidth()) / 2, belowRightFader + phaseRight.getHeight(), 35, 35);
}

void ControllerComponent::layOutMono (int w, int h)
{
    const auto free =
        h - gainFader.getHeight() - reset.getHeight() - solo.getHeight() - logo.getHeight() - phase.getHeight();
    solo.setBounds ((w - solo.getWidth()) / 2, (int) ((float) free * 0.5f + 30.0f), 50, 28);
    gainFader.setBounds ((w - gainFader.getWidth()) / 2, solo.getBottom(), 100, 200);
    phase.setBounds ((w - phase.getWidth()) / 2, gainFader.getBottom(), 50, 28);
    reset.setBounds ((w - reset.getWidth()) / 2, gainFader.getBottom() + phase.getHeight() + 10, 35, 35);
}

void ControllerComponent::sliderValueChanged (juce::Slider* slider)
{
    if (! link.getToggleState())
        return;

    if (slider == &leftFader)
        followPartner (leftFader, lastLeftGain, rightFader, lastRightGain);
    else if (slider == &rightFader)
        followPartner (rightFader, lastRightGain, leftFader, lastLeftGain);
}

// The partner's reference is the unclamped target: when the partner stopped at the end of its
// range, its own change comes back here and pulls the moved fader back by the overshoot, so the
// distance between the two gains stays.
void ControllerComponent::followPartner (LinearSlider& moved, double& lastMoved, LinearSlider& partner,
                                         double& lastPartner)
{
    const auto target = partner.getValue() + (moved.getValue() - lastMoved);
    if (std::isnan (target))
        return; // a NaN would poison both references and leave the link dead

    setWithinRange (partner, target);
    lastMoved = moved.getValue();
    lastPartner = target;
}

void ControllerComponent::buttonClicked (juce::Button* button)
{
    if (button == &link)
    {
        lastLeftGain = leftFader.getValue();
        lastRightGain = rightFader.getValue();
    }
    else if (button == &reset)
    {
        resetToStartingState();
    }
}

void ControllerComponent::resetToStartingState()
{
    solo.setToggleState (true, juce::sendNotification);
    phase.setToggleState (false, juce::sendNotification);
    link.setToggleState (true, juce::sendNotification);
    phaseLeft.setToggleState (false, juce::sendNotification);
    phaseRight.setToggleState (false, juce::sendNotification);

    group1->resetBands();
    group2->resetBands();

    input->getFader().setValue (0.0, juce::sendNotificationAsync);

    selector.getAllButton().setToggleState (true, juce::sendNotification);
    selector.getSoloChannel1Button().setToggleState (true, juce::sendNotification);
    selector.getSoloChannel2Button().setToggleState (true, juce::sendNotification);
    selector.getLinkButton().setToggleState (true, juce::sendNotification);

    group1->setVisible (true);
    group2->setVisible (false);

    // Every output gain returns to 0 dB. With both references at 0 first, the link's answer to
    // these moves is a move by nothing.
    lastLeftGain = 0.0;
    lastRightGain = 0.0;
    if (mono)
    {
        gainFader.setValue (0.0, juce::sendNotificationAsync);
    }
    else
    {
        leftFader.setValue (0.0, juce::sendNotificationAsync);
        rightFader.setValue (0.0, juce::sendNotificationAsync);
    }
}
