// Writes pictures of the editor and its artwork, headlessly, so that they can be looked at without a host:
//   larkspur_editor_snapshots [folder] [--zoom N]     (default: docs)
// --zoom also writes each picture N times larger, pixels repeated, as NAME@Nx.png.
//   artwork.png         every SVG document at the size and in the colours the editor draws it, on the
//                       editor's background; the knobs and faders are the editor's own components
//   editor-headless.png       the whole editor of a prepared stereo processor showing a factory
//                             preset, drawn without a window (docs/editor.png is the host's, drawn in
//                             a real window, so it is not written over)
//   editor-headless-mono.png  the same on a mono bus
//   channel-group.png   channel 1's band panels, selector.png the channel-mode selector and
//   output-section.png  the column at the editor's right edge, each at the size the editor gives it
// The text is DejaVu Sans whatever fonts the machine has (TestFontPin).

#include "Artwork.h"
#include "BandSetSlot.h"
#include "ColourPalette.h"
#include "ControllerComponent.h"
#include "ConvolutionEqAudioProcessor.h"
#include "ConvolutionEqAudioProcessorEditor.h"
#include "FilterGroupComponent.h"
#include "InputControllerComponent.h"
#include "KnobSlider.h"
#include "LinearSlider.h"
#include "MSLRComponent.h"
#include "SnapSliderComponent.h"
#include "SvgDrawable.h"
#include "TemporaryUserFolder.h"
#include "TestFontPin.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <cmath>
#include <iostream>
#include <memory>
#include <vector>

namespace
{
const juce::Colour background (0xFF231E1A);
const juce::Colour captionColour (0xFFD3D3D3);
int zoom = 1;

bool writePngFile (const juce::Image& image, const juce::File& file)
{
    juce::TemporaryFile temporary (file);
    {
        juce::FileOutputStream out (temporary.getFile());
        if (! out.openedOk() || ! juce::PNGImageFormat().writeImageToStream (image, out))
            return false;
    }
    if (! temporary.overwriteTargetFileWithTemporary())
        return false;
    std::cout << file.getFullPathName() << " (" << image.getWidth() << " x " << image.getHeight() << ")\n";
    return true;
}

bool writePng (const juce::Image& image, const juce::File& file)
{
    if (! writePngFile (image, file))
        return false;
    if (zoom <= 1)
        return true;
    juce::Image zoomed (juce::Image::ARGB, image.getWidth() * zoom, image.getHeight() * zoom, true);
    {
        juce::Graphics g (zoomed);
        g.setImageResamplingQuality (juce::Graphics::lowResamplingQuality); // nearest neighbour
        g.drawImageTransformed (image, juce::AffineTransform::scale ((float) zoom));
    }
    return writePngFile (zoomed, file.getSiblingFile (file.getFileNameWithoutExtension() + "@" + juce::String (zoom) +
                                                      "x" + file.getFileExtension()));
}

juce::Image snapshot (juce::Component& component)
{
    juce::Image image (juce::Image::ARGB, component.getWidth(), component.getHeight(), true);
    juce::Graphics g (image);
    g.fillAll (background);
    component.paintEntireComponent (g, false);
    return image;
}

std::unique_ptr<juce::Drawable> parse (const char* svg)
{
    const auto xml = juce::parseXML (juce::String::fromUTF8 (svg));
    return xml != nullptr ? juce::Drawable::createFromSVG (*xml) : nullptr;
}

/** A drawable button with a picture for off and one for on, as the editor's image buttons are made. */
std::unique_ptr<juce::DrawableButton> imageButton (const char* svg, juce::Colour on, juce::Colour off, bool state)
{
    auto button = std::make_unique<juce::DrawableButton> ("", juce::DrawableButton::ImageFitted);
    const auto onImage = createSvgDrawable (svg, juce::Colours::white, on, 1.0f);
    const auto offImage = createSvgDrawable (svg, juce::Colours::white, off, 1.0f);
    button->setImages (offImage.get(), offImage.get(), offImage.get(), offImage.get(), onImage.get(), onImage.get(),
                       onImage.get(), onImage.get());
    button->setColour (juce::DrawableButton::backgroundOnColourId, juce::Colours::transparentBlack);
    button->setClickingTogglesState (true);
    button->setToggleState (state, juce::dontSendNotification);
    return button;
}

/** Components placed at absolute positions, with captions. */
class Sheet : public juce::Component
{
public:
    template <typename ComponentType>
    ComponentType& place (std::unique_ptr<ComponentType> child, juce::Rectangle<int> bounds)
    {
        auto& ref = *child;
        child->setBounds (bounds);
        addAndMakeVisible (*child);
        children.push_back (std::move (child));
        return ref;
    }

