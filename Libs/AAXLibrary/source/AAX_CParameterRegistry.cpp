#include "AAX_CParameterRegistry.h"

#include "AAX_IParameter.h"

#include <cstring>
#include <string_view>

AAX_CParameterRegistry::~AAX_CParameterRegistry()
{
    DeleteAllParameters();
}

void AAX_CParameterRegistry::SetAutomationDelegate (AAX_IAutomationDelegate* automationDelegate)
{
    mAutomationDelegate = automationDelegate;
}

void AAX_CParameterRegistry::AddParameter (AAX_IParameter* parameter)
{
    if (parameter == nullptr)
        return;

    parameter->SetAutomationDelegate (mAutomationDelegate);
    mParameters.push_back (parameter);
    mParametersById.emplace (parameter->Identifier(), parameter);
}

AAX_IParameter* AAX_CParameterRegistry::ParameterAtIndex (int32_t index) const noexcept
{
    if (index < 0 || index >= NumParameters())
        return nullptr;
    return mParameters[static_cast<size_t> (index)];
}

AAX_IParameter* AAX_CParameterRegistry::FindParameterById (AAX_CParamID identifier) const
{
    if (identifier == nullptr)
        return nullptr;
    const auto found = mParametersById.find (std::string_view (identifier));
    return found != mParametersById.end() ? found->second : nullptr;
}

int32_t AAX_CParameterRegistry::IndexOfId (AAX_CParamID identifier) const
{
    if (identifier == nullptr)
        return -1;
    for (size_t index = 0; index < mParameters.size(); ++index)
        if (mParameters[index] != nullptr && std::strcmp (mParameters[index]->Identifier(), identifier) == 0)
            return static_cast<int32_t> (index);
    return -1;
}

void AAX_CParameterRegistry::DeleteAllParameters()
{
    for (AAX_IParameter* parameter : mParameters)
        delete parameter;
    mParameters.clear();
    mParametersById.clear();
}
