// Renders the editor headlessly in a few states and compares each picture with its reference image
// in tests/editor/reference. With LARKSPUR_UPDATE_REFERENCE_IMAGES=1 in the environment it writes
// the references instead (scripts/update-reference-images). The text is DejaVu Sans on every machine
// (TestFontPin).

#include "ControllerComponent.h"
#include "ConvolutionEqAudioProcessorEditor.h"
#include "FilterGroupComponent.h"
#include "InputControllerComponent.h"
#include "PanelTestSupport.h"
#include "ProcessorParameterAccess.h"
#include "TestFontPin.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

namespace
{
// Before the test environment starts JUCE, so before any text.
const TestFontPin fontPin;

// The rasteriser and antialiasing may differ by a few levels between machines; anything a user would see
// differs by more, or in more pixels.
constexpr int levelTolerance = 6;
constexpr int differingPixelsAllowed = 4;

const juce::File referenceFolder (LARKSPUR_REFERENCE_IMAGE_FOLDER);
const juce::File differenceFolder (LARKSPUR_REFERENCE_DIFFERENCE_FOLDER);

template <typename Child>
Child& childOf (juce::Component& parent)
{
    for (auto* c : parent.getChildren())
        if (auto* typed = dynamic_cast<Child*> (c))
            return *typed;
    throw std::runtime_error ("no such child");
}

juce::Image wholeEditor (juce::Component& editor)
{
    return editor.createComponentSnapshot (editor.getLocalBounds());
}

juce::MouseEvent mouseEvent (juce::Component& target, juce::Point<float> at, juce::Point<float> down)
{
    return juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(), at,
                             juce::ModifierKeys::leftButtonModifier, juce::MouseInputSource::defaultPressure, 0.0f,
                             0.0f, 0.0f, 0.0f, &target, &target, juce::Time(), down, juce::Time(), 1, at != down);
}

// Presses a slider at a point and drags it up by a distance, as a user would.
void pressAndDrag (juce::Slider& slider, juce::Point<float> down, float up)
{
    slider.mouseDown (mouseEvent (slider, down, down));
    slider.mouseDrag (mouseEvent (slider, down.translated (0.0f, -up), down));
}

// The input fader held by its cap, with its value pop-up showing.
juce::Image inputFaderDragged (juce::Component& editor)
{
    auto& fader = childOf<InputControllerComponent> (editor).getFader();
    pressAndDrag (fader, { 32.5f, fader.getPositionOfValue (fader.getValue()) }, 40.0f);
    return wholeEditor (editor);
}

// The corner round the Reset button, with the pointer over it.
juce::Image resetHovered (juce::Component& editor)
{
    auto& reset = childOf<ControllerComponent> (editor).getResetButton();
    reset.setState (juce::Button::buttonOver);
    return editor.createComponentSnapshot (editor.getLocalArea (&reset, reset.getLocalBounds()).expanded (4));
}

// An editor opened as the host opens it, closed through the processor as the host closes it.
struct OpenEditor
{
    explicit OpenEditor (ConvolutionEqAudioProcessor& p)
        : processor (p)
    {
        ConvolutionEqAudioProcessorEditor::installOn (p);
        editor.reset (p.createEditorIfNeeded());
        dispatchMessages();
    }

    ~OpenEditor() { processor.editorBeingDeleted (editor.get()); }

    ConvolutionEqAudioProcessor& processor;
    std::unique_ptr<juce::AudioProcessorEditor> editor;
};

struct ReferenceCase
{
    const char* name;
    bool mono;
    const char* preset;                                  // chosen as the preset list chooses it
    std::vector<std::pair<const char*, float>> settings; // plain values, set as the host sets them
    std::function<juce::Image (juce::Component&)> render;
};

bool writePng (const juce::Image& image, const juce::File& file)
{
    juce::TemporaryFile temporary (file);
    {
        juce::FileOutputStream out (temporary.getFile());
        if (! out.openedOk() || ! juce::PNGImageFormat().writeImageToStream (image, out))
            return false;
    }
    return temporary.overwriteTargetFileWithTemporary();
}

// The pixels that differ by more than the tolerance in any channel, in red on a dimmed copy of the
// expected picture.
struct Comparison
{
    int differingPixels = 0;
    juce::Image differences;
};

Comparison compare (const juce::Image& expected, const juce::Image& actual)
{
    Comparison result;
    result.differences = juce::Image (juce::Image::ARGB, actual.getWidth(), actual.getHeight(), true);
    for (int y = 0; y < actual.getHeight(); ++y)
        for (int x = 0; x < actual.getWidth(); ++x)
        {
            const auto a = actual.getPixelAt (x, y);
            const auto e = expected.getPixelAt (x, y);
            const auto worst =
                juce::jmax (std::abs (a.getRed() - e.getRed()), std::abs (a.getGreen() - e.getGreen()),
                            std::abs (a.getBlue() - e.getBlue()), std::abs (a.getAlpha() - e.getAlpha()));
            const bool differs = worst > levelTolerance;
            result.differingPixels += differs ? 1 : 0;
            result.differences.setPixelAt (x, y, differs ? juce::Colours::red : e.withMultipliedBrightness (0.3f));
        }
    return result;
}

