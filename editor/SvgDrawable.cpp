#include "SvgDrawable.h"

std::unique_ptr<juce::Drawable> createSvgDrawable (const juce::String& svgText, juce::Colour colourToReplace,
                                                   juce::Colour replacement, float scale)
{
    const auto svg = juce::parseXML (svgText);
    jassert (svg != nullptr); // the artwork is compiled in and always parses

    auto drawable = svg != nullptr ? juce::Drawable::createFromSVG (*svg) : nullptr;
    if (drawable == nullptr)
        return std::make_unique<juce::DrawableComposite>();

    drawable->replaceColour (colourToReplace, replacement);
    drawable->setTransform (juce::AffineTransform::scale (scale));
    return drawable;
}
