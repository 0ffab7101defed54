#include "ProcessorTestSupport.h"

std::map<juce::String, float> normalisedValues (ConvolutionEqAudioProcessor& processor)
{
    std::map<juce::String, float> values;
    for (auto* p : processor.getParameters())
        if (auto* withId = dynamic_cast<juce::AudioProcessorParameterWithID*> (p))
            values[withId->paramID] = p->getValue();
    return values;
}

juce::MemoryBlock fileBytes (const juce::File& file)
{
    juce::MemoryBlock bytes;
    file.loadFileAsData (bytes);
    return bytes;
}
