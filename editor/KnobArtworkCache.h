#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <map>
#include <memory>

/** The knob artwork parsed once and shared by every knob of the process: parsing the lighting
    overlay, with its embedded bitmap, takes several times longer than drawing a whole knob. Knobs
    hold it through a juce::SharedResourcePointer, so it goes with the last knob. Message thread
    only. The drawables are only ever drawn, each with the transform it is given at that moment,
    so a cached one draws exactly as a freshly parsed one. */
class KnobArtworkCache
{
public:
    KnobArtworkCache();
    ~KnobArtworkCache();

    /** The knob pointer with its black parts in knobColour. Valid until the next call for the same
        colour. */
    juce::Drawable& pointer (juce::Colour knobColour);

    /** The lighting overlay. Valid until the next call. */
    juce::Drawable& detail();

    /** With caching off every call parses its document anew (for measuring what the cache saves). */
    static void setEnabled (bool shouldCache) noexcept;
    static bool isEnabled() noexcept;

private:
    std::map<juce::uint32, std::unique_ptr<juce::Drawable>> pointers;
    std::unique_ptr<juce::Drawable> detailDrawable;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (KnobArtworkCache)
};
