#include "HostSession.h"

#include "HostState.h"

#include <thread>

HostSession::HostSession (const PluginLibrary::EntryPoints& entryPoints, HostConfiguration configuration, bool echoLog)
    : entries (entryPoints)
    , sharedState (std::make_shared<HostState> (configuration, echoLog))
    , host (new HostUnknown (sharedState))
{
}

HostSession::~HostSession()
{
    releaseDescription();
    if (started)
        shutDown();
}

ACFRESULT HostSession::startUp()
{
    const ACFRESULT result = entries.startup (host->asUnknown());
    started = started || result == ACF_OK;
    return result;
}

ACFRESULT HostSession::registerPlugin()
{
    releaseDescription();
    IACFUnknown* returned = nullptr;
    const ACFRESULT result = entries.registerPlugin (host->asUnknown(), &returned);
    if (returned != nullptr)
    {
        if (auto* collection = dynamic_cast<HostCollection*> (returned))
            definition = HostReference<HostCollection> (collection);
        else
            returned->Release();
    }
    return result;
}

void HostSession::releaseDescription() noexcept
{
    definition = HostReference<HostCollection>();
}

int32_t HostSession::waitUntilUnloadable (int attempts, std::chrono::milliseconds interval)
{
    int32_t live = entries.canUnloadNow();
    for (int attempt = 1; attempt < attempts && live != 0; ++attempt)
    {
        std::this_thread::sleep_for (interval);
        live = entries.canUnloadNow();
    }
    return live;
}

ACFRESULT HostSession::shutDown()
{
    started = false;
    return entries.shutdown();
}