    void caption (juce::String text, int x, int y, float height = 13.0f)
    {
        captions.push_back ({ std::move (text), { x, y }, height });
    }

    void paintOverChildren (juce::Graphics& g) override
    {
        for (const auto& c : captions)
        {
            g.setColour (captionColour.withAlpha (0.75f));
            g.setFont (c.height);
            g.drawSingleLineText (c.text, c.at.x, c.at.y);
        }
    }

private:
    struct Caption
    {
        juce::String text;
        juce::Point<int> at;
        float height;
    };
    std::vector<std::unique_ptr<juce::Component>> children;
    std::vector<Caption> captions;
};

/** Draws one SVG document as it is, with its white glyph, at a scale. */
class DocumentSpecimen : public juce::Component
{
public:
    explicit DocumentSpecimen (const char* svg, float drawingScale = 1.0f)
        : drawable (parse (svg))
        , scale (drawingScale)
    {
    }

    void paint (juce::Graphics& g) override { drawable->draw (g, 1.0f, juce::AffineTransform::scale (scale)); }

private:
    std::unique_ptr<juce::Drawable> drawable;
    float scale;
};

juce::Image contactSheet()
{
    ColourPalette palette;
    fillColourPalette (palette);
    Sheet sheet;
    sheet.setSize (940, 930);

    // Band-type buttons: the low band's pair and the high band's pair, 60 x 30 each.
    int y = 24;
    sheet.caption ("Band-type buttons, 60 x 30 (on " + palette[PaletteColour::bandTypeGlyphOn].toDisplayString (false) +
                       ", off " + palette[PaletteColour::bandTypeGlyphOff].toDisplayString (false) + ")",
                   10, y - 8);
    struct Pair
    {
        const char* left;
        const char* right;
        bool leftOn;
    };
    const Pair pairs[] = { { Artwork::buttonLe, Artwork::buttonPk, true },
                           { Artwork::buttonLe, Artwork::buttonPk, false },
                           { Artwork::buttonPk, Artwork::buttonHe, true },
                           { Artwork::buttonPk, Artwork::buttonHe, false } };
    int x = 10;
    for (const auto& pair : pairs)
    {
        sheet.place (imageButton (pair.left, palette[PaletteColour::bandTypeGlyphOn],
                                  palette[PaletteColour::bandTypeGlyphOff], pair.leftOn),
                     { x, y, 60, 30 });
        sheet.place (imageButton (pair.right, palette[PaletteColour::bandTypeGlyphOn],
                                  palette[PaletteColour::bandTypeGlyphOff], ! pair.leftOn),
                     { x + 60, y, 60, 30 });
        x += 140;
    }

    // The channel-mode selector's grid at 150 x 112, in two states.
    y = 90;
    sheet.caption ("Selector 150 x 112: All, solos, link / Side, solo CH2", 10, y - 8);
    for (int state = 0; state < 2; ++state)
    {
        const int x0 = 10 + state * 190;
        const bool all = state == 0;
        sheet.place (
            imageButton (Artwork::buttonSpeaker, palette[PaletteColour::soloOn], palette[PaletteColour::soloOff], all),
            { x0, y, 50, 28 });
        sheet.place (imageButton (Artwork::buttonSpeaker, palette[PaletteColour::soloChannel2On],
                                  palette[PaletteColour::soloChannel2Off], true),
                     { x0 + 100, y, 50, 28 });
        sheet.place (imageButton (Artwork::buttonL, palette[PaletteColour::leftMidAllOn],
                                  palette[PaletteColour::leftMidAllOff], false),
                     { x0, y + 28, 50, 28 });
        sheet.place (imageButton (Artwork::buttonLink, palette[PaletteColour::selectorLinkOn],
                                  palette[PaletteColour::selectorLinkOff], all),
                     { x0 + 50, y + 42, 50, 28 });
        sheet.place (imageButton (Artwork::buttonR, palette[PaletteColour::rightSideOn],
                                  palette[PaletteColour::rightSideOff], false),
                     { x0 + 100, y + 28, 50, 28 });
        sheet.place (imageButton (Artwork::buttonM, palette[PaletteColour::leftMidAllOn],
                                  palette[PaletteColour::leftMidAllOff], false),
                     { x0, y + 56, 50, 28 });
        sheet.place (imageButton (Artwork::buttonS, palette[PaletteColour::rightSideOn],
                                  palette[PaletteColour::rightSideOff], ! all),
                     { x0 + 100, y + 56, 50, 28 });
        sheet.place (imageButton (Artwork::buttonA, palette[PaletteColour::leftMidAllOn],
                                  palette[PaletteColour::leftMidAllOff], all),
                     { x0, y + 84, 150, 28 });
    }

    // Output section switches at 50 x 28 and Reset at 35 x 35, on and off.
    sheet.caption ("Output: Phase L, Link, Phase R, Solo, Reset; on / off", 400, y - 8);
    struct Switch
    {
        const char* svg;
        PaletteColour::Entry on, off;
    };
    const Switch switches[] = { { Artwork::buttonPhase, PaletteColour::outputSwitchOn, PaletteColour::outputSwitchOff },
                                { Artwork::buttonLink, PaletteColour::outputSwitchOn, PaletteColour::outputSwitchOff },
                                { Artwork::buttonPhase, PaletteColour::rightPhaseOn, PaletteColour::rightPhaseOff },
                                { Artwork::buttonSpeaker, PaletteColour::soloOn, PaletteColour::soloOff } };
    x = 400;
    for (const auto& s : switches)
    {
        sheet.place (imageButton (s.svg, palette[s.on], palette[s.off], true), { x, y, 50, 28 });
        sheet.place (imageButton (s.svg, palette[s.off], palette[s.off], false), { x, y + 34, 50, 28 });
        x += 60;
    }
    sheet.place (imageButton (Artwork::buttonReset, palette[PaletteColour::outputSwitchOn],
                              palette[PaletteColour::outputSwitchOff], true),
                 { x + 5, y - 3, 35, 35 });
    sheet.place (imageButton (Artwork::buttonReset, palette[PaletteColour::outputSwitchOn],
                              palette[PaletteColour::outputSwitchOff], false),
                 { x + 5, y + 31, 35, 35 });

    // Knobs in 150 x 120 areas, as the band panel sizes them, at two values each.
    y = 240;
    sheet.caption ("Frequency knob 0.9, gain knob 1.0, trim knob 0.8; two values each", 10, y - 8);
    x = 10;
    const auto steppedKnob =
        [&] (int kind, float scale, juce::Colour knob, juce::Colour label, const juce::Array<float>& table, float value)
    {
        auto component = std::make_unique<SnapSliderComponent> (kind, scale, knob, label);
        component->setSnapValues (table);
        component->slider.setRange (table.getFirst(), table.getLast());
        component->slider.setValue (value, juce::dontSendNotification);
        sheet.place (std::move (component), { x, y, 150, 120 });
        x += 152;
    };
    const juce::Array<float> frequencies{ 400.0f, 800.0f, 1500.0f, 3000.0f, 5000.0f };
    const juce::Array<float> gains{ -12.0f, -9.0f, -6.0f, -4.0f, -2.0f, 0.0f, 2.0f, 4.0f, 6.0f, 9.0f, 12.0f };
    for (float value : { 400.0f, 1500.0f })
        steppedKnob (SnapSliderComponent::frequencyKind, 0.9f, palette[PaletteColour::frequencyKnob],
                     palette[PaletteColour::frequencyKnobLabel], frequencies, value);
    for (float value : { 0.0f, 6.0f })
        steppedKnob (SnapSliderComponent::gainKind, 1.0f, palette[PaletteColour::gainKnob],
                     palette[PaletteColour::gainKnobLabel], gains, value);
    for (double dB : { -6.0, 2.4 })
    {
        auto trim = std::make_unique<KnobSlider>();
        trim->setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
        trim->lookAndFeel.knobScale = 0.8f;
        trim->setRange (-6.0, 6.0, 0.1);
        trim->setValue (dB, juce::dontSendNotification);
        sheet.place (std::move (trim), { x, y, 150, 120 });
        x += 152;
    }

    // Faders: the cap at 0.1 on the input/output track colours, and the logo corner of the output section.
    y = 390;
    sheet.caption ("Faders 65 x 160", 10, y - 8);
    x = 10;
    for (const auto& [dB, colour] : { std::pair{ 12.0, palette[PaletteColour::faderTrack] },
                                      { 0.0, palette[PaletteColour::faderTrack] },
                                      { -30.0, palette[PaletteColour::rightFaderTrack] } })
    {
        auto fader = std::make_unique<LinearSlider>();
        fader->setSliderStyle (juce::Slider::LinearVertical);
        fader->setColour (juce::Slider::trackColourId, colour);
        fader->setRange (-96.0, 12.0);
        fader->setValue (dB, juce::dontSendNotification);
        sheet.place (std::move (fader), { x, y, 65, 160 });
        x += 66;
    }
    sheet.caption ("Output section foot: logo 180 x 142, Reset 35 x 35, \"Larkspur\"", 220, y - 8);
    {
        const int x0 = 220, y0 = y - 330 + 4; // the section's own coordinates, shifted
        auto logo = std::make_unique<juce::DrawableButton> ("logo", juce::DrawableButton::ImageFitted);
        const auto logoImage =
            createSvgDrawable (Artwork::korvelLogo, juce::Colour (0xFF7DF97D), juce::Colour (0xFFA9B0B7), 1.5f);
        logo->setImages (logoImage.get());
        sheet.place (std::move (logo), { x0, y0 + 338, 180, 142 });
        sheet.place (imageButton (Artwork::buttonReset, palette[PaletteColour::outputSwitchOn],
                                  palette[PaletteColour::outputSwitchOff], false),
                     { x0 + 73, y0 + 330, 35, 35 });
        auto label = std::make_unique<juce::Label> ("", "Larkspur");
        label->setFont (juce::Font (14.0f, juce::Font::plain));
        label->setColour (juce::Label::textColourId, juce::Colours::white);
        label->setJustificationType (juce::Justification::centred);
        label->setBorderSize ({});
        const auto tw = (int) std::ceil (label->getFont().getStringWidthFloat ("Larkspur"));
        sheet.place (std::move (label), { x0 + 180 - tw, y0 + 453, tw, 14 });
    }

    // Every document as drawn from its source, unscaled.
    y = 590;
    sheet.caption ("The documents at 100 %, white glyphs as drawn", 10, y - 8);
    struct Named
    {
        const char* svg;
        const char* name;
    };
    const Named documents[] = {
        { Artwork::buttonLe, "button-le" },
        { Artwork::buttonPk, "button-pk" },
        { Artwork::buttonHe, "button-he" },
        { Artwork::buttonL, "button-L" },
        { Artwork::buttonR, "button-R" },
        { Artwork::buttonM, "button-M" },
        { Artwork::buttonS, "button-S" },
        { Artwork::buttonA, "button-A" },
        { Artwork::buttonSpeaker, "button-speaker" },
        { Artwork::buttonLink, "button-link" },
        { Artwork::buttonPhase, "button-phase" },
        { Artwork::buttonOn, "button-on" },
        { Artwork::buttonOff, "button-off" },
        { Artwork::buttonMOn, "button-M-on" },
        { Artwork::buttonBack, "button-back" },
        { Artwork::button, "button" },
        { Artwork::buttonReset, "button-reset" },
        { Artwork::knobPointer, "knob-pointer" },
        { Artwork::knobPointerDetail, "knob-pointer-detail" },
        { Artwork::slider, "slider" },
    };
    x = 10;
    int rowHeight = 0;
    for (const auto& d : documents)
    {
        auto specimen = std::make_unique<DocumentSpecimen> (d.svg);
        auto bounds = parse (d.svg)->getDrawableBounds().getSmallestIntegerContainer();
        const int w = juce::jmax (bounds.getRight(), 90), h = bounds.getBottom();
        if (x + w > 930)
        {
            x = 10;
            y += rowHeight + 22;
            rowHeight = 0;
        }
        sheet.place (std::move (specimen), { x, y, w + 1, h + 1 });
        sheet.caption (d.name, x, y + h + 13, 11.0f);
        x += w + 14;
        rowHeight = juce::jmax (rowHeight, h);
    }
    // The logo, smaller, with the green that the output section turns grey.
    sheet.place (std::make_unique<DocumentSpecimen> (Artwork::korvelLogo, 0.8f), { x, y, 400, 272 });
    sheet.caption ("korvel-logo (at 80 %)", x, y + 272 + 13, 11.0f);
    sheet.setSize (sheet.getWidth(), y + rowHeight + 26);
    return snapshot (sheet);
}

// Sets the processor's parameters to the values of a preset of the embedded default document.
bool applyPreset (ConvolutionEqAudioProcessor& processor, const juce::String& name)
{
    const auto& presets = processor.getPresetStore().presets;
    for (const auto* preset : presets.getChildIterator())
    {
        if (preset->getStringAttribute ("presetName") != name)
            continue;
        for (int i = 0; i < preset->getNumAttributes(); ++i)
            if (auto* parameter = processor.getValueTreeState().getParameter (preset->getAttributeName (i)))
                parameter->setValueNotifyingHost ((float) preset->getAttributeValue (i).getDoubleValue());
        return true;
    }
    std::cerr << "no preset named " << name << "\n";
    return false;
}

juce::Image editorSnapshot (ConvolutionEqAudioProcessor& processor)
{
    ConvolutionEqAudioProcessorEditor::installOn (processor);
    std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditorIfNeeded());
    juce::MessageManager::getInstance()->runDispatchLoopUntil (50); // asynchronous updates settle
    auto image = snapshot (*editor);
    processor.editorBeingDeleted (editor.get());
    return image;
}

