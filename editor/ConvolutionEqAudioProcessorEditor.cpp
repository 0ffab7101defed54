#include "ConvolutionEqAudioProcessorEditor.h"

#include "ConvolutionEqAudioProcessor.h"
#include "ParameterLayout.h"

namespace
{
// The editor's mono or stereo form follows the main output as it is when the editor is built.
juce::AudioChannelSet mainOutputOf (const juce::AudioProcessor& processor)
{
    return processor.getBusesLayout().getMainOutputChannelSet();
}

// Left, Mid and All are edited by channel 1, Right and Sides by channel 2. A NaN counts as on.
bool channel1EditsTheMode (juce::AudioProcessorValueTreeState& state)
{
    for (const auto* id : { ParameterIds::processL, ParameterIds::processA, ParameterIds::processM })
        if (auto* parameter = state.getParameter (id); parameter == nullptr || parameter->getValue() != 0.0f)
            return true;
    return false;
}
} // namespace

void ConvolutionEqAudioProcessorEditor::installOn (ConvolutionEqAudioProcessor& processor)
{
    processor.setEditorFactory (
        [] (ConvolutionEqAudioProcessor& owner) -> std::unique_ptr<juce::AudioProcessorEditor>
        { return std::make_unique<ConvolutionEqAudioProcessorEditor> (owner, owner.getValueTreeState()); });
}

ConvolutionEqAudioProcessorEditor::ConvolutionEqAudioProcessorEditor (ConvolutionEqAudioProcessor& p,
                                                                      juce::AudioProcessorValueTreeState& state)
    : juce::AudioProcessorEditor (p)
    , valueTreeState (state)
    , channel1Slot (p, 1)
    , channel2Slot (p, 2)
    , inputColumn (state)
    , channelGroup1 (state, mainOutputOf (p), channel1Slot)
    , channelGroup2 (state, mainOutputOf (p), channel2Slot)
    , presetStrip (state, p.getABSnapshot(), &p.getPresetStore())
    , outputSection (state, mainOutputOf (p), &channelGroup1, &channelGroup2, &inputColumn)
{
    setSize (width, height);

    // Tab goes through the strip, then the columns from left to right (the input column has no
    // buttons).
    presetStrip.setExplicitFocusOrder (1);
    channelGroup1.setExplicitFocusOrder (2);
    channelGroup2.setExplicitFocusOrder (2);
    outputSection.setExplicitFocusOrder (3);

    // Later children lie above earlier ones.
    addAndMakeVisible (presetStrip);
    addAndMakeVisible (inputColumn);
    addAndMakeVisible (channelGroup2);
    addAndMakeVisible (channelGroup1);
    addAndMakeVisible (outputSection);

    if (channel1EditsTheMode (valueTreeState))
        channelGroup2.setVisible (false);
    else
        channelGroup1.setVisible (false);

    tabFocus.keepFocusFromChildren();
}

ConvolutionEqAudioProcessorEditor::~ConvolutionEqAudioProcessorEditor()
{
    setLookAndFeel (nullptr);
}

void ConvolutionEqAudioProcessorEditor::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (backgroundArgb));
}

void ConvolutionEqAudioProcessorEditor::paintOverChildren (juce::Graphics& g)
{
    tabFocus.paintOutline (g);
}

bool ConvolutionEqAudioProcessorEditor::keyPressed (const juce::KeyPress& key)
{
    return tabFocus.keyPressed (key);
}

std::unique_ptr<juce::ComponentTraverser> ConvolutionEqAudioProcessorEditor::createKeyboardFocusTraverser()
{
    return tabFocus.createTraverser();
}

// The focus comes back to the editor from a control (disabled, hidden or given up), or leaves the
// window from one: the outline follows. Tab and the mouse move it themselves.
void ConvolutionEqAudioProcessorEditor::focusGained (FocusChangeType)
{
    tabFocus.focusChanged();
}

void ConvolutionEqAudioProcessorEditor::focusOfChildComponentChanged (FocusChangeType)
{
    tabFocus.focusChanged();
}

void ConvolutionEqAudioProcessorEditor::resized()
{
    presetStrip.setBounds (0, 0, getWidth(), 30);
    inputColumn.setBounds (15, 30, 65, 480);
    channelGroup1.setBounds (95, 45, 510, 450);
    channelGroup2.setBounds (95, 45, 510, 450);
    outputSection.setBounds (610, 40, 180, 480);
}
