#pragma once

#include "HostCollection.h"
#include "HostComponent.h"
#include "HostConfiguration.h"
#include "HostUnknown.h"
#include "PluginLibrary.h"

#include <chrono>
#include <memory>

class HostState;

/** One host's conversation with a plug-in library, in the order a host drives it: start-up,
    registration, waiting until the library may be unloaded, shut-down. */
class HostSession
{
public:
    HostSession (const PluginLibrary::EntryPoints& entryPoints, HostConfiguration configuration = {},
                 bool echoLog = false);
    /** Shuts the plug-in down if this session started it. */
    ~HostSession();

    HostSession (const HostSession&) = delete;
    HostSession& operator= (const HostSession&) = delete;

    ACFRESULT startUp();
    /** Registers the plug-in and keeps the description it handed back. */
    ACFRESULT registerPlugin();
    /** The description handed back by the last successful registration, or null. */
    HostCollection* description() const noexcept { return definition.get(); }
    void releaseDescription() noexcept;
    /** Polls ACFCanUnloadNow until it answers 0 or the attempts run out; answers its last answer. */
    int32_t waitUntilUnloadable (int attempts = 50,
                                 std::chrono::milliseconds interval = std::chrono::milliseconds (10));
    ACFRESULT shutDown();
    /** Gives up on a plug-in that still has live objects: it is never shut down, so those objects
        keep working while anything still holds them. */
    void abandon() noexcept { started = false; }

    const PluginLibrary::EntryPoints& plugin() const noexcept { return entries; }
    HostUnknown& hostUnknown() noexcept { return *host.get(); }
    HostState& state() noexcept { return *sharedState; }

private:
    PluginLibrary::EntryPoints entries;
    std::shared_ptr<HostState> sharedState;
    HostReference<HostUnknown> host;
    HostReference<HostCollection> definition;
    bool started = false;
};
