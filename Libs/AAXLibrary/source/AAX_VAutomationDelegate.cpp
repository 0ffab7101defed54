#include "AAX_VAutomationDelegate.h"

#include "AAX_Errors.h"
#include "AAX_HostObjects.h"
#include "AAX_IACFAutomationDelegate.h"

AAX_VAutomationDelegate::AAX_VAutomationDelegate (IACFUnknown* hostUnknown)
    : mDelegate (AAX_QueryHostInterface<AAX_IACFAutomationDelegate> (hostUnknown, AAX_IID_AutomationDelegate))
{
}

AAX_VAutomationDelegate::~AAX_VAutomationDelegate()
{
    AAX_ReleaseHostInterface (mDelegate);
}

AAX_Result AAX_VAutomationDelegate::RegisterParameter (AAX_CParamID parameterId)
{
    return mDelegate != nullptr ? mDelegate->RegisterParameter (parameterId) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VAutomationDelegate::UnregisterParameter (AAX_CParamID parameterId)
{
    return mDelegate != nullptr ? mDelegate->UnregisterParameter (parameterId) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VAutomationDelegate::RequestValue (AAX_CParamID parameterId, double normalized)
{
    return mDelegate != nullptr ? mDelegate->PostSetValueRequest (parameterId, normalized) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VAutomationDelegate::PostCurrentValue (AAX_CParamID parameterId, double normalized)
{
    return mDelegate != nullptr ? mDelegate->PostCurrentValue (parameterId, normalized) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VAutomationDelegate::Touch (AAX_CParamID parameterId)
{
    return mDelegate != nullptr ? mDelegate->PostTouchRequest (parameterId) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VAutomationDelegate::Release (AAX_CParamID parameterId)
{
    return mDelegate != nullptr ? mDelegate->PostReleaseRequest (parameterId) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VAutomationDelegate::AutomationCall7 (AAX_CParamID parameterId, uint32_t* value)
{
    return mDelegate != nullptr ? mDelegate->AutomationCall9 (parameterId, value) : AAX_ERROR_NULL_OBJECT;
}
