#include "PlainWavView.h"

#include <algorithm>
#include <limits>

namespace
{
// RF64, so that any data length fits.
juce::MemoryBlock plainHeader (const WavLayout& layout, juce::int64 dataLength)
{
    constexpr juce::int64 headerBytes = 80;
    juce::MemoryOutputStream out;
    out.write ("RF64", 4);
    out.writeInt (-1);
    out.write ("WAVE", 4);
    out.write ("ds64", 4);
    out.writeInt (28);
    out.writeInt64 (headerBytes - 8 + dataLength + (dataLength & 1));
    out.writeInt64 (dataLength);
    out.writeInt64 (dataLength / layout.blockAlign);
    out.writeInt (0);
    out.write ("fmt ", 4);
    out.writeInt (16);
    out.writeShort (static_cast<short> (layout.floatingPoint ? 3 : 1));
    out.writeShort (static_cast<short> (layout.channels));
    // JUCE reads the rate as a signed number; rates beyond any real one are refused by the caller.
    out.writeInt (static_cast<int> (std::min<uint32_t> (layout.sampleRate, std::numeric_limits<int>::max())));
    out.writeInt (static_cast<int> (static_cast<uint32_t> (layout.sampleRate * layout.blockAlign)));
    out.writeShort (static_cast<short> (layout.blockAlign));
    out.writeShort (static_cast<short> (layout.containerBits));
    out.write ("data", 4);
    out.writeInt (-1);
    jassert (static_cast<juce::int64> (out.getDataSize()) == headerBytes);
    return out.getMemoryBlock();
}
} // namespace

PlainWavView::PlainWavView (std::unique_ptr<juce::InputStream> source, const WavLayout& layout)
    : file (std::move (source))
    , dataStart (layout.dataStart)
{
    const juce::int64 held = std::max<juce::int64> (0, file->getTotalLength() - dataStart);
    dataLength = static_cast<juce::int64> (std::min<uint64_t> (layout.dataBytes, static_cast<uint64_t> (held)));
    header = plainHeader (layout, dataLength);
}

juce::int64 PlainWavView::getTotalLength()
{
    return static_cast<juce::int64> (header.getSize()) + dataLength;
}

bool PlainWavView::isExhausted()
{
    return position >= getTotalLength();
}

int PlainWavView::read (void* destination, int bytes)
{
    auto* out = static_cast<char*> (destination);
    int done = 0;
    const auto headerSize = static_cast<juce::int64> (header.getSize());
    if (position < headerSize && bytes > 0)
    {
        const int fromHeader = static_cast<int> (std::min<juce::int64> (bytes, headerSize - position));
        std::copy_n (static_cast<const char*> (header.getData()) + position, fromHeader, out);
        done += fromHeader;
        position += fromHeader;
    }
    const int fromData = static_cast<int> (std::min<juce::int64> (bytes - done, getTotalLength() - position));
    if (fromData > 0 && file->setPosition (dataStart + position - headerSize))
    {
        const int got = std::max (0, file->read (out + done, fromData));
        done += got;
        position += got;
    }
    return done;
}

juce::int64 PlainWavView::getPosition()
{
    return position;
}

bool PlainWavView::setPosition (juce::int64 newPosition)
{
    position = std::clamp<juce::int64> (newPosition, 0, getTotalLength());
    return true;
}
