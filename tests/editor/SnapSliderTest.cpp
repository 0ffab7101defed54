#include "ConvolutionEqAudioProcessor.h"
#include "KnobArtwork.h"
#include "PushButton.h"
#include "SnapSliderComponent.h"
#include "TemporaryUserFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

namespace
{
const juce::Array<float> frequencies{ 400.0f, 800.0f, 1500.0f, 3000.0f, 5000.0f };
const juce::Array<float> gains{ -12.0f, -9.0f, -6.0f, -4.0f, -2.0f, 0.0f, 2.0f, 4.0f, 6.0f, 9.0f, 12.0f };

const juce::Colour frequencyKnobColour{ 0xFF2C98B7 };
const juce::Colour frequencyLabelColour{ 0xFF4ECAEE };

std::unique_ptr<SnapSliderComponent> makeKnob (const juce::Array<float>& table,
                                               int kind = SnapSliderComponent::frequencyKind)
{
    auto knob = std::make_unique<SnapSliderComponent> (kind, kind == SnapSliderComponent::frequencyKind ? 0.9f : 1.0f,
                                                       frequencyKnobColour, frequencyLabelColour);
    knob->setSnapValues (table);
    // Without an attachment the slider keeps JUCE's range of 0 to 10.
    knob->slider.setRange (-20.0, 20000.0);
    return knob;
}

// The value buttons in table order.
std::vector<PushButton*> valueButtons (SnapSliderComponent& knob, const juce::Array<float>& table)
{
    std::map<juce::String, PushButton*> byName;
    for (auto* child : knob.getChildren())
        if (auto* button = dynamic_cast<PushButton*> (child))
            byName[button->getName()] = button;

    std::vector<PushButton*> buttons;
    for (auto value : table)
        buttons.push_back (byName[juce::String ((double) value)]);
    return buttons;
}

bool isBehindKnob (SnapSliderComponent& knob, juce::Component* button)
{
    return knob.getIndexOfChildComponent (button) < knob.getIndexOfChildComponent (&knob.slider);
}

float angleOf (juce::Point<float> point, juce::Point<float> centre)
{
    // Clockwise from straight up, in 0 to 2 pi.
    const auto angle = std::atan2 (point.x - centre.x, centre.y - point.y);
    return angle < 0.0f ? angle + juce::MathConstants<float>::twoPi : angle;
}

float wrapped (float angle)
{
    return std::fmod (angle, juce::MathConstants<float>::twoPi);
}

// The pixels of the scale labels' colour in a label's box, or in the whole picture without one.
int labelColourPixels (const juce::Image& image, juce::Rectangle<float> box = {})
{
    // The text is 15 pixels high, centred on its 10 pixel box.
    const auto area = box.isEmpty()
                          ? image.getBounds()
                          : box.expanded (0.0f, 3.0f).getSmallestIntegerContainer().getIntersection (image.getBounds());
    int pixels = 0;
    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            if (image.getPixelAt (x, y) == frequencyLabelColour)
                ++pixels;
    return pixels;
}
} // namespace

//==============================================================================
TEST (SnapSliderMappingTest, EntriesStandInTheMiddleOfOneEqualBinEach)
{
    SnapSlider slider (0.9f, frequencyKnobColour, frequencyLabelColour);
    slider.setSnapTable (frequencies);

    // Straight lines between the entries; the ends of the travel hold the first and last entry.
    const struct
    {
        double proportion;
        double value;
    } cases[] = { { 0.0, 400 },  { 0.1, 400 },  { 0.2, 600 },  { 0.3, 800 },  { 0.5, 1500 }, { 0.6, 2250 },
                  { 0.7, 3000 }, { 0.9, 5000 }, { 1.0, 5000 }, { -0.5, 400 }, { 1.5, 5000 } };

    for (const auto& c : cases)
        EXPECT_NEAR (slider.proportionOfLengthToValue (c.proportion), c.value, 1.0e-6) << "proportion " << c.proportion;
}

