#include "Artwork.h"
#include "ColourPalette.h"
#include "SvgDrawable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace
{
struct Document
{
    const char* text;
    const char* title;
    float width, height;
};

const Document documents[] = {
    { Artwork::slider, "slider", 177.9f, 385.56f },
    { Artwork::knobPointerDetail, "knob-pointer-detail", 100.0f, 100.0f },
    { Artwork::knobPointer, "knob-pointer", 100.0f, 100.0f },
    { Artwork::buttonLe, "button-le", 90.0f, 60.0f },
    { Artwork::buttonPk, "button-pk", 90.0f, 60.0f },
    { Artwork::buttonHe, "button-he", 90.0f, 60.0f },
    { Artwork::buttonL, "button-L", 90.0f, 60.0f },
    { Artwork::buttonR, "button-R", 90.0f, 60.0f },
    { Artwork::buttonM, "button-M", 90.0f, 60.0f },
    { Artwork::buttonS, "button-S", 90.0f, 60.0f },
    { Artwork::buttonA, "button-A", 90.0f, 60.0f },
    { Artwork::buttonSpeaker, "button-speaker", 90.0f, 60.0f },
    { Artwork::buttonLink, "button-link", 90.0f, 60.0f },
    { Artwork::buttonPhase, "button-phase", 90.0f, 60.0f },
    { Artwork::buttonReset, "button-reset", 90.0f, 90.41f },
    { Artwork::korvelLogo, "korvel-logo", 500.0f, 340.0f },
    { Artwork::buttonOn, "button-on", 90.0f, 60.0f },
    { Artwork::buttonOff, "button-off", 90.0f, 60.0f },
    { Artwork::buttonMOn, "button-M-on", 90.0f, 60.0f },
    { Artwork::buttonBack, "button-back", 90.0f, 60.0f },
    { Artwork::button, "button", 26.8f, 26.8f },
};
} // namespace

TEST (ArtworkTest, EveryDocumentParsesWithItsTitleAndViewBoxSize)
{
    for (const auto& document : documents)
    {
        SCOPED_TRACE (document.title);
        const auto svg = juce::parseXML (juce::String::fromUTF8 (document.text));
        ASSERT_NE (svg, nullptr);
        const auto* title = svg->getChildByName ("title");
        ASSERT_NE (title, nullptr);
        EXPECT_EQ (title->getAllSubText().trim(), document.title);

        const auto drawable = createSvgDrawable (document.text, juce::Colours::white, juce::Colours::white, 1.0f);
        EXPECT_NEAR (drawable->getWidth(), document.width, 1.0f);
        EXPECT_NEAR (drawable->getHeight(), document.height, 1.0f);
    }
}

TEST (ArtworkTest, PaletteHoldsItsThirtyFiveColours)
{
    ColourPalette palette;
    fillColourPalette (palette);
    const std::pair<size_t, juce::uint32> expected[] = {
        { 0, 0xFF6B6B6B },  { 1, 0xFF4ECAEE },  { 2, 0xFF4ECAEE },  { 3, 0xFF2F7B99 },  { 4, 0xFFFFA500 },
        { 5, 0xFF766356 },  { 6, 0xFFA9B0B7 },  { 8, 0xFFFFA500 },  { 10, 0xFF89C4FF }, { 11, 0xFFFFA500 },
        { 20, 0xFF89C4FF }, { 22, 0xFFFFA500 }, { 24, 0xFF6C7277 }, { 25, 0xFF766356 }, { 26, 0xFF2C98B7 },
        { 27, 0xFF336699 }, { 28, 0xFF766356 }, { 29, 0xFF4ECAEE }, { 30, 0xFFFFFFFF }, { 31, 0xFFFFFFFF },
        { 32, 0x00000000 }, { 33, 0x00000000 }, { 34, 0x00000000 },
    };
    EXPECT_EQ (palette.size(), 35u);
    for (const auto& [index, argb] : expected)
        EXPECT_EQ (palette[index].getARGB(), argb) << "entry " << index;
}

