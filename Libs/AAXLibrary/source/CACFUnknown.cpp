#include "CACFUnknown.h"

#include "AAX_InterfaceIDs.h"

namespace
{
// Live components of the process; incremented and decremented from any host thread.
std::atomic<int32_t> activeObjectCount{ 0 };
} // namespace

CACFUnknown::CACFUnknown()
    : mControllingUnknown (&mPrivateUnknown)
    , mPrivateUnknown (*this)
{
    activeObjectCount.fetch_add (1, std::memory_order_relaxed);
}

CACFUnknown::~CACFUnknown()
{
    activeObjectCount.fetch_sub (1, std::memory_order_relaxed);
}

int32_t CACFUnknown::GetActiveObjectCount() noexcept
{
    return activeObjectCount.load (std::memory_order_relaxed);
}

ACFRESULT CACFUnknown::InitializeInstance()
{
    return ACF_OK;
}

void CACFUnknown::FinalRelease() {}

void CACFUnknown::DeleteThis()
{
    delete this;
}

ACFRESULT CACFUnknown::InternalQueryInterface (const AAX_GUID& interfaceId, void** interfaceOut)
{
    if (interfaceOut == nullptr)
        return ACF_E_NOINTERFACE;

    *interfaceOut = nullptr;
    if (interfaceId == IID_IACFUnknown)
    {
        *interfaceOut = &mPrivateUnknown;
        mPrivateUnknown.AddRef();
        return ACF_OK;
    }
    return ACF_E_NOINTERFACE;
}

uint32_t CACFUnknown::InternalAddRef()
{
    return static_cast<uint32_t> (mReferenceCount.fetch_add (1, std::memory_order_relaxed) + 1);
}

uint32_t CACFUnknown::InternalRelease()
{
    // acq_rel so that every earlier use of the object happens before its deletion.
    const int32_t remaining = mReferenceCount.fetch_sub (1, std::memory_order_acq_rel) - 1;
    if (remaining == 0)
    {
        FinalRelease();
        DeleteThis();
    }
    return static_cast<uint32_t> (remaining);
}

ACFRESULT CACFUnknown::PrivateUnknown::QueryInterface (const AAX_GUID& interfaceId, void** interfaceOut)
{
    return mOwner.InternalQueryInterface (interfaceId, interfaceOut);
}

uint32_t CACFUnknown::PrivateUnknown::AddRef()
{
    return mOwner.InternalAddRef();
}

uint32_t CACFUnknown::PrivateUnknown::Release()
{
    return mOwner.InternalRelease();
}
