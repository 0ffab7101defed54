#include "AAX_VComponentDescriptor.h"

#include "AAX_Assert.h"
#include "AAX_Errors.h"
#include "AAX_HostObjects.h"
#include "AAX_IACFComponentDescriptor.h"
#include "AAX_Trace.h"
#include "AAX_VPropertyMap.h"

namespace
{
// Assertion sites of the manual registration, reported under this file's name.
constexpr AAX_AssertionSite copiedMapLacksBufferLength{ "AAX_VComponentDescriptor.cpp", 89, "0 != gotPropertySuccess" };
constexpr AAX_AssertionSite bufferLengthNotRemoved{ "AAX_VComponentDescriptor.cpp", 93,
                                                    "AAX_SUCCESS == removeNativeAudioBufferLengthResult" };

bool hasProperty (const AAX_IPropertyMap& map, AAX_EProperty id)
{
    AAX_CPropertyValue value = 0;
    return map.GetProperty (id, &value);
}

// A pointer property, or null when the map lacks it; a missing one is traced when asked to.
const void* pointerProperty (const AAX_IPropertyMap& map, AAX_EProperty id, const char* missingTrace = nullptr)
{
    const void* value = nullptr;
    if (! map.GetPointerProperty (id, &value))
    {
        if (missingTrace != nullptr)
            AAX_Trace (AAX_TRACE_PRIORITY_ERROR, "%s", missingTrace);
        return nullptr;
    }
    return value;
}

template <typename Procedure>
void* procedureAddress (Procedure procedure)
{
    return reinterpret_cast<void*> (procedure);
}
} // namespace

AAX_VComponentDescriptor::AAX_VComponentDescriptor (IACFUnknown* hostUnknown)
    : mHostUnknown (AAX_RetainHostInterface (hostUnknown))
{
    auto* factory = AAX_QueryHostInterface<AAX_IACFObjectFactory> (hostUnknown, AAX_IID_ObjectFactory);
    mDescriptor = AAX_CreateHostObject<AAX_IACFComponentDescriptor> (factory, AAX_CLSID_ComponentDescriptor,
                                                                     AAX_IID_ComponentDescriptor);
    mDescriptorV2 =
        AAX_QueryHostInterface<AAX_IACFComponentDescriptor_V2> (mDescriptor, AAX_IID_ComponentDescriptor_V2);
    mDescriptorV3 =
        AAX_QueryHostInterface<AAX_IACFComponentDescriptor_V3> (mDescriptor, AAX_IID_ComponentDescriptor_V3);
    AAX_ReleaseHostInterface (factory);
}

AAX_VComponentDescriptor::~AAX_VComponentDescriptor()
{
    mPropertyMaps.clear();
    AAX_ReleaseHostInterface (mDescriptorV3);
    AAX_ReleaseHostInterface (mDescriptorV2);
    AAX_ReleaseHostInterface (mDescriptor);
    AAX_ReleaseHostInterface (mHostUnknown);
}

IACFUnknown* AAX_VComponentDescriptor::HostObject() const noexcept
{
    return mDescriptor;
}

