#include "AAX_VTransport.h"

#include "AAX_Errors.h"
#include "AAX_HostObjects.h"
#include "AAX_IACFTransport.h"

AAX_VTransport::AAX_VTransport (IACFUnknown* hostUnknown)
    : mTransport (AAX_QueryHostInterface<AAX_IACFTransport> (hostUnknown, AAX_IID_Transport))
    , mTransportV2 (AAX_QueryHostInterface<AAX_IACFTransport_V2> (hostUnknown, AAX_IID_Transport_V2))
{
}

AAX_VTransport::~AAX_VTransport()
{
    AAX_ReleaseHostInterface (mTransportV2);
    AAX_ReleaseHostInterface (mTransport);
}

AAX_Result AAX_VTransport::Tempo (double* bpm) const
{
    return mTransport != nullptr ? mTransport->GetCurrentTempo (bpm) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VTransport::Meter (int32_t* numerator, int32_t* denominator) const
{
    return mTransport != nullptr ? mTransport->GetCurrentMeter (numerator, denominator) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VTransport::IsPlaying (bool* isPlaying) const
{
    return mTransport != nullptr ? mTransport->IsTransportPlaying (isPlaying) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VTransport::TickPosition (int64_t* ticks) const
{
    return mTransport != nullptr ? mTransport->GetCurrentTickPosition (ticks) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VTransport::LoopState (bool* looping, int64_t* start, int64_t* end) const
{
    return mTransport != nullptr ? mTransport->GetCurrentLoopPosition (looping, start, end) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VTransport::SamplePosition (int64_t* samplePosition) const
{
    return mTransport != nullptr ? mTransport->GetCurrentNativeSampleLocation (samplePosition) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VTransport::TransportQuery9 (int64_t* value) const
{
    return mTransport != nullptr ? mTransport->TransportQuery9 (value) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VTransport::TransportQuery10 (int64_t* value) const
{
    return mTransport != nullptr ? mTransport->TransportQuery10 (value) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VTransport::TransportQuery11 (int64_t* value) const
{
    return mTransport != nullptr ? mTransport->TransportQuery11 (value) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VTransport::TransportQuery12 (int64_t* value) const
{
    return mTransport != nullptr ? mTransport->TransportQuery12 (value) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VTransport::StoppedSamplePosition (int64_t* samplePosition) const
{
    return mTransportV2 != nullptr ? mTransportV2->GetStoppedSampleLocation (samplePosition) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VTransport::TimeCodeInfo (int32_t* frameRate, int32_t* offset) const
{
    return mTransportV2 != nullptr ? mTransportV2->GetTimeCodeInfo (frameRate, offset) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VTransport::TransportQuery15 (int64_t* value) const
{
    return mTransportV2 != nullptr ? mTransportV2->TransportQuery15 (value) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VTransport::TransportQuery16 (int64_t* value) const
{
    return mTransportV2 != nullptr ? mTransportV2->TransportQuery16 (value) : AAX_ERROR_UNIMPLEMENTED;
}
