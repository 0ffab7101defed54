#include "LoadedPlugin.h"

std::unique_ptr<LoadedPlugin> LoadedPlugin::open (const std::string& path, std::string& error,
                                                  HostConfiguration configuration, bool echoLog)
{
    auto library = PluginLibrary::open (path, error);
    if (library == nullptr)
        return nullptr;
    return std::unique_ptr<LoadedPlugin> (new LoadedPlugin (std::move (library), configuration, echoLog));
}

LoadedPlugin::LoadedPlugin (std::unique_ptr<PluginLibrary> loaded, HostConfiguration configuration, bool echoLog)
    : library (std::move (loaded))
    , hostSession (library->entryPoints(), configuration, echoLog)
{
}

bool LoadedPlugin::start (std::string& error)
{
    if (const ACFRESULT started = hostSession.startUp(); started != ACF_OK)
    {
        error = "ACFStartup answered " + std::to_string (started);
        return false;
    }
    startedUp = true;
    registered = hostSession.registerPlugin();
    if (registered != ACF_OK || hostSession.description() == nullptr)
    {
        error = "the plug-in did not register (" + std::to_string (registered) + ")";
        return false;
    }
    return true;
}

std::unique_ptr<HostInstance> LoadedPlugin::createInstance (const HostInstance::Options& options,
                                                            std::string& error) const
{
    return HostInstance::create (description(), options, error);
}

bool LoadedPlugin::unload (std::string& error)
{
    hostSession.releaseDescription();
    live = hostSession.waitUntilUnloadable();
    if (live != 0)
    {
        hostSession.abandon();
        library->keepLoaded();
        error = std::to_string (live) + " plug-in objects still alive after tear-down; not shutting down";
        return false;
    }
    if (const ACFRESULT stopped = hostSession.shutDown(); stopped != ACF_OK)
    {
        error = "ACFShutdown answered " + std::to_string (stopped);
        return false;
    }
    return true;
}
