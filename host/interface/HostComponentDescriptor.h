#pragma once

#include "AAX_IACFComponentDescriptor.h"
#include "HostComponent.h"
#include "HostPropertyMap.h"

#include <memory>
#include <string>
#include <vector>

class HostState;

/** One field of an algorithm context as a component declared it. */
struct ContextFieldRecord
{
    std::string kind; // "audio in", "audio out", "buffer length", "data-in port", "private data", "meters"
    AAX_CFieldIndex index = 0;
    int64_t size = 0;
    int64_t typeOrOption = 0;
    std::vector<uint32_t> meterIds;
};

/** One process procedure as the host registered it, with the properties it was given. */
struct ProcessProcRecord
{
    uint32_t procId = 0;
    bool native = true;
    const void* processProc = nullptr;
    const void* instanceInitProc = nullptr;
    const void* backgroundProc = nullptr;
    std::string dllFileName;
    std::string processProcName;
    std::string instanceInitProcName;
    std::string backgroundProcName;
    PropertySnapshot properties;
};

struct ComponentRecord
{
    std::vector<ContextFieldRecord> fields;
    std::vector<ProcessProcRecord> processProcs;
    /** Calls the host gives no meaning to, by name. */
    std::vector<std::string> otherCalls;
};

/** The stand-in host's component descriptor. */
class HostComponentDescriptor final : public HostComponent, public AAX_IACFComponentDescriptor_V3
{
public:
    explicit HostComponentDescriptor (std::shared_ptr<HostState> state);

    LARKSPUR_HOST_COMPONENT_UNKNOWN

    AAX_Result ComponentCall3 (void* data) override;
    AAX_Result ComponentCall4 (void* data) override;
    AAX_Result AddAudioIn (AAX_CFieldIndex field) override;
    AAX_Result AddAudioOut (AAX_CFieldIndex field) override;
    AAX_Result AddAudioBufferLength (AAX_CFieldIndex field) override;
    AAX_Result ComponentCall8 (AAX_CFieldIndex field) override;
    AAX_Result ComponentCall9 (AAX_CFieldIndex field) override;
    AAX_Result ComponentCall10 (AAX_CFieldIndex field) override;
    AAX_Result AddDataInPort (AAX_CFieldIndex field, uint32_t size, int32_t type) override;
    AAX_Result ComponentCall12 (AAX_CFieldIndex field, uint32_t size) override;
    AAX_Result AddPrivateData (AAX_CFieldIndex field, int32_t size, uint32_t option) override;
    AAX_Result ComponentCall14 (AAX_CFieldIndex field, uint32_t size) override;
    AAX_Result ComponentCall15 (AAX_CFieldIndex field, uint32_t size) override;
    AAX_Result AddProcessProc_Native (void* processProc, IACFUnknown* properties, void* instanceInitProc,
                                      void* backgroundProc, uint32_t* procId) override;
    AAX_Result AddProcessProc_TI (const char* dllFileName, const char* processProcName, IACFUnknown* properties,
                                  const char* instanceInitProcName, const char* backgroundProcName,
                                  uint32_t* procId) override;
    AAX_Result AddMeters (AAX_CFieldIndex field, const uint32_t* meterIds, uint32_t meterCount) override;
    AAX_Result ComponentCall19 (AAX_CFieldIndex field, uint32_t size) override;
    AAX_Result AddProcessProcs (IACFUnknown* properties, uint32_t* procIds, int32_t capacity) override;

    const ComponentRecord& record() const noexcept { return described; }

protected:
    void* findInterface (const AAX_GUID& interfaceId) noexcept override;

private:
    AAX_Result addField (const char* kind, AAX_CFieldIndex index, int64_t size = 0, int64_t typeOrOption = 0);
    AAX_Result addCall (std::string call);

    std::shared_ptr<HostState> state;
    ComponentRecord described;
};
