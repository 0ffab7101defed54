#include "HostComponent.h"

namespace
{
std::atomic<int32_t> liveObjects{ 0 };
}

HostComponent::HostComponent() noexcept
{
    liveObjects.fetch_add (1);
}

HostComponent::~HostComponent()
{
    liveObjects.fetch_sub (1);
}

uint32_t HostComponent::addReference() noexcept
{
    return references.fetch_add (1) + 1;
}

uint32_t HostComponent::releaseReference() noexcept
{
    const uint32_t remaining = references.fetch_sub (1) - 1;
    if (remaining == 0)
        delete this;
    return remaining;
}

ACFRESULT HostComponent::queryInterface (const AAX_GUID& interfaceId, void** interfaceOut) noexcept
{
    if (interfaceOut == nullptr)
        return ACF_E_NOINTERFACE;
    *interfaceOut = findInterface (interfaceId);
    if (*interfaceOut == nullptr)
        return ACF_E_NOINTERFACE;
    addReference();
    return ACF_OK;
}

int32_t HostComponent::liveObjectCount() noexcept
{
    return liveObjects.load();
}
