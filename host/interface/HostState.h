#pragma once

#include "HostConfiguration.h"
#include "HostLog.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>

/** What the objects of one stand-in host share: its configuration, its log, the next process
    procedure identifier and a count of the objects the plug-in asked it to create. */
class HostState
{
public:
    explicit HostState (HostConfiguration configuration = {}, bool echoLog = false)
        : config (configuration)
        , log (echoLog)
    {
    }

    const HostConfiguration config;
    HostLog log;

    uint32_t nextProcId() noexcept { return ++lastProcId; }

    void countCreation (const std::string& className)
    {
        const std::lock_guard<std::mutex> guard (lock);
        ++creations[className];
    }

    int creationCount (const std::string& className) const
    {
        const std::lock_guard<std::mutex> guard (lock);
        const auto found = creations.find (className);
        return found != creations.end() ? found->second : 0;
    }

private:
    std::atomic<uint32_t> lastProcId{ 0 };
    mutable std::mutex lock;
    std::map<std::string, int> creations;
};
