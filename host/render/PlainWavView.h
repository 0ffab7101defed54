#pragma once

#include "WavHeader.h"

#include <juce_core/juce_core.h>

#include <memory>

/** A checked WAV file as JUCE's reader is given it: a plain header written from the layout, with
    the container size as bits per sample, followed by the file's audio data. JUCE reads samples
    by their stated size, so 12- or 20-bit samples are read by their 16- or 24-bit containers, and
    the file's own chunks are never parsed a second time. */
class PlainWavView : public juce::InputStream
{
public:
    PlainWavView (std::unique_ptr<juce::InputStream> file, const WavLayout& layout);

    juce::int64 getTotalLength() override;
    bool isExhausted() override;
    int read (void* destination, int bytes) override;
    juce::int64 getPosition() override;
    bool setPosition (juce::int64 newPosition) override;

private:
    std::unique_ptr<juce::InputStream> file;
    juce::MemoryBlock header;
    juce::int64 dataStart = 0;
    juce::int64 dataLength = 0; // what the file holds of the declared data
    juce::int64 position = 0;
};
