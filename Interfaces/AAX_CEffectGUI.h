#pragma once

#include "AAX_IEffectGUI.h"
#include "CACFUnknown.h"

#include <memory>

class AAX_IEffectParameters;
class AAX_ITransport;
class AAX_IViewContainer;
class AAX_VController;
class AAX_VTransport;
class AAX_VViewContainer;

/** The plug-in's GUI object: the host creates one per editor window, initialises it with its host
    unknown, hands it a view container whenever it shows the window (and null when it hides it), and
    tears it down. This base keeps the host services the editor side needs and tells the editor
    about every parameter when a view is attached; derived classes build, attach and detach the
    editor itself. Every call comes from the host's main thread. */
class AAX_CEffectGUI : public AAX_IEffectGUI, public CACFUnknown
{
public:
    AAX_CEffectGUI();
    ~AAX_CEffectGUI() override;

    AAX_CEffectGUI (const AAX_CEffectGUI&) = delete;
    AAX_CEffectGUI& operator= (const AAX_CEffectGUI&) = delete;

    AAX_FORWARD_UNKNOWN_TO_CONTROLLER

    ACFRESULT InternalQueryInterface (const AAX_GUID& interfaceId, void** interfaceOut) override;

    AAX_Result InitializeWithHost (IACFUnknown* hostUnknown) override;
    AAX_Result TearDown() override;
    /** Answers 0. */
    AAX_Result GUICall5() override;
    AAX_Result SetViewContainer (IACFUnknown* container) override;
    /** Answers 0 and leaves the size alone; derived classes report their editor's size. */
    AAX_Result ReportViewSize (AAX_ViewSize* size) override;
    /** Answer 0. */
    AAX_Result GUICall8 (void* data) override;
    AAX_Result GUICall9 (void* data) override;
    AAX_Result OnParameterUpdated (AAX_CParamID identifier) override;
    /** Answers -20004. */
    AAX_Result GUICall11 (void* data) override;
    AAX_Result HighlightControl (AAX_CParamID identifier, bool highlighted, uint32_t colour) override;

    /** Derived classes build, attach and detach the editor (BuildViewContents, AttachView,
        DetachView); the attached view is GetViewContainer(). */
    void NotifyAllParametersUpdated() override;

protected:
    AAX_VController* GetController() const noexcept { return mController.get(); }
    AAX_IEffectParameters* GetEffectParameters() const noexcept { return mEffectParameters; }
    AAX_IViewContainer* GetViewContainer() const noexcept;
    AAX_ITransport* Transport() const noexcept;

private:
    void ReleaseEffectParameters() noexcept;

    std::unique_ptr<AAX_VController> mController;
    /** Holds one reference. */
    AAX_IEffectParameters* mEffectParameters = nullptr;
    std::unique_ptr<AAX_VViewContainer> mViewContainer;
    std::unique_ptr<AAX_VTransport> mTransport;
};
