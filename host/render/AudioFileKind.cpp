#include "AudioFileKind.h"

#include "WavHeader.h"

#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace
{
constexpr size_t headerBytes = 4096;

bool startsWith (const std::vector<unsigned char>& bytes, const char* text, size_t offset = 0)
{
    const size_t length = std::strlen (text);
    return bytes.size() >= offset + length && std::memcmp (bytes.data() + offset, text, length) == 0;
}

// The format as the header check reads it, from the bytes at hand.
std::string describeWaveFormat (const std::vector<unsigned char>& bytes)
{
    juce::MemoryInputStream stream (bytes.data(), bytes.size(), false);
    WavLayout layout;
    std::string reason;
    checkWavHeader (stream, layout, reason);
    if (! layout.hasFormat)
        return "a WAV file without a usable format chunk";
    return describeWavEncoding (layout.formatTag, layout.statedBits);
}
} // namespace

std::string describeWavEncoding (unsigned formatTag, unsigned bitsPerSample)
{
    const std::string depth = std::to_string (bitsPerSample) + "-bit";
    switch (formatTag)
    {
        case 1:
            return "a WAV file of " + depth + " integer samples";
        case 3:
            return "a WAV file of " + depth + " floating-point samples";
        case 2:
        case 0x11:
            return "a WAV file of ADPCM-compressed audio";
        case 6:
            return "a WAV file of A-law audio";
        case 7:
            return "a WAV file of mu-law audio";
        case 0x55:
            return "a WAV file of MP3 audio";
        default:
            return "a WAV file of audio in format " + std::to_string (formatTag);
    }
}

std::string describeUnreadableAudioFile (const std::string& path)
{
    std::vector<unsigned char> bytes (headerBytes);
    const int descriptor = ::open (path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return {};
    const ssize_t got = ::read (descriptor, bytes.data(), bytes.size());
    ::close (descriptor);
    bytes.resize (got > 0 ? static_cast<size_t> (got) : 0);

    if ((startsWith (bytes, "RIFF") || startsWith (bytes, "RF64")) && startsWith (bytes, "WAVE", 8))
        return describeWaveFormat (bytes);
    if (startsWith (bytes, "fLaC"))
        return "a FLAC file that cannot be decoded";
    if (startsWith (bytes, "FORM") && (startsWith (bytes, "AIFF", 8) || startsWith (bytes, "AIFC", 8)))
        return "an AIFF file";
    if (startsWith (bytes, "OggS"))
        return "an Ogg file";
    if (startsWith (bytes, "caff"))
        return "a Core Audio file";
    if (startsWith (bytes, "ID3") || (bytes.size() >= 2 && bytes[0] == 0xFF && (bytes[1] & 0xE0) == 0xE0))
        return "an MP3 file";
    if (startsWith (bytes, "ftyp", 4))
        return "an MPEG-4 file";
    return {};
}
