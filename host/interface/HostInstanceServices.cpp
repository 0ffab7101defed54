#include "HostInstanceServices.h"

#include "AAX_Errors.h"
#include "AAX_InterfaceIDs.h"

#include <utility>

HostInstanceServices::HostInstanceServices (Settings instanceSettings)
    : settings (instanceSettings)
    , confirmationDelay (instanceSettings.confirmationDelay)
{
}

void* HostInstanceServices::findInterface (const AAX_GUID& interfaceId) noexcept
{
    if (interfaceId == IID_IACFUnknown || interfaceId == AAX_IID_Controller)
        return static_cast<AAX_IACFController*> (this);
    if (interfaceId == AAX_IID_AutomationDelegate)
        return static_cast<AAX_IACFAutomationDelegate*> (this);
    return nullptr;
}

void HostInstanceServices::setConfirmation (Confirmation confirmation)
{
    const std::lock_guard<std::mutex> guard (lock);
    confirm = std::move (confirmation);
}

void HostInstanceServices::setPacketSink (PacketSink sink)
{
    const std::lock_guard<std::mutex> guard (lock);
    packetSink = std::move (sink);
}

void HostInstanceServices::setConfirmationDelay (std::chrono::milliseconds delay)
{
    const std::lock_guard<std::mutex> guard (lock);
    confirmationDelay = delay;
}

void HostInstanceServices::confirmDueRequests (std::chrono::steady_clock::time_point now)
{
    for (;;)
    {
        DelayedRequest request;
        Confirmation confirmation;
        {
            const std::lock_guard<std::mutex> guard (lock);
            if (delayed.empty() || delayed.front().due > now)
                return;
            request = std::move (delayed.front());
            delayed.pop_front();
            confirmation = confirm;
        }
        // The effect calls back into this object while confirming, so no lock is held here.
        if (confirmation)
            confirmation (request.identifier, request.value);
    }
}

size_t HostInstanceServices::pendingConfirmations() const
{
    const std::lock_guard<std::mutex> guard (lock);
    return delayed.size();
}

std::vector<HostInstanceServices::AutomationEvent> HostInstanceServices::automationEvents() const
{
    const std::lock_guard<std::mutex> guard (lock);
    return events;
}

std::vector<HostInstanceServices::PostedPacket> HostInstanceServices::postedPackets() const
{
    const std::lock_guard<std::mutex> guard (lock);
    return packets;
}

std::vector<int32_t> HostInstanceServices::reportedLatencies() const
{
    const std::lock_guard<std::mutex> guard (lock);
    return latencies;
}

void HostInstanceServices::clearRecords()
{
    const std::lock_guard<std::mutex> guard (lock);
    events.clear();
    packets.clear();
    latencies.clear();
}

AAX_Result HostInstanceServices::record (const char* kind, AAX_CParamID identifier, double value)
{
    const std::lock_guard<std::mutex> guard (lock);
    events.push_back ({ kind, identifier != nullptr ? identifier : "", value });
    return AAX_SUCCESS;
}

//==============================================================================
AAX_Result HostInstanceServices::GetSampleRate (float* sampleRate)
{
    if (sampleRate == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    *sampleRate = settings.sampleRate;
    return AAX_SUCCESS;
}

AAX_Result HostInstanceServices::GetInputStemFormat (uint32_t* stemFormat)
{
    if (stemFormat == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    *stemFormat = settings.stemFormat;
    return AAX_SUCCESS;
}

AAX_Result HostInstanceServices::GetOutputStemFormat (uint32_t* stemFormat)
{
    return GetInputStemFormat (stemFormat);
}

AAX_Result HostInstanceServices::SetSignalLatency (int32_t samples)
{
    const std::lock_guard<std::mutex> guard (lock);
    latencies.push_back (samples);
    return AAX_SUCCESS;
}

AAX_Result HostInstanceServices::PostPacket (AAX_CFieldIndex fieldIndex, const void* data, uint32_t size)
{
    if (data == nullptr && size > 0)
        return AAX_ERROR_NULL_ARGUMENT;
    PacketSink sink;
    {
        const std::lock_guard<std::mutex> guard (lock);
        const auto* bytes = static_cast<const unsigned char*> (data);
        packets.push_back ({ fieldIndex, std::vector<unsigned char> (bytes, bytes + size) });
        sink = packetSink;
    }
    if (sink)
        sink (fieldIndex, data, size);
    return AAX_SUCCESS;
}

AAX_Result HostInstanceServices::ControllerQuery (void*)
{
    return AAX_ERROR_UNIMPLEMENTED;
}
AAX_Result HostInstanceServices::ControllerCall7 (void*)
{
    return AAX_ERROR_UNIMPLEMENTED;
}
AAX_Result HostInstanceServices::ControllerCall8 (void*)
{
    return AAX_ERROR_UNIMPLEMENTED;
}
AAX_Result HostInstanceServices::ControllerCall9 (void*)
{
    return AAX_ERROR_UNIMPLEMENTED;
}
AAX_Result HostInstanceServices::ControllerCall11 (void*)
{
    return AAX_ERROR_UNIMPLEMENTED;
}
AAX_Result HostInstanceServices::ControllerCall13 (void*)
{
    return AAX_ERROR_UNIMPLEMENTED;
}
AAX_Result HostInstanceServices::ControllerCall14 (void*)
{
    return AAX_ERROR_UNIMPLEMENTED;
}
AAX_Result HostInstanceServices::ControllerCall15 (void*)
{
    return AAX_ERROR_UNIMPLEMENTED;
}
AAX_Result HostInstanceServices::ControllerCall16 (void*)
{
    return AAX_ERROR_UNIMPLEMENTED;
}
AAX_Result HostInstanceServices::ControllerCall17 (void*)
{
    return AAX_ERROR_UNIMPLEMENTED;
}
AAX_Result HostInstanceServices::ControllerCall18 (void*)
{
    return AAX_ERROR_UNIMPLEMENTED;
}
AAX_Result HostInstanceServices::ControllerCall19 (void*)
{
    return AAX_ERROR_UNIMPLEMENTED;
}

//==============================================================================
AAX_Result HostInstanceServices::RegisterParameter (AAX_CParamID identifier)
{
    return record ("register", identifier);
}

AAX_Result HostInstanceServices::UnregisterParameter (AAX_CParamID identifier)
{
    return record ("unregister", identifier);
}

AAX_Result HostInstanceServices::RequestValue (AAX_CParamID identifier, double normalizedValue)
{
    if (identifier == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    Confirmation confirmation;
    {
        const std::lock_guard<std::mutex> guard (lock);
        events.push_back ({ "request", identifier, normalizedValue });
        if (confirmationDelay.count() > 0)
        {
            delayed.push_back ({ std::chrono::steady_clock::now() + confirmationDelay, identifier, normalizedValue });
            return AAX_SUCCESS;
        }
        confirmation = confirm;
    }
    if (confirmation)
        confirmation (identifier, normalizedValue);
    return AAX_SUCCESS;
}

AAX_Result HostInstanceServices::PostCurrentValue (AAX_CParamID identifier, double normalizedValue)
{
    return record ("post", identifier, normalizedValue);
}

AAX_Result HostInstanceServices::TouchParameter (AAX_CParamID identifier)
{
    return record ("touch", identifier);
}

AAX_Result HostInstanceServices::ReleaseParameter (AAX_CParamID identifier)
{
    return record ("release", identifier);
}

AAX_Result HostInstanceServices::AutomationCall9 (AAX_CParamID, void*)
{
    return AAX_ERROR_UNIMPLEMENTED;
}
