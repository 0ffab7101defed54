#pragma once

#include "AAX.h"
#include "IACFUnknown.h"

/** The size of the plug-in's view, height first. */
struct AAX_ViewSize
{
    float height = 0.0f;
    float width = 0.0f;
};

/** The GUI object as the host calls it. The numbers are the operations' places counted from
    QueryInterface. Calls that the plug-in answers with a fixed result carry the stand-in host's own
    argument lists and are named by their place. */
class AAX_IACFEffectGUI : public IACFUnknown
{
public:
    virtual AAX_Result InitializeWithHost (IACFUnknown* hostUnknown) = 0; // 3
    virtual AAX_Result TearDown() = 0;                                    // 4
    /** The stand-in host calls this periodically on its main thread while a view is attached. */
    virtual AAX_Result GUICall5() = 0;                                                                    // 5
    virtual AAX_Result SetViewContainer (IACFUnknown* container) = 0;                                     // 6
    virtual AAX_Result ReportViewSize (AAX_ViewSize* size) = 0;                                           // 7
    virtual AAX_Result GUICall8 (void* data) = 0;                                                         // 8
    virtual AAX_Result GUICall9 (void* data) = 0;                                                         // 9
    virtual AAX_Result OnParameterUpdated (AAX_CParamID identifier) = 0;                                  // 10
    virtual AAX_Result GUICall11 (void* data) = 0;                                                        // 11
    virtual AAX_Result HighlightControl (AAX_CParamID identifier, bool highlighted, uint32_t colour) = 0; // 12

protected:
    ~AAX_IACFEffectGUI() = default;
};
