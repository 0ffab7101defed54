#pragma once

#include "AAX_IHostServices.h"

/** The process-wide host-services object that traces and assertion reports go through. It is
    null while the library is not started. Any thread may read it. */
namespace AAX_HostServicesInstance
{
AAX_IHostServices* Get() noexcept;

/** Installs or clears the instance; the caller keeps ownership. */
void Set (AAX_IHostServices* services) noexcept;
} // namespace AAX_HostServicesInstance
