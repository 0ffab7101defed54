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
    return mDelegate != nullptr ? mDelegate->RequestValue (parameterId, normalized) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VAutomationDelegate::PostCurrentValue (AAX_CParamID parameterId, double normalized)
{
    return mDelegate != nullptr ? mDelegate->PostCurrentValue (parameterId, normalized) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VAutomationDelegate::Touch (AAX_CParamID parameterId)
{
    return mDelegate != nullptr ? mDelegate->TouchParameter (parameterId) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VAutomationDelegate::Release (AAX_CParamID parameterId)
{
    return mDelegate != nullptr ? mDelegate->ReleaseParameter (parameterId) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VAutomationDelegate::AutomationCall9 (AAX_CParamID parameterId, void* argument)
{
    return mDelegate != nullptr ? mDelegate->AutomationCall9 (parameterId, argument) : AAX_ERROR_NULL_OBJECT;
}
