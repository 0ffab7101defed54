#pragma once

#include "AAX.h"
#include "IACFUnknown.h"

// The host's page-table factories. Each creation form fills the empty host page table passed as
// its last argument.
class AAX_IACFPageTableFactory : public IACFUnknown
{
public:
    // 3
    virtual AAX_Result CopyTableForPlugIn (uint32_t manufacturerId, uint32_t productId, uint32_t plugInId,
                                           uint32_t tableType, int32_t tableSize, IACFUnknown* pageTable) = 0;
    // 4
    virtual AAX_Result CopyTableForEffect (const char* effectId, uint32_t tableType, int32_t tableSize,
                                           IACFUnknown* pageTable) = 0;

protected:
    ~AAX_IACFPageTableFactory() = default;
};

class AAX_IACFPageTableFactory_V2 : public AAX_IACFPageTableFactory
{
public:
    // 5
    virtual AAX_Result CopyTableForPlugInFromFile (const char* filePath, uint32_t manufacturerId, uint32_t productId,
                                                   uint32_t plugInId, uint32_t tableType, int32_t tableSize,
                                                   IACFUnknown* pageTable) = 0;
    // 6
    virtual AAX_Result CopyTableForEffectFromFile (const char* filePath, const char* effectId, uint32_t tableType,
                                                   int32_t tableSize, IACFUnknown* pageTable) = 0;

protected:
    ~AAX_IACFPageTableFactory_V2() = default;
};
