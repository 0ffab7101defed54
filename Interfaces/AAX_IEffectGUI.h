#pragma once

#include "AAX_IACFEffectGUI.h"

/** The plug-in's GUI interface: the host-facing interface, followed by the operations that only
    the GUI object itself calls. */
class AAX_IEffectGUI : public AAX_IACFEffectGUI
{
public:
    /** 13: creates the editor's content once the host services are known. */
    virtual void BuildViewContents() = 0;
    /** 14: puts the editor into the host's view. */
    virtual void AttachView() = 0;
    /** 15: takes the editor out of the host's view. */
    virtual void DetachView() = 0;
    /** 16: calls OnParameterUpdated for every parameter of the effect, in index order. */
    virtual void NotifyAllParametersUpdated() = 0;

protected:
    ~AAX_IEffectGUI() = default;
};
