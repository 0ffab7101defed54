#include "ABSnapshot.h"

#include "ConvolutionEqAudioProcessor.h"
#include "ParameterSettings.h"

ABSnapshot::ABSnapshot (ConvolutionEqAudioProcessor* ownerProcessor)
    : owner (ownerProcessor)
{
}

void ABSnapshot::swapWithCurrent()
{
    juce::XmlElement previous ("Temp");
    captureParameterValues (*owner, previous);
    applyParameterValues (values, *owner);
    values = previous;
    values.setTagName ("AB");
}

void ABSnapshot::keepCurrent()
{
    captureParameterValues (*owner, values);
}
