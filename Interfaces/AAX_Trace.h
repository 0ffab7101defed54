#pragma once

#include "AAX.h"

/** Priorities that the layer traces at. */
constexpr uint32_t AAX_TRACE_PRIORITY_CHECKED_RESULT = 0x4000000;
constexpr uint32_t AAX_TRACE_PRIORITY_ERROR = 0x8000000;

/** Formats the message with the C printf rules (cut to 511 characters) and hands it to the
    host's trace service. Answers the host's result, or 0 while there are no host services. */
AAX_Result AAX_Trace (uint32_t priority, const char* format, ...) noexcept
#if defined(__GNUC__)
    __attribute__ ((format (printf, 2, 3)))
#endif
    ;
