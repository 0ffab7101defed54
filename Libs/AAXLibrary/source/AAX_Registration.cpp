#include "AAX_Registration.h"

#include "AAX_CheckedResult.h"
#include "AAX_Errors.h"
#include "AAX_Exception.h"
#include "AAX_InterfaceIDs.h"
#include "AAX_Trace.h"
#include "AAX_VCollection.h"
#include "IACFUnknown.h"

#include <atomic>
#include <exception>
#include <memory>

namespace
{
std::atomic<AAX_DescriptionFunction> injectedDescription{ nullptr };

AAX_Result describe (AAX_ICollection* collection)
{
    const AAX_DescriptionFunction injected = injectedDescription.load();
    return injected != nullptr ? injected (collection) : GetEffectDescriptions (collection);
}

// Hands the host's description object back; false when the host refuses it.
bool handBackPluginDefinition (const AAX_VCollection& collection, IACFUnknown** pluginDefinition)
{
    if (pluginDefinition == nullptr)
        return false;
    *pluginDefinition = nullptr;
    IACFUnknown* const hostCollection = collection.HostObject();
    if (hostCollection == nullptr)
        return false;
    return hostCollection->QueryInterface (AAX_IID_PluginDefinition, reinterpret_cast<void**> (pluginDefinition)) ==
           ACF_OK;
}
} // namespace

AAX_DescriptionFunction AAX_SetDescriptionFunction (AAX_DescriptionFunction function) noexcept
{
    return injectedDescription.exchange (function);
}

AAX_Result AAXRegisterPlugin (IACFUnknown* hostUnknown, IACFUnknown** pluginDefinition)
{
    // The collection lives only inside the try block, so every path below destroys it.
    try
    {
        const auto collection = std::make_unique<AAX_VCollection> (hostUnknown);

        AAX_CheckedResult result;
        result = describe (collection.get());

        if (! handBackPluginDefinition (*collection, pluginDefinition))
            result = AAX_ERROR_NULL_OBJECT;
        return AAX_SUCCESS;
    }
    catch (const AAX::Exception::ResultError& error)
    {
        AAX_Trace (AAX_TRACE_PRIORITY_ERROR, "AAXRegisterPlugin exception caught: %s", error.What().c_str());
        return error.Result();
    }
    catch (const AAX::Exception::Any& error)
    {
        AAX_Trace (AAX_TRACE_PRIORITY_ERROR, "AAXRegisterPlugin exception caught: %s", error.What().c_str());
        return AAX_ERROR_UNKNOWN_EXCEPTION;
    }
    catch (const std::exception& error)
    {
        AAX_Trace (AAX_TRACE_PRIORITY_ERROR, "AAXRegisterPlugin exception caught: %s", error.what());
        return AAX_ERROR_UNKNOWN_EXCEPTION;
    }
    catch (...)
    {
        AAX_Trace (AAX_TRACE_PRIORITY_ERROR, "AAXRegisterPlugin exception caught: unknown");
        return AAX_ERROR_UNKNOWN_EXCEPTION;
    }
}