TEST (SnapSliderMappingTest, ValuesAreDrawnWhereTheirBandPlaysThem)
{
    const float pi = juce::MathConstants<float>::pi;
    const struct
    {
        int kind;
        double value;
        double position; // in steps from the first entry
    } cases[] = {
        // On a step: the entry's own place.
        { SnapSliderComponent::frequencyKind, 400, 0 },
        { SnapSliderComponent::frequencyKind, 1500, 2 },
        { SnapSliderComponent::frequencyKind, 5000, 4 },
        { SnapSliderComponent::gainKind, -12, 0 },
        { SnapSliderComponent::gainKind, 4, 7 },
        { SnapSliderComponent::gainKind, 12, 10 },
        // A frequency between steps plays, and stands on, the first step not below it.
        { SnapSliderComponent::frequencyKind, 2000, 3 },
        { SnapSliderComponent::frequencyKind, 1501, 3 },
        { SnapSliderComponent::frequencyKind, 401, 1 },
        { SnapSliderComponent::frequencyKind, 75, 0 },
        // A gain between steps blends them, and stands between them in proportion.
        { SnapSliderComponent::gainKind, 5, 7.5 },
        { SnapSliderComponent::gainKind, 5.5, 7.75 },
        { SnapSliderComponent::gainKind, -2.5, 3.75 },
        { SnapSliderComponent::gainKind, 10, 9 + 1.0 / 3.0 },
    };

    for (const auto& c : cases)
    {
        auto knob = makeKnob (c.kind == SnapSliderComponent::gainKind ? gains : frequencies, c.kind);
        const auto n = (double) knob->slider.getSnapTable().size();
        SCOPED_TRACE (c.value);
        EXPECT_NEAR (knob->slider.valueToProportionOfLength (c.value), (c.position + 0.5) / n, 1.0e-9);
        EXPECT_NEAR (knob->slider.getSnapLookAndFeel().pointerAngle (c.value, 1.2f * pi, 2.8f * pi),
                     1.2f * pi + 1.6f * pi * (float) (c.position / (n - 1.0)), 1.0e-5f);
    }
}

TEST (SnapSliderMappingTest, EveryEntrySurvivesTheRoundTripThroughItsProportion)
{
    for (const auto& table : { frequencies, gains })
    {
        SnapSlider slider (1.0f, frequencyKnobColour, frequencyLabelColour);
        slider.setSnapTable (table);
        for (auto entry : table)
            EXPECT_EQ (slider.proportionOfLengthToValue (slider.valueToProportionOfLength (entry)), (double) entry);
    }
}

TEST (SnapSliderMappingTest, SnapsToTheFirstEntryNotBelowAndClampsAboveTheTable)
{
    SnapSlider slider (0.9f, frequencyKnobColour, frequencyLabelColour);
    slider.setSnapTable (frequencies);

    const struct
    {
        double attempted;
        double snapped;
    } cases[] = { { 1000, 1500 }, { 300, 400 },     { -1e9, 400 },  { 400, 400 },  { 1500.0001, 3000 },
                  { 5000, 5000 }, { 5000.5, 5000 }, { 6000, 5000 }, { 1e12, 5000 } };

    for (const auto& c : cases)
        EXPECT_EQ (slider.snapValue (c.attempted, juce::Slider::notDragging), c.snapped) << "value " << c.attempted;
}

TEST (SnapSliderMappingTest, ShortTablesGiveDefinedResults)
{
    SnapSlider empty (0.9f, frequencyKnobColour, frequencyLabelColour);
    EXPECT_EQ (empty.proportionOfLengthToValue (0.5), 0.0);
    EXPECT_EQ (empty.proportionOfLengthToValue (1.0), 0.0);
    EXPECT_EQ (empty.valueToProportionOfLength (1500), 0.0);
    EXPECT_EQ (empty.snapValue (1234.5, juce::Slider::notDragging), 1234.5);

    SnapSlider single (0.9f, frequencyKnobColour, frequencyLabelColour);
    single.setSnapTable ({ 1000.0f });
    for (auto proportion : { 0.0, 0.5, 1.0 })
        EXPECT_EQ (single.proportionOfLengthToValue (proportion), 1000.0);
    EXPECT_EQ (single.valueToProportionOfLength (1000), 0.5);
    EXPECT_EQ (single.snapValue (10, juce::Slider::notDragging), 1000.0);
    EXPECT_EQ (single.snapValue (20000, juce::Slider::notDragging), 1000.0);
}

