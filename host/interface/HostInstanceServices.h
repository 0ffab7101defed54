#pragma once

#include "AAX_IACFAutomationDelegate.h"
#include "AAX_IACFController.h"
#include "HostComponent.h"

#include <chrono>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

/** What one insert's host side answers to its effect: the controller (sample rate, stem formats,
    latency, packets) and the automation delegate (registration, touch, value requests, release).
    Every call is recorded. A value request is confirmed by handing the value back to the effect,
    at once or, with a delay, from the host's main-thread idle call. */
class HostInstanceServices final : public HostComponent, public AAX_IACFController, public AAX_IACFAutomationDelegate
{
public:
    struct Settings
    {
        float sampleRate = 48000.0f;
        uint32_t stemFormat = 0;
        std::chrono::milliseconds confirmationDelay{ 0 };
    };

    struct AutomationEvent
    {
        std::string kind; // "register", "unregister", "touch", "request", "release", "post"
        std::string identifier;
        double value = 0.0;
    };

    struct PostedPacket
    {
        AAX_CFieldIndex field = 0;
        std::vector<unsigned char> data;
    };

    using Confirmation = std::function<void (const std::string& identifier, double value)>;
    using PacketSink = std::function<void (AAX_CFieldIndex field, const void* data, uint32_t size)>;

    explicit HostInstanceServices (Settings settings);

    LARKSPUR_HOST_COMPONENT_UNKNOWN

    /** The pointer to hand to the effect's initialisation. */
    IACFUnknown* asUnknown() noexcept { return static_cast<AAX_IACFController*> (this); }

    void setConfirmation (Confirmation confirmation);
    void setPacketSink (PacketSink sink);
    void setConfirmationDelay (std::chrono::milliseconds delay);
    /** Confirms every delayed request that is due; main thread. */
    void confirmDueRequests (std::chrono::steady_clock::time_point now = std::chrono::steady_clock::now());
    size_t pendingConfirmations() const;

    std::vector<AutomationEvent> automationEvents() const;
    std::vector<PostedPacket> postedPackets() const;
    std::vector<int32_t> reportedLatencies() const;
    void clearRecords();

    /** Controller */
    AAX_Result ControllerQuery (void* data) override;
    AAX_Result GetSampleRate (float* sampleRate) override;
    AAX_Result GetInputStemFormat (uint32_t* stemFormat) override;
    AAX_Result GetOutputStemFormat (uint32_t* stemFormat) override;
    AAX_Result ControllerCall7 (void* data) override;
    AAX_Result ControllerCall8 (void* data) override;
    AAX_Result ControllerCall9 (void* data) override;
    AAX_Result SetSignalLatency (int32_t samples) override;
    AAX_Result ControllerCall11 (void* data) override;
    AAX_Result PostPacket (AAX_CFieldIndex fieldIndex, const void* data, uint32_t size) override;
    AAX_Result ControllerCall13 (void* data) override;
    AAX_Result ControllerCall14 (void* data) override;
    AAX_Result ControllerCall15 (void* data) override;
    AAX_Result ControllerCall16 (void* data) override;
    AAX_Result ControllerCall17 (void* data) override;
    AAX_Result ControllerCall18 (void* data) override;
    AAX_Result ControllerCall19 (void* data) override;

    /** Automation delegate */
    AAX_Result RegisterParameter (AAX_CParamID identifier) override;
    AAX_Result UnregisterParameter (AAX_CParamID identifier) override;
    AAX_Result RequestValue (AAX_CParamID identifier, double normalizedValue) override;
    AAX_Result PostCurrentValue (AAX_CParamID identifier, double normalizedValue) override;
    AAX_Result TouchParameter (AAX_CParamID identifier) override;
    AAX_Result ReleaseParameter (AAX_CParamID identifier) override;
    AAX_Result AutomationCall9 (AAX_CParamID identifier, void* argument) override;

protected:
    void* findInterface (const AAX_GUID& interfaceId) noexcept override;

private:
    struct DelayedRequest
    {
        std::chrono::steady_clock::time_point due;
        std::string identifier;
        double value;
    };

    AAX_Result record (const char* kind, AAX_CParamID identifier, double value = 0.0);

    const Settings settings;
    mutable std::mutex lock;
    std::chrono::milliseconds confirmationDelay;
    Confirmation confirm;
    PacketSink packetSink;
    std::deque<DelayedRequest> delayed;
    std::vector<AutomationEvent> events;
    std::vector<PostedPacket> packets;
    std::vector<int32_t> latencies;
};
