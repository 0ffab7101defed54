#include "ABSnapshot.h"

#include "ParameterSettings.h"

ABSnapshot::ABSnapshot (juce::AudioProcessor& processorToCompare)
    : processor (processorToCompare)
{
}

void ABSnapshot::swapWithCurrent()
{
    juce::XmlElement previous ("Temp");
    captureParameterValues (processor, previous);
    applyParameterValues (values, processor);
    values = previous;
    values.setTagName ("AB");
}

void ABSnapshot::keepCurrent()
{
    captureParameterValues (processor, values);
}
