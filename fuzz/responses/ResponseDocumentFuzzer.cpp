// Feeds arbitrary text to the response bank's document loader, at a rate that resamples.

#include "ResponseBank.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    ResponseBank bank (96000.0, 48000.0);
    bank.loadDocument (juce::String::fromUTF8 (reinterpret_cast<const char*> (data), (int) size));

    for (auto& [band, frequencies] : bank.bands)
        for (auto& [frequency, types] : frequencies)
            for (auto& [type, gains] : types)
                for (auto& [gain, buffer] : gains)
                    if (buffer == nullptr || buffer->getNumChannels() != 1)
                        __builtin_trap();
    return 0;
}
