#pragma once

#include "ACFTypes.h"
#include "IACFUnknown.h"

#include <string>
#include <utility>
#include <vector>

// Events the fakes record in order (for example "release transport v2").
struct EventLog
{
    std::vector<std::string> events;

    int count (const std::string& event) const
    {
        int n = 0;
        for (const auto& e : events)
            n += e == event ? 1 : 0;
        return n;
    }
};

// A host interface object that counts its references and logs every release under its label.
// It answers queries for nothing: the fake host unknown hands it out.
template <typename Interface>
class CountedHostObject : public Interface
{
public:
    CountedHostObject (EventLog& eventLog, std::string objectLabel)
        : log (eventLog)
        , label (std::move (objectLabel))
    {
    }
    virtual ~CountedHostObject() = default;

    ACFRESULT QueryInterface (const AAX_GUID&, void** out) override
    {
        *out = nullptr;
        return ACF_E_NOINTERFACE;
    }
    uint32_t AddRef() override { return static_cast<uint32_t> (++references); }
    uint32_t Release() override
    {
        log.events.push_back ("release " + label);
        return static_cast<uint32_t> (--references);
    }

    int references = 0;

private:
    EventLog& log;
    std::string label;
};

// A host unknown that answers each identifier with the object registered for it.
class FakeHostUnknown final : public IACFUnknown
{
public:
    virtual ~FakeHostUnknown() = default;

    void offer (const AAX_GUID& interfaceId, IACFUnknown* object) { offers.emplace_back (interfaceId, object); }

    ACFRESULT QueryInterface (const AAX_GUID& interfaceId, void** out) override
    {
        for (const auto& [id, object] : offers)
        {
            if (id == interfaceId)
            {
                object->AddRef();
                *out = object;
                return ACF_OK;
            }
        }
        *out = nullptr;
        return ACF_E_NOINTERFACE;
    }
    uint32_t AddRef() override { return 1; }
    uint32_t Release() override { return 1; }

private:
    std::vector<std::pair<AAX_GUID, IACFUnknown*>> offers;
};
