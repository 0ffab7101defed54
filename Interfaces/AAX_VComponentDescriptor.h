#pragma once

#include "AAX_IComponentDescriptor.h"

#include <memory>
#include <vector>

class AAX_IACFComponentDescriptor;
class AAX_IACFComponentDescriptor_V2;
class AAX_IACFComponentDescriptor_V3;
class AAX_VPropertyMap;
class IACFUnknown;

/** Forwards to the versions of a host component descriptor and owns the property maps it makes.
    Hosts without version 3 get their process procedures registered one by one from the map's
    properties (ManuallyAddProcessProcs). */
class AAX_VComponentDescriptor final : public AAX_IComponentDescriptor
{
public:
    /** Creates the host descriptor through the host unknown's object factory. */
    explicit AAX_VComponentDescriptor (IACFUnknown* hostUnknown);
    ~AAX_VComponentDescriptor() override;

    AAX_VComponentDescriptor (const AAX_VComponentDescriptor&) = delete;
    AAX_VComponentDescriptor& operator= (const AAX_VComponentDescriptor&) = delete;

    AAX_Result ComponentCall3 (void* data) override;
    AAX_Result AddAudioInField (AAX_CFieldIndex field) override;
    AAX_Result AddAudioOutField (AAX_CFieldIndex field) override;
    AAX_Result AddBufferLengthField (AAX_CFieldIndex field) override;
    AAX_Result ComponentCall8 (AAX_CFieldIndex field) override;
    AAX_Result ComponentCall9 (AAX_CFieldIndex field) override;
    AAX_Result ComponentCall10 (AAX_CFieldIndex field) override;
    AAX_Result AddDataInPortField (AAX_CFieldIndex field, uint32_t size, int32_t type) override;
    AAX_Result ComponentCall12 (AAX_CFieldIndex field, uint32_t size) override;
    AAX_Result AddPrivateDataField (AAX_CFieldIndex field, int32_t size, uint32_t option) override;
    AAX_Result ComponentCall19 (AAX_CFieldIndex field, uint32_t size) override;
    AAX_Result ComponentCall14 (AAX_CFieldIndex field, uint32_t size) override;
    AAX_Result AddMeterField (AAX_CFieldIndex field, const uint32_t* meterIds, uint32_t meterCount) override;
    AAX_Result ComponentCall15 (AAX_CFieldIndex field, uint32_t size) override;
    AAX_Result ComponentCall4 (void* data) override;
    AAX_IPropertyMap* NewPropertyMap() override;
    AAX_IPropertyMap* DuplicatePropertyMap (AAX_IPropertyMap* source) override;
    AAX_Result AddNativeProcessProc (AAX_CProcessProc processProc, AAX_IPropertyMap* properties,
                                     AAX_CInstanceInitProc instanceInitProc, AAX_CBackgroundProc backgroundProc,
                                     uint32_t* procId) override;
    AAX_Result AddTIProcessProc (const char* dllFileName, const char* processProcName, AAX_IPropertyMap* properties,
                                 const char* instanceInitProcName, const char* backgroundProcName,
                                 uint32_t* procId) override;
    AAX_Result AddProcessProcs (AAX_IPropertyMap* properties, uint32_t* procIds, int32_t capacity) override;

    /** The version-1 host object handed to the effect descriptor, or null. */
    IACFUnknown* HostObject() const noexcept;

private:
    /** Registers the native and TI procedures that the map's properties name, one at a time. */
    AAX_Result ManuallyAddProcessProcs (AAX_IPropertyMap* properties, uint32_t* procIds, int32_t capacity);

    IACFUnknown* mHostUnknown = nullptr;
    AAX_IACFComponentDescriptor* mDescriptor = nullptr;
    AAX_IACFComponentDescriptor_V2* mDescriptorV2 = nullptr;
    AAX_IACFComponentDescriptor_V3* mDescriptorV3 = nullptr;
    std::vector<std::unique_ptr<AAX_VPropertyMap>> mPropertyMaps;
};
