#pragma once

#include "HostCollection.h"
#include "HostConfiguration.h"
#include "HostInstance.h"
#include "HostSession.h"
#include "PluginLibrary.h"

#include <cstdint>
#include <memory>
#include <string>

/** A plug-in library as a host holds it: loaded, started and registered through one session,
    inserts made of its description, and let go again, so that a plug-in that still has live
    objects stays loaded. The errors name what failed in the words the commands print. */
class LoadedPlugin
{
public:
    /** Loads the library and opens a session with it; null with the library's reason. */
    static std::unique_ptr<LoadedPlugin> open (const std::string& path, std::string& error,
                                               HostConfiguration configuration = {}, bool echoLog = false);

    /** Starts the plug-in and registers it; false with "ACFStartup answered N", or with "the plug-in
        did not register (N)" when registration fails or hands back no description. */
    bool start (std::string& error);
    /** Whether ACFStartup succeeded, and what the last registration answered. */
    bool isStarted() const noexcept { return startedUp; }
    ACFRESULT registrationAnswer() const noexcept { return registered; }

    /** The description of a successful registration. */
    HostCollection& description() const noexcept { return *hostSession.description(); }
    /** A new insert of the description; null with the reason. */
    std::unique_ptr<HostInstance> createInstance (const HostInstance::Options& options, std::string& error) const;

    /** Releases the description, waits until the plug-in has no live objects and shuts it down. False
        with "N plug-in objects still alive after tear-down; not shutting down" (the plug-in is then
        abandoned and its library kept loaded) or "ACFShutdown answered N". */
    bool unload (std::string& error);
    /** The objects the plug-in still counted when `unload` gave up on it. */
    int32_t liveObjects() const noexcept { return live; }

    HostSession& session() noexcept { return hostSession; }
    const PluginLibrary::EntryPoints& entryPoints() const noexcept { return library->entryPoints(); }

private:
    LoadedPlugin (std::unique_ptr<PluginLibrary> loaded, HostConfiguration configuration, bool echoLog);

    // Declared first so that the session ends before the library goes.
    std::unique_ptr<PluginLibrary> library;
    HostSession hostSession;
    bool startedUp = false;
    ACFRESULT registered = ACF_OK;
    int32_t live = 0;
};