//==============================================================================
TEST (SnapSliderComponentTest, ValueButtonsAreNamedWithTheSignAndShowTheScaleText)
{
    const struct
    {
        juce::Array<float> table;
        juce::StringArray names, texts;
    } cases[] = {
        { frequencies, { "400", "800", "1500", "3000", "5000" }, { "400", "800", "1.5k", "3k", "5k" } },
        { { 50.0f, 100.0f, 5000.0f, 7000.0f, 10000.0f, 12500.0f, 15000.0f },
          { "50", "100", "5000", "7000", "10000", "12500", "15000" },
          { "50", "100", "5k", "7k", "10k", "12.5k", "15k" } },
        { gains,
          { "-12", "-9", "-6", "-4", "-2", "0", "2", "4", "6", "9", "12" },
          { "12", "9", "6", "4", "2", "0", "2", "4", "6", "9", "12" } },
    };

    for (const auto& c : cases)
    {
        auto knob = makeKnob (c.table);
        const auto buttons = valueButtons (*knob, c.table);
        ASSERT_EQ ((int) buttons.size(), c.names.size());

        const auto& lookAndFeel = knob->slider.getSnapLookAndFeel();
        const auto labels = lookAndFeel.layoutScale ({ 75.0f, 60.0f }, 41, 1.2f * juce::MathConstants<float>::pi,
                                                     2.8f * juce::MathConstants<float>::pi, juce::Font (15.0f));
        ASSERT_EQ ((int) labels.size(), c.texts.size());

        for (int i = 0; i < c.names.size(); ++i)
        {
            ASSERT_NE (buttons[(size_t) i], nullptr) << c.names[i];
            EXPECT_EQ (buttons[(size_t) i]->getButtonText(), c.texts[i]);
            EXPECT_EQ (labels[(size_t) i].text, c.texts[i]);
        }
    }
}

TEST (SnapSliderComponentTest, DragSensitivityIsFiftyPixelsPerEntry)
{
    EXPECT_EQ (makeKnob (frequencies)->slider.getMouseDragSensitivity(), 250);
    EXPECT_EQ (makeKnob (gains, SnapSliderComponent::gainKind)->slider.getMouseDragSensitivity(), 550);
    EXPECT_EQ (makeKnob ({})->slider.getMouseDragSensitivity(), 200);
}

TEST (SnapSliderComponentTest, UnitLabelsSitInTheTopCorners)
{
    auto frequency = makeKnob (frequencies);
    frequency->setSize (150, 120);
    auto gain = makeKnob (gains, SnapSliderComponent::gainKind);
    gain->setSize (150, 120);

    std::map<juce::String, juce::Rectangle<int>> labels;
    for (auto* knob : { frequency.get(), gain.get() })
        for (auto* child : knob->getChildren())
            if (auto* label = dynamic_cast<juce::Label*> (child); label != nullptr && label->getText().isNotEmpty())
                labels[label->getText()] = label->getBounds();

    ASSERT_EQ (labels.size(), 3u);
    EXPECT_EQ (labels["Hz"], juce::Rectangle<int> (120, 0, 30, 24));
    EXPECT_EQ (labels["+"], juce::Rectangle<int> (120, 6, 30, 24));
    EXPECT_EQ (labels["-"], juce::Rectangle<int> (0, 6, 30, 24));
}

TEST (SnapSliderComponentTest, ValueButtonsAreCentredOnTheirEntriesAngles)
{
    const float pi = juce::MathConstants<float>::pi;
    const struct
    {
        juce::Array<float> table;
        int kind;
        float radius;
        int buttonHeight;
    } cases[] = { { frequencies, SnapSliderComponent::frequencyKind, 45.0f, 24 },
                  // Eleven buttons share the arc: three quarters of sin (step / 2) of the height.
                  { gains, SnapSliderComponent::gainKind, 50.0f, (int) (120.0f * 0.75f * std::sin (0.08f * pi)) } };

    for (const auto& c : cases)
    {
        auto knob = makeKnob (c.table, c.kind);
        knob->setSize (150, 120);
        const auto buttons = valueButtons (*knob, c.table);
        const float step = 1.6f * pi / (float) (c.table.size() - 1);

        for (size_t i = 0; i < buttons.size(); ++i)
        {
            const auto bounds = buttons[i]->getBounds();
            EXPECT_EQ (bounds.getHeight(), c.buttonHeight);
            EXPECT_EQ (bounds.getWidth(), juce::Font (juce::jmin (16.0f, (float) c.buttonHeight * 0.6f))
                                                  .getStringWidth (buttons[i]->getButtonText()) +
                                              c.buttonHeight);

            const auto expectedCentre =
                KnobArtwork::pointOnCircle ({ 75.0f, 60.0f }, c.radius, 1.2f * pi + (float) i * step);
            EXPECT_NEAR (bounds.toFloat().getCentreX(), expectedCentre.x, 1.0f) << buttons[i]->getName();
            EXPECT_NEAR (bounds.toFloat().getCentreY(), expectedCentre.y, 1.0f) << buttons[i]->getName();
        }
    }

    // The frequency knob's top button: 24 pixels high, from y = 3.
    auto knob = makeKnob (frequencies);
    knob->setSize (150, 120);
    EXPECT_EQ (valueButtons (*knob, frequencies)[2]->getY(), 3);
}

