#include "SharedPaint.h"

void paintTransparent (juce::Graphics& g)
{
    g.fillAll (juce::Colours::transparentBlack);
}

void paintTransparentGroup (juce::GroupComponent& group, juce::Graphics& g)
{
    paintTransparent (g);
    group.juce::GroupComponent::paint (g);
}
