#include "AudioFileKind.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace
{
namespace fs = std::filesystem;

std::string le (uint32_t value, int bytes)
{
    std::string text;
    for (int i = 0; i < bytes; ++i)
        text += static_cast<char> ((value >> (8 * i)) & 0xFF);
    return text;
}

std::string chunk (const std::string& id, const std::string& body)
{
    return id + le (static_cast<uint32_t> (body.size()), 4) + body +
           (body.size() % 2 != 0 ? std::string (1, '\0') : "");
}

// A format chunk's 16 basic bytes for stereo at 44.1 kHz.
std::string basicFormat (unsigned tag, unsigned bits)
{
    const unsigned align = 2 * ((bits + 7) / 8);
    return le (tag, 2) + le (2, 2) + le (44100, 4) + le (44100 * align, 4) + le (align, 2) + le (bits, 2);
}

// The extensible form: the real tag heads the standard sub-format.
std::string extensibleFormat (unsigned subTag, unsigned bits)
{
    const std::string guidTail ("\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 12);
    return basicFormat (0xFFFE, bits) + le (22, 2) + le (bits, 2) + le (3, 4) + le (subTag, 2) + le (0, 2) + guidTail;
}

std::string riff (const std::string& chunks)
{
    return "RIFF" + le (static_cast<uint32_t> (4 + chunks.size()), 4) + "WAVE" + chunks;
}

const std::string someAudio = chunk ("data", std::string (64, '\0'));

class AudioFileKindTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/larkspur-kind-XXXXXX";
        ASSERT_NE (mkdtemp (pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override { fs::remove_all (folder); }

    std::string describe (const std::string& bytes)
    {
        const auto path = (folder / "file").string();
        std::ofstream (path, std::ios::binary | std::ios::trunc) << bytes;
        return describeUnreadableAudioFile (path);
    }

    fs::path folder;
};
} // namespace

TEST_F (AudioFileKindTest, WavFilesAreNamedByTheFormatTheirHeaderGives)
{
    const std::string rf64Sizes =
        chunk ("ds64", le (0, 4) + le (0, 4) + le (64, 4) + le (0, 4) + le (0, 4) + le (0, 4) + le (0, 4));
    const std::pair<std::string, std::string> cases[] = {
        { riff (chunk ("fmt ", basicFormat (1, 16)) + someAudio), "a WAV file of 16-bit integer samples" },
        { riff (chunk ("fmt ", basicFormat (3, 64)) + someAudio), "a WAV file of 64-bit floating-point samples" },
        { riff (chunk ("fmt ", basicFormat (0x55, 0)) + someAudio), "a WAV file of MP3 audio" },
        { riff (chunk ("fmt ", basicFormat (0x11, 4)) + someAudio), "a WAV file of ADPCM-compressed audio" },
        { riff (chunk ("fmt ", basicFormat (0x161, 16)) + someAudio), "a WAV file of audio in format 353" },
        { riff (chunk ("fmt ", extensibleFormat (3, 64)) + someAudio), "a WAV file of 64-bit floating-point samples" },
        { riff (chunk ("LIST", std::string (301, 'x')) + chunk ("fmt ", basicFormat (7, 8)) + someAudio),
          "a WAV file of mu-law audio" },
        { "RF64" + le (0xFFFFFFFF, 4) + "WAVE" + rf64Sizes + chunk ("fmt ", basicFormat (6, 8)) + someAudio,
          "a WAV file of A-law audio" },
        { riff (someAudio), "a WAV file without a usable format chunk" },
        { riff (chunk ("fmt ", basicFormat (1, 16).substr (0, 14)) + someAudio),
          "a WAV file without a usable format chunk" },
        { riff (chunk ("LIST", std::string (5000, 'x')) + chunk ("fmt ", basicFormat (1, 16)) + someAudio),
          "a WAV file without a usable format chunk" },
    };
    for (const auto& [bytes, kind] : cases)
        EXPECT_EQ (describe (bytes), kind);
}

TEST_F (AudioFileKindTest, OtherFilesAreNamedByTheirFirstBytes)
{
    const std::pair<std::string, std::string> cases[] = {
        { "fLaC" + std::string (40, '\0'), "a FLAC file that cannot be decoded" },
        { "FORM" + le (4, 4) + "AIFF", "an AIFF file" },
        { "ID3\x03" + std::string (20, '\0'), "an MP3 file" },
        { "OggS" + std::string (20, '\0'), "an Ogg file" },
        { "this is not audio", "" },
        { "", "" },
    };
    for (const auto& [bytes, kind] : cases)
        EXPECT_EQ (describe (bytes), kind);
}
