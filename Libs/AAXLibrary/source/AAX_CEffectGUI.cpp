#include "AAX_CEffectGUI.h"

#include "AAX_CString.h"
#include "AAX_Errors.h"
#include "AAX_IEffectParameters.h"
#include "AAX_InterfaceIDs.h"
#include "AAX_VController.h"
#include "AAX_VTransport.h"
#include "AAX_VViewContainer.h"

AAX_CEffectGUI::AAX_CEffectGUI() = default;

// A view container still attached here is deleted without detaching: the derived class, whose
// detach operation that would need, is already gone.
AAX_CEffectGUI::~AAX_CEffectGUI()
{
    mViewContainer.reset();
    ReleaseEffectParameters();
    mController.reset();
    mTransport.reset();
}

ACFRESULT AAX_CEffectGUI::InternalQueryInterface (const AAX_GUID& interfaceId, void** interfaceOut)
{
    if (interfaceOut != nullptr && interfaceId == AAX_IID_EffectGUI)
    {
        AAX_IEffectGUI* const face = this;
        *interfaceOut = face;
        face->AddRef();
        return ACF_OK;
    }
    return CACFUnknown::InternalQueryInterface (interfaceId, interfaceOut);
}

AAX_Result AAX_CEffectGUI::InitializeWithHost (IACFUnknown* hostUnknown)
{
    mController = std::make_unique<AAX_VController> (hostUnknown);
    if (hostUnknown == nullptr)
        return AAX_ERROR_NOT_INITIALIZED;

    // A second initialisation replaces what the first one obtained.
    ReleaseEffectParameters();
    void* effect = nullptr;
    if (hostUnknown->QueryInterface (AAX_IID_EffectParameters, &effect) == ACF_OK)
        mEffectParameters = static_cast<AAX_IEffectParameters*> (effect);

    mTransport = std::make_unique<AAX_VTransport> (hostUnknown);
    BuildViewContents();
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectGUI::TearDown()
{
    if (mViewContainer != nullptr)
        SetViewContainer (nullptr);
    ReleaseEffectParameters();
    mController.reset();
    mTransport.reset();
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectGUI::GUICall5()
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectGUI::SetViewContainer (IACFUnknown* container)
{
    if (container == nullptr)
    {
        DetachView();
        mViewContainer.reset();
        return AAX_SUCCESS;
    }
    mViewContainer = std::make_unique<AAX_VViewContainer> (container);
    AttachView();
    NotifyAllParametersUpdated();
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectGUI::ReportViewSize (AAX_ViewSize*)
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectGUI::GUICall8 (void*)
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectGUI::GUICall9 (void*)
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectGUI::OnParameterUpdated (AAX_CParamID)
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectGUI::GUICall11 (void*)
{
    return AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_CEffectGUI::HighlightControl (AAX_CParamID, bool, uint32_t)
{
    return AAX_SUCCESS;
}

void AAX_CEffectGUI::NotifyAllParametersUpdated()
{
    if (mEffectParameters == nullptr)
        return;
    int32_t count = 0;
    if (mEffectParameters->ParameterCount (&count) != AAX_SUCCESS || count < 0)
        return;
    for (int32_t index = 0; index < count; ++index)
    {
        AAX_CString identifier;
        if (mEffectParameters->ParameterIdByIndex (index, &identifier) == AAX_SUCCESS)
            OnParameterUpdated (identifier.CString());
    }
}

AAX_IViewContainer* AAX_CEffectGUI::GetViewContainer() const noexcept
{
    return mViewContainer.get();
}

AAX_ITransport* AAX_CEffectGUI::Transport() const noexcept
{
    return mTransport.get();
}

void AAX_CEffectGUI::ReleaseEffectParameters() noexcept
{
    if (mEffectParameters != nullptr)
    {
        mEffectParameters->Release();
        mEffectParameters = nullptr;
    }
}
