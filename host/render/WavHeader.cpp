#include "WavHeader.h"

#include <algorithm>
#include <cstring>

namespace
{
constexpr unsigned pcmTag = 1;
constexpr unsigned floatTag = 3;
constexpr unsigned extensibleTag = 0xFFFE;
constexpr uint32_t basicFormatBytes = 16;
constexpr uint32_t extensibleFormatBytes = 40;

// The tail that follows the tag in an extensible sub-format: the standard one, and the ambisonic
// one, which JUCE takes as well.
constexpr unsigned char standardSubFormat[12] = {
    0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71
};
constexpr unsigned char ambisonicSubFormat[12] = { 0x21, 0x07, 0xD3, 0x11, 0x86, 0x44,
                                                   0xC8, 0xC1, 0xCA, 0x00, 0x00, 0x00 };

uint32_t word (const unsigned char* p)
{
    return static_cast<uint32_t> (p[0]) | static_cast<uint32_t> (p[1]) << 8 | static_cast<uint32_t> (p[2]) << 16 |
           static_cast<uint32_t> (p[3]) << 24;
}

unsigned half (const unsigned char* p)
{
    return static_cast<unsigned> (p[0]) | static_cast<unsigned> (p[1]) << 8;
}

uint64_t longWord (const unsigned char* p)
{
    return static_cast<uint64_t> (word (p)) | static_cast<uint64_t> (word (p + 4)) << 32;
}

bool readAt (juce::InputStream& stream, int64_t offset, unsigned char* bytes, int count)
{
    return stream.setPosition (offset) && stream.read (bytes, count) == count;
}

bool isId (const unsigned char* p, const char* id)
{
    return std::memcmp (p, id, 4) == 0;
}

// The format chunk's fields; false with the reason when they cannot describe any samples.
bool readFormat (const unsigned char* format, uint32_t size, WavLayout& layout, std::string& reason)
{
    if (size < basicFormatBytes)
    {
        reason = "the format chunk has " + std::to_string (size) + " bytes, fewer than 16";
        return false;
    }
    layout.hasFormat = true;
    layout.formatTag = half (format);
    layout.channels = half (format + 2);
    layout.sampleRate = word (format + 4);
    layout.blockAlign = half (format + 12);
    layout.statedBits = half (format + 14);
    if (layout.formatTag == extensibleTag)
    {
        if (size < extensibleFormatBytes)
        {
            reason = "the extensible format chunk has " + std::to_string (size) + " bytes, fewer than 40";
            return false;
        }
        const unsigned char* subFormat = format + 24;
        const bool known = half (subFormat + 2) == 0 && (std::memcmp (subFormat + 4, standardSubFormat, 12) == 0 ||
                                                         std::memcmp (subFormat + 4, ambisonicSubFormat, 12) == 0);
        if (known)
            layout.formatTag = half (subFormat);
        layout.validBits = half (format + 18);
    }
    layout.floatingPoint = layout.formatTag == floatTag;
    return true;
}

// Integer and floating-point samples only: the fields must agree with each other.
bool checkSampleFields (WavLayout& layout, std::string& reason)
{
    const unsigned bits = layout.statedBits;
    if (layout.channels == 0)
        reason = "the channel count is 0";
    else if (layout.sampleRate == 0)
        reason = "the sample rate is 0";
    else if (bits == 0)
        reason = "the sample size is 0 bits";
    else if (layout.floatingPoint && bits != 32 && bits != 64)
        reason = "the floating-point sample size is " + std::to_string (bits) + " bits, not 32 or 64";
    else if (! layout.floatingPoint && bits > 32)
        reason = "the sample size is " + std::to_string (bits) + " bits, more than 32";
    else if (layout.blockAlign != layout.channels * ((bits + 7) / 8))
        reason = "block align is " + std::to_string (layout.blockAlign) + " for " + std::to_string (layout.channels) +
                 (layout.channels == 1 ? " channel of " : " channels of ") + std::to_string (bits) + "-bit samples";
    // Valid bits beyond the stated size contradict it; fewer lie in the container's high bits.
    else if (layout.validBits > bits)
        reason = std::to_string (layout.validBits) + " valid bits in " + std::to_string (bits) + "-bit samples";
    if (! reason.empty())
        return false;
    layout.containerBits = layout.blockAlign / layout.channels * 8;
    return true;
}
} // namespace

