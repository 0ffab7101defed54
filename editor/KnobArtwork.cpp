#include "KnobArtwork.h"

#include "Artwork.h"

namespace
{
std::unique_ptr<juce::Drawable> parse (const char* svgText)
{
    const auto svg = juce::parseXML (juce::String::fromUTF8 (svgText));
    jassert (svg != nullptr); // compiled in, always parses
    auto drawable = svg != nullptr ? juce::Drawable::createFromSVG (*svg) : nullptr;
    return drawable != nullptr ? std::move (drawable) : std::make_unique<juce::DrawableComposite>();
}
} // namespace

namespace KnobArtwork
{
std::unique_ptr<juce::Drawable> createPointer (juce::Colour knobColour)
{
    auto pointer = parse (Artwork::knobPointer);
    pointer->replaceColour (juce::Colours::black, knobColour);
    return pointer;
}

std::unique_ptr<juce::Drawable> createDetail()
{
    return parse (Artwork::knobPointerDetail);
}

int labelRadius (const juce::Drawable& pointer, float knobScale)
{
    return (int) ((float) (int) (pointer.getWidth() * 0.5) * knobScale);
}

juce::Point<float> topLeftFor (const juce::Drawable& artwork, juce::Point<float> centre, float knobScale)
{
    return { centre.x - (float) artwork.getWidth() * knobScale * 0.5f,
             centre.y - (float) artwork.getHeight() * knobScale * 0.5f };
}

void drawPointer (juce::Graphics& g, juce::Drawable& pointer, float angle, float knobScale, juce::Point<float> topLeft)
{
    pointer.setTransform (
        juce::AffineTransform::rotation (angle, (float) (pointer.getWidth() / 2), (float) (pointer.getHeight() / 2))
            .scaled (knobScale));
    pointer.drawAt (g, topLeft.x, topLeft.y, 1.0f);
}

void drawDetail (juce::Graphics& g, juce::Drawable& detail, float knobScale, juce::Point<float> topLeft)
{
    detail.setTransform (juce::AffineTransform::scale (knobScale));
    detail.drawAt (g, topLeft.x, topLeft.y, 1.0f);
}
} // namespace KnobArtwork
