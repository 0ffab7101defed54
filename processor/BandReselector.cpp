#include "BandReselector.h"

#include "ParameterLayout.h"

namespace
{
constexpr const char* watchedPrefixes[] = { ParameterIds::frequencyPrefix, ParameterIds::bandGainPrefix,
                                            ParameterIds::typePrefix };

template <typename Visit>
void forEachWatchedParameter (Visit&& visit)
{
    for (auto* prefix : watchedPrefixes)
        for (int channel = 1; channel <= 2; ++channel)
            for (int band = 1; band <= 3; ++band)
                visit (ParameterIds::band (prefix, channel, band));
}

// The watched IDs all end in "_<channel>_<band>".
std::uint32_t bandBitOf (const juce::String& parameterID)
{
    const int length = parameterID.length();
    if (length < 4)
        return 0;

    const int channel = parameterID[length - 3] - '0';
    const int band = parameterID[length - 1] - '0';
    if (channel < 1 || channel > 2 || band < 1 || band > 3)
        return 0;

    return BandReselector::bandBit (channel, band);
}
} // namespace

BandReselector::BandReselector (juce::AudioProcessorValueTreeState& stateToWatch, SelectBands selectBandsToUse)
    : state (stateToWatch)
    , selectBands (std::move (selectBandsToUse))
{
    forEachWatchedParameter ([this] (const juce::String& id) { state.addParameterListener (id, this); });
}

BandReselector::~BandReselector()
{
    forEachWatchedParameter ([this] (const juce::String& id) { state.removeParameterListener (id, this); });
    cancelPendingUpdate();
}

void BandReselector::request (std::uint32_t bandMask)
{
    if (bandMask == 0)
        return;

    pendingBands.fetch_or (bandMask, std::memory_order_acq_rel);
    triggerAsyncUpdate();
}

void BandReselector::parameterChanged (const juce::String& parameterID, float)
{
    request (bandBitOf (parameterID));
}

void BandReselector::handleAsyncUpdate()
{
    const auto bands = pendingBands.exchange (0, std::memory_order_acq_rel);
    if (bands != 0 && selectBands)
        selectBands (bands);
}
