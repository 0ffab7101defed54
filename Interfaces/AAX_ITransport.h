#pragma once

#include "AAX.h"

/** The plug-in's view of the host's transport. Safe to call from the audio thread: the wrapper
    keeps no state beyond its interface pointers.

    A numbered operation carries the number of the host interface's slot that it forwards to;
    the comment after it gives its position here. */
class AAX_ITransport
{
public:
    virtual ~AAX_ITransport() = default;

    virtual AAX_Result Tempo (double* bpm) const = 0;                                     // 1
    virtual AAX_Result Meter (int32_t* numerator, int32_t* denominator) const = 0;        // 2
    virtual AAX_Result IsPlaying (bool* isPlaying) const = 0;                             // 3
    virtual AAX_Result TickPosition (int64_t* ticks) const = 0;                           // 4
    virtual AAX_Result LoopState (bool* looping, int64_t* start, int64_t* end) const = 0; // 5
    virtual AAX_Result SamplePosition (int64_t* samplePosition) const = 0;                // 6
    virtual AAX_Result TransportQuery9 (int64_t* value) const = 0;                        // 7
    virtual AAX_Result TransportQuery10 (int64_t* value) const = 0;                       // 8
    virtual AAX_Result TransportQuery11 (int64_t* value) const = 0;                       // 9
    virtual AAX_Result TransportQuery12 (int64_t* value) const = 0;                       // 10
    virtual AAX_Result StoppedSamplePosition (int64_t* samplePosition) const = 0;         // 11
    virtual AAX_Result TimeCodeInfo (int32_t* frameRate, int32_t* offset) const = 0;      // 12
    virtual AAX_Result TransportQuery15 (int64_t* value) const = 0;                       // 13
    virtual AAX_Result TransportQuery16 (int64_t* value) const = 0;                       // 14
};
