#pragma once

#include "AAX_ITransport.h"

class AAX_IACFTransport;
class AAX_IACFTransport_V2;
class IACFUnknown;

/** Forwards the transport queries to the versions of the host's transport that the host supplies. */
class AAX_VTransport final : public AAX_ITransport
{
public:
    explicit AAX_VTransport (IACFUnknown* hostUnknown);
    ~AAX_VTransport() override;

    AAX_VTransport (const AAX_VTransport&) = delete;
    AAX_VTransport& operator= (const AAX_VTransport&) = delete;

    AAX_Result Tempo (double* bpm) const override;
    AAX_Result Meter (int32_t* numerator, int32_t* denominator) const override;
    AAX_Result IsPlaying (bool* isPlaying) const override;
    AAX_Result TickPosition (int64_t* ticks) const override;
    AAX_Result LoopState (bool* looping, int64_t* start, int64_t* end) const override;
    AAX_Result SamplePosition (int64_t* samplePosition) const override;
    AAX_Result TransportQuery9 (int64_t* value) const override;
    AAX_Result TransportQuery10 (int64_t* value) const override;
    AAX_Result TransportQuery11 (int64_t* value) const override;
    AAX_Result TransportQuery12 (int64_t* value) const override;
    AAX_Result StoppedSamplePosition (int64_t* samplePosition) const override;
    AAX_Result TimeCodeInfo (int32_t* frameRate, int32_t* offset) const override;
    AAX_Result TransportQuery15 (int64_t* value) const override;
    AAX_Result TransportQuery16 (int64_t* value) const override;

private:
    AAX_IACFTransport* mTransport = nullptr;
    AAX_IACFTransport_V2* mTransportV2 = nullptr;
};
