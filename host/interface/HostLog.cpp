#include "HostLog.h"

#include <cstdio>

namespace
{
std::string textOrEmpty (const char* text)
{
    return text != nullptr ? std::string (text) : std::string();
}
} // namespace

HostLog::HostLog (bool echoToStandardError)
    : echo (echoToStandardError)
{
}

void HostLog::addTrace (uint32_t priority, const char* message)
{
    const std::lock_guard<std::mutex> guard (lock);
    traceRecords.push_back ({ priority, textOrEmpty (message) });
    if (echo)
        std::fprintf (stderr, "trace [priority 0x%08X] %s\n", static_cast<unsigned> (priority),
                      traceRecords.back().message.c_str());
}

void HostLog::addAssertion (const char* file, int32_t line, const char* expression, int32_t flags)
{
    const std::lock_guard<std::mutex> guard (lock);
    assertionRecords.push_back ({ textOrEmpty (file), line, textOrEmpty (expression), flags });
    if (echo)
        std::fprintf (stderr, "assertion [flags %d] %s:%d: %s\n", static_cast<int> (flags),
                      assertionRecords.back().file.c_str(), static_cast<int> (line),
                      assertionRecords.back().expression.c_str());
}

std::vector<HostLog::Trace> HostLog::traces() const
{
    const std::lock_guard<std::mutex> guard (lock);
    return traceRecords;
}

std::vector<HostLog::Assertion> HostLog::assertions() const
{
    const std::lock_guard<std::mutex> guard (lock);
    return assertionRecords;
}

void HostLog::clear()
{
    const std::lock_guard<std::mutex> guard (lock);
    traceRecords.clear();
    assertionRecords.clear();
}
