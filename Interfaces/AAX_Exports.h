#pragma once

#include "AAX.h"
#include "ACFTypes.h"

class AAX_ICollection;
class IACFUnknown;

// The seven entry points through which the host loads the plug-in library. They are the only
// symbols the library exports.
#define AAX_EXPORT extern "C" __attribute__ ((visibility ("default")))

/** Describes the plug-in's effects and hands the host's description object back through
    pluginDefinition. */
AAX_EXPORT ACFRESULT ACFRegisterPlugin (IACFUnknown* hostUnknown, IACFUnknown** pluginDefinition);
/** Components are not registered one by one: clears the out-pointer and succeeds. */
AAX_EXPORT ACFRESULT ACFRegisterComponent (IACFUnknown* hostUnknown, const AAX_GUID* componentId,
                                           IACFUnknown** componentDefinition);
/** There is no class factory: clears the out-pointer and answers AAX_ERROR_UNIMPLEMENTED. */
AAX_EXPORT ACFRESULT ACFGetClassFactory (IACFUnknown* hostUnknown, const AAX_GUID* classId, const AAX_GUID* interfaceId,
                                         void** classFactory);
/** The number of live plug-in objects: 0 when the library may be unloaded. */
AAX_EXPORT ACFRESULT ACFCanUnloadNow();
/** Makes the process-wide host services (traces and assertion reports go through them). */
AAX_EXPORT ACFRESULT ACFStartup (IACFUnknown* hostUnknown);
/** Deletes the process-wide host services. */
AAX_EXPORT ACFRESULT ACFShutdown();
/** Writes the interface version the library was built against. */
AAX_EXPORT ACFRESULT ACFGetSDKVersion (uint64_t* version);

/** The interface version that ACFGetSDKVersion reports. */
constexpr uint64_t AAX_SDK_VERSION = 0x0000020300D5E5B4ull;

/** Function types of the entry points, for hosts that look them up by name. */
using ACFRegisterPluginFunction = ACFRESULT (*) (IACFUnknown*, IACFUnknown**);
using ACFRegisterComponentFunction = ACFRESULT (*) (IACFUnknown*, const AAX_GUID*, IACFUnknown**);
using ACFGetClassFactoryFunction = ACFRESULT (*) (IACFUnknown*, const AAX_GUID*, const AAX_GUID*, void**);
using ACFCanUnloadNowFunction = ACFRESULT (*)();
using ACFStartupFunction = ACFRESULT (*) (IACFUnknown*);
using ACFShutdownFunction = ACFRESULT (*)();
using ACFGetSDKVersionFunction = ACFRESULT (*) (uint64_t*);
