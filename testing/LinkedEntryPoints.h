#pragma once

#include "AAX_Exports.h"
#include "PluginLibrary.h"

/** The exports of the plug-in linked into this binary, for a host session that loads no library. */
inline PluginLibrary::EntryPoints linkedEntryPoints()
{
    PluginLibrary::EntryPoints entries;
    entries.registerPlugin = &ACFRegisterPlugin;
    entries.registerComponent = &ACFRegisterComponent;
    entries.getClassFactory = &ACFGetClassFactory;
    entries.canUnloadNow = &ACFCanUnloadNow;
    entries.startup = &ACFStartup;
    entries.shutdown = &ACFShutdown;
    entries.getSDKVersion = &ACFGetSDKVersion;
    return entries;
}
