#pragma once

#include "AAX_IViewContainer.h"

class AAX_IACFViewContainer;
class AAX_IACFViewContainer_V2;
class IACFUnknown;

/** Forwards to the host's view container. The host keeps the container alive while it is
    attached, so the wrapper never releases the interfaces it was given. */
class AAX_VViewContainer final : public AAX_IViewContainer
{
public:
    explicit AAX_VViewContainer (IACFUnknown* container);
    ~AAX_VViewContainer() override;

    AAX_VViewContainer (const AAX_VViewContainer&) = delete;
    AAX_VViewContainer& operator= (const AAX_VViewContainer&) = delete;

    int32_t ViewType() override;
    void* NativeView() override;
    AAX_Result KeyModifiers (uint32_t* modifiers) override;
    int32_t ViewContainerQuery (uint32_t value) override;
    AAX_Result HandleParameterMouseDown (AAX_CParamID parameterId, uint32_t modifiers) override;
    AAX_Result HandleParameterMouseDrag (AAX_CParamID parameterId, uint32_t modifiers) override;
    AAX_Result HandleParameterMouseUp (AAX_CParamID parameterId, uint32_t modifiers) override;
    AAX_Result ViewContainerCall10 (void* data) override;
    AAX_Result ViewContainerCall11 (void* data) override;
    AAX_Result ViewContainerCall12 (void* data) override;

private:
    AAX_IACFViewContainer* mContainer = nullptr;
    AAX_IACFViewContainer_V2* mContainerV2 = nullptr;
};
