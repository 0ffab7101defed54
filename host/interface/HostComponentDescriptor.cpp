#include "HostComponentDescriptor.h"

#include "AAX_DescriptionInterfaceIDs.h"
#include "AAX_Errors.h"
#include "AAX_InterfaceIDs.h"
#include "HostState.h"

namespace
{
std::string textOrEmpty (const char* text)
{
    return text != nullptr ? std::string (text) : std::string();
}

const void* pointerOrNull (const PropertySnapshot& properties, AAX_EProperty id)
{
    const auto found = properties.pointers.find (id);
    return found != properties.pointers.end() ? found->second : nullptr;
}

const char* textPointer (const PropertySnapshot& properties, AAX_EProperty id)
{
    return static_cast<const char*> (pointerOrNull (properties, id));
}
} // namespace

HostComponentDescriptor::HostComponentDescriptor (std::shared_ptr<HostState> hostState)
    : state (std::move (hostState))
{
}

void* HostComponentDescriptor::findInterface (const AAX_GUID& interfaceId) noexcept
{
    const int version = state->config.componentDescriptorVersion;
    if (interfaceId == IID_IACFUnknown)
        return static_cast<IACFUnknown*> (this);
    if (interfaceId == AAX_IID_ComponentDescriptor && version >= 1)
        return static_cast<AAX_IACFComponentDescriptor*> (this);
    if (interfaceId == AAX_IID_ComponentDescriptor_V2 && version >= 2)
        return static_cast<AAX_IACFComponentDescriptor_V2*> (this);
    if (interfaceId == AAX_IID_ComponentDescriptor_V3 && version >= 3)
        return static_cast<AAX_IACFComponentDescriptor_V3*> (this);
    return nullptr;
}

AAX_Result HostComponentDescriptor::addField (const char* kind, AAX_CFieldIndex index, int64_t size,
                                              int64_t typeOrOption)
{
    described.fields.push_back ({ kind, index, size, typeOrOption, {} });
    return AAX_SUCCESS;
}

AAX_Result HostComponentDescriptor::addCall (std::string call)
{
    described.otherCalls.push_back (std::move (call));
    return AAX_SUCCESS;
}

AAX_Result HostComponentDescriptor::ComponentCall3 (void*)
{
    return addCall ("ComponentCall3");
}

AAX_Result HostComponentDescriptor::ComponentCall4 (void*)
{
    return addCall ("ComponentCall4");
}

AAX_Result HostComponentDescriptor::AddAudioIn (AAX_CFieldIndex field)
{
    return addField ("audio in", field);
}

AAX_Result HostComponentDescriptor::AddAudioOut (AAX_CFieldIndex field)
{
    return addField ("audio out", field);
}

AAX_Result HostComponentDescriptor::AddAudioBufferLength (AAX_CFieldIndex field)
{
    return addField ("buffer length", field);
}

AAX_Result HostComponentDescriptor::ComponentCall8 (AAX_CFieldIndex field)
{
    return addCall ("ComponentCall8 " + std::to_string (field));
}

AAX_Result HostComponentDescriptor::ComponentCall9 (AAX_CFieldIndex field)
{
    return addCall ("ComponentCall9 " + std::to_string (field));
}

AAX_Result HostComponentDescriptor::ComponentCall10 (AAX_CFieldIndex field)
{
    return addCall ("ComponentCall10 " + std::to_string (field));
}

AAX_Result HostComponentDescriptor::AddDataInPort (AAX_CFieldIndex field, uint32_t size, int32_t type)
{
    return addField ("data-in port", field, size, type);
}

AAX_Result HostComponentDescriptor::ComponentCall12 (AAX_CFieldIndex field, uint32_t size)
{
    return addCall ("ComponentCall12 " + std::to_string (field) + " " + std::to_string (size));
}

AAX_Result HostComponentDescriptor::AddPrivateData (AAX_CFieldIndex field, int32_t size, uint32_t option)
{
    return addField ("private data", field, size, option);
}

AAX_Result HostComponentDescriptor::ComponentCall14 (AAX_CFieldIndex field, uint32_t size)
{
    return addCall ("ComponentCall14 " + std::to_string (field) + " " + std::to_string (size));
}

