#pragma once

#include "AAX.h"
#include "IACFUnknown.h"

/** The host's transport, version 1 and its extension, version 2. */
class AAX_IACFTransport : public IACFUnknown
{
public:
    virtual AAX_Result GetCurrentTempo (double* bpm) = 0;                                        // 3
    virtual AAX_Result GetCurrentMeter (int32_t* numerator, int32_t* denominator) = 0;           // 4
    virtual AAX_Result IsTransportPlaying (bool* isPlaying) = 0;                                 // 5
    virtual AAX_Result GetCurrentTickPosition (int64_t* ticks) = 0;                              // 6
    virtual AAX_Result GetCurrentLoopPosition (bool* looping, int64_t* start, int64_t* end) = 0; // 7
    virtual AAX_Result GetCurrentNativeSampleLocation (int64_t* samplePosition) = 0;             // 8
    virtual AAX_Result TransportQuery9 (int64_t* value) = 0;                                     // 9
    virtual AAX_Result TransportQuery10 (int64_t* value) = 0;                                    // 10
    virtual AAX_Result TransportQuery11 (int64_t* value) = 0;                                    // 11
    virtual AAX_Result TransportQuery12 (int64_t* value) = 0;                                    // 12

protected:
    ~AAX_IACFTransport() = default;
};

class AAX_IACFTransport_V2 : public AAX_IACFTransport
{
public:
    virtual AAX_Result GetStoppedSampleLocation (int64_t* samplePosition) = 0;    // 13
    virtual AAX_Result GetTimeCodeInfo (int32_t* frameRate, int32_t* offset) = 0; // 14
    virtual AAX_Result TransportQuery15 (int64_t* value) = 0;                     // 15
    virtual AAX_Result TransportQuery16 (int64_t* value) = 0;                     // 16

protected:
    ~AAX_IACFTransport_V2() = default;
};
