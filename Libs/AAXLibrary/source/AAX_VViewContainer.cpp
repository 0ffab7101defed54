#include "AAX_VViewContainer.h"

#include "AAX_Errors.h"
#include "AAX_HostObjects.h"
#include "AAX_IACFViewContainer.h"

AAX_VViewContainer::AAX_VViewContainer (IACFUnknown* container)
    : mContainer (AAX_QueryHostInterface<AAX_IACFViewContainer> (container, AAX_IID_ViewContainer))
    , mContainerV2 (AAX_QueryHostInterface<AAX_IACFViewContainer_V2> (container, AAX_IID_ViewContainer_V2))
{
}

AAX_VViewContainer::~AAX_VViewContainer()
{
    // By the host's contract the container's references are not released here.
    mContainerV2 = nullptr;
    mContainer = nullptr;
}

int32_t AAX_VViewContainer::ViewType()
{
    return mContainer != nullptr ? mContainer->GetType() : 0;
}

void* AAX_VViewContainer::NativeView()
{
    return mContainer != nullptr ? mContainer->GetPtr() : nullptr;
}

AAX_Result AAX_VViewContainer::KeyModifiers (uint32_t* modifiers)
{
    return mContainer != nullptr ? mContainer->GetModifiers (modifiers) : AAX_ERROR_UNIMPLEMENTED;
}

int32_t AAX_VViewContainer::ViewContainerQuery (uint32_t value)
{
    return mContainer != nullptr ? mContainer->ViewContainerQuery6 (value) : 0;
}

AAX_Result AAX_VViewContainer::HandleParameterMouseDown (AAX_CParamID parameterId, uint32_t modifiers)
{
    return mContainer != nullptr ? mContainer->HandleParameterMouseDown (parameterId, modifiers)
                                 : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VViewContainer::HandleParameterMouseDrag (AAX_CParamID parameterId, uint32_t modifiers)
{
    return mContainer != nullptr ? mContainer->HandleParameterMouseDrag (parameterId, modifiers)
                                 : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VViewContainer::HandleParameterMouseUp (AAX_CParamID parameterId, uint32_t modifiers)
{
    return mContainer != nullptr ? mContainer->HandleParameterMouseUp (parameterId, modifiers)
                                 : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VViewContainer::ViewContainerCall10 (void* data)
{
    return mContainerV2 != nullptr ? mContainerV2->ViewContainerCall10 (data) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VViewContainer::ViewContainerCall11 (void* data)
{
    return mContainerV2 != nullptr ? mContainerV2->ViewContainerCall11 (data) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VViewContainer::ViewContainerCall12 (void* data)
{
    return mContainerV2 != nullptr ? mContainerV2->ViewContainerCall12 (data) : AAX_ERROR_UNIMPLEMENTED;
}
