#pragma once

#include "AAX.h"
#include "IACFUnknown.h"

/** The host's controller, in the versions the host may supply. Each version extends the one
    before it; the numbers are the operations' places counted from QueryInterface. Operations that
    the plug-in only passes through carry neutral argument lists. */
class AAX_IACFController : public IACFUnknown
{
public:
    virtual AAX_Result ControllerQuery (void* data) = 0;                                             // 3
    virtual AAX_Result GetSampleRate (float* sampleRate) = 0;                                        // 4
    virtual AAX_Result GetInputStemFormat (uint32_t* stemFormat) = 0;                                // 5
    virtual AAX_Result GetOutputStemFormat (uint32_t* stemFormat) = 0;                               // 6
    virtual AAX_Result ControllerCall7 (void* data) = 0;                                             // 7
    virtual AAX_Result ControllerCall8 (void* data) = 0;                                             // 8
    virtual AAX_Result ControllerCall9 (void* data) = 0;                                             // 9
    virtual AAX_Result SetSignalLatency (int32_t samples) = 0;                                       // 10
    virtual AAX_Result ControllerCall11 (void* data) = 0;                                            // 11
    virtual AAX_Result PostPacket (AAX_CFieldIndex fieldIndex, const void* data, uint32_t size) = 0; // 12
    virtual AAX_Result ControllerCall13 (void* data) = 0;                                            // 13
    virtual AAX_Result ControllerCall14 (void* data) = 0;                                            // 14
    virtual AAX_Result ControllerCall15 (void* data) = 0;                                            // 15
    virtual AAX_Result ControllerCall16 (void* data) = 0;                                            // 16
    virtual AAX_Result ControllerCall17 (void* data) = 0;                                            // 17
    virtual AAX_Result ControllerCall18 (void* data) = 0;                                            // 18
    virtual AAX_Result ControllerCall19 (void* data) = 0;                                            // 19

protected:
    ~AAX_IACFController() = default;
};

class AAX_IACFController_V2 : public AAX_IACFController
{
public:
    virtual AAX_Result ControllerCall20 (void* first, void* second, void* third) = 0; // 20
    virtual AAX_Result ControllerCall21 (void* data) = 0;                             // 21
    virtual AAX_Result ControllerCall22 (void** out) = 0;                             // 22
    virtual AAX_Result ControllerCall23 (void* data) = 0;                             // 23

protected:
    ~AAX_IACFController_V2() = default;
};

class AAX_IACFController_V3 : public AAX_IACFController_V2
{
public:
    virtual AAX_Result ControllerCall24 (void* data) = 0;      // 24
    virtual AAX_Result ControllerCount25 (int32_t* count) = 0; // 25

protected:
    ~AAX_IACFController_V3() = default;
};