TEST (ArtworkTest, RecolouringChangesTheWhiteGlyphAndNothingElse)
{
    const auto render = [] (const char* svg, juce::Colour glyph)
    {
        const auto drawable = createSvgDrawable (svg, juce::Colours::white, glyph, 1.0f);
        juce::Image image (juce::Image::ARGB, (int) std::ceil (drawable->getWidth()),
                           (int) std::ceil (drawable->getHeight()), true);
        juce::Graphics g (image);
        drawable->draw (g, 1.0f);
        return image;
    };
    const juce::Colour blue (0xFF4ECAEE);
    // Edge pixels that the glyph only grazes may round differently; anything visible counts.
    const auto differs = [] (juce::Colour a, juce::Colour b)
    {
        return std::abs (a.getRed() - b.getRed()) > 4 || std::abs (a.getGreen() - b.getGreen()) > 4 ||
               std::abs (a.getBlue() - b.getBlue()) > 4 || std::abs (a.getAlpha() - b.getAlpha()) > 4;
    };

    // Every button, the unused ones too: a white anywhere in a key's frame would change colour with it.
    for (const auto& document : documents)
    {
        if (! juce::String (document.title).startsWith ("button"))
            continue;
        SCOPED_TRACE (document.title);
        const auto white = render (document.text, juce::Colours::white);
        const auto withoutGlyph = render (document.text, juce::Colours::transparentBlack);
        const auto recoloured = render (document.text, blue);

        int glyphPixels = 0, framePixelsChanged = 0;
        juce::Rectangle<int> glyphArea;
        for (int y = 0; y < white.getHeight(); ++y)
            for (int x = 0; x < white.getWidth(); ++x)
            {
                if (! differs (white.getPixelAt (x, y), withoutGlyph.getPixelAt (x, y)))
                    framePixelsChanged += differs (recoloured.getPixelAt (x, y), white.getPixelAt (x, y)) ? 1 : 0;
                else
                    glyphArea =
                        glyphArea.isEmpty() ? juce::Rectangle<int> (x, y, 1, 1) : glyphArea.getUnion ({ x, y, 1, 1 });
                glyphPixels += recoloured.getPixelAt (x, y) == blue ? 1 : 0;
            }
        EXPECT_GT (glyphPixels, 20);
        EXPECT_EQ (framePixelsChanged, 0);

        // Centred across the key and clear of its frame, which is about a tenth of the key's height.
        const auto margin = white.getHeight() / 10;
        EXPECT_NEAR (glyphArea.getCentreX(), white.getWidth() / 2, 2) << glyphArea.toString();
        EXPECT_TRUE (white.getBounds().reduced (margin).contains (glyphArea)) << glyphArea.toString();
    }
}

TEST (ArtworkTest, KnobLightingIsAFixedBitmapOfTwoHundredFortyOneByTwoHundredForty)
{
    const auto svg = juce::parseXML (juce::String::fromUTF8 (Artwork::knobPointerDetail));
    ASSERT_NE (svg, nullptr);
    const auto* image = svg->getChildByName ("image");
    ASSERT_NE (image, nullptr);
    const auto link = image->getStringAttribute ("xlink:href");
    ASSERT_TRUE (link.startsWith ("data:image/png;base64,"));

    juce::MemoryOutputStream png;
    ASSERT_TRUE (juce::Base64::convertFromBase64 (
        png, link.fromFirstOccurrenceOf (",", false, false).removeCharacters ("\t\n\r ")));
    juce::MemoryInputStream in (png.getData(), png.getDataSize(), false);
    const auto bitmap = juce::ImageFileFormat::loadFrom (in);
    EXPECT_EQ (bitmap.getWidth(), 241);
    EXPECT_EQ (bitmap.getHeight(), 240);
}

TEST (ArtworkTest, KnobsStayInsideTheirScaleLabels)
{
    // The scale labels start 41, 46 and 40 pixels from the centre at the knob scales 0.9, 1.0 and 0.8,
    // that is 45.5, 46 and 50 units: the knob and its lighting must end before that.
    const std::pair<const char*, float> knobs[] = { { Artwork::knobPointer, 38.0f },
                                                    { Artwork::knobPointerDetail, 41.0f } };
    for (const auto& [svg, reach] : knobs)
    {
        juce::Image image (juce::Image::ARGB, 100, 100, true);
        {
            juce::Graphics g (image);
            createSvgDrawable (svg, juce::Colours::black, juce::Colours::black, 1.0f)->draw (g, 1.0f);
        }
        float farthest = 0.0f;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x)
                if (image.getPixelAt (x, y).getAlpha() > 8)
                    farthest = juce::jmax (farthest,
                                           juce::Point<float> (x + 0.5f, y + 0.5f).getDistanceFrom ({ 50.0f, 50.0f }));
        EXPECT_GT (farthest, 30.0f);
        EXPECT_LT (farthest, reach);
    }
}
