#include "AAX_HostServicesInstance.h"

#include <atomic>

namespace
{
// Read from any thread that calls into the plug-in (the audio thread included).
std::atomic<AAX_IHostServices*> instance{ nullptr };
} // namespace

namespace AAX_HostServicesInstance
{
AAX_IHostServices* Get() noexcept
{
    return instance.load (std::memory_order_acquire);
}

void Set (AAX_IHostServices* services) noexcept
{
    instance.store (services, std::memory_order_release);
}
} // namespace AAX_HostServicesInstance
