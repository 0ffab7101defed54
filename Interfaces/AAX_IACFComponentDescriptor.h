#pragma once

#include "AAX.h"
#include "IACFUnknown.h"

/** The host's component descriptor (one audio algorithm of an effect), versions 1 to 3. Field
    arguments are indices into the algorithm's context. */
class AAX_IACFComponentDescriptor : public IACFUnknown
{
public:
    virtual AAX_Result ComponentCall3 (void* data) = 0;                                           // 3
    virtual AAX_Result ComponentCall4 (void* data) = 0;                                           // 4
    virtual AAX_Result AddAudioIn (AAX_CFieldIndex field) = 0;                                    // 5
    virtual AAX_Result AddAudioOut (AAX_CFieldIndex field) = 0;                                   // 6
    virtual AAX_Result AddAudioBufferLength (AAX_CFieldIndex field) = 0;                          // 7
    virtual AAX_Result ComponentCall8 (AAX_CFieldIndex field) = 0;                                // 8
    virtual AAX_Result ComponentCall9 (AAX_CFieldIndex field) = 0;                                // 9
    virtual AAX_Result ComponentCall10 (AAX_CFieldIndex field) = 0;                               // 10
    virtual AAX_Result AddDataInPort (AAX_CFieldIndex field, uint32_t size, int32_t type) = 0;    // 11
    virtual AAX_Result ComponentCall12 (AAX_CFieldIndex field, uint32_t size) = 0;                // 12
    virtual AAX_Result AddPrivateData (AAX_CFieldIndex field, int32_t size, uint32_t option) = 0; // 13
    virtual AAX_Result ComponentCall14 (AAX_CFieldIndex field, uint32_t size) = 0;                // 14
    virtual AAX_Result ComponentCall15 (AAX_CFieldIndex field, uint32_t size) = 0;                // 15
    /** 16 */
    virtual AAX_Result AddProcessProc_Native (void* processProc, IACFUnknown* properties, void* instanceInitProc,
                                              void* backgroundProc, uint32_t* procId) = 0;
    /** 17 */
    virtual AAX_Result AddProcessProc_TI (const char* dllFileName, const char* processProcName, IACFUnknown* properties,
                                          const char* instanceInitProcName, const char* backgroundProcName,
                                          uint32_t* procId) = 0;
    /** 18 */
    virtual AAX_Result AddMeters (AAX_CFieldIndex field, const uint32_t* meterIds, uint32_t meterCount) = 0;

protected:
    ~AAX_IACFComponentDescriptor() = default;
};

class AAX_IACFComponentDescriptor_V2 : public AAX_IACFComponentDescriptor
{
public:
    virtual AAX_Result ComponentCall19 (AAX_CFieldIndex field, uint32_t size) = 0; // 19

protected:
    ~AAX_IACFComponentDescriptor_V2() = default;
};

class AAX_IACFComponentDescriptor_V3 : public AAX_IACFComponentDescriptor_V2
{
public:
    /** 20: registers every process procedure that the map's properties name; writes their
        identifiers followed by 0 into procIds when it has room for them. */
    virtual AAX_Result AddProcessProcs (IACFUnknown* properties, uint32_t* procIds, int32_t capacity) = 0;

protected:
    ~AAX_IACFComponentDescriptor_V3() = default;
};
