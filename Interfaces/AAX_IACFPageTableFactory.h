#pragma once

#include "AAX.h"
#include "IACFUnknown.h"

/** The host's page-table factories. Each creation form passes the plug-in's arguments unchanged,
    followed by the empty host page table that the host fills. */
class AAX_IACFPageTableFactory : public IACFUnknown
{
public:
    virtual AAX_Result CopyPageTable3 (void* first, void* second, IACFUnknown* pageTable) = 0;              // 3
    virtual AAX_Result CopyPageTable4 (void* first, void* second, void* third, IACFUnknown* pageTable) = 0; // 4

protected:
    ~AAX_IACFPageTableFactory() = default;
};

class AAX_IACFPageTableFactory_V2 : public AAX_IACFPageTableFactory
{
public:
    virtual AAX_Result CopyPageTable5 (void* first, void* second, IACFUnknown* pageTable) = 0;              // 5
    virtual AAX_Result CopyPageTable6 (void* first, void* second, void* third, IACFUnknown* pageTable) = 0; // 6

protected:
    ~AAX_IACFPageTableFactory_V2() = default;
};
