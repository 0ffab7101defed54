#include "InputControllerComponent.h"

#include "ParameterLayout.h"
#include "SharedPaint.h"

InputControllerComponent::InputControllerComponent (juce::AudioProcessorValueTreeState& state)
    : valueTreeState (state)
{
    fillColourPalette (palette);

    addAndMakeVisible (fader);
    fader.setSliderStyle (juce::Slider::LinearVertical);
    fader.setColour (juce::Slider::trackColourId, palette[PaletteColour::faderTrack]);
    fader.enableValuePopup (2000);
    attachment = std::make_unique<juce::AudioProcessorValueTreeState::SliderAttachment> (
        valueTreeState, ParameterIds::inputLevel, fader);

    addAndMakeVisible (caption);
    caption.setText ("Input", juce::dontSendNotification);
    caption.setColour (juce::Label::textColourId, juce::Colours::lightgrey);
    caption.setJustificationType (juce::Justification::centred);
    caption.attachToComponent (&fader, false);

    setSize (65, 488);
}

InputControllerComponent::~InputControllerComponent()
{
    attachment.reset();
}

void InputControllerComponent::paint (juce::Graphics& g)
{
    paintTransparent (g);
}

void InputControllerComponent::resized()
{
    // Laid out from the fader's size before this call, so the position settles on the second pass.
    fader.setBounds ((getWidth() - fader.getWidth()) / 2, (int) ((float) (getHeight() - fader.getHeight()) * 0.5f), 65,
                     300);
}
