// Paint times of the editor's components. Each benchmark builds its components once and then paints
// them, children included, into an image of their size, as a repaint of the editor would.

#include "BandSetSlot.h"
#include "ColourPalette.h"
#include "ControllerComponent.h"
#include "ConvolutionEqAudioProcessor.h"
#include "ConvolutionEqAudioProcessorEditor.h"
#include "FilterGroupComponent.h"
#include "InputControllerComponent.h"
#include "KnobArtworkCache.h"
#include "KnobSlider.h"
#include "MSLRComponent.h"
#include "ProcessUserFolder.h"
#include "SnapSliderComponent.h"
#include "state/StateComponent.h"

#include <benchmark/benchmark.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace
{
// Paints the component and its children into image (which has the component's size).
void paintInto (juce::Component& component, juce::Image& image)
{
    juce::Graphics g (image);
    g.fillAll (juce::Colours::transparentBlack);
    component.paintEntireComponent (g, true);
}

// Argument 0 of every paint benchmark: 1 paints from the parsed artwork the knobs share, 0 parses it
// on every paint.
void runPaint (benchmark::State& state, juce::Component& component)
{
    KnobArtworkCache::setEnabled (state.range (0) != 0);
    juce::Image image (juce::Image::ARGB, component.getWidth(), component.getHeight(), true);
    paintInto (component, image);
    for (auto _ : state)
    {
        paintInto (component, image);
        benchmark::DoNotOptimize (image.getPixelData());
    }
    KnobArtworkCache::setEnabled (true);
}

// The band panel's knobs with their detents and sizes.
std::unique_ptr<SnapSliderComponent> makeFrequencyKnob()
{
    ColourPalette palette;
    fillColourPalette (palette);
    auto knob = std::make_unique<SnapSliderComponent> (SnapSliderComponent::frequencyKind, 0.9f,
                                                       palette[PaletteColour::frequencyKnob],
                                                       palette[PaletteColour::frequencyKnobLabel]);
    knob->setSnapValues ({ 400.0f, 800.0f, 1500.0f, 3000.0f, 5000.0f });
    knob->slider.setRange (400.0, 5000.0);
    knob->slider.setValue (1500.0);
    knob->setSize (150, 120);
    return knob;
}

std::unique_ptr<SnapSliderComponent> makeGainKnob()
{
    ColourPalette palette;
    fillColourPalette (palette);
    auto knob = std::make_unique<SnapSliderComponent> (
        SnapSliderComponent::gainKind, 1.0f, palette[PaletteColour::gainKnob], palette[PaletteColour::gainKnobLabel]);
    knob->setSnapValues ({ -12.0f, -9.0f, -6.0f, -4.0f, -2.0f, 0.0f, 2.0f, 4.0f, 6.0f, 9.0f, 12.0f });
    knob->slider.setRange (-12.0, 12.0);
    knob->slider.setValue (4.0);
    knob->setSize (150, 120);
    return knob;
}

std::unique_ptr<KnobSlider> makeTrimKnob()
{
    auto knob = std::make_unique<KnobSlider>();
    knob->setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
    knob->lookAndFeel.knobScale = 0.8f;
    knob->setRange (-6.0, 6.0, 0.1);
    knob->setValue (1.5);
    knob->setSize (150, 120);
    return knob;
}

void frequencyKnob (benchmark::State& state)
{
    auto knob = makeFrequencyKnob();
    runPaint (state, *knob);
}

void gainKnob (benchmark::State& state)
{
    auto knob = makeGainKnob();
    runPaint (state, *knob);
}

void trimKnob (benchmark::State& state)
{
    auto knob = makeTrimKnob();
    runPaint (state, *knob);
}

// Laying out a stepped knob places its value buttons round the scale, whose radius comes from the
// knob artwork (argument 0 as for painting).
void frequencyKnobLayout (benchmark::State& state)
{
    KnobArtworkCache::setEnabled (state.range (0) != 0);
    auto knob = makeFrequencyKnob();
    for (auto _ : state)
        knob->resized();
    KnobArtworkCache::setEnabled (true);
}

// A prepared processor with its two band sets, and the editor's two channel groups and selector over
// it, laid out as the editor places them.
struct ChannelGroups
{
    ChannelGroups()
    {
        processor.prepareToPlay (48000.0, 512);
        group1.setBounds (0, 0, 510, 450);
        group1.setVisible (true);
        selector.setBounds (0, 0, 150, 112);
    }

    ProcessUserFolder folder{ "larkspur-editor-bench" }; // the processor writes its presets file there
    ConvolutionEqAudioProcessor processor;
    BandSetSlot slot1{ processor, 1 }, slot2{ processor, 2 };
    juce::AudioChannelSet output = juce::AudioChannelSet::stereo();
    FilterGroupComponent group1{ processor.getValueTreeState(), output, slot1 };
    FilterGroupComponent group2{ processor.getValueTreeState(), output, slot2 };
    MSLRComponent selector{ processor.getValueTreeState(), &group1, &group2 };
};

// One channel group: three band panels with six stepped knobs, three Trim knobs and the type buttons.
void channelGroup (benchmark::State& state)
{
    ChannelGroups groups;
    runPaint (state, groups.group1);
}

// The channel-mode selector's eight image buttons.
void selector (benchmark::State& state)
{
    ChannelGroups groups;
    juce::Image image (juce::Image::ARGB, 150, 112, true);
    for (auto _ : state)
    {
        paintInto (groups.selector, image);
        benchmark::DoNotOptimize (image.getPixelData());
    }
}

// What a mode change repaints: the shown channel group and the selector.
void channelGroupAndSelector (benchmark::State& state)
{
    ChannelGroups groups;
    KnobArtworkCache::setEnabled (state.range (0) != 0);
    juce::Image groupImage (juce::Image::ARGB, 510, 450, true), selectorImage (juce::Image::ARGB, 150, 112, true);
    paintInto (groups.group1, groupImage);
    for (auto _ : state)
    {
        paintInto (groups.group1, groupImage);
        paintInto (groups.selector, selectorImage);
        benchmark::DoNotOptimize (groupImage.getPixelData());
        benchmark::DoNotOptimize (selectorImage.getPixelData());
    }
    KnobArtworkCache::setEnabled (true);
}

// A processor prepared at 48 kHz with an open editor, made and deleted the way the host does.
struct OpenEditor
{
    OpenEditor()
    {
        processor.prepareToPlay (48000.0, 512);
        ConvolutionEqAudioProcessorEditor::installOn (processor);
        editor.reset (processor.createEditorIfNeeded());
    }

    ~OpenEditor() { processor.editorBeingDeleted (editor.get()); }

    ProcessUserFolder folder{ "larkspur-editor-bench" };
    ConvolutionEqAudioProcessor processor;
    std::unique_ptr<juce::AudioProcessorEditor> editor;
};

// Opening the editor: building the window with all its components, then its first full paint.
void editorOpenAndFirstPaint (benchmark::State& state)
{
    ProcessUserFolder folder{ "larkspur-editor-bench" };
    ConvolutionEqAudioProcessor processor;
    processor.prepareToPlay (48000.0, 512);
    ConvolutionEqAudioProcessorEditor::installOn (processor);
    juce::Image image (juce::Image::ARGB, 800, 518, true);
    for (auto _ : state)
    {
        std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditorIfNeeded());
        paintInto (*editor, image);
        benchmark::DoNotOptimize (image.getPixelData());
        processor.editorBeingDeleted (editor.get());
    }
}

