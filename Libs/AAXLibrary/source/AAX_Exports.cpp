#include "AAX_Exports.h"

#include "AAX_Errors.h"
#include "AAX_Registration.h"
#include "AAX_VHostServices.h"
#include "CACFUnknown.h"

// Nothing may escape an entry point into the host: an exception that reaches one is answered
// as ACF_E_UNEXPECTED.

ACFRESULT ACFRegisterPlugin (IACFUnknown* hostUnknown, IACFUnknown** pluginDefinition)
{
    try
    {
        return AAXRegisterPlugin (hostUnknown, pluginDefinition);
    }
    catch (...)
    {
        return ACF_E_UNEXPECTED;
    }
}

ACFRESULT ACFRegisterComponent (IACFUnknown*, const AAX_GUID*, IACFUnknown** componentDefinition)
{
    if (componentDefinition != nullptr)
        *componentDefinition = nullptr;
    return ACF_OK;
}

ACFRESULT ACFGetClassFactory (IACFUnknown*, const AAX_GUID*, const AAX_GUID*, void** classFactory)
{
    if (classFactory != nullptr)
        *classFactory = nullptr;
    return AAX_ERROR_UNIMPLEMENTED;
}

ACFRESULT ACFCanUnloadNow()
{
    return CACFUnknown::GetActiveObjectCount();
}

ACFRESULT ACFStartup (IACFUnknown* hostUnknown)
{
    try
    {
        AAX_VHostServices::Set (hostUnknown);
        return ACF_OK;
    }
    catch (...)
    {
        return ACF_E_UNEXPECTED;
    }
}

ACFRESULT ACFShutdown()
{
    try
    {
        AAX_VHostServices::Set (nullptr);
        return ACF_OK;
    }
    catch (...)
    {
        return ACF_E_UNEXPECTED;
    }
}

ACFRESULT ACFGetSDKVersion (uint64_t* version)
{
    if (version == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    *version = AAX_SDK_VERSION;
    return ACF_OK;
}
