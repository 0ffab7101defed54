#pragma once

#include "AAX.h"

class IACFUnknown;

// Procedures that a description hands to the host.

/** Processes every instance in [instancesBegin, instancesEnd) for one block. */
using AAX_CProcessProc = void (*) (void* const instancesBegin[], const void* instancesEnd);
/** Tells an instance's context that it was created or is about to be destroyed. */
using AAX_CInstanceInitProc = int32_t (*) (const void* instance, int32_t action);
/** Runs in the host's background thread. */
using AAX_CBackgroundProc = int32_t (*)();
/** Creates a plug-in object (effect parameters or GUI) with no reference yet. */
using AAX_CCreateObjectProc = IACFUnknown* (*) ();

/** Identifiers of the creation procedures on an effect descriptor. */
using AAX_CProcPtrID = uint32_t;
constexpr AAX_CProcPtrID kAAX_ProcPtrID_Create_EffectParameters = 0;
constexpr AAX_CProcPtrID kAAX_ProcPtrID_Create_EffectGUI = 1;
