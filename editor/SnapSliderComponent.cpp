#include "SnapSliderComponent.h"

#include "KnobArtwork.h"

#include <cmath>

SnapSliderComponent::SnapSliderComponent (int knobKind, float knobScale, juce::Colour knobColour,
                                          juce::Colour labelColour)
    : kind (knobKind)
    , slider (knobScale, knobColour, labelColour)
{
    addAndMakeVisible (slider);
    slider.addListener (this);
    addAndMakeVisible (firstLabel);
    addAndMakeVisible (secondLabel);

    if (kind == frequencyKind)
    {
        firstLabel.setText ("Hz", juce::dontSendNotification);
        firstLabel.setJustificationType (juce::Justification::centred);
    }
    else if (kind == gainKind)
    {
        firstLabel.setText ("+", juce::dontSendNotification);
        firstLabel.setJustificationType (juce::Justification::centred);
        secondLabel.setText ("-", juce::dontSendNotification);
        secondLabel.setJustificationType (juce::Justification::centred);
        // A band blends the responses of the two gain steps round its gain.
        slider.setBetweenSteps (SnapSliderScale::BetweenSteps::blended);
    }
}

SnapSliderComponent::~SnapSliderComponent() = default;

void SnapSliderComponent::setSnapValues (juce::Array<float> newValues)
{
    values = newValues;
    slider.setSnapTable (values);

    const int n = values.size();
    if (n > 0)
        slider.setMouseDragSensitivity ((int) ((float) (n * slider.getMouseDragSensitivity()) * 0.25f));

    for (const auto value : values)
    {
        auto* button = new PushButton (juce::String ((double) value));
        button->setButtonText (SnapSliderLookAndFeel::scaleText (value));
        for (const auto id : { juce::TextButton::buttonColourId, juce::TextButton::buttonOnColourId,
                               juce::TextButton::textColourOffId, juce::TextButton::textColourOnId })
            button->setColour (id, juce::Colours::transparentBlack);

        valueButtons.add (button);
        button->addListener (this);
        addAndMakeVisible (button);
    }
}

void SnapSliderComponent::resized()
{
    slider.setBoundsRelative (0.0f, 0.0f, 1.0f, 1.0f);

    if (kind == frequencyKind)
    {
        firstLabel.setBoundsRelative (0.8f, 0.0f, 0.2f, 0.2f);
    }
    else if (kind == gainKind)
    {
        firstLabel.setBoundsRelative (0.8f, 0.05f, 0.2f, 0.2f);
        secondLabel.setBoundsRelative (0.0f, 0.05f, 0.2f, 0.2f);
    }

    // Buttons are placed relative to the knob's size; over an empty knob there is nothing to place.
    if (slider.getWidth() <= 0 || slider.getHeight() <= 0)
        return;

    const auto& rotary = slider.getRotaryParameters();
    const int n = valueButtons.size();
    const float buttonStep =
        n < 2 ? 0.0f : std::abs ((rotary.endAngleRadians - rotary.startAngleRadians) / (float) (n - 1));

    auto& knobLookAndFeel = slider.getSnapLookAndFeel();
    const float radius =
        (float) knobLookAndFeel.artwork->pointer (knobLookAndFeel.knobColour).getWidth() * 0.5f * slider.getKnobScale();
    const auto cx = (float) (slider.getX() + slider.getWidth() / 2);
    const auto cy = (float) (slider.getY() + slider.getHeight() / 2);

    // Up to nine buttons fit a fifth of the height; more share the arc, three quarters of the
    // chord between neighbours high.
    const float halfRadius = radius * 0.5f;
    const float heightShare =
        n <= 9 ? 0.2f
               : std::sqrt ((1.0f - std::cos (buttonStep)) * 2.0f * halfRadius * halfRadius) * 1.5f / (radius + radius);

    const auto sliderWidth = (float) slider.getWidth();
    const auto sliderHeight = (float) slider.getHeight();
    const auto valueText = juce::String (slider.getValue());
    float angle = rotary.startAngleRadians;

    for (auto* button : valueButtons)
    {
        const auto buttonHeight = (int) ((float) getHeight() * heightShare);
        const auto buttonWidth = button->getLookAndFeel().getTextButtonWidthToFitText (*button, buttonHeight);
        const float widthShare = (float) buttonWidth / sliderWidth;

        button->setBoundsRelative ((std::sin (angle) * radius + cx) / sliderWidth - widthShare * 0.5f,
                                   (cy - std::cos (angle) * radius) / sliderHeight - heightShare * 0.5f, widthShare,
                                   heightShare);

        if (valueText == button->getName())
            button->toBehind (&slider);
        else
            button->toFront (true);

        angle += buttonStep;
    }
}

void SnapSliderComponent::buttonClicked (juce::Button* button)
{
    slider.setValue (button->getName().getDoubleValue(), juce::sendNotificationAsync);

    button->toBehind (&slider);
    for (auto* other : valueButtons)
        if (other != button)
            other->toFront (false);
}

void SnapSliderComponent::sliderValueChanged (juce::Slider* changed)
{
    const auto valueText = juce::String (changed->getValue());
    for (auto* button : valueButtons)
    {
        if (valueText == button->getName())
            button->toBehind (changed);
        else
            button->toFront (false);
    }
}
