#pragma once

#include "AAX_IPageTable.h"

class AAX_IACFPageTable;
class AAX_IACFPageTable_V2;
class IACFUnknown;

/** Forwards page-table operations to the versions of a host page table that it supplies. */
class AAX_VPageTable final : public AAX_IPageTable
{
public:
    /** Asks the host page table for its two versions; the wrapper holds its own references. */
    explicit AAX_VPageTable (IACFUnknown* pageTable);
    ~AAX_VPageTable() override;

    AAX_VPageTable (const AAX_VPageTable&) = delete;
    AAX_VPageTable& operator= (const AAX_VPageTable&) = delete;

    /** Whether the host page table supplied either version. */
    bool HoldsHostInterface() const noexcept { return mPageTable != nullptr || mPageTableV2 != nullptr; }

    AAX_Result PageTableCall3 (void* data) override;
    AAX_Result PageTableCall4 (void* data) override;
    AAX_Result PageTableCall5 (void* data) override;
    AAX_Result PageTableCall6 (void* data) override;
    AAX_Result PageTableCall7 (void* data) override;
    AAX_Result PageTableCall8 (void* data) override;
    AAX_Result PageTableCall9 (void* data) override;
    AAX_Result PageTableCall10 (void* data) override;
    AAX_Result PageTableCall11 (void* data) override;
    AAX_Result PageTableCall12 (void* data) override;
    AAX_Result PageTableCall13 (void* data) override;
    AAX_Result PageTableCall14 (void* data) override;
    AAX_Result PageTableCall15 (void* data) override;
    AAX_Result PageTableCall16 (void* data) override;
    AAX_Result PageTableCall17 (void* data) override;
    AAX_Result PageTableCall18 (void* data) override;
    AAX_Result PageTableCall19 (void* data) override;

private:
    AAX_IACFPageTable* mPageTable = nullptr;
    AAX_IACFPageTable_V2* mPageTableV2 = nullptr;
};