TEST (SnapSliderComponentTest, ScaleLabelsStandRoundTheKnobWithTheMiddleOneCentredAbove)
{
    const float pi = juce::MathConstants<float>::pi;
    const juce::Point<float> centre (75.0f, 60.0f);
    const juce::Font font (15.0f);
    auto knob = makeKnob (frequencies);
    const auto& lookAndFeel = knob->slider.getSnapLookAndFeel();

    const auto labels = lookAndFeel.layoutScale (centre, 45, 1.2f * pi, 2.8f * pi, font);
    ASSERT_EQ (labels.size(), 5u);

    const float expectedAngles[] = { 1.2f * pi, 1.6f * pi, 0.0f, 0.4f * pi, 0.8f * pi };
    for (size_t i = 0; i < labels.size(); ++i)
    {
        const auto& label = labels[i];
        SCOPED_TRACE (label.text);
        EXPECT_NEAR (label.anchor.getDistanceFrom (centre), 41.0f, 1e-3f);
        EXPECT_NEAR (wrapped (angleOf (label.anchor, centre) + 1e-4f), expectedAngles[i] + 1e-4f, 1e-3f);

        const int width = (int) std::ceil (font.getStringWidthFloat (label.text));
        EXPECT_EQ (label.box.getWidth(), (float) width);
        EXPECT_EQ (label.box.getHeight(), 10.0f);
        EXPECT_EQ (label.box.getY(), (float) (int) (label.anchor.y - 7.5f));

        if (i == 2)
            EXPECT_EQ (label.box.getX(), (float) (int) (75.0f - (float) (width / 2)));
        else if (label.anchor.x < centre.x)
            EXPECT_EQ (label.box.getX(), (float) (int) (label.anchor.x - (float) width)); // ends at the anchor
        else
            EXPECT_EQ (label.box.getX(), (float) (int) label.anchor.x); // starts at the anchor
    }

    EXPECT_EQ (labels[2].box.getY(), 11.0f);
}

TEST (SnapSliderComponentTest, PointerStandsOnItsEntrysScaleAngle)
{
    const float pi = juce::MathConstants<float>::pi;
    const juce::Point<float> centre (75.0f, 60.0f);

    for (const auto& table : { frequencies, gains })
    {
        auto knob = makeKnob (table);
        const auto& lookAndFeel = knob->slider.getSnapLookAndFeel();
        const auto labels = lookAndFeel.layoutScale (centre, 45, 1.2f * pi, 2.8f * pi, juce::Font (15.0f));

        for (int i = 0; i < table.size(); ++i)
        {
            const float angle = lookAndFeel.pointerAngle (table[i], 1.2f * pi, 2.8f * pi);
            EXPECT_NEAR (wrapped (angle), angleOf (labels[(size_t) i].anchor, centre), 1e-3f) << table[i];
        }
    }
}

TEST (SnapSliderComponentTest, ClickingAValueSetsItAsynchronouslyAndPutsItsButtonBehindTheKnob)
{
    struct CountingListener : juce::Slider::Listener
    {
        void sliderValueChanged (juce::Slider*) override { ++changes; }
        int changes = 0;
    } listener;

    auto knob = makeKnob (frequencies);
    knob->setSize (150, 120);
    knob->slider.setValue (400.0, juce::dontSendNotification);
    knob->resized();
    knob->slider.addListener (&listener);
    auto buttons = valueButtons (*knob, frequencies);
    EXPECT_TRUE (isBehindKnob (*knob, buttons[0]));

    buttons[2]->triggerClick();
    juce::MessageManager::getInstance()->runDispatchLoopUntil (20);

    EXPECT_EQ (knob->slider.getValue(), 1500.0);
    EXPECT_EQ (listener.changes, 1);
    for (size_t i = 0; i < buttons.size(); ++i)
        EXPECT_EQ (isBehindKnob (*knob, buttons[i]), i == 2) << buttons[i]->getName();

    // The click itself sets the value; listeners hear of it later.
    knob->buttonClicked (buttons[4]);
    EXPECT_EQ (knob->slider.getValue(), 5000.0);
    EXPECT_EQ (listener.changes, 1);
    juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
    EXPECT_EQ (listener.changes, 2);

    knob->slider.removeListener (&listener);
}

