// Feeds arbitrary document text to the response bank's loader. Every fourth input is loaded at a
// rate that resamples; the others at the stored rate, which skips the resampler's filter design
// and so tries more documents per second.

#include "ResponseBank.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    const auto* text = reinterpret_cast<const char*> (data);

    // A string holds valid UTF-8 by contract (JUCE's XML parser reads past the end of
    // a truncated sequence); the embedded document is plain ASCII.
    if (size > (size_t) std::numeric_limits<int>::max() || ! juce::CharPointer_UTF8::isValidString (text, (int) size))
        return 0;

    ResponseBank bank (96000.0, size % 4 == 0 ? 48000.0 : 96000.0);
    bank.loadDocument (juce::String::fromUTF8 (text, (int) size));

    for (auto& [band, frequencies] : bank.bands)
        for (auto& [frequency, types] : frequencies)
            for (auto& [type, gains] : types)
                for (auto& [gain, buffer] : gains)
                    if (buffer == nullptr || buffer->getNumChannels() != 1)
                        __builtin_trap();
    return 0;
}
