#pragma once

#include "AAX.h"

class AAX_IPageTable;

/** The plug-in's view of the host's controller, in the order of the controller wrapper's
    operations. Operations this plug-in never calls carry generic arguments: the wrapper forwards
    them unchanged to the host.

    A numbered operation carries the number of the host interface's slot that it forwards to;
    the comment after it gives its position here. */
class AAX_IController
{
public:
    virtual ~AAX_IController() = default;

    virtual AAX_Result ControllerQuery1 (void* out) const = 0;            // 1
    virtual AAX_Result SampleRate (float* sampleRate) const = 0;          // 2
    virtual AAX_Result InputStemFormat (uint32_t* stemFormat) const = 0;  // 3
    virtual AAX_Result OutputStemFormat (uint32_t* stemFormat) const = 0; // 4
    virtual AAX_Result ControllerCall7 (void* argument) const = 0;        // 5
    virtual AAX_Result ControllerCall8 (void* argument) const = 0;        // 6
    virtual AAX_Result ControllerCall9 (void* argument) const = 0;        // 7
    virtual AAX_Result ReportLatency (int32_t samples) = 0;               // 8
    virtual AAX_Result ControllerCall11 (void* argument) = 0;             // 9
    /** 10: hands a packet of data to a field of the host's audio-algorithm context. */
    virtual AAX_Result PostPacket (AAX_CFieldIndex fieldIndex, const void* data, uint32_t size) = 0;
    virtual AAX_Result ControllerCall20 (void* argument) = 0;                            // 11
    virtual AAX_Result ControllerCall20 (void* argument, void* second, void* third) = 0; // 12
    virtual AAX_Result ControllerCall13 (void* argument) = 0;                            // 13
    virtual AAX_Result ControllerCall14 (void* argument) = 0;                            // 14
    virtual AAX_Result ControllerCall15 (void* argument) = 0;                            // 15
    virtual AAX_Result ControllerCall18 (void* argument) = 0;                            // 16
    virtual AAX_Result ControllerCall16 (void* argument) = 0;                            // 17
    virtual AAX_Result ControllerCall17 (void* argument) = 0;                            // 18
    virtual AAX_Result ControllerCall19 (void* argument) = 0;                            // 19
    virtual AAX_Result ControllerCall21 (void* argument) = 0;                            // 20
    virtual AAX_Result ControllerCall22 (void** out) = 0;                                // 21
    virtual AAX_Result ControllerCall23 (void* argument) = 0;                            // 22
    virtual AAX_Result ControllerCall24 (void* argument) = 0;                            // 23
    /** 24: a yes/no query answered as a count; callers test it > 0. */
    virtual AAX_Result ControllerQuery25 (int32_t* count) const = 0;
    /** 25 to 28: the four forms of page-table creation; null when the host cannot make one. */
    virtual AAX_IPageTable* CreatePageTable1 (void* first, void* second) const = 0;
    virtual AAX_IPageTable* CreatePageTable2 (void* first, void* second, void* third) const = 0;
    virtual AAX_IPageTable* CreatePageTable3 (void* first, void* second) const = 0;
    virtual AAX_IPageTable* CreatePageTable4 (void* first, void* second, void* third) const = 0;
};
