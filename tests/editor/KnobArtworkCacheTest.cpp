#include "KnobArtworkCache.h"
#include "KnobSlider.h"
#include "SnapSliderComponent.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{
struct CachingOff
{
    CachingOff() { KnobArtworkCache::setEnabled (false); }
    ~CachingOff() { KnobArtworkCache::setEnabled (true); }
};

bool samePixels (const juce::Image& a, const juce::Image& b)
{
    if (a.getBounds() != b.getBounds())
        return false;
    for (int y = 0; y < a.getHeight(); ++y)
        for (int x = 0; x < a.getWidth(); ++x)
            if (a.getPixelAt (x, y) != b.getPixelAt (x, y))
                return false;
    return true;
}

juce::Image snapshot (juce::Component& component)
{
    return component.createComponentSnapshot (component.getLocalBounds());
}
} // namespace

TEST (KnobArtworkCacheTest, KnobsDrawExactlyAsFromFreshlyParsedArtwork)
{
    SnapSliderComponent frequency (SnapSliderComponent::frequencyKind, 0.9f, juce::Colour (0xFF2C98B7),
                                   juce::Colour (0xFF4ECAEE));
    frequency.setSnapValues ({ 400.0f, 800.0f, 1500.0f, 3000.0f, 5000.0f });
    frequency.slider.setRange (400.0, 5000.0);
    frequency.setSize (150, 120);

    SnapSliderComponent gain (SnapSliderComponent::gainKind, 1.0f, juce::Colour (0xFF336699), juce::Colours::white);
    gain.setSnapValues ({ -12.0f, -9.0f, -6.0f, -4.0f, -2.0f, 0.0f, 2.0f, 4.0f, 6.0f, 9.0f, 12.0f });
    gain.slider.setRange (-12.0, 12.0);
    gain.setSize (150, 120);

    KnobSlider trim;
    trim.setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
    trim.lookAndFeel.knobScale = 0.8f;
    trim.setRange (-6.0, 6.0, 0.1);
    trim.setSize (150, 120);

    const struct
    {
        juce::Component& component;
        juce::Slider& slider;
        double first, second;
    } knobs[] = { { frequency, frequency.slider, 400.0, 3000.0 },
                  { gain, gain.slider, -9.0, 6.0 },
                  { trim, trim, -4.5, 2.3 } };

    for (const auto& knob : knobs)
    {
        // The cached drawables have been drawn at another angle in between.
        knob.slider.setValue (knob.first);
        snapshot (knob.component);
        knob.slider.setValue (knob.second);
        const auto cached = snapshot (knob.component);

        CachingOff off;
        EXPECT_TRUE (samePixels (cached, snapshot (knob.component))) << knob.second;
    }
}
