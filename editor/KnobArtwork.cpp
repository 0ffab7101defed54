#include "KnobArtwork.h"

#include "Artwork.h"
#include "SvgDrawable.h"

namespace KnobArtwork
{
std::unique_ptr<juce::Drawable> createPointer (juce::Colour knobColour)
{
    auto pointer = parseSvgDrawable (juce::String::fromUTF8 (Artwork::knobPointer));
    pointer->replaceColour (juce::Colours::black, knobColour);
    return pointer;
}

std::unique_ptr<juce::Drawable> createDetail()
{
    return parseSvgDrawable (juce::String::fromUTF8 (Artwork::knobPointerDetail));
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
