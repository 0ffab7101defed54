#include "SvgDrawable.h"

std::unique_ptr<juce::Drawable> parseSvgDrawable (const juce::String& svgText)
{
    const auto svg = juce::parseXML (svgText);
    jassert (svg != nullptr); // the artwork is compiled in and always parses

    auto drawable = svg != nullptr ? juce::Drawable::createFromSVG (*svg) : nullptr;
    return drawable != nullptr ? std::move (drawable) : std::make_unique<juce::DrawableComposite>();
}

std::unique_ptr<juce::Drawable> createSvgDrawable (const juce::String& svgText, juce::Colour colourToReplace,
                                                   juce::Colour replacement, float scale)
{
    auto drawable = parseSvgDrawable (svgText);
    drawable->replaceColour (colourToReplace, replacement);
    drawable->setTransform (juce::AffineTransform::scale (scale));
    return drawable;
}

std::unique_ptr<juce::Drawable> createButtonImage (const char* artwork, juce::Colour glyphColour)
{
    return createSvgDrawable (juce::String::fromUTF8 (artwork), juce::Colours::white, glyphColour, 1.0f);
}

void setToggleImages (juce::DrawableButton& button, const char* artwork, juce::Colour on, juce::Colour off)
{
    const auto onImage = createButtonImage (artwork, on);
    const auto offImage = createButtonImage (artwork, off);
    button.setImages (offImage.get(), offImage.get(), offImage.get(), offImage.get(), onImage.get(), onImage.get(),
                      onImage.get(), onImage.get());
}
