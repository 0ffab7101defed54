#pragma once

#include "AAX_IACFEffectParameters.h"

class AAX_IPageTable;

/** The plug-in's effect-parameters interface: the newest host-facing version, whose object answers
    all four versions, followed by the two operations only the plug-in itself calls. */
class AAX_IEffectParameters : public AAX_IACFEffectParameters_V4
{
public:
    /** 51: lets the object adjust a host page table, wrapped, that UpdatePageTable received. */
    virtual AAX_Result CustomizePageTable (uint32_t tableType, uint32_t tableSize, AAX_IPageTable* pageTable) const = 0;
    /** 52: runs during InitializeWithHost once the host objects exist; a non-zero result ends the
        initialisation with that result. */
    virtual AAX_Result EffectInitHook() = 0;

protected:
    ~AAX_IEffectParameters() = default;
};
