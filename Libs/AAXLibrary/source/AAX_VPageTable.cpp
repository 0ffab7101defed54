#include "AAX_VPageTable.h"

#include "AAX_Errors.h"
#include "AAX_HostObjects.h"
#include "AAX_IACFPageTable.h"

AAX_VPageTable::AAX_VPageTable (IACFUnknown* pageTable)
    : mPageTable (AAX_QueryHostInterface<AAX_IACFPageTable> (pageTable, AAX_IID_PageTable))
    , mPageTableV2 (AAX_QueryHostInterface<AAX_IACFPageTable_V2> (pageTable, AAX_IID_PageTable_V2))
{
}

AAX_VPageTable::~AAX_VPageTable()
{
    AAX_ReleaseHostInterface (mPageTableV2);
    AAX_ReleaseHostInterface (mPageTable);
}

AAX_Result AAX_VPageTable::PageTableCall3 (void* data)
{
    return mPageTable != nullptr ? mPageTable->PageTableCall3 (data) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::PageTableCall4 (void* data)
{
    return mPageTable != nullptr ? mPageTable->PageTableCall4 (data) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::PageTableCall5 (void* data)
{
    return mPageTable != nullptr ? mPageTable->PageTableCall5 (data) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::PageTableCall6 (void* data)
{
    return mPageTable != nullptr ? mPageTable->PageTableCall6 (data) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::PageTableCall7 (void* data)
{
    return mPageTable != nullptr ? mPageTable->PageTableCall7 (data) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::PageTableCall8 (void* data)
{
    return mPageTable != nullptr ? mPageTable->PageTableCall8 (data) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::PageTableCall9 (void* data)
{
    return mPageTable != nullptr ? mPageTable->PageTableCall9 (data) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::PageTableCall10 (void* data)
{
    return mPageTable != nullptr ? mPageTable->PageTableCall10 (data) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::PageTableCall11 (void* data)
{
    return mPageTable != nullptr ? mPageTable->PageTableCall11 (data) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::PageTableCall12 (void* data)
{
    return mPageTableV2 != nullptr ? mPageTableV2->PageTableCall12 (data) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::PageTableCall13 (void* data)
{
    return mPageTableV2 != nullptr ? mPageTableV2->PageTableCall13 (data) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::PageTableCall14 (void* data)
{
    return mPageTableV2 != nullptr ? mPageTableV2->PageTableCall14 (data) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::PageTableCall15 (void* data)
{
    return mPageTableV2 != nullptr ? mPageTableV2->PageTableCall15 (data) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::PageTableCall16 (void* data)
{
    return mPageTableV2 != nullptr ? mPageTableV2->PageTableCall16 (data) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::PageTableCall17 (void* data)
{
    return mPageTableV2 != nullptr ? mPageTableV2->PageTableCall17 (data) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::PageTableCall18 (void* data)
{
    return mPageTableV2 != nullptr ? mPageTableV2->PageTableCall18 (data) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::PageTableCall19 (void* data)
{
    return mPageTableV2 != nullptr ? mPageTableV2->PageTableCall19 (data) : AAX_ERROR_UNIMPLEMENTED;
}