void checkAgainstReference (const juce::String& name, const juce::Image& actual)
{
    const auto reference = referenceFolder.getChildFile (name + ".png");
    if (juce::SystemStats::getEnvironmentVariable ("LARKSPUR_UPDATE_REFERENCE_IMAGES", {}) == "1")
    {
        ASSERT_TRUE (referenceFolder.createDirectory());
        ASSERT_TRUE (writePng (actual, reference)) << reference.getFullPathName();
        return;
    }

    const auto expected = juce::ImageFileFormat::loadFrom (reference);
    ASSERT_TRUE (expected.isValid()) << "no reference image " << reference.getFullPathName()
                                     << " (scripts/update-reference-images writes it)";

    const bool sameSize = expected.getBounds() == actual.getBounds();
    const auto comparison = sameSize ? compare (expected, actual) : Comparison{};
    if (sameSize && comparison.differingPixels <= differingPixelsAllowed)
        return;

    const auto actualFile = differenceFolder.getChildFile (name + "-actual.png");
    const auto differenceFile = differenceFolder.getChildFile (name + "-difference.png");
    ASSERT_TRUE (differenceFolder.createDirectory());
    ASSERT_TRUE (writePng (actual, actualFile));
    if (sameSize)
    {
        ASSERT_TRUE (writePng (comparison.differences, differenceFile));
    }

    ADD_FAILURE() << name << " differs from " << reference.getFullPathName() << ": "
                  << (sameSize ? juce::String (comparison.differingPixels) + " pixels differ by more than " +
                                     juce::String (levelTolerance) + " levels; differences in " +
                                     differenceFile.getFullPathName() + ","
                               : juce::String ("its size differs;"))
                  << " the render is " << actualFile.getFullPathName();
}
} // namespace

// Each state is chosen so that colours, artwork, scale positions, the pop-up and the knobs'
// pointers all show: Right and Phase R on, a preset with every band type, a trim away from 0 dB,
// knobs between their steps, the input fader held with its value pop-up, Reset under the pointer.
TEST (EditorReferenceImages, RendersAsTheReferences)
{
    const auto fontProblem = TestFontPin::problem();
    ASSERT_TRUE (fontProblem.isEmpty()) << fontProblem;

    const ReferenceCase cases[] = {
        { "stereo-every-band-type", false, "Natural Thump", {}, wholeEditor },
        { "stereo-right-phase-trim",
          false,
          nullptr,
          { { "process_A", 0.0f }, { "process_R", 1.0f }, { "phase_R", 1.0f }, { "out_2_1", 3.5f } },
          inputFaderDragged },
        { "stereo-between-steps", false, nullptr, { { "gain_1_1", 5.0f }, { "frequency_1_2", 2000.0f } }, wholeEditor },
        { "mono", true, nullptr, { { "phase", 1.0f }, { "out_1_3", -2.0f } }, wholeEditor },
        { "reset-hovered", false, nullptr, {}, resetHovered },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        PanelProcessor p (true, c.mono);
        if (c.preset != nullptr)
        {
            ASSERT_TRUE (p.processor.getPresetStore().selectPreset (c.preset));
        }
        for (const auto& [id, value] : c.settings)
            setPlainValue (p.processor, id, value);

        OpenEditor editor (p.processor);
        checkAgainstReference (c.name, c.render (*editor.editor));
    }
}

// Pop-ups of their own on the desktop sit in a black box without a compositor; a fader's pop-up
// belongs beside its cap, not at the fader's middle.
TEST (EditorValuePopups, OpenInsideTheEditorAndBesideAFadersCap)
{
    PanelProcessor p;
    OpenEditor e (p.processor);
    auto& editor = *e.editor;
    auto& output = childOf<ControllerComponent> (editor);
    auto& trim = childOf<FilterGroupComponent> (editor).getBandPanel (1).getTrimKnob();

    const struct
    {
        const char* name;
        juce::Slider& slider;
        bool fader;
    } sliders[] = { { "input", childOf<InputControllerComponent> (editor).getFader(), true },
                    { "output left", output.getLeftFader(), true },
                    { "output right", output.getRightFader(), true },
                    { "trim", trim, false } };
    for (const auto& [name, slider, fader] : sliders)
    {
        SCOPED_TRACE (name);
        pressAndDrag (slider, slider.getLocalBounds().getCentre().toFloat(), fader ? 30.0f : 10.0f);
        const auto* popup = slider.getCurrentPopupDisplay();
        ASSERT_NE (popup, nullptr);
        EXPECT_EQ (popup->getParentComponent(), &editor);
        if (fader)
        {
            const auto capY =
                editor.getLocalPoint (&slider, juce::Point<float> (0.0f, slider.getPositionOfValue (slider.getValue())))
                    .y;
            EXPECT_NEAR ((float) popup->getBounds().getCentreY(), capY, 1.5f);
        }
        slider.mouseUp (mouseEvent (slider, {}, {}));
    }
}