TEST (SnapSliderComponentTest, ValuesFromOutsideMoveTheMatchingButtonBehindTheKnob)
{
    auto knob = makeKnob (frequencies);
    knob->setSize (150, 120);
    const auto buttons = valueButtons (*knob, frequencies);

    knob->slider.setValue (3000.0, juce::sendNotificationSync);
    for (size_t i = 0; i < buttons.size(); ++i)
        EXPECT_EQ (isBehindKnob (*knob, buttons[i]), i == 3) << buttons[i]->getName();

    // A value between entries (automation, an old project) is kept, and every button stays clickable.
    knob->slider.setValue (1000.0, juce::sendNotificationSync);
    EXPECT_EQ (knob->slider.getValue(), 1000.0);
    for (auto* button : buttons)
        EXPECT_FALSE (isBehindKnob (*knob, button)) << button->getName();
}

TEST (SnapSliderComponentTest, ShortTablesLayOutAndPaintWithoutTrouble)
{
    const float pi = juce::MathConstants<float>::pi;
    const struct
    {
        juce::Array<float> table;
        float pointerAngle; // for the highest value
    } cases[] = { { {}, 1.2f * pi }, { { 1000.0f }, 1.2f * pi }, { frequencies, 2.8f * pi } };

    for (const auto& [table, pointerAngle] : cases)
    {
        SCOPED_TRACE (table.size());
        auto knob = makeKnob (table);
        knob->setSize (150, 120);
        knob->slider.setValue (20000.0, juce::sendNotificationSync);
        EXPECT_EQ (knob->slider.snapValue (20000.0, juce::Slider::notDragging),
                   table.isEmpty() ? 20000.0 : (double) table.getLast());

        const auto buttons = valueButtons (*knob, table);
        if (table.size() == 1)
        {
            // Its only button stands at the start angle.
            EXPECT_NEAR (buttons[0]->getBounds().toFloat().getCentreX(),
                         KnobArtwork::pointOnCircle ({ 75.0f, 60.0f }, 45.0f, 1.2f * juce::MathConstants<float>::pi).x,
                         1.0f);
        }

        // The knob over its middle, turned as far as the table lets it; a label for each entry, in the
        // label colour where the knob leaves it room (one entry's, centred at the start angle, lies
        // under the rim), and nothing in that colour without entries.
        const auto& lookAndFeel = knob->slider.getSnapLookAndFeel();
        EXPECT_FLOAT_EQ (lookAndFeel.pointerAngle (knob->slider.getValue(), 1.2f * pi, 2.8f * pi), pointerAngle);
        const auto image = knob->createComponentSnapshot (knob->getLocalBounds());
        EXPECT_EQ ((int) image.getPixelAt (75, 60).getAlpha(), 255);
        const auto labels = lookAndFeel.layoutScale ({ 75.0f, 60.0f }, 45, 1.2f * pi, 2.8f * pi, juce::Font (15.0f));
        EXPECT_EQ (labels.size(), (size_t) table.size());
        if (table.isEmpty())
        {
            EXPECT_EQ (labelColourPixels (image), 0);
        }
        if (table.size() > 1)
        {
            for (const auto& label : labels)
                EXPECT_GT (labelColourPixels (image, label.box), 3) << label.text;
        }
    }
}

TEST (SnapSliderComponentTest, PaintsTheScaleInTheLabelColourWithNothingOfTheButtonsVisible)
{
    auto knob = makeKnob (frequencies);
    knob->setSize (150, 120);
    knob->slider.setValue (1500.0, juce::sendNotificationSync);
    const auto image = knob->createComponentSnapshot (knob->getLocalBounds());

    const auto labels =
        knob->slider.getSnapLookAndFeel().layoutScale ({ 75.0f, 60.0f }, 45, 1.2f * juce::MathConstants<float>::pi,
                                                       2.8f * juce::MathConstants<float>::pi, juce::Font (15.0f));

    for (const auto& label : labels)
        EXPECT_GT (labelColourPixels (image, label.box), 3) << label.text;

    // Nothing but the knob and the scale: the corners far from both stay transparent.
    EXPECT_EQ (image.getPixelAt (1, 118).getAlpha(), 0);
    EXPECT_EQ (image.getPixelAt (148, 118).getAlpha(), 0);
}

