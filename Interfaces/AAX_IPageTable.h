#pragma once

#include "AAX.h"

/** The plug-in's view of a host page table. The plug-in itself calls none of these; they are
    passed through to the host unchanged.

    A numbered operation carries the number of the host interface's slot that it forwards to;
    the comment after it gives its position here. */
class AAX_IPageTable
{
public:
    virtual ~AAX_IPageTable() = default;

    virtual AAX_Result PageTableCall3 (void* data) = 0;
    virtual AAX_Result PageTableCall4 (void* data) = 0;
    virtual AAX_Result PageTableCall5 (void* data) = 0;
    virtual AAX_Result PageTableCall6 (void* data) = 0;
    virtual AAX_Result PageTableCall7 (void* data) = 0;
    virtual AAX_Result PageTableCall8 (void* data) = 0;
    virtual AAX_Result PageTableCall9 (void* data) = 0;
    virtual AAX_Result PageTableCall10 (void* data) = 0;
    virtual AAX_Result PageTableCall11 (void* data) = 0;
    virtual AAX_Result PageTableCall12 (void* data) = 0;
    virtual AAX_Result PageTableCall13 (void* data) = 0;
    virtual AAX_Result PageTableCall14 (void* data) = 0;
    virtual AAX_Result PageTableCall15 (void* data) = 0;
    virtual AAX_Result PageTableCall16 (void* data) = 0;
    virtual AAX_Result PageTableCall17 (void* data) = 0;
    virtual AAX_Result PageTableCall18 (void* data) = 0;
    virtual AAX_Result PageTableCall19 (void* data) = 0;
};
