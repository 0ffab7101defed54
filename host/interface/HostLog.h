#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

/** What the plug-in reported to the host: traces and assertion failures, in order. Optionally
    echoed to standard error as they arrive. Safe to use from any thread. */
class HostLog
{
public:
    struct Trace
    {
        uint32_t priority;
        std::string message;
    };

    struct Assertion
    {
        std::string file;
        int32_t line;
        std::string expression;
        int32_t flags;
    };

    explicit HostLog (bool echoToStandardError = false);

    void addTrace (uint32_t priority, const char* message);
    void addAssertion (const char* file, int32_t line, const char* expression, int32_t flags);

    std::vector<Trace> traces() const;
    std::vector<Assertion> assertions() const;
    void clear();

private:
    const bool echo;
    mutable std::mutex lock;
    std::vector<Trace> traceRecords;
    std::vector<Assertion> assertionRecords;
};
