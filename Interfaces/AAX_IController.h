#pragma once

#include "AAX.h"

class AAX_IPageTable;
class IACFUnknown;

// The plug-in's view of the host's controller. Operations the plug-in only passes through carry
// neutral argument lists.
class AAX_IController
{
public:
    virtual ~AAX_IController() = default;

    virtual AAX_Result ControllerQuery (void* data) const = 0;                                // 1
    virtual AAX_Result SampleRate (float* sampleRate) const = 0;                              // 2
    virtual AAX_Result InputStemFormat (uint32_t* stemFormat) const = 0;                      // 3
    virtual AAX_Result OutputStemFormat (uint32_t* stemFormat) const = 0;                     // 4
    virtual AAX_Result ControllerCall5 (void* data) = 0;                                      // 5
    virtual AAX_Result ControllerCall6 (void* data) = 0;                                      // 6
    virtual AAX_Result ControllerCall7 (void* data) = 0;                                      // 7
    virtual AAX_Result ReportLatency (int32_t samples) = 0;                                   // 8
    virtual AAX_Result ControllerCall9 (void* data) = 0;                                      // 9
    virtual AAX_Result PostPacket (uint32_t fieldIndex, const void* data, uint32_t size) = 0; // 10
    virtual AAX_Result ControllerCall11 (int32_t first) = 0;                                  // 11
    virtual AAX_Result ControllerCall12 (int32_t first, int32_t second, int32_t third) = 0;   // 12
    virtual AAX_Result ControllerCall13 (void* data) = 0;                                     // 13
    virtual AAX_Result ControllerCall14 (void* data) = 0;                                     // 14
    virtual AAX_Result ControllerCall15 (void* data) = 0;                                     // 15
    virtual AAX_Result ControllerCall16 (void* data) = 0;                                     // 16
    virtual AAX_Result ControllerCall17 (void* data) = 0;                                     // 17
    virtual AAX_Result ControllerCall18 (void* data) = 0;                                     // 18
    virtual AAX_Result ControllerCall19 (void* data) = 0;                                     // 19
    virtual AAX_Result ControllerCall20 (void* data) = 0;                                     // 20
    virtual AAX_Result ControllerCall21 (IACFUnknown** out) = 0;                              // 21
    virtual AAX_Result ControllerCall22 (void* data) = 0;                                     // 22
    virtual AAX_Result ControllerCall23 (void* data) = 0;                                     // 23
    virtual AAX_Result ControllerCount24 (int32_t* count) const = 0;                          // 24

    // 25 to 28: a new page-table wrapper (owned by the caller) filled by the host, or null.
    virtual AAX_IPageTable* NewPageTableForPlugIn (uint32_t manufacturerId, uint32_t productId, uint32_t plugInId,
                                                   uint32_t tableType, int32_t tableSize) = 0;
    virtual AAX_IPageTable* NewPageTableForEffect (const char* effectId, uint32_t tableType, int32_t tableSize) = 0;
    virtual AAX_IPageTable* NewPageTableForPlugInFromFile (const char* filePath, uint32_t manufacturerId,
                                                           uint32_t productId, uint32_t plugInId, uint32_t tableType,
                                                           int32_t tableSize) = 0;
    virtual AAX_IPageTable* NewPageTableForEffectFromFile (const char* filePath, const char* effectId,
                                                           uint32_t tableType, int32_t tableSize) = 0;
};
