#pragma once

#include "AAX_HostServicesInstance.h"

#include <mutex>
#include <string>
#include <vector>

// Stands in for the host's trace and assertion services and records every call. While it
// exists it is the process-wide host-services instance.
class FakeHostServices : public AAX_IHostServices
{
public:
    struct TraceRecord
    {
        uint32_t priority;
        std::string message;
    };

    struct AssertionRecord
    {
        std::string file;
        int32_t line;
        std::string expression;
        int32_t flags;
    };

    FakeHostServices() { AAX_HostServicesInstance::Set (this); }
    ~FakeHostServices() override { AAX_HostServicesInstance::Set (nullptr); }

    AAX_Result ReportAssertion (const char* file, int32_t line, const char* expression, int32_t flags) override
    {
        std::lock_guard<std::mutex> lock (mutex);
        assertions.push_back ({ file, line, expression, flags });
        return 0;
    }

    AAX_Result Trace (uint32_t priority, const char* message) override
    {
        std::lock_guard<std::mutex> lock (mutex);
        traces.push_back ({ priority, message });
        return traceResult;
    }

    AAX_Result HostServicesCall5 (void*) override { return 0; }

    std::mutex mutex;
    std::vector<TraceRecord> traces;
    std::vector<AssertionRecord> assertions;
    AAX_Result traceResult = 0;
};
