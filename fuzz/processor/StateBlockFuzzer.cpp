// Feeds arbitrary bytes to setStateInformation as a host's state chunk would.
#include "FuzzProcessor.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    auto& processor = fuzzProcessor();
    processor.setStateInformation (data, (int) juce::jmin (size, (size_t) std::numeric_limits<int>::max()));
    requireFiniteParameters (processor);

    // Whatever was accepted must save and load again.
    juce::MemoryBlock saved;
    processor.getStateInformation (saved);
    processor.setStateInformation (saved.getData(), (int) saved.getSize());
    requireFiniteParameters (processor);
    return 0;
}
