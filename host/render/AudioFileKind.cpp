#include "AudioFileKind.h"

#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace
{
constexpr size_t headerBytes = 4096;

uint32_t word (const unsigned char* p)
{
    return static_cast<uint32_t> (p[0]) | static_cast<uint32_t> (p[1]) << 8 | static_cast<uint32_t> (p[2]) << 16 |
           static_cast<uint32_t> (p[3]) << 24;
}

unsigned half (const unsigned char* p)
{
    return static_cast<unsigned> (p[0]) | static_cast<unsigned> (p[1]) << 8;
}

bool startsWith (const std::vector<unsigned char>& bytes, const char* text, size_t offset = 0)
{
    const size_t length = std::strlen (text);
    return bytes.size() >= offset + length && std::memcmp (bytes.data() + offset, text, length) == 0;
}

std::string describeWaveFormat (const std::vector<unsigned char>& bytes)
{
    // Chunks follow the 12-byte RIFF header; only the format chunk matters here.
    size_t offset = 12;
    while (offset + 8 <= bytes.size())
    {
        const uint32_t size = word (bytes.data() + offset + 4);
        if (std::memcmp (bytes.data() + offset, "fmt ", 4) == 0 && offset + 8 + 16 <= bytes.size())
        {
            const unsigned char* format = bytes.data() + offset + 8;
            unsigned tag = half (format);
            const unsigned bits = half (format + 14);
            // The extensible form keeps the real tag at the start of its sub-format.
            if (tag == 0xFFFE && size >= 40 && offset + 8 + 26 <= bytes.size())
                tag = half (format + 24);
            return describeWavEncoding (tag, bits);
        }
        offset += 8 + size + (size & 1);
    }
    return "a WAV file without a usable format chunk";
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
