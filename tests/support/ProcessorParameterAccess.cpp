#include "ProcessorParameterAccess.h"

#include <stdexcept>

juce::RangedAudioParameter& parameter (ConvolutionEqAudioProcessor& processor, const juce::String& id)
{
    auto* p = processor.getValueTreeState().getParameter (id);
    if (p == nullptr)
        throw std::runtime_error (("no parameter " + id).toStdString());
    return *p;
}

void setPlainValue (ConvolutionEqAudioProcessor& processor, const juce::String& id, float value)
{
    auto& p = parameter (processor, id);
    p.setValueNotifyingHost (p.convertTo0to1 (value));
}

float plainValue (ConvolutionEqAudioProcessor& processor, const juce::String& id)
{
    auto& p = parameter (processor, id);
    return p.convertFrom0to1 (p.getValue());
}
