#include "KnobArtworkCache.h"

#include "KnobArtwork.h"

#include <atomic>

namespace
{
std::atomic<bool> cachingEnabled{ true };
} // namespace

KnobArtworkCache::KnobArtworkCache() = default;
KnobArtworkCache::~KnobArtworkCache() = default;

juce::Drawable& KnobArtworkCache::pointer (juce::Colour knobColour)
{
    auto& drawable = pointers[knobColour.getARGB()];
    if (drawable == nullptr || ! isEnabled())
        drawable = KnobArtwork::createPointer (knobColour);

    return *drawable;
}

juce::Drawable& KnobArtworkCache::detail()
{
    if (detailDrawable == nullptr || ! isEnabled())
        detailDrawable = KnobArtwork::createDetail();

    return *detailDrawable;
}

void KnobArtworkCache::setEnabled (bool shouldCache) noexcept
{
    cachingEnabled.store (shouldCache, std::memory_order_relaxed);
}

bool KnobArtworkCache::isEnabled() noexcept
{
    return cachingEnabled.load (std::memory_order_relaxed);
}
