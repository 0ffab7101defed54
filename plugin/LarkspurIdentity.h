#pragma once

#include "AAX_Properties.h"

#include <cstdint>

/** What the plug-in tells the host about itself when it registers. */
namespace LarkspurIdentity
{
constexpr const char* effectId = "com.KorvelAudioTools.Larkspur";
constexpr const char* manufacturerName = "Korvel Audio Tools";
constexpr const char* productName = "Larkspur";

/** The project's version, passed in by the build, as major << 16 | minor << 8 | patch. */
constexpr uint32_t packageVersion = (uint32_t (LARKSPUR_VERSION_MAJOR) << 16) |
                                    (uint32_t (LARKSPUR_VERSION_MINOR) << 8) | uint32_t (LARKSPUR_VERSION_PATCH);

constexpr uint32_t category = AAX_ePlugInCategory_EQ;

constexpr uint32_t fourCharacterCode (const char (&code)[5])
{
    return (static_cast<uint32_t> (static_cast<unsigned char> (code[0])) << 24) |
           (static_cast<uint32_t> (static_cast<unsigned char> (code[1])) << 16) |
           (static_cast<uint32_t> (static_cast<unsigned char> (code[2])) << 8) |
           static_cast<uint32_t> (static_cast<unsigned char> (code[3]));
}

constexpr uint32_t manufacturerId = fourCharacterCode ("KRVL");
constexpr uint32_t productId = fourCharacterCode ("LKSP");

/** One component per channel layout. Each needs a plug-in type identifier of its own that stays
    fixed from release to release, because hosts store it in their sessions. */
struct ChannelLayout
{
    const char* name;
    AAX_CPropertyValue inputStemFormat;
    AAX_CPropertyValue outputStemFormat;
    uint32_t plugInTypeId;
};

constexpr ChannelLayout channelLayouts[] = {
    { "mono", AAX_eStemFormat_Mono, AAX_eStemFormat_Mono, fourCharacterCode ("LKm1") },
    { "stereo", AAX_eStemFormat_Stereo, AAX_eStemFormat_Stereo, fourCharacterCode ("LKs2") },
};
} // namespace LarkspurIdentity
