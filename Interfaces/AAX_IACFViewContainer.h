#pragma once

#include "AAX.h"
#include "IACFUnknown.h"

/** The host's view container (the window the editor is placed in), versions 1 and 2. */
class AAX_IACFViewContainer : public IACFUnknown
{
public:
    virtual int32_t GetType() = 0;                                                                  // 3
    virtual void* GetPtr() = 0;                                                                     // 4
    virtual AAX_Result GetModifiers (uint32_t* modifiers) = 0;                                      // 5
    virtual int32_t ViewContainerQuery6 (uint32_t value) = 0;                                       // 6
    virtual AAX_Result HandleParameterMouseDown (AAX_CParamID parameterId, uint32_t modifiers) = 0; // 7
    virtual AAX_Result HandleParameterMouseDrag (AAX_CParamID parameterId, uint32_t modifiers) = 0; // 8
    virtual AAX_Result HandleParameterMouseUp (AAX_CParamID parameterId, uint32_t modifiers) = 0;   // 9

protected:
    ~AAX_IACFViewContainer() = default;
};

class AAX_IACFViewContainer_V2 : public AAX_IACFViewContainer
{
public:
    virtual AAX_Result ViewContainerCall10 (void* data) = 0; // 10
    virtual AAX_Result ViewContainerCall11 (void* data) = 0; // 11
    virtual AAX_Result ViewContainerCall12 (void* data) = 0; // 12

protected:
    ~AAX_IACFViewContainer_V2() = default;
};
