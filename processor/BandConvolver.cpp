#include "BandConvolver.h"

#include "EngineSlot.h"

#include <cmath>
#include <limits>

namespace
{
// Converts to int, truncating toward zero like a plain cast, but saturating instead of overflowing
// (NaN gives 0).
int saturatingToInt (double value)
{
    if (std::isnan (value))
        return 0;
    constexpr double lowest = (double) std::numeric_limits<int>::min();
    constexpr double highest = (double) std::numeric_limits<int>::max();
    if (value <= lowest)
        return std::numeric_limits<int>::min();
    if (value >= highest)
        return std::numeric_limits<int>::max();
    return (int) value;
}

const ResponseBank::FrequencyMap& emptyFrequencyMap()
{
    static const ResponseBank::FrequencyMap empty;
    return empty;
}
} // namespace

BandConvolver::BandConvolver (double sampleRateToUse, int bandNumber, std::shared_ptr<const ResponseBank> bankToUse)
    : bank (std::move (bankToUse))
    , band (bandNumber)
    , sampleRate (sampleRateToUse)
    , current (1, juce::jmax (0, saturatingToInt (sampleRateToUse)))
    , lower (1, juce::jmax (0, saturatingToInt (sampleRateToUse)))
    , upper (1, juce::jmax (0, saturatingToInt (sampleRateToUse)))
{
    for (auto& buffer : staging)
    {
        buffer.setSize (1, 1);
        buffer.clear();
    }

    // Both slots start on a one-sample silent buffer; slotA is the one heard.
    auto& silent = staging[readingIndex];
    slotA = std::make_unique<EngineSlot> (&silent);
    slotB = std::make_unique<EngineSlot> (&silent);

    // A band the bank lacks reads as an empty map; the bank itself is never changed.
    frequencyMap = &emptyFrequencyMap();
    if (bank != nullptr)
    {
        const auto found = bank->bands.find (band);
        if (found != bank->bands.end())
            frequencyMap = &found->second;

        // Both arrays answer an index beyond their end with an empty string or 0.
        bandName = bank->bandNames[band - 1];
        frequencyEnabled = bank->frequencyEnabled[band - 1] != 0;
        typeEnabled = bank->typeEnabled[band - 1] != 0;
        gainEnabled = bank->gainEnabled[band - 1] != 0;
        mixEnabled = bank->mixEnabled[band - 1] != 0;
    }

    // Building a slot loads it; both carry the loading flag and only slotA is heard.
    slotA->active = true;
    slotB->active = false;
}

BandConvolver::~BandConvolver() = default;

void BandConvolver::setMaximumBlockSize (int n)
{
    slotA->setMaximumBlockSize (n);
    slotB->setMaximumBlockSize (n);
}

bool BandConvolver::findSelection (double frequency, const juce::String& type, double gain, int& frequencyKeyFound,
                                   const juce::AudioBuffer<float>*& lowerStep, int& lowerKey,
                                   const juce::AudioBuffer<float>*& upperStep, int& upperKey) const
{
    if (! std::isfinite (frequency) || ! std::isfinite (gain))
        return false;

    const auto frequencyEntry = frequencyMap->lower_bound (saturatingToInt (frequency));
    if (frequencyEntry == frequencyMap->end())
        return false;

    const auto typeEntry = frequencyEntry->second.find (type);
    if (typeEntry == frequencyEntry->second.end())
        return false;

    const auto& gains = typeEntry->second;
    const auto upperEntry = gains.upper_bound (saturatingToInt (std::floor (gain)));
    if (upperEntry == gains.begin())
        return false;

    const auto lowerEntry = std::prev (upperEntry);
    lowerStep = lowerEntry->second.get();
    if (lowerStep == nullptr || lowerStep->getNumChannels() < 1)
        return false;

    frequencyKeyFound = frequencyEntry->first;
    lowerKey = lowerEntry->first;
    upperStep = nullptr;
    upperKey = lowerKey;
    if (upperEntry != gains.end())
    {
        upperStep = upperEntry->second.get();
        upperKey = upperEntry->first;
    }
    return true;
}

void BandConvolver::selectImpulse (double frequency, juce::String type, double gain)
{
    const std::lock_guard<std::mutex> lock (selectionLock);

    int frequencyKeyFound = 0, lowerKey = 0, upperKey = 0;
    const juce::AudioBuffer<float>* lowerStep = nullptr;
    const juce::AudioBuffer<float>* upperStep = nullptr;
    if (! findSelection (frequency, type, gain, frequencyKeyFound, lowerStep, lowerKey, upperStep, upperKey))
        return;

    frequencyKey = frequencyKeyFound;
    gainKey = lowerKey;
    current.makeCopyOf (*lowerStep, true);

    if (upperStep != nullptr && upperStep->getNumChannels() > 0)
    {
        lower.makeCopyOf (*lowerStep, true);
        upper.makeCopyOf (*upperStep, true);

        // Beyond the shorter step the lower step stands alone, as copied above.
        const double weight = (gain - (double) lowerKey) / ((double) upperKey - (double) lowerKey);
        const int blendLength = juce::jmin (lower.getNumSamples(), upper.getNumSamples());
        const float* lowerSamples = lower.getReadPointer (0);
        const float* upperSamples = upper.getReadPointer (0);
        float* blended = current.getWritePointer (0);
        for (int i = 0; i < blendLength; ++i)
        {
            const double l = lowerSamples[i];
            blended[i] = (float) (l + weight * ((double) upperSamples[i] - l));
        }
    }

    hasSelection = true;
    selectedType = type;
    selectedGain = gain;

    publishStaging();
}