AAX_Result AAX_VComponentDescriptor::ComponentCall3 (void* data)
{
    return mDescriptor != nullptr ? mDescriptor->ComponentCall3 (data) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VComponentDescriptor::AddAudioInField (AAX_CFieldIndex field)
{
    return mDescriptor != nullptr ? mDescriptor->AddAudioIn (field) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VComponentDescriptor::AddAudioOutField (AAX_CFieldIndex field)
{
    return mDescriptor != nullptr ? mDescriptor->AddAudioOut (field) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VComponentDescriptor::AddBufferLengthField (AAX_CFieldIndex field)
{
    return mDescriptor != nullptr ? mDescriptor->AddAudioBufferLength (field) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VComponentDescriptor::ComponentCall8 (AAX_CFieldIndex field)
{
    return mDescriptor != nullptr ? mDescriptor->ComponentCall8 (field) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VComponentDescriptor::ComponentCall9 (AAX_CFieldIndex field)
{
    return mDescriptor != nullptr ? mDescriptor->ComponentCall9 (field) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VComponentDescriptor::ComponentCall10 (AAX_CFieldIndex field)
{
    return mDescriptor != nullptr ? mDescriptor->ComponentCall10 (field) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VComponentDescriptor::AddDataInPortField (AAX_CFieldIndex field, uint32_t size, int32_t type)
{
    return mDescriptor != nullptr ? mDescriptor->AddDataInPort (field, size, type) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VComponentDescriptor::ComponentCall12 (AAX_CFieldIndex field, uint32_t size)
{
    return mDescriptor != nullptr ? mDescriptor->ComponentCall12 (field, size) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VComponentDescriptor::AddPrivateDataField (AAX_CFieldIndex field, int32_t size, uint32_t option)
{
    return mDescriptor != nullptr ? mDescriptor->AddPrivateData (field, size, option) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VComponentDescriptor::ComponentCall19 (AAX_CFieldIndex field, uint32_t size)
{
    return mDescriptorV2 != nullptr ? mDescriptorV2->ComponentCall19 (field, size) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VComponentDescriptor::ComponentCall14 (AAX_CFieldIndex field, uint32_t size)
{
    return mDescriptor != nullptr ? mDescriptor->ComponentCall14 (field, size) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VComponentDescriptor::AddMeterField (AAX_CFieldIndex field, const uint32_t* meterIds,
                                                    uint32_t meterCount)
{
    return mDescriptor != nullptr ? mDescriptor->AddMeters (field, meterIds, meterCount) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VComponentDescriptor::ComponentCall15 (AAX_CFieldIndex field, uint32_t size)
{
    return mDescriptor != nullptr ? mDescriptor->ComponentCall15 (field, size) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VComponentDescriptor::ComponentCall4 (void* data)
{
    return mDescriptor != nullptr ? mDescriptor->ComponentCall4 (data) : AAX_ERROR_NULL_OBJECT;
}

AAX_IPropertyMap* AAX_VComponentDescriptor::NewPropertyMap()
{
    mPropertyMaps.emplace_back (AAX_VPropertyMap::Create (mHostUnknown));
    return mPropertyMaps.back().get();
}

AAX_IPropertyMap* AAX_VComponentDescriptor::DuplicatePropertyMap (AAX_IPropertyMap* source)
{
    AAX_IPropertyMap* const copy = NewPropertyMap();
    if (source == nullptr)
        return copy;

    for (AAX_EProperty id = AAX_eProperty_MinProp; id <= AAX_eProperty_MaxProp; ++id)
    {
        AAX_CPropertyValue value = 0;
        const void* pointer = nullptr;
        if (source->GetProperty (id, &value))
            copy->AddProperty (id, value);
        else if (source->GetPointerProperty (id, &pointer))
            copy->AddPointerProperty (id, pointer);
    }
    return copy;
}

AAX_Result AAX_VComponentDescriptor::AddNativeProcessProc (AAX_CProcessProc processProc, AAX_IPropertyMap* properties,
                                                           AAX_CInstanceInitProc instanceInitProc,
                                                           AAX_CBackgroundProc backgroundProc, uint32_t* procId)
{
    if (mDescriptor == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mDescriptor->AddProcessProc_Native (
        procedureAddress (processProc), AAX_VPropertyMap::HostObjectOf (properties),
        procedureAddress (instanceInitProc), procedureAddress (backgroundProc), procId);
}

AAX_Result AAX_VComponentDescriptor::AddTIProcessProc (const char* dllFileName, const char* processProcName,
                                                       AAX_IPropertyMap* properties, const char* instanceInitProcName,
                                                       const char* backgroundProcName, uint32_t* procId)
{
    if (mDescriptor == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mDescriptor->AddProcessProc_TI (dllFileName, processProcName, AAX_VPropertyMap::HostObjectOf (properties),
                                           instanceInitProcName, backgroundProcName, procId);
}

AAX_Result AAX_VComponentDescriptor::AddProcessProcs (AAX_IPropertyMap* properties, uint32_t* procIds, int32_t capacity)
{
    if (mDescriptorV3 != nullptr)
        return mDescriptorV3->AddProcessProcs (AAX_VPropertyMap::HostObjectOf (properties), procIds, capacity);
    if (mDescriptor != nullptr && properties != nullptr)
        return ManuallyAddProcessProcs (properties, procIds, capacity);
    return AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VComponentDescriptor::ManuallyAddProcessProcs (AAX_IPropertyMap* properties, uint32_t* procIds,
                                                              int32_t capacity)
{
    const bool hasNative = hasProperty (*properties, AAX_eProperty_PlugInID_Native) ||
                           hasProperty (*properties, AAX_eProperty_PlugInID_AudioSuite);
    const bool hasTI = hasProperty (*properties, AAX_eProperty_PlugInID_TI);

    std::vector<uint32_t> procIdsAdded;
    AAX_IPropertyMap* map = properties;

    if (hasNative)
    {
        const auto processProc = reinterpret_cast<AAX_CProcessProc> (
            const_cast<void*> (pointerProperty (*map, AAX_eProperty_NativeProcessProc,
                                                "AAX_VComponentDescriptor: ManuallyAddProcessProcs() - no value found "
                                                "for AAX_eProperty_NativeProcessProc")));
        const auto instanceInitProc = reinterpret_cast<AAX_CInstanceInitProc> (
            const_cast<void*> (pointerProperty (*map, AAX_eProperty_NativeInstanceInitProc)));
        const auto backgroundProc = reinterpret_cast<AAX_CBackgroundProc> (
            const_cast<void*> (pointerProperty (*map, AAX_eProperty_NativeBackgroundProc)));

        // The native procedure is registered without a fixed buffer length.
        if (hasProperty (*map, AAX_eProperty_NativeAudioBufferLength))
        {
            AAX_IPropertyMap* const copy = DuplicatePropertyMap (map);
            if (copy->HostObject() != nullptr)
            {
                if (hasProperty (*copy, AAX_eProperty_NativeAudioBufferLength))
                {
                    const AAX_Result removed = copy->RemoveProperty (AAX_eProperty_NativeAudioBufferLength);
                    AAX_CheckAssertion (removed == AAX_SUCCESS, bufferLengthNotRemoved);
                    map = copy;
                }
                else
                {
                    AAX_ReportAssertion (copiedMapLacksBufferLength);
                }
            }
        }

        uint32_t procId = 0;
        const AAX_Result result = AddNativeProcessProc (processProc, map, instanceInitProc, backgroundProc, &procId);
        if (result != AAX_SUCCESS)
            return result;
        procIdsAdded.push_back (procId);
    }

    if (hasTI)
    {
        const auto* dllFileName = static_cast<const char*> (pointerProperty (
            *map, AAX_eProperty_TIDLLFileName,
            "AAX_VComponentDescriptor: ManuallyAddProcessProcs() - no value found for AAX_eProperty_TIDLLFileName"));
        const auto* processProcName = static_cast<const char*> (pointerProperty (
            *map, AAX_eProperty_TIProcessProc,
            "AAX_VComponentDescriptor: ManuallyAddProcessProcs() - no value found for AAX_eProperty_TIProcessProc"));
        const auto* instanceInitProcName =
            static_cast<const char*> (pointerProperty (*map, AAX_eProperty_TIInstanceInitProc));
        const auto* backgroundProcName =
            static_cast<const char*> (pointerProperty (*map, AAX_eProperty_TIBackgroundProc));

        uint32_t procId = 0;
        const AAX_Result result =
            AddTIProcessProc (dllFileName, processProcName, map, instanceInitProcName, backgroundProcName, &procId);
        if (result != AAX_SUCCESS)
            return result;
        procIdsAdded.push_back (procId);
    }

    if (procIds != nullptr)
    {
        // Room is needed for every identifier and the terminating 0.
        if (capacity <= 0 || static_cast<size_t> (capacity) <= procIdsAdded.size())
            return AAX_ERROR_ARGUMENT_BUFFER_OVERFLOW;
        for (size_t i = 0; i < procIdsAdded.size(); ++i)
            procIds[i] = procIdsAdded[i];
        procIds[procIdsAdded.size()] = 0;
    }
    return AAX_SUCCESS;
}
