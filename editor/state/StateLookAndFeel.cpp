#include "StateLookAndFeel.h"

namespace state
{
StateLookAndFeel::StateLookAndFeel()
{
    const juce::Colour black (juce::Colours::black);
    const juce::Colour greyText (greyTextArgb);

    setColour (juce::TextButton::buttonOnColourId, black);
    setColour (juce::TextButton::buttonColourId, black);
    setColour (juce::TextButton::textColourOnId, juce::Colours::white);
    setColour (juce::TextButton::textColourOffId, juce::Colours::white);
    setColour (juce::TextEditor::highlightColourId, juce::Colour (highlightArgb));
    setColour (juce::TextEditor::backgroundColourId, black);
    setColour (juce::ComboBox::textColourId, greyText);
    setColour (juce::ComboBox::backgroundColourId, black);
    setColour (juce::ComboBox::buttonColourId, black);
    setColour (juce::PopupMenu::backgroundColourId, black);
    setColour (juce::PopupMenu::textColourId, greyText);
}

void StateLookAndFeel::drawToggleButton (juce::Graphics& g, juce::ToggleButton& button,
                                         bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown)
{
    // JUCE's switch, with a smaller tick box and text that may be narrowed a little to fit.
    constexpr float margin = 3.0f, gap = 4.0f, minimumHorizontalScale = 0.8f;
    const auto height = (float) button.getHeight();
    const auto fontSize = juce::jmin (13.0f, height * 0.6f);
    const auto tickSize = fontSize;

    drawTickBox (g, button, margin, (height - tickSize) * 0.5f, tickSize, tickSize, button.getToggleState(),
                 button.isEnabled(), shouldDrawButtonAsHighlighted, shouldDrawButtonAsDown);

    g.setColour (button.findColour (juce::ToggleButton::textColourId));
    g.setFont (fontSize);
    if (! button.isEnabled())
        g.setOpacity (0.5f);

    const auto textLeft = juce::roundToInt (margin + tickSize + gap);
    g.drawFittedText (button.getButtonText(), button.getLocalBounds().withTrimmedLeft (textLeft).withTrimmedRight (1),
                      juce::Justification::centredLeft, 1, minimumHorizontalScale);
}

void StateLookAndFeel::getIdealPopupMenuItemSizeWithOptions (const juce::String& text, bool isSeparator,
                                                             int standardMenuItemHeight, int& idealWidth,
                                                             int& idealHeight, const juce::PopupMenu::Options& options)
{
    LookAndFeel_V4::getIdealPopupMenuItemSizeWithOptions (text, isSeparator, standardMenuItemHeight, idealWidth,
                                                          idealHeight, options);

    const auto* box = options.getTargetComponent();
    const auto* parent = box != nullptr ? box->getParentComponent() : nullptr;
    if (parent == nullptr)
        return;

    const auto room = parent->getWidth() - box->getX() - 2 * getPopupMenuBorderSizeWithOptions (options);
    idealWidth = juce::jmin (idealWidth, juce::jmax (box->getWidth(), room));
}
} // namespace state
