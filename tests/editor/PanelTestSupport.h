#pragma once

#include "BandSetSlot.h"
#include "ConvolutionEqAudioProcessor.h"
#include "TemporaryUserFolder.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

// Lays a component and everything inside it out twice, as the editor's second layout pass does:
// components lay a child out from the child's current size, so the first pass may be off.
inline void settleLayout (juce::Component& component)
{
    for (int pass = 0; pass < 2; ++pass)
    {
        component.resized();
        for (auto* child : component.getChildren())
            settleLayout (*child);
    }
}

// Delivers asynchronous clicks, slider notifications and updates.
inline void dispatchMessages()
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
}

// A processor with the slots through which the editor reaches its two band sets, prepared unless
// asked otherwise and with a stereo or a mono main bus.
struct PanelProcessor
{
    explicit PanelProcessor (bool prepared = true, bool mono = false)
    {
        if (mono)
        {
            juce::AudioProcessor::BusesLayout layout;
            layout.inputBuses.add (juce::AudioChannelSet::mono());
            layout.outputBuses.add (juce::AudioChannelSet::mono());
            processor.setBusesLayout (layout);
        }
        if (prepared)
            prepare();
    }

    void prepare() { processor.prepareToPlay (48000.0, 512); }

    juce::AudioChannelSet mainOutput() const { return processor.getBusesLayout().getMainOutputChannelSet(); }

    juce::AudioProcessorValueTreeState& state() { return processor.getValueTreeState(); }

    TemporaryUserFolder folder;
    ConvolutionEqAudioProcessor processor;
    BandSetSlot slot1{ processor, 1 };
    BandSetSlot slot2{ processor, 2 };
};
