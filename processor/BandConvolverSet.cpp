#include "BandConvolverSet.h"

BandConvolverSet::BandConvolverSet (double sampleRateToUse, int channelNumber,
                                    std::shared_ptr<const ResponseBank> bankToUse)
    : bank (std::move (bankToUse))
    , sampleRate (sampleRateToUse)
    , channel (channelNumber)
{
    for (int band = 1; band <= numBands; ++band)
        bands.add (new BandConvolver (sampleRate, band, bank));
}

BandConvolverSet::~BandConvolverSet()
{
    clear();
}

void BandConvolverSet::setBand (int index, double newSampleRate, double frequency, juce::String type, double gain)
{
    auto* convolver = bands[index];
    if (convolver == nullptr)
        return;

    convolver->setSampleRate (newSampleRate);
    convolver->selectImpulse (frequency, std::move (type), gain);
    convolver->setLoaded (true);

    if (bands.size() != numBands)
        return;

    for (auto* band : bands)
        if (! band->isLoaded())
            return;

    ready.store (true, std::memory_order_release);
}

void BandConvolverSet::setMaximumBlockSize (int n)
{
    for (auto* band : bands)
        band->setMaximumBlockSize (n);
}

void BandConvolverSet::clear()
{
    while (! bands.isEmpty())
        bands.removeLast();
}