bool writeGroupSnapshots (ConvolutionEqAudioProcessor& processor, const juce::File& folder)
{
    auto& state = processor.getValueTreeState();
    const auto stereo = juce::AudioChannelSet::stereo();
    const BandSetSlot slot1 (processor, 1), slot2 (processor, 2);
    FilterGroupComponent group1 (state, stereo, slot1), group2 (state, stereo, slot2);
    MSLRComponent selector (state, &group1, &group2);
    InputControllerComponent input (state);
    ControllerComponent output (state, stereo, &group1, &group2, &input);
    group1.setBounds (0, 0, 510, 450);
    group1.setVisible (true);
    selector.setBounds (0, 0, 150, 112);
    output.setBounds (0, 0, 180, 480);
    juce::MessageManager::getInstance()->runDispatchLoopUntil (50);
    return writePng (snapshot (group1), folder.getChildFile ("channel-group.png")) &&
           writePng (snapshot (selector), folder.getChildFile ("selector.png")) &&
           writePng (snapshot (output), folder.getChildFile ("output-section.png"));
}
} // namespace

int main (int argc, char* argv[])
{
    const TestFontPin fontPin;
    juce::ScopedJuceInitialiser_GUI framework;
    if (const auto problem = TestFontPin::problem(); problem.isNotEmpty())
    {
        std::cerr << problem << "\n";
        return 1;
    }
    juce::String folderName = "docs";
    for (int i = 1; i < argc; ++i)
    {
        const juce::String arg (argv[i]);
        if (arg == "--zoom" && i + 1 < argc)
            zoom = juce::jlimit (1, 8, juce::String (argv[++i]).getIntValue());
        else
            folderName = arg;
    }
    const auto folder = juce::File::getCurrentWorkingDirectory().getChildFile (folderName);
    if (! folder.createDirectory())
    {
        std::cerr << "cannot create " << folder.getFullPathName() << "\n";
        return 1;
    }
    if (! writePng (contactSheet(), folder.getChildFile ("artwork.png")))
        return 1;

    TemporaryUserFolder userFolder; // the processor writes its presets file there
    ConvolutionEqAudioProcessor processor;
    processor.setPlayConfigDetails (2, 2, 48000.0, 512);
    processor.prepareToPlay (48000.0, 512);
    if (! applyPreset (processor, "Blended Drums") ||
        ! writePng (editorSnapshot (processor), folder.getChildFile ("editor-headless.png")))
        return 1;
    if (! writeGroupSnapshots (processor, folder))
        return 1;

    ConvolutionEqAudioProcessor mono;
    if (! mono.setBusesLayout ({ { juce::AudioChannelSet::mono() }, { juce::AudioChannelSet::mono() } }))
    {
        std::cerr << "the processor refuses a mono layout\n";
        return 1;
    }
    mono.prepareToPlay (48000.0, 512);
    const bool written = applyPreset (mono, "Blended Drums") &&
                         writePng (editorSnapshot (mono), folder.getChildFile ("editor-headless-mono.png"));
    return written ? 0 : 1;
}