// One full repaint of an open editor: the background and every visible component.
void editorRepaint (benchmark::State& state)
{
    OpenEditor open;
    runPaint (state, *open.editor);
}

// Each of the editor's children alone, as they lie in the open editor, for their share of a repaint.
template <typename Child>
void editorChild (benchmark::State& state)
{
    OpenEditor open;
    for (auto* child : open.editor->getChildren())
        if (auto* typed = dynamic_cast<Child*> (child); typed != nullptr && typed->isVisible())
        {
            runPaint (state, *typed);
            return;
        }
    state.SkipWithError ("no such child");
}

// Registers a benchmark twice: with the knobs' shared parsed artwork (cached:1) and parsing the
// artwork on every use, as without the cache (cached:0).
void registerWithAndWithoutCache (const char* name, void (*run) (benchmark::State&))
{
    benchmark::RegisterBenchmark (name, run)->ArgName ("cached")->Arg (1)->Arg (0)->Unit (benchmark::kMicrosecond);
}
} // namespace

int main (int argc, char** argv)
{
    // Components, fonts and images need JUCE's GUI side.
    juce::ScopedJuceInitialiser_GUI gui;
    registerWithAndWithoutCache ("paint/knob/frequency", frequencyKnob);
    registerWithAndWithoutCache ("paint/knob/gain", gainKnob);
    registerWithAndWithoutCache ("paint/knob/trim", trimKnob);
    registerWithAndWithoutCache ("layout/knob/frequency", frequencyKnobLayout);
    registerWithAndWithoutCache ("paint/channel-group", channelGroup);
    benchmark::RegisterBenchmark ("paint/selector", selector)->Unit (benchmark::kMicrosecond);
    registerWithAndWithoutCache ("paint/channel-group+selector", channelGroupAndSelector);
    benchmark::RegisterBenchmark ("editor/open+first-paint", editorOpenAndFirstPaint)->Unit (benchmark::kMillisecond);
    registerWithAndWithoutCache ("paint/editor", editorRepaint);
    registerWithAndWithoutCache ("paint/editor/input-column", editorChild<InputControllerComponent>);
    registerWithAndWithoutCache ("paint/editor/output-section", editorChild<ControllerComponent>);
    registerWithAndWithoutCache ("paint/editor/channel-group", editorChild<FilterGroupComponent>);
    registerWithAndWithoutCache ("paint/editor/preset-strip", editorChild<state::StateComponent>);

    benchmark::Initialize (&argc, argv);
    if (benchmark::ReportUnrecognizedArguments (argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
