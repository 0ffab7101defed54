#pragma once

#include "AAX.h"
#include "ACFTypes.h"

class AAX_ICollection;
class IACFUnknown;

/** The plug-in's description: fills the collection with its effects. The product defines it. */
AAX_Result GetEffectDescriptions (AAX_ICollection* collection);

/** Builds the description on the host's collection and hands the host's description object back.
    Never throws: failures are traced and answered as result codes. */
AAX_Result AAXRegisterPlugin (IACFUnknown* hostUnknown, IACFUnknown** pluginDefinition);

/** Lets tests describe something else. Null restores GetEffectDescriptions. Answers the previous
    function (null for GetEffectDescriptions). */
using AAX_DescriptionFunction = AAX_Result (*) (AAX_ICollection*);
AAX_DescriptionFunction AAX_SetDescriptionFunction (AAX_DescriptionFunction function) noexcept;
