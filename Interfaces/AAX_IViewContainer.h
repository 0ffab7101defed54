#pragma once

#include "AAX.h"

/** The view type of a container that holds a native window handle: on Linux an X11 window id. */
constexpr int32_t AAX_ViewContainerType_NativeWindow = 3;

/** The plug-in's view of the host window that the editor is placed in.

    A numbered operation carries the number of the host interface's slot that it forwards to;
    the comment after it gives its position here. */
class AAX_IViewContainer
{
public:
    virtual ~AAX_IViewContainer() = default;

    virtual int32_t ViewType() = 0;                                                                 // 1
    virtual void* NativeView() = 0;                                                                 // 2
    virtual AAX_Result KeyModifiers (uint32_t* modifiers) = 0;                                      // 3
    virtual int32_t ViewContainerQuery (uint32_t value) = 0;                                        // 4
    virtual AAX_Result HandleParameterMouseDown (AAX_CParamID parameterId, uint32_t modifiers) = 0; // 5
    virtual AAX_Result HandleParameterMouseDrag (AAX_CParamID parameterId, uint32_t modifiers) = 0; // 6
    virtual AAX_Result HandleParameterMouseUp (AAX_CParamID parameterId, uint32_t modifiers) = 0;   // 7
    virtual AAX_Result ViewContainerCall10 (void* data) = 0;                                        // 8
    virtual AAX_Result ViewContainerCall11 (void* data) = 0;                                        // 9
    virtual AAX_Result ViewContainerCall12 (void* data) = 0;                                        // 10
};
