#include "HostViewContainer.h"

#include "AAX_Errors.h"
#include "AAX_IViewContainer.h"
#include "AAX_InterfaceIDs.h"

HostViewContainer::HostViewContainer (uintptr_t nativeWindow)
    : window (nativeWindow)
{
}

void* HostViewContainer::findInterface (const AAX_GUID& interfaceId) noexcept
{
    if (interfaceId == IID_IACFUnknown || interfaceId == AAX_IID_ViewContainer)
        return static_cast<AAX_IACFViewContainer*> (this);
    if (interfaceId == AAX_IID_ViewContainer_V2)
        return static_cast<AAX_IACFViewContainer_V2*> (this);
    return nullptr;
}

ACFRESULT HostViewContainer::QueryInterface (const AAX_GUID& interfaceId, void** interfaceOut)
{
    if (interfaceOut == nullptr)
        return ACF_E_NOINTERFACE;
    *interfaceOut = findInterface (interfaceId);
    if (*interfaceOut == nullptr)
        return ACF_E_NOINTERFACE;
    heldReferences.fetch_add (1);
    return ACF_OK;
}

uint32_t HostViewContainer::AddRef()
{
    return static_cast<uint32_t> (heldReferences.fetch_add (1) + 1);
}

uint32_t HostViewContainer::Release()
{
    return static_cast<uint32_t> (heldReferences.fetch_sub (1) - 1);
}

int32_t HostViewContainer::GetType()
{
    return AAX_ViewContainerType_NativeWindow;
}

void* HostViewContainer::GetPtr()
{
    return reinterpret_cast<void*> (window);
}

AAX_Result HostViewContainer::GetModifiers (uint32_t* modifiers)
{
    if (modifiers == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    *modifiers = 0;
    return AAX_SUCCESS;
}

int32_t HostViewContainer::ViewContainerQuery6 (uint32_t)
{
    return 0;
}

AAX_Result HostViewContainer::HandleParameterMouseDown (AAX_CParamID, uint32_t)
{
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result HostViewContainer::HandleParameterMouseDrag (AAX_CParamID, uint32_t)
{
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result HostViewContainer::HandleParameterMouseUp (AAX_CParamID, uint32_t)
{
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result HostViewContainer::ViewContainerCall10 (void*)
{
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result HostViewContainer::ViewContainerCall11 (void*)
{
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result HostViewContainer::ViewContainerCall12 (void*)
{
    return AAX_ERROR_UNIMPLEMENTED;
}
