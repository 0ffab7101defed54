#include "FilterComponent.h"

#include "BandConvolverSet.h"
#include "BandSetSlot.h"
#include "ParameterLayout.h"
#include "SharedPaint.h"

namespace
{
juce::Array<float> frequencySteps (const ResponseBank::FrequencyMap& map)
{
    juce::Array<float> steps;
    for (const auto& entry : map)
        steps.add ((float) entry.first);
    return steps;
}

// The gain steps under the band's first frequency and, within it, its first type; the bank holds
// the same steps for every frequency and type of a band.
juce::Array<float> gainSteps (const ResponseBank::FrequencyMap& map)
{
    juce::Array<float> steps;
    if (map.empty() || map.begin()->second.empty())
        return steps;
    for (const auto& entry : map.begin()->second.begin()->second)
        steps.add ((float) entry.first);
    return steps;
}

ColourPalette filledPalette()
{
    ColourPalette palette;
    return fillColourPalette (palette);
}
} // namespace

FilterComponent::FilterComponent (juce::AudioProcessorValueTreeState& s, const BandSetSlot& bandSetSlot,
                                  int channelNumber, int index)
    : juce::GroupComponent ({}, {})
    , slot (bandSetSlot)
    , palette (filledPalette())
    , channel (channelNumber)
    , bandNumber (bandSetSlot.bandNumber (index))
    , bandIndex (index)
    , state (s)
    , frequencyKnob (SnapSliderComponent::frequencyKind, 0.9f, palette[PaletteColour::frequencyKnob],
                     palette[PaletteColour::frequencyKnobLabel])
    , gainKnob (SnapSliderComponent::gainKind, 1.0f, palette[PaletteColour::gainKnob],
                palette[PaletteColour::gainKnobLabel])
    , typeButtons (s, bandSetSlot, channelNumber, index)
{
    typeParameter = dynamic_cast<juce::AudioParameterChoice*> (state.getParameter (parameterId ("type")));
    frequencyValue = state.getRawParameterValue (parameterId ("frequency"));
    gainValue = state.getRawParameterValue (parameterId ("gain"));

    const auto band = slot.band (bandIndex);
    if (band)
    {
        frequencyShown = band->isFrequencyEnabled();
        typeShown = band->isTypeEnabled();
        gainShown = band->isGainEnabled();
        trimShown = band->isMixEnabled();
    }

    frequencyKnob.setSnapValues (band ? frequencySteps (band->getFrequencyMap()) : juce::Array<float>());
    addAndMakeVisible (frequencyKnob);
    frequencyAttachment = std::make_unique<SliderAttachment> (state, parameterId ("frequency"), frequencyKnob.slider);
    frequencyKnob.slider.addListener (this);

    gainKnob.setSnapValues (band ? gainSteps (band->getFrequencyMap()) : juce::Array<float>());
    addAndMakeVisible (gainKnob);
    gainAttachment = std::make_unique<SliderAttachment> (state, parameterId ("gain"), gainKnob.slider);
    gainKnob.slider.addListener (this);

    addAndMakeVisible (typeButtons);

    trimKnob.setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
    trimKnob.enableValuePopup (2000);
    trimKnob.lookAndFeel.knobScale = 0.8f;
    addAndMakeVisible (trimKnob);
    trimAttachment = std::make_unique<SliderAttachment> (state, parameterId ("out"), trimKnob);
    trimKnob.addListener (this);

    setSize (140, 580);
    setColour (juce::GroupComponent::outlineColourId, juce::Colours::transparentBlack);
}

FilterComponent::~FilterComponent() = default;

juce::String FilterComponent::parameterId (const char* prefix) const
{
    return ParameterIds::band (prefix, channel, bandNumber);
}

void FilterComponent::paint (juce::Graphics& g)
{
    paintTransparentGroup (*this, g);
}

void FilterComponent::resized()
{
    if (const auto band = slot.band (bandIndex))
        setText (band->getBandName());
    setTextLabelPosition (juce::Justification::centred);

    frequencyKnob.setVisible (frequencyShown);
    typeButtons.setVisible (typeShown);
    gainKnob.setVisible (gainShown);
    trimKnob.setVisible (trimShown);

    const int frequencyHeight = frequencyShown ? 120 : 0;
    const int typeHeight = typeShown ? 30 : 0;
    const int gainHeight = gainShown ? 120 : 0;
    const int trimHeight = trimShown ? 120 : 0;
    const int top = (int) ((double) (getHeight() - frequencyHeight - typeHeight - gainHeight - trimHeight) * 0.5);

    // Centred from the width each control gets here (the same as its width after a first layout),
    // so that the very first layout is already the settled one. The type buttons overlap the
    // lowest 15 pixels of the frequency knob.
    const int knobWidth = 150, typeWidth = 120;
    const auto centredX = [this] (int width) { return (getWidth() - width) / 2; };

    if (frequencyShown)
        frequencyKnob.setBounds (centredX (knobWidth), top, knobWidth, frequencyHeight);
    if (typeShown)
        typeButtons.setBounds (centredX (typeWidth), top - 15 + frequencyHeight, typeWidth, typeHeight);
    if (gainShown)
        gainKnob.setBounds (centredX (knobWidth), top + typeHeight + frequencyHeight, knobWidth, gainHeight);
    if (trimShown)
        trimKnob.setBounds (centredX (knobWidth), top + typeHeight + gainHeight + frequencyHeight, knobWidth,
                            trimHeight);
}

void FilterComponent::sliderValueChanged (juce::Slider* slider)
{
    // The moved knob's value comes from the slider, the other from the parameter store, so the
    // result does not depend on whether the attachment has passed the new value on yet.
    const auto type = typeParameter != nullptr ? typeParameter->getCurrentChoiceName() : juce::String();

    if (slider == &frequencyKnob.slider)
    {
        if (const auto band = slot.band (bandIndex))
            band->selectImpulse (slider->getValue(), type, (double) gainValue->load (std::memory_order_relaxed));
    }
    else if (slider == &gainKnob.slider)
    {
        if (const auto band = slot.band (bandIndex))
            band->selectImpulse ((double) frequencyValue->load (std::memory_order_relaxed), type, slider->getValue());
    }
    // The trim reaches processing through its parameter alone.
}

void FilterComponent::resetToDefault (juce::Slider& slider, const char* prefix)
{
    if (auto* parameter = state.getParameter (parameterId (prefix)))
    {
        const auto start = slider.getMinimum();
        const auto end = slider.getMaximum();
        slider.setValue (start + (double) parameter->getDefaultValue() * (end - start), juce::sendNotificationAsync);
    }
}

void FilterComponent::resetBand()
{
    resetToDefault (frequencyKnob.slider, "frequency");
    resetToDefault (gainKnob.slider, "gain");
    resetToDefault (trimKnob, "out");
    typeButtons.getPeakButton().triggerClick();
}
