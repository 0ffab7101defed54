#pragma once

#include "AAX.h"

#include <map>
#include <string>
#include <vector>

class AAX_IAutomationDelegate;
class AAX_IParameter;

/** Owns every host parameter of a plug-in instance and finds them by identifier or by index (the
    order of registration). It changes only during initialisation and tear-down, so it takes no
    lock. */
class AAX_CParameterRegistry
{
public:
    AAX_CParameterRegistry() = default;
    ~AAX_CParameterRegistry();

    AAX_CParameterRegistry (const AAX_CParameterRegistry&) = delete;
    AAX_CParameterRegistry& operator= (const AAX_CParameterRegistry&) = delete;

    /** Every parameter registered afterwards is attached to this delegate (not owned). */
    void SetAutomationDelegate (AAX_IAutomationDelegate* automationDelegate);
    AAX_IAutomationDelegate* AutomationDelegate() const noexcept { return mAutomationDelegate; }

    /** Takes ownership, attaches the automation delegate and appends the parameter. An identifier
        registered twice keeps its first parameter for lookups by identifier. */
    void AddParameter (AAX_IParameter* parameter);

    int32_t NumParameters() const noexcept { return static_cast<int32_t> (mParameters.size()); }
    /** Null outside 0 ... NumParameters() - 1. */
    AAX_IParameter* ParameterAtIndex (int32_t index) const noexcept;
    /** Null for a null or unknown identifier. */
    AAX_IParameter* FindParameterById (AAX_CParamID identifier) const;
    /** The first position whose parameter has exactly this identifier, or -1. */
    int32_t IndexOfId (AAX_CParamID identifier) const;

    /** Deletes the parameters in registration order (each unregisters itself from the host). */
    void DeleteAllParameters();

private:
    AAX_IAutomationDelegate* mAutomationDelegate = nullptr;
    std::vector<AAX_IParameter*> mParameters;
    std::map<std::string, AAX_IParameter*, std::less<>> mParametersById;
};
