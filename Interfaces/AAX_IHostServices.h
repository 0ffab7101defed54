#pragma once

#include "AAX.h"

/** The plug-in's view of the host's process-wide services (trace and assertion reports).
    The wrapper over the host's interfaces implements it.

    A numbered operation carries the number of the host interface's slot that it forwards to;
    the comment after it gives its position here. */
class AAX_IHostServices
{
public:
    virtual ~AAX_IHostServices() = default;

    /** 1: reports a failed assertion: source file, line, expression text and a flag (always 1). */
    virtual AAX_Result ReportAssertion (const char* file, int32_t line, const char* expression, int32_t flags) = 0;
    /** 2: hands one formatted trace message to the host. */
    virtual AAX_Result Trace (uint32_t priority, const char* message) = 0;
    /** 3: a further host-services call that this plug-in does not make; forwarded unchanged. */
    virtual AAX_Result HostServicesCall5 (void* argument) = 0;
};
