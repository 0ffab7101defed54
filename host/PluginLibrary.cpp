#include "PluginLibrary.h"

#include <dlfcn.h>

namespace
{
template <typename Function>
bool resolve (void* handle, const char* name, Function& function, std::string& error)
{
    dlerror();
    void* const symbol = dlsym (handle, name);
    if (symbol == nullptr)
    {
        error = std::string ("missing entry point ") + name;
        return false;
    }
    function = reinterpret_cast<Function> (symbol);
    return true;
}
} // namespace

PluginLibrary::PluginLibrary (void* libraryHandle) noexcept
    : handle (libraryHandle)
{
}

PluginLibrary::~PluginLibrary()
{
    if (handle != nullptr)
        dlclose (handle);
}

std::unique_ptr<PluginLibrary> PluginLibrary::open (const std::string& path, std::string& error)
{
    void* const handle = dlopen (path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
    {
        const char* const reason = dlerror();
        error = "cannot load " + path + ": " + (reason != nullptr ? reason : "unknown error");
        return nullptr;
    }

    // The OpenMP runtime that the plug-in's resampler pulls in cannot be unloaded cleanly (its
    // start-up allocation is lost), so once loaded it stays, as in a host that keeps it resident.
    if (void* openMp = dlopen ("libgomp.so.1", RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE))
        dlclose (openMp);

    std::unique_ptr<PluginLibrary> library (new PluginLibrary (handle));
    EntryPoints& entries = library->entries;
    if (! resolve (handle, "ACFRegisterPlugin", entries.registerPlugin, error) ||
        ! resolve (handle, "ACFRegisterComponent", entries.registerComponent, error) ||
        ! resolve (handle, "ACFGetClassFactory", entries.getClassFactory, error) ||
        ! resolve (handle, "ACFCanUnloadNow", entries.canUnloadNow, error) ||
        ! resolve (handle, "ACFStartup", entries.startup, error) ||
        ! resolve (handle, "ACFShutdown", entries.shutdown, error) ||
        ! resolve (handle, "ACFGetSDKVersion", entries.getSDKVersion, error))
        return nullptr;
    return library;
}
