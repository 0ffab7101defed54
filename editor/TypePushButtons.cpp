#include "TypePushButtons.h"

#include "Artwork.h"
#include "BandConvolver.h"
#include "ParameterLayout.h"
#include "SharedPaint.h"
#include "SvgDrawable.h"

namespace
{
float plainValue (juce::AudioProcessorValueTreeState& state, const juce::String& id)
{
    const auto* value = state.getRawParameterValue (id);
    return value != nullptr ? value->load (std::memory_order_relaxed) : 0.0f;
}
} // namespace

TypePushButtons::TypePushButtons (juce::AudioProcessorValueTreeState& state, const BandSetSlot& slot, int channelNumber,
                                  int index)
    : bandSetSlot (slot)
    , bandNumber (slot.bandNumber (index))
    , bandIndex (index)
    , channel (channelNumber)
    , valueTreeState (state)
{
    fillColourPalette (palette);

    // When a band's switches disagree, the button set up last wins: PK over HP, LP over PK.
    if (bandNumber == 3)
    {
        setUpButton (highButton, highAttachment, Artwork::buttonHe);
        if (highButton.getToggleState())
            typeName = "HP";
    }

    setUpButton (peakButton, peakAttachment, Artwork::buttonPk);
    if (peakButton.getToggleState())
        typeName = "PK";

    if (bandNumber == 1)
    {
        setUpButton (lowButton, lowAttachment, Artwork::buttonLe);
        if (lowButton.getToggleState())
            typeName = "LP";
    }

    // The type parameter follows the switches: a project or preset can hold them out of step.
    if (auto* type = dynamic_cast<juce::AudioParameterChoice*> (valueTreeState.getParameter (parameterId ("type"))))
        *type = type->choices.indexOf (typeName);

    setSize (120, 40);
}

TypePushButtons::~TypePushButtons()
{
    setLookAndFeel (nullptr);
    highAttachment.reset();
    peakAttachment.reset();
    lowAttachment.reset();
}

juce::String TypePushButtons::parameterId (const juce::String& prefix) const
{
    return ParameterIds::band (prefix.toRawUTF8(), channel, bandNumber);
}

void TypePushButtons::setUpButton (juce::DrawableButton& button,
                                   std::unique_ptr<juce::AudioProcessorValueTreeState::ButtonAttachment>& attachment,
                                   const char* artwork)
{
    button.setClickingTogglesState (true);
    button.setColour (juce::DrawableButton::backgroundOnColourId, juce::Colours::transparentBlack);
    attachment = std::make_unique<juce::AudioProcessorValueTreeState::ButtonAttachment> (
        valueTreeState, parameterId ("button_" + button.getName()), button);
    addAndMakeVisible (button);
    button.addListener (this);

    setToggleImages (button, artwork, palette[PaletteColour::bandTypeGlyphOn],
                     palette[PaletteColour::bandTypeGlyphOff]);
    button.setRadioGroupId (radioGroup);
}

void TypePushButtons::paint (juce::Graphics& g)
{
    paintTransparent (g);
}

void TypePushButtons::resized()
{
    const int half = getWidth() / 2;
    if (bandNumber == 1)
    {
        lowButton.setBounds (0, 0, half, getHeight());
        peakButton.setBounds (half, 0, half, getHeight());
    }
    else if (bandNumber == 3)
    {
        peakButton.setBounds (0, 0, half, getHeight());
        highButton.setBounds (half, 0, half, getHeight());
    }
}

void TypePushButtons::buttonClicked (juce::Button* button)
{
    // A radio button being switched off reports a click too; only the button switched on chooses.
    if (! button->getToggleState())
        return;

    typeName = button->getName();
    const double frequency = plainValue (valueTreeState, parameterId ("frequency"));
    const double gain = plainValue (valueTreeState, parameterId ("gain"));

    if (const auto band = bandSetSlot.band (bandIndex))
        band->selectImpulse (frequency, typeName, gain);

    // Announced, so that the saved state and the host hear of the new type.
    if (auto* type = dynamic_cast<juce::AudioParameterChoice*> (valueTreeState.getParameter (parameterId ("type"))))
    {
        const int index = type->choices.indexOf (typeName);
        if (index >= 0)
            type->setValueNotifyingHost (type->convertTo0to1 ((float) index));
    }
}
