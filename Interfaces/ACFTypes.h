#pragma once

#include <cstdint>

// Types of the host's component model.

/** Result of a component-model call: always 32 bits, whatever the width of long. */
using ACFRESULT = int32_t;

constexpr ACFRESULT ACF_OK = 0;
/** An exception escaped an exported entry point (0x8000FFFF). */
constexpr ACFRESULT ACF_E_UNEXPECTED = static_cast<int32_t> (0x8000FFFFu);
/** The object does not offer the asked-for interface (0x80000004). */
constexpr ACFRESULT ACF_E_NOINTERFACE = static_cast<int32_t> (0x80000004u);

/** A 128-bit interface or class identifier, compared field by field. */
struct AAX_GUID
{
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    uint8_t data4[8];
};

constexpr bool operator== (const AAX_GUID& a, const AAX_GUID& b) noexcept
{
    if (a.data1 != b.data1 || a.data2 != b.data2 || a.data3 != b.data3)
        return false;
    for (int i = 0; i < 8; ++i)
        if (a.data4[i] != b.data4[i])
            return false;
    return true;
}

constexpr bool operator!= (const AAX_GUID& a, const AAX_GUID& b) noexcept
{
    return ! (a == b);
}