//==============================================================================
TEST (SnapSliderComponentTest, EveryDetentSurvivesTheWayThroughItsParameter)
{
    TemporaryUserFolder folder;
    ConvolutionEqAudioProcessor processor;
    auto& state = processor.getValueTreeState();

    const struct
    {
        const char* id;
        juce::Array<float> table;
        int kind;
    } cases[] = {
        { "frequency_1_1", { 50.0f, 100.0f, 200.0f, 300.0f, 400.0f }, SnapSliderComponent::frequencyKind },
        { "frequency_2_2", frequencies, SnapSliderComponent::frequencyKind },
        { "frequency_1_3", { 5000.0f, 7000.0f, 10000.0f, 12500.0f, 15000.0f }, SnapSliderComponent::frequencyKind },
        { "gain_2_1", gains, SnapSliderComponent::gainKind }
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.id);
        SnapSliderComponent knob (c.kind, 1.0f, frequencyKnobColour, frequencyLabelColour);
        knob.setSnapValues (c.table);
        // As the band panel does: attached first, laid out later.
        juce::AudioProcessorValueTreeState::SliderAttachment attachment (state, c.id, knob.slider);
        knob.setSize (150, 120);
        auto& parameter = *state.getParameter (c.id);
        const auto buttons = valueButtons (knob, c.table);

        // From the host, a preset or A-B: the knob stands on the entry and its button lies behind it.
        for (size_t i = 0; i < buttons.size(); ++i)
        {
            parameter.setValueNotifyingHost (parameter.convertTo0to1 (c.table[(int) i]));
            EXPECT_EQ (knob.slider.getValue(), (double) c.table[(int) i]);
            EXPECT_TRUE (isBehindKnob (knob, buttons[i])) << buttons[i]->getName();
        }

        // From a value button: the parameter takes the entry.
        for (size_t i = 0; i < buttons.size(); ++i)
        {
            buttons[i]->triggerClick();
            juce::MessageManager::getInstance()->runDispatchLoopUntil (5);
            EXPECT_EQ (parameter.convertFrom0to1 (parameter.getValue()), c.table[(int) i]);
        }
    }
}

//==============================================================================
namespace
{
enum class Touch
{
    drag,   // pixels up (negative: down), one pixel at a time
    wheel,  // notches up (negative: down)
    tremble // a press that moves up to 2 pixels either way before it lets go
};

// Turns the knob as a user does, with the events JUCE would deliver.
void touch (SnapSlider& slider, Touch kind, int amount)
{
    const auto source = juce::Desktop::getInstance().getMainMouseSource();
    const juce::Point<float> press (75.0f, 60.0f);
    const auto event = [&] (juce::Point<float> at, juce::ModifierKeys mods, juce::Time when)
    {
        return juce::MouseEvent (source, at, mods, juce::MouseInputSource::defaultPressure, 0.0f, 0.0f, 0.0f, 0.0f,
                                 &slider, &slider, when, press, juce::Time(), 1, at != press);
    };
    const auto button = juce::ModifierKeys::leftButtonModifier;

    if (kind == Touch::wheel)
    {
        for (int notch = 0; notch < std::abs (amount); ++notch)
        {
            // One notch as JUCE reports it on X11; JUCE drops a repeat with the same time.
            juce::MouseWheelDetails wheel{ 0.0f, (amount > 0 ? 50.0f : -50.0f) / 256.0f, false, false, false };
            slider.mouseWheelMove (event (press, {}, juce::Time (1000 + notch)), wheel);
        }
        return;
    }

    slider.mouseDown (event (press, button, {}));
    if (kind == Touch::drag)
        for (int pixel = 1; pixel <= std::abs (amount); ++pixel)
            slider.mouseDrag (event (press.translated (0.0f, (float) (amount > 0 ? -pixel : pixel)), button, {}));
    else
        for (const auto offset : { juce::Point<float> (2, 0), { 0, -2 }, { -2, 2 }, { 1, 1 }, { 0, 0 } })
            slider.mouseDrag (event (press + offset, button, {}));
    slider.mouseUp (event (press, {}, {}));
}
} // namespace

