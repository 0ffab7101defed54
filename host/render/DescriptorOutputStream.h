#pragma once

#include <juce_core/juce_core.h>

#include <string>

/** An output stream on an open file descriptor that keeps the operating system's reason for the
    first failed write, which JUCE's audio writers do not pass on. The descriptor stays
    the caller's. */
class DescriptorOutputStream final : public juce::OutputStream
{
public:
    /** `failure` outlives the stream (the audio writers delete their stream) and receives the
        reason of the first failure. */
    DescriptorOutputStream (int descriptor, std::string& failure);

    void flush() override {}
    bool setPosition (juce::int64 position) override;
    juce::int64 getPosition() override;
    bool write (const void* data, size_t numBytes) override;

private:
    void fail (int error);

    int descriptor;
    std::string& failure;
};
