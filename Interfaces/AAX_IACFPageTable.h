#pragma once

#include "AAX.h"
#include "IACFUnknown.h"

/** The host's page table (the control layout of a control surface), versions 1 and 2. The plug-in
    only passes these operations through, so they carry neutral argument lists. */
class AAX_IACFPageTable : public IACFUnknown
{
public:
    virtual AAX_Result PageTableCall3 (void* data) = 0;
    virtual AAX_Result PageTableCall4 (void* data) = 0;
    virtual AAX_Result PageTableCall5 (void* data) = 0;
    virtual AAX_Result PageTableCall6 (void* data) = 0;
    virtual AAX_Result PageTableCall7 (void* data) = 0;
    virtual AAX_Result PageTableCall8 (void* data) = 0;
    virtual AAX_Result PageTableCall9 (void* data) = 0;
    virtual AAX_Result PageTableCall10 (void* data) = 0;
    virtual AAX_Result PageTableCall11 (void* data) = 0;

protected:
    ~AAX_IACFPageTable() = default;
};

class AAX_IACFPageTable_V2 : public AAX_IACFPageTable
{
public:
    virtual AAX_Result PageTableCall12 (void* data) = 0;
    virtual AAX_Result PageTableCall13 (void* data) = 0;
    virtual AAX_Result PageTableCall14 (void* data) = 0;
    virtual AAX_Result PageTableCall15 (void* data) = 0;
    virtual AAX_Result PageTableCall16 (void* data) = 0;
    virtual AAX_Result PageTableCall17 (void* data) = 0;
    virtual AAX_Result PageTableCall18 (void* data) = 0;
    virtual AAX_Result PageTableCall19 (void* data) = 0;

protected:
    ~AAX_IACFPageTable_V2() = default;
};
