#pragma once

#include "AAX.h"
#include "AAX_Callbacks.h"

class AAX_IPropertyMap;

/** The plug-in's view of one component (audio algorithm) descriptor. Property maps that it
    hands out belong to it.

    A numbered operation carries the number of the host interface's slot that it forwards to;
    the comment after it gives its position here. */
class AAX_IComponentDescriptor
{
public:
    virtual ~AAX_IComponentDescriptor() = default;

    virtual AAX_Result ComponentCall3 (void* data) = 0;                                                          // 1
    virtual AAX_Result AddAudioInField (AAX_CFieldIndex field) = 0;                                              // 2
    virtual AAX_Result AddAudioOutField (AAX_CFieldIndex field) = 0;                                             // 3
    virtual AAX_Result AddBufferLengthField (AAX_CFieldIndex field) = 0;                                         // 4
    virtual AAX_Result ComponentCall8 (AAX_CFieldIndex field) = 0;                                               // 5
    virtual AAX_Result ComponentCall9 (AAX_CFieldIndex field) = 0;                                               // 6
    virtual AAX_Result ComponentCall10 (AAX_CFieldIndex field) = 0;                                              // 7
    virtual AAX_Result AddDataInPortField (AAX_CFieldIndex field, uint32_t size, int32_t type) = 0;              // 8
    virtual AAX_Result ComponentCall12 (AAX_CFieldIndex field, uint32_t size) = 0;                               // 9
    virtual AAX_Result AddPrivateDataField (AAX_CFieldIndex field, int32_t size, uint32_t option) = 0;           // 10
    virtual AAX_Result ComponentCall19 (AAX_CFieldIndex field, uint32_t size) = 0;                               // 11
    virtual AAX_Result ComponentCall14 (AAX_CFieldIndex field, uint32_t size) = 0;                               // 12
    virtual AAX_Result AddMeterField (AAX_CFieldIndex field, const uint32_t* meterIds, uint32_t meterCount) = 0; // 13
    virtual AAX_Result ComponentCall15 (AAX_CFieldIndex field, uint32_t size) = 0;                               // 14
    virtual AAX_Result ComponentCall4 (void* data) = 0;                                                          // 15
    virtual AAX_IPropertyMap* NewPropertyMap() = 0;                                                              // 16
    virtual AAX_IPropertyMap* DuplicatePropertyMap (AAX_IPropertyMap* source) = 0;                               // 17
    /** 18 */
    virtual AAX_Result AddNativeProcessProc (AAX_CProcessProc processProc, AAX_IPropertyMap* properties,
                                             AAX_CInstanceInitProc instanceInitProc, AAX_CBackgroundProc backgroundProc,
                                             uint32_t* procId) = 0;
    /** 19 */
    virtual AAX_Result AddTIProcessProc (const char* dllFileName, const char* processProcName,
                                         AAX_IPropertyMap* properties, const char* instanceInitProcName,
                                         const char* backgroundProcName, uint32_t* procId) = 0;
    /** 20: registers the process procedures that the map names; writes their identifiers and a
        terminating 0 into procIds (capacity in entries) when given. */
    virtual AAX_Result AddProcessProcs (AAX_IPropertyMap* properties, uint32_t* procIds, int32_t capacity) = 0;
};
