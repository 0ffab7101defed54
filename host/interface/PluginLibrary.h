#pragma once

#include "AAX_Exports.h"

#include <memory>
#include <string>

/** A loaded plug-in library and its seven entry points, looked up by name. */
class PluginLibrary
{
public:
    struct EntryPoints
    {
        ACFRegisterPluginFunction registerPlugin = nullptr;
        ACFRegisterComponentFunction registerComponent = nullptr;
        ACFGetClassFactoryFunction getClassFactory = nullptr;
        ACFCanUnloadNowFunction canUnloadNow = nullptr;
        ACFStartupFunction startup = nullptr;
        ACFShutdownFunction shutdown = nullptr;
        ACFGetSDKVersionFunction getSDKVersion = nullptr;
    };

    /** Loads the library file at `path` (a bare name is the file in the working folder) and resolves
        every entry point; null with a message when either fails. */
    static std::unique_ptr<PluginLibrary> open (const std::string& path, std::string& error);
    ~PluginLibrary();

    PluginLibrary (const PluginLibrary&) = delete;
    PluginLibrary& operator= (const PluginLibrary&) = delete;

    const EntryPoints& entryPoints() const noexcept { return entries; }
    /** Keeps the library in the process for good, for when objects it made may still be alive. */
    void keepLoaded() noexcept { handle = nullptr; }

private:
    explicit PluginLibrary (void* handle) noexcept;

    void* handle;
    EntryPoints entries;
};
