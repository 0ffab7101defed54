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

    // A window that gains the focus gives it to the editor, which passes every key but Tab on to
    // the host, rather than to its first control (Bypass), which Return would press.
    setWantsKeyboardFocus (true);

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
}

ConvolutionEqAudioProcessorEditor::~ConvolutionEqAudioProcessorEditor()
{
    setLookAndFeel (nullptr);
}

void ConvolutionEqAudioProcessorEditor::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (backgroundArgb));
}

bool ConvolutionEqAudioProcessorEditor::keyPressed (const juce::KeyPress& key)
{
    // JUCE moves the focus on Tab only from a focused child, so from the editor itself Tab would
    // reach no control: Tab starts at the first, Shift+Tab at the last.
    const auto shift = juce::ModifierKeys (juce::ModifierKeys::shiftModifier);
    const bool forwards = key == juce::KeyPress (juce::KeyPress::tabKey);
    if (! hasKeyboardFocus (false) || ! (forwards || key == juce::KeyPress (juce::KeyPress::tabKey, shift, 0)))
        return false;

    const auto controls = juce::KeyboardFocusTraverser().getAllComponents (this);
    if (controls.empty()) // never so: Reset and the strip's first three are always there
        return false;
    // A step on from the far end wraps round to the wanted end, and the control learns that it
    // was tabbed to (it keeps the focus only then).
    (forwards ? controls.back() : controls.front())->moveKeyboardFocusToSibling (forwards);
    return true;
}

void ConvolutionEqAudioProcessorEditor::resized()
{
    presetStrip.setBounds (0, 0, getWidth(), 30);
    inputColumn.setBounds (15, 30, 65, 480);
    channelGroup1.setBounds (95, 45, 510, 450);
    channelGroup2.setBounds (95, 45, 510, 450);
    outputSection.setBounds (610, 40, 180, 480);
}