WavHeaderCheck checkWavHeader (juce::InputStream& stream, WavLayout& layout, std::string& reason)
{
    layout = {};
    reason.clear();
    unsigned char riff[12];
    if (! readAt (stream, 0, riff, sizeof (riff)) || ! (isId (riff, "RIFF") || isId (riff, "RF64")) ||
        ! isId (riff + 8, "WAVE"))
        return WavHeaderCheck::notWav;

    const int64_t fileLength = stream.getTotalLength();
    int64_t offset = sizeof (riff);
    unsigned char chunk[8];

    // RF64 keeps the real sizes in a chunk of its own, first after the form type.
    const bool rf64 = isId (riff, "RF64");
    uint64_t rf64DataBytes = 0;
    if (rf64)
    {
        unsigned char sizes[8 + 16];
        if (! readAt (stream, offset, sizes, sizeof (sizes)) || ! isId (sizes, "ds64") || word (sizes + 4) < 28)
        {
            reason = "the RF64 file has no ds64 chunk with its sizes";
            return WavHeaderCheck::damaged;
        }
        rf64DataBytes = longWord (sizes + 16);
        const uint32_t size = word (sizes + 4);
        offset += 8 + static_cast<int64_t> (size) + (size & 1);
    }

    bool haveFormat = false, haveData = false;
    while (! (haveFormat && haveData) && offset + 8 <= fileLength && readAt (stream, offset, chunk, sizeof (chunk)))
    {
        const uint32_t size = word (chunk + 4);
        const int64_t body = offset + 8;
        if (isId (chunk, "fmt ") && ! haveFormat)
        {
            if (body + size > fileLength)
            {
                reason = "the format chunk runs past the end of the file";
                return WavHeaderCheck::damaged;
            }
            unsigned char format[extensibleFormatBytes] = {};
            const int wanted = static_cast<int> (std::min (size, extensibleFormatBytes));
            if (! readAt (stream, body, format, wanted) || ! readFormat (format, size, layout, reason))
            {
                if (reason.empty())
                    reason = "the format chunk cannot be read";
                return WavHeaderCheck::damaged;
            }
            haveFormat = true;
        }
        else if (isId (chunk, "data") && ! haveData)
        {
            layout.dataStart = body;
            layout.dataBytes = rf64 && size == 0xFFFFFFFF ? rf64DataBytes : size;
            haveData = true;
            // Audio that reaches the end of the file leaves nothing after it to look at.
            if (layout.dataBytes >= static_cast<uint64_t> (fileLength - body))
                break;
            offset = body + static_cast<int64_t> (layout.dataBytes + (layout.dataBytes & 1));
            continue;
        }
        offset = body + static_cast<int64_t> (size) + (size & 1);
    }

    if (! haveFormat)
        reason = "there is no format chunk";
    else if (layout.formatTag != pcmTag && layout.formatTag != floatTag)
        return WavHeaderCheck::otherEncoding;
    else if (! checkSampleFields (layout, reason))
        return WavHeaderCheck::damaged;
    else if (! haveData)
        reason = "there is no data chunk";
    else if (layout.dataBytes % layout.blockAlign != 0)
        reason = "the data size of " + std::to_string (layout.dataBytes) + " bytes is not a whole number of " +
                 std::to_string (layout.blockAlign) + "-byte frames";
    if (! reason.empty())
        return WavHeaderCheck::damaged;
    if (layout.floatingPoint && layout.statedBits == 64)
        return WavHeaderCheck::otherEncoding;
    return WavHeaderCheck::readable;
}
