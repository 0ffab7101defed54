#pragma once

#include "AAX_Errors.h"
#include "AAX_IACFAutomationDelegate.h"
#include "AAX_IACFController.h"
#include "AAX_IACFEffectParameters.h"
#include "AAX_IACFPageTable.h"
#include "AAX_IACFTransport.h"
#include "AAX_InterfaceIDs.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

// The name of a host interface identifier, for the call records.
inline std::string interfaceName (const AAX_GUID& id)
{
    if (id == IID_IACFUnknown)
        return "unknown";
    if (id == AAX_IID_Controller)
        return "controller";
    if (id == AAX_IID_Controller_V2)
        return "controller2";
    if (id == AAX_IID_Controller_V3)
        return "controller3";
    if (id == AAX_IID_PageTableFactoryA)
        return "pageTableFactoryA";
    if (id == AAX_IID_PageTableFactoryB)
        return "pageTableFactoryB";
    if (id == AAX_IID_ObjectFactory)
        return "objectFactory";
    if (id == AAX_IID_AutomationDelegate)
        return "automationDelegate";
    if (id == AAX_IID_Transport)
        return "transport";
    if (id == AAX_IID_Transport_V2)
        return "transport2";
    if (id == AAX_IID_PageTable)
        return "pageTable";
    if (id == AAX_IID_PageTable_V2)
        return "pageTable2";
    return "other";
}

// Stands in for the host unknown handed to the effect: it answers the controller (version 1),
// the automation delegate and the transport (version 1), refuses everything else, and records
// every call in order. RequestValue is confirmed at once through UpdateParameterNormalizedValue
// when `confirmTo` is set, as the host does.
class FakeEffectHost final : public AAX_IACFController, public AAX_IACFAutomationDelegate, public AAX_IACFTransport
{
public:
    FakeEffectHost() = default;
    FakeEffectHost (const FakeEffectHost&) = delete;
    FakeEffectHost& operator= (const FakeEffectHost&) = delete;
    ~FakeEffectHost() = default;

    IACFUnknown* unknown() noexcept { return static_cast<AAX_IACFController*> (this); }

    ACFRESULT QueryInterface (const AAX_GUID& id, void** out) override
    {
        calls.push_back ("query " + interfaceName (id));
        *out = nullptr;
        if (id == IID_IACFUnknown || id == AAX_IID_Controller)
            *out = static_cast<AAX_IACFController*> (this);
        else if (id == AAX_IID_AutomationDelegate && offersAutomation)
            *out = static_cast<AAX_IACFAutomationDelegate*> (this);
        else if (id == AAX_IID_Transport)
            *out = static_cast<AAX_IACFTransport*> (this);
        else
            return ACF_E_NOINTERFACE;
        ++references;
        return ACF_OK;
    }
    uint32_t AddRef() override { return uint32_t (++references); }
    uint32_t Release() override { return uint32_t (--references); }

    // Controller
    AAX_Result PostPacket (AAX_CFieldIndex field, const void* data, uint32_t size) override
    {
        float value = 0.0f;
        if (size == sizeof (value))
            std::memcpy (&value, data, sizeof (value));
        char text[64];
        std::snprintf (text, sizeof (text), "post %d %u %g", field, size, double (value));
        calls.push_back (text);
        return AAX_SUCCESS;
    }
    AAX_Result GetSampleRate (float* rate) override
    {
        *rate = 48000.0f;
        return AAX_SUCCESS;
    }
    AAX_Result ControllerQuery (void*) override { return refuse ("controllerQuery"); }
    AAX_Result GetInputStemFormat (uint32_t*) override { return refuse ("inputStem"); }
    AAX_Result GetOutputStemFormat (uint32_t*) override { return refuse ("outputStem"); }
    AAX_Result ControllerCall7 (void*) override { return refuse ("controller7"); }
    AAX_Result ControllerCall8 (void*) override { return refuse ("controller8"); }
    AAX_Result ControllerCall9 (void*) override { return refuse ("controller9"); }
    AAX_Result SetSignalLatency (int32_t) override { return refuse ("latency"); }
    AAX_Result ControllerCall11 (void*) override { return refuse ("controller11"); }
    AAX_Result ControllerCall13 (void*) override { return refuse ("controller13"); }
    AAX_Result ControllerCall14 (void*) override { return refuse ("controller14"); }
    AAX_Result ControllerCall15 (void*) override { return refuse ("controller15"); }
    AAX_Result ControllerCall16 (void*) override { return refuse ("controller16"); }
    AAX_Result ControllerCall17 (void*) override { return refuse ("controller17"); }
    AAX_Result ControllerCall18 (void*) override { return refuse ("controller18"); }
    AAX_Result ControllerCall19 (void*) override { return refuse ("controller19"); }