TEST (SnapSliderComponentTest, TouchesMoveByWholeStepsFromTheShownValueAndWriteWhatIsShown)
{
    TemporaryUserFolder folder;
    ConvolutionEqAudioProcessor processor;
    auto& state = processor.getValueTreeState();

    const struct
    {
        const char* id;
        float before;
        Touch kind;
        int amount;
        float after;
    } cases[] = {
        // From a step: half a step's 25 pixels either way before it moves, then one step per 50.
        { "gain_1_1", 6, Touch::drag, 1, 6 },
        { "gain_1_1", 6, Touch::drag, -1, 6 },
        { "gain_1_1", 6, Touch::drag, 5, 6 },
        { "gain_1_1", 6, Touch::drag, -5, 6 },
        { "gain_1_1", 6, Touch::drag, 24, 6 },
        { "gain_1_1", 6, Touch::drag, -24, 6 },
        { "gain_1_1", 6, Touch::drag, 26, 9 },
        { "gain_1_1", 6, Touch::drag, -26, 4 },
        { "gain_1_1", 6, Touch::drag, 76, 12 },
        { "gain_1_1", 6, Touch::drag, -76, 2 },
        { "gain_1_1", 6, Touch::drag, 300, 12 },
        { "gain_1_1", 6, Touch::tremble, 0, 6 },
        { "frequency_1_2", 3000, Touch::drag, -24, 3000 },
        { "frequency_1_2", 3000, Touch::drag, -26, 1500 },
        { "frequency_1_2", 3000, Touch::drag, 26, 5000 },
        // One notch is one step, both ways; the ends hold.
        { "gain_1_1", 6, Touch::wheel, 1, 9 },
        { "gain_1_1", 6, Touch::wheel, -1, 4 },
        { "gain_1_1", 6, Touch::wheel, 2, 12 },
        { "gain_1_1", -12, Touch::wheel, -1, -12 },
        { "frequency_1_2", 3000, Touch::wheel, 1, 5000 },
        { "frequency_1_2", 3000, Touch::wheel, -1, 1500 },
        // From between two steps (automation): to a neighbour, never to the first entry; a
        // trembling press leaves the value alone.
        { "gain_1_1", 5, Touch::wheel, 1, 6 },
        { "gain_1_1", 5, Touch::wheel, -1, 4 },
        { "gain_1_1", 5, Touch::drag, 26, 6 },
        { "gain_1_1", 5, Touch::drag, -26, 4 },
        { "gain_1_1", 5, Touch::drag, 1, 5 },
        { "gain_1_1", 5, Touch::tremble, 0, 5 },
        { "gain_1_1", -2.5f, Touch::wheel, -1, -4 },
        // A frequency between steps is shown on the step it plays, and moves on from there.
        { "frequency_1_2", 2000, Touch::wheel, 1, 5000 },
        { "frequency_1_2", 2000, Touch::wheel, -1, 1500 },
        { "frequency_1_2", 2000, Touch::drag, 26, 5000 },
        { "frequency_1_2", 2000, Touch::drag, -26, 1500 },
        { "frequency_1_2", 2000, Touch::tremble, 0, 2000 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.id) + " from " + juce::String (c.before) + ", touch " +
                      juce::String ((int) c.kind) + " by " + juce::String (c.amount));
        const bool gain = juce::String (c.id).startsWith ("gain");
        SnapSliderComponent knob (gain ? SnapSliderComponent::gainKind : SnapSliderComponent::frequencyKind, 1.0f,
                                  frequencyKnobColour, frequencyLabelColour);
        knob.setSnapValues (gain ? gains : frequencies);
        juce::AudioProcessorValueTreeState::SliderAttachment attachment (state, c.id, knob.slider);
        knob.setSize (150, 120);

        auto& parameter = *state.getParameter (c.id);
        parameter.setValueNotifyingHost (parameter.convertTo0to1 (c.before));
        ASSERT_EQ (knob.slider.getValue(), (double) c.before); // taken as it is, not snapped

        touch (knob.slider, c.kind, c.amount);

        EXPECT_EQ (knob.slider.getValue(), (double) c.after);
        EXPECT_EQ (parameter.convertFrom0to1 (parameter.getValue()), c.after);
    }
}
