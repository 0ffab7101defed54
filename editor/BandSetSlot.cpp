#include "BandSetSlot.h"

#include "BandConvolver.h"
#include "ConvolutionEqAudioProcessor.h"

BandSetSlot::BandSetSlot (ConvolutionEqAudioProcessor& p, int c) noexcept
    : processor (p)
    , channel (c)
{
}

std::shared_ptr<BandConvolverSet> BandSetSlot::currentSet() const
{
    return processor.getConvolverSet (channel);
}

BandSetSlot::Band BandSetSlot::band (int index) const
{
    Band result;
    result.set = currentSet();
    if (result.set != nullptr)
        result.convolver = result.set->getBand (index);
    return result;
}

int BandSetSlot::bandNumber (int index) const
{
    const auto b = band (index);
    return b ? b->getBandNumber() : index + 1;
}