    // Automation delegate
    AAX_Result RegisterParameter (AAX_CParamID id) override { return record ("register", id); }
    AAX_Result UnregisterParameter (AAX_CParamID id) override { return record ("unregister", id); }
    AAX_Result RequestValue (AAX_CParamID id, double value) override
    {
        record ("request", id, value);
        if (confirmTo != nullptr)
            confirmTo->UpdateParameterNormalizedValue (id, value, 0);
        return AAX_SUCCESS;
    }
    AAX_Result PostCurrentValue (AAX_CParamID id, double value) override { return record ("post", id, value); }
    AAX_Result TouchParameter (AAX_CParamID id) override { return record ("touch", id); }
    AAX_Result ReleaseParameter (AAX_CParamID id) override { return record ("release", id); }
    AAX_Result AutomationCall9 (AAX_CParamID id, void*) override { return record ("automation9", id); }

    // Transport
    AAX_Result GetCurrentTempo (double* bpm) override
    {
        *bpm = 120.0;
        return AAX_SUCCESS;
    }
    AAX_Result GetCurrentMeter (int32_t*, int32_t*) override { return refuse ("meter"); }
    AAX_Result IsTransportPlaying (bool*) override { return refuse ("playing"); }
    AAX_Result GetCurrentTickPosition (int64_t*) override { return refuse ("ticks"); }
    AAX_Result GetCurrentLoopPosition (bool*, int64_t*, int64_t*) override { return refuse ("loop"); }
    AAX_Result GetCurrentNativeSampleLocation (int64_t*) override { return refuse ("sample"); }
    AAX_Result TransportQuery9 (int64_t*) override { return refuse ("transport9"); }
    AAX_Result TransportQuery10 (int64_t*) override { return refuse ("transport10"); }
    AAX_Result TransportQuery11 (int64_t*) override { return refuse ("transport11"); }
    AAX_Result TransportQuery12 (int64_t*) override { return refuse ("transport12"); }

    // Calls whose text starts with the prefix, in order.
    std::vector<std::string> callsStartingWith (const std::string& prefix) const
    {
        std::vector<std::string> found;
        for (const std::string& call : calls)
            if (call.rfind (prefix, 0) == 0)
                found.push_back (call);
        return found;
    }

    std::vector<std::string> calls;
    // References the plug-in holds on the host's interfaces.
    int references = 0;
    bool offersAutomation = true;
    AAX_IACFEffectParameters* confirmTo = nullptr;

private:
    AAX_Result refuse (const char* what)
    {
        calls.push_back (what);
        return AAX_ERROR_UNIMPLEMENTED;
    }

    AAX_Result record (const char* what, AAX_CParamID id)
    {
        calls.push_back (std::string (what) + " " + id);
        return AAX_SUCCESS;
    }

    AAX_Result record (const char* what, AAX_CParamID id, double value)
    {
        char number[64];
        std::snprintf (number, sizeof (number), "%.17g", value);
        calls.push_back (std::string (what) + " " + id + " " + number);
        return AAX_SUCCESS;
    }
};

// A host page table that supplies version 1 only and counts the references held on it.
class FakePageTable final : public AAX_IACFPageTable
{
public:
    ACFRESULT QueryInterface (const AAX_GUID& id, void** out) override
    {
        *out = nullptr;
        if (id != AAX_IID_PageTable)
            return ACF_E_NOINTERFACE;
        *out = static_cast<AAX_IACFPageTable*> (this);
        ++references;
        return ACF_OK;
    }
    uint32_t AddRef() override { return uint32_t (++references); }
    uint32_t Release() override { return uint32_t (--references); }

    AAX_Result PageTableCall3 (void*) override { return AAX_ERROR_UNIMPLEMENTED; }
    AAX_Result PageTableCall4 (void*) override { return AAX_ERROR_UNIMPLEMENTED; }
    AAX_Result PageTableCall5 (void*) override { return AAX_ERROR_UNIMPLEMENTED; }
    AAX_Result PageTableCall6 (void*) override { return AAX_ERROR_UNIMPLEMENTED; }
    AAX_Result PageTableCall7 (void*) override { return AAX_ERROR_UNIMPLEMENTED; }
    AAX_Result PageTableCall8 (void*) override { return AAX_ERROR_UNIMPLEMENTED; }
    AAX_Result PageTableCall9 (void*) override { return AAX_ERROR_UNIMPLEMENTED; }
    AAX_Result PageTableCall10 (void*) override { return AAX_ERROR_UNIMPLEMENTED; }
    AAX_Result PageTableCall11 (void*) override { return AAX_ERROR_UNIMPLEMENTED; }

    int references = 0;
};
