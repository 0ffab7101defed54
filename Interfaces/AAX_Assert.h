#pragma once

#include <cstdint>

/** A place where an assertion can fail, with the texts the host receives. */
struct AAX_AssertionSite
{
    const char* file;
    int32_t line;
    const char* expression;
};

/** Reports a failed assertion to the host (file, line, expression, 1). Does nothing while there
    are no host services. Never throws and never stops the plug-in. */
void AAX_ReportAssertion (const AAX_AssertionSite& site) noexcept;

/** Checks the condition and reports the site when it is false; answers the condition. */
inline bool AAX_CheckAssertion (bool condition, const AAX_AssertionSite& site) noexcept
{
    if (! condition)
        AAX_ReportAssertion (site);
    return condition;
}

/** The assertion sites of the layer. The host sees the source paths of the original build, so
    they are fixed texts rather than this build's file names. */
namespace AAX_AssertionSites
{
constexpr AAX_AssertionSite ParameterIdentifierTooLong{ "AAX_SDK_2p3p2\\Interfaces\\AAX_CParameter.h", 193,
                                                        "len < eParemeterDefaultMaxIdentifierSize" };
constexpr AAX_AssertionSite ParameterStepCountZero{ "AAX_SDK_2p3p2\\Interfaces\\AAX_CParameter.h", 833,
                                                    "0 < numSteps" };
constexpr AAX_AssertionSite ChunkedParameterCountNegative{
    "AAX_SDK_2p3p2\\Libs\\AAXLibrary\\source\\AAX_CEffectParameters.cpp", 128, "mNumChunkedParameters >= 0"
};
constexpr AAX_AssertionSite ChunkCompareMissingParameter{
    "AAX_SDK_2p3p2\\Libs\\AAXLibrary\\source\\AAX_CEffectParameters.cpp", 667, "NULL != parameter"
};
constexpr AAX_AssertionSite ChunkBuildMissingParameter{
    "AAX_SDK_2p3p2\\Libs\\AAXLibrary\\source\\AAX_CEffectParameters.cpp", 815, "NULL != parameter"
};
} // namespace AAX_AssertionSites