void BandConvolver::publishStaging()
{
    auto& buffer = staging[writingIndex];
    buffer.setSize (1, current.getNumSamples(), false, false, true);
    buffer.copyFrom (0, 0, current, 0, 0, current.getNumSamples());

    // The buffer is complete before the audio thread can take it; whatever stood in the middle
    // (taken or not) becomes the next one to write.
    const int previous = published.exchange (writingIndex | freshBit, std::memory_order_acq_rel);
    writingIndex = previous & ~freshBit;
}

const juce::AudioBuffer<float>* BandConvolver::takeStaging()
{
    if ((published.load (std::memory_order_acquire) & freshBit) == 0)
        return nullptr;

    const int taken = published.exchange (readingIndex, std::memory_order_acq_rel);
    readingIndex = taken & ~freshBit;
    return &staging[readingIndex];
}

bool BandConvolver::isCurrentSelection (double frequency, const juce::String& type, double gain) const
{
    const std::lock_guard<std::mutex> lock (selectionLock);
    if (! hasSelection || ! std::isfinite (frequency))
        return false;

    const auto frequencyEntry = frequencyMap->lower_bound (saturatingToInt (frequency));
    return frequencyEntry != frequencyMap->end() && frequencyEntry->first == frequencyKey && type == selectedType &&
           gain == selectedGain;
}

bool BandConvolver::selectImpulseIfChanged (double frequency, const juce::String& type, double gain)
{
    if (isCurrentSelection (frequency, type, gain))
        return false;

    selectImpulse (frequency, type, gain);
    return true;
}

juce::AudioBuffer<float> BandConvolver::getCurrentResponse() const
{
    const std::lock_guard<std::mutex> lock (selectionLock);
    return current;
}

void BandConvolver::takePendingResponse()
{
    if (! isPending())
        return;

    // A selection made while a hand-over runs waits for it to end.
    if (slotA->handover && slotB->handover)
        return;

    const auto* response = takeStaging();
    if (response == nullptr)
        return;

    EngineSlot* activeSlot = slotA->active ? slotA.get() : (slotB->active ? slotB.get() : nullptr);
    EngineSlot* idleSlot = activeSlot == slotA.get() ? slotB.get() : slotA.get();

    if (activeSlot != nullptr && ! responseInForce)
    {
        // Nothing audible yet: the first response goes straight into the slot that is heard, and any
        // start-up hand-over between the two silent slots is dropped.
        activeSlot->load (*response);
        activeSlot->loading = false;
        activeSlot->handover = true;
        activeSlot->blockCounter = 0;
        idleSlot->loading = false;
        idleSlot->handover = false;
        idleSlot->blockCounter = 0;
        responseInForce = true;
    }
    else if (activeSlot != nullptr)
    {
        idleSlot->load (*response);
    }
}

void BandConvolver::process (float* const* work, float* const* scratch, int numChannels, int numSamples)
{
    if (! isLoaded())
        return;

    takePendingResponse();

    if (work == nullptr)
        return;

    EngineSlot& a = *slotA;
    EngineSlot& b = *slotB;

    // Only a hand-over or a running idle slot convolves scratch; it needs the input as work has it now.
    if (a.loading || b.loading || idleSlotRunning)
        copyChannels (work, scratch, numChannels, numSamples);

    if (! a.loading && ! b.loading)
    {
        EngineSlot* activeSlot = a.active ? &a : (b.active ? &b : nullptr);
        if (activeSlot == nullptr)
            return;

        processSlot (*activeSlot, work, true, numChannels, numSamples);

        if (idleSlotRunning)
            processSlot (activeSlot == &a ? b : a, scratch, false, numChannels, numSamples);
        return;
    }

    // The new slot is the loading one that is not heard; with both loading (as after construction)
    // that is the inactive one.
    if (b.loading && ! b.active && a.active)
        runHandOver (b, a, work, scratch, numChannels, numSamples);
    else if (a.loading && ! a.active && b.active)
        runHandOver (a, b, work, scratch, numChannels, numSamples);
}

void BandConvolver::runHandOver (EngineSlot& newSlot, EngineSlot& oldSlot, float* const* work, float* const* scratch,
                                 int numChannels, int numSamples)
{
    // The new slot runs on scratch beside the old one for five blocks: the first starts the hand-over,
    // and blockCounter counts the ones after it.
    constexpr int warmUpBlocks = 5;

    if (newSlot.handover && newSlot.blockCounter >= warmUpBlocks - 1)
    {
        oldSlot.active = false;
        oldSlot.loading = false;
        oldSlot.handover = false;
        oldSlot.blockCounter = 0;
        newSlot.active = true;
        newSlot.loading = false;
        newSlot.handover = true;
        newSlot.blockCounter = 0;

        // The old slot is idle from now on and is restarted by its next load, so its output on scratch
        // would never be heard.
        if (idleSlotRunning)
            processSlot (oldSlot, scratch, false, numChannels, numSamples);
        processSlot (newSlot, work, true, numChannels, numSamples);
        return;
    }

    if (newSlot.handover)
        ++newSlot.blockCounter;

    newSlot.handover = true;
    processSlot (oldSlot, work, true, numChannels, numSamples);
    processSlot (newSlot, scratch, false, numChannels, numSamples);
}

void BandConvolver::processSlot (EngineSlot& slot, float* const* channels, bool onWork, int numChannels, int numSamples)
{
    slot.engine->setHeardChannels (onWork && heard[0], onWork && heard[1]);
    slot.process (channels, numChannels, numSamples);
}
