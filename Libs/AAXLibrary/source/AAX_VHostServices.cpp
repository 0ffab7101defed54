#include "AAX_VHostServices.h"

#include "AAX_Errors.h"
#include "AAX_HostObjects.h"
#include "AAX_HostServicesInstance.h"
#include "AAX_IACFHostServices_V3.h"

AAX_VHostServices::AAX_VHostServices (IACFUnknown* hostUnknown)
{
    auto* factory = AAX_QueryHostInterface<AAX_IACFObjectFactory> (hostUnknown, AAX_IID_ObjectFactory);
    mServices = AAX_CreateHostObject<AAX_IACFHostServices> (factory, AAX_CLSID_HostServices, AAX_IID_HostServices);
    mServicesV2 =
        AAX_CreateHostObject<AAX_IACFHostServices_V2> (factory, AAX_CLSID_HostServices, AAX_IID_HostServices_V2);
    mServicesV3 =
        AAX_CreateHostObject<AAX_IACFHostServices_V3> (factory, AAX_CLSID_HostServices, AAX_IID_HostServices_V3);
    AAX_ReleaseHostInterface (factory);
}

AAX_VHostServices::~AAX_VHostServices()
{
    AAX_ReleaseHostInterface (mServicesV3);
    AAX_ReleaseHostInterface (mServicesV2);
    AAX_ReleaseHostInterface (mServices);
}

void AAX_VHostServices::Set (IACFUnknown* hostUnknown)
{
    AAX_IHostServices* const current = AAX_HostServicesInstance::Get();
    if (hostUnknown != nullptr)
    {
        if (current == nullptr)
            AAX_HostServicesInstance::Set (new AAX_VHostServices (hostUnknown));
        return;
    }

    if (current != nullptr)
    {
        // Unpublish first so that no trace reaches an instance being destroyed from here on.
        AAX_HostServicesInstance::Set (nullptr);
        delete current;
    }
}

AAX_Result AAX_VHostServices::ReportAssertion (const char* file, int32_t line, const char* expression, int32_t flags)
{
    return mServicesV3 != nullptr ? mServicesV3->ReportAssertion (file, line, expression, flags)
                                  : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VHostServices::Trace (uint32_t priority, const char* message)
{
    return mServices != nullptr ? mServices->Trace (priority, message) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VHostServices::HostServicesCall5 (void* argument)
{
    return mServicesV2 != nullptr ? mServicesV2->HostServicesCall5 (argument) : AAX_ERROR_UNIMPLEMENTED;
}
