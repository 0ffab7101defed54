#pragma once

#include "BandSetSlot.h"
#include "ControllerComponent.h"
#include "ConvolutionEqAudioProcessor.h"
#include "FilterGroupComponent.h"
#include "InputControllerComponent.h"
#include "TemporaryUserFolder.h"

#include <memory>

// The output section as the editor builds it, with the neighbours it reaches into, placed at
// `bounds` after it has laid itself out at its own size.
struct OutputSectionRig
{
    OutputSectionRig (const juce::AudioChannelSet& mainOutput, juce::Rectangle<int> bounds)
        : output (mainOutput)
    {
        processor.prepareToPlay (48000.0, 512);
        group1 = std::make_unique<FilterGroupComponent> (state, output, slot1);
        group2 = std::make_unique<FilterGroupComponent> (state, output, slot2);
        section = std::make_unique<ControllerComponent> (state, output, group1.get(), group2.get(), &input);
        section->setBounds (bounds);
    }

    ~OutputSectionRig()
    {
        section.reset();
        group2.reset();
        group1.reset();
    }

    TemporaryUserFolder folder;
    ConvolutionEqAudioProcessor processor;
    juce::AudioProcessorValueTreeState& state = processor.getValueTreeState();
    juce::AudioChannelSet output;
    BandSetSlot slot1{ processor, 1 }, slot2{ processor, 2 };
    InputControllerComponent input{ state };
    std::unique_ptr<FilterGroupComponent> group1, group2;
    std::unique_ptr<ControllerComponent> section;
};
