#include "AAX_Trace.h"

#include "AAX_HostServicesInstance.h"

#include <cstdarg>
#include <cstdio>

AAX_Result AAX_Trace (uint32_t priority, const char* format, ...) noexcept
{
    AAX_IHostServices* const services = AAX_HostServicesInstance::Get();
    if (services == nullptr)
        return 0;

    // Longer messages are cut to the buffer, never written past it.
    char message[512] = {};
    if (format != nullptr)
    {
        va_list arguments;
        va_start (arguments, format);
        if (std::vsnprintf (message, sizeof (message), format, arguments) < 0)
            message[0] = '\0';
        va_end (arguments);
    }

    return services->Trace (priority, message);
}
