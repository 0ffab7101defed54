#include "EndToEndFixture.h"

#include "CACFUnknown.h"
#include "HostComponent.h"
#include "HostState.h"
#include "TestSignal.h"

#include <cmath>

namespace endtoend
{
EndToEnd::EndToEnd()
{
    std::string error;
    plugin = LoadedPlugin::open (LARKSPUR_PLUGIN_PATH, error);
    EXPECT_NE (plugin, nullptr) << error;
    if (plugin != nullptr && ! plugin->start (error))
    {
        ADD_FAILURE() << error;
        plugin.reset();
    }
}

EndToEnd::~EndToEnd()
{
    if (plugin == nullptr)
        return;
    std::string error;
    EXPECT_TRUE (plugin->unload (error)) << error;
    EXPECT_TRUE (plugin->session().state().log.assertions().empty());
    plugin.reset();
}

std::unique_ptr<HostInstance> EndToEnd::makeInstance (HostInstance::Options options)
{
    if (plugin == nullptr)
        return nullptr;
    std::string error;
    auto insert = plugin->createInstance (options, error);
    EXPECT_NE (insert, nullptr) << error;
    return insert;
}

std::unique_ptr<ConvolutionEqAudioProcessor> EndToEnd::makeReference (const HostInstance& insert, int maximumBlock,
                                                                      int channels) const
{
    auto processor = std::make_unique<ConvolutionEqAudioProcessor>();
    juce::AudioProcessor::BusesLayout layout;
    const auto channelSet = channels == 1 ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo();
    layout.inputBuses.add (channelSet);
    layout.outputBuses.add (channelSet);
    processor->setBusesLayout (layout);
    for (auto* parameter : processor->getParameters())
    {
        auto* withId = dynamic_cast<juce::AudioProcessorParameterWithID*> (parameter);
        parameter->setValueNotifyingHost (static_cast<float> (insert.normalizedValue (withId->paramID.toStdString())));
    }
    processor->setRateAndBufferSizeDetails (sampleRate, maximumBlock);
    processor->prepareToPlay (sampleRate, maximumBlock);
    return processor;
}

juce::AudioBuffer<float> testSignal (int samples)
{
    auto signal = makeTestSignal (sampleRate, 2);
    juce::AudioBuffer<float> cut (2, samples);
    for (int channel = 0; channel < 2; ++channel)
        cut.copyFrom (channel, 0, signal, channel, 0, std::min (samples, signal.getNumSamples()));
    return cut;
}

juce::AudioBuffer<float> processDirectly (HostInstance& insert, const juce::AudioBuffer<float>& input, int blockSize)
{
    juce::AudioBuffer<float> output (input.getNumChannels(), input.getNumSamples());
    std::vector<const float*> inputs (static_cast<size_t> (input.getNumChannels()));
    std::vector<float*> outputs (static_cast<size_t> (input.getNumChannels()));
    for (int start = 0; start < input.getNumSamples(); start += blockSize)
    {
        const int count = std::min (blockSize, input.getNumSamples() - start);
        for (int channel = 0; channel < input.getNumChannels(); ++channel)
        {
            inputs[static_cast<size_t> (channel)] = input.getReadPointer (channel, start);
            outputs[static_cast<size_t> (channel)] = output.getWritePointer (channel, start);
        }
        insert.process (inputs.data(), outputs.data(), count);
    }
    return output;
}

juce::AudioBuffer<float> processReference (ConvolutionEqAudioProcessor& processor,
                                           const juce::AudioBuffer<float>& input, int blockSize)
{
    juce::AudioBuffer<float> output (input);
    juce::MidiBuffer midi;
    for (int start = 0; start < input.getNumSamples(); start += blockSize)
    {
        const int count = std::min (blockSize, input.getNumSamples() - start);
        juce::AudioBuffer<float> block (output.getArrayOfWritePointers(), output.getNumChannels(), start, count);
        if (count != processor.getBlockSize())
            processor.setRateAndBufferSizeDetails (processor.getSampleRate(), count);
        processor.processBlock (block, midi);
    }
    return output;
}

std::string firstDifference (const juce::AudioBuffer<float>& actual, const juce::AudioBuffer<float>& expected)
{
    if (actual.getNumChannels() != expected.getNumChannels() || actual.getNumSamples() != expected.getNumSamples())
        return "the sizes differ";
    for (int channel = 0; channel < actual.getNumChannels(); ++channel)
        for (int i = 0; i < actual.getNumSamples(); ++i)
            if (actual.getSample (channel, i) != expected.getSample (channel, i))
                return "channel " + std::to_string (channel) + " sample " + std::to_string (i) + ": " +
                       std::to_string (actual.getSample (channel, i)) + " instead of " +
                       std::to_string (expected.getSample (channel, i));
    return {};
}

bool allFinite (const juce::AudioBuffer<float>& audio)
{
    for (int channel = 0; channel < audio.getNumChannels(); ++channel)
        for (int i = 0; i < audio.getNumSamples(); ++i)
            if (! std::isfinite (audio.getSample (channel, i)))
                return false;
    return true;
}

double normalisedFor (const char* identifier, float plainValue)
{
    ConvolutionEqAudioProcessor ranges;
    auto* parameter = ranges.getValueTreeState().getParameter (identifier);
    return parameter != nullptr ? parameter->convertTo0to1 (plainValue) : -1.0;
}
} // namespace endtoend