AAX_Result HostComponentDescriptor::ComponentCall15 (AAX_CFieldIndex field, uint32_t size)
{
    return addCall ("ComponentCall15 " + std::to_string (field) + " " + std::to_string (size));
}

AAX_Result HostComponentDescriptor::AddProcessProc_Native (void* processProc, IACFUnknown* properties,
                                                           void* instanceInitProc, void* backgroundProc,
                                                           uint32_t* procId)
{
    ProcessProcRecord procedure;
    procedure.procId = state->nextProcId();
    procedure.native = true;
    procedure.processProc = processProc;
    procedure.instanceInitProc = instanceInitProc;
    procedure.backgroundProc = backgroundProc;
    procedure.properties = HostPropertyMap::snapshotOf (properties);
    described.processProcs.push_back (procedure);
    if (procId != nullptr)
        *procId = procedure.procId;
    return AAX_SUCCESS;
}

AAX_Result HostComponentDescriptor::AddProcessProc_TI (const char* dllFileName, const char* processProcName,
                                                       IACFUnknown* properties, const char* instanceInitProcName,
                                                       const char* backgroundProcName, uint32_t* procId)
{
    ProcessProcRecord procedure;
    procedure.procId = state->nextProcId();
    procedure.native = false;
    procedure.dllFileName = textOrEmpty (dllFileName);
    procedure.processProcName = textOrEmpty (processProcName);
    procedure.instanceInitProcName = textOrEmpty (instanceInitProcName);
    procedure.backgroundProcName = textOrEmpty (backgroundProcName);
    procedure.properties = HostPropertyMap::snapshotOf (properties);
    described.processProcs.push_back (procedure);
    if (procId != nullptr)
        *procId = procedure.procId;
    return AAX_SUCCESS;
}

AAX_Result HostComponentDescriptor::AddMeters (AAX_CFieldIndex field, const uint32_t* meterIds, uint32_t meterCount)
{
    ContextFieldRecord meters{ "meters", field, meterCount, 0, {} };
    if (meterIds != nullptr)
        meters.meterIds.assign (meterIds, meterIds + meterCount);
    described.fields.push_back (meters);
    return AAX_SUCCESS;
}

AAX_Result HostComponentDescriptor::ComponentCall19 (AAX_CFieldIndex field, uint32_t size)
{
    return addCall ("ComponentCall19 " + std::to_string (field) + " " + std::to_string (size));
}

AAX_Result HostComponentDescriptor::AddProcessProcs (IACFUnknown* properties, uint32_t* procIds, int32_t capacity)
{
    const PropertySnapshot snapshot = HostPropertyMap::snapshotOf (properties);
    std::vector<uint32_t> added;

    if (snapshot.values.count (AAX_eProperty_PlugInID_Native) != 0 ||
        snapshot.values.count (AAX_eProperty_PlugInID_AudioSuite) != 0)
    {
        uint32_t procId = 0;
        AddProcessProc_Native (
            const_cast<void*> (pointerOrNull (snapshot, AAX_eProperty_NativeProcessProc)), properties,
            const_cast<void*> (pointerOrNull (snapshot, AAX_eProperty_NativeInstanceInitProc)),
            const_cast<void*> (pointerOrNull (snapshot, AAX_eProperty_NativeBackgroundProc)), &procId);
        added.push_back (procId);
    }
    if (snapshot.values.count (AAX_eProperty_PlugInID_TI) != 0)
    {
        uint32_t procId = 0;
        AddProcessProc_TI (textPointer (snapshot, AAX_eProperty_TIDLLFileName),
                           textPointer (snapshot, AAX_eProperty_TIProcessProc), properties,
                           textPointer (snapshot, AAX_eProperty_TIInstanceInitProc),
                           textPointer (snapshot, AAX_eProperty_TIBackgroundProc), &procId);
        added.push_back (procId);
    }

    if (procIds != nullptr)
    {
        if (capacity <= 0 || static_cast<size_t> (capacity) <= added.size())
            return AAX_ERROR_ARGUMENT_BUFFER_OVERFLOW;
        for (size_t i = 0; i < added.size(); ++i)
            procIds[i] = added[i];
        procIds[added.size()] = 0;
    }
    return AAX_SUCCESS;
}
