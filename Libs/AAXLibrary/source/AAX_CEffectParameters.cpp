#include "AAX_CEffectParameters.h"

#include "AAX_Assert.h"
#include "AAX_CString.h"
#include "AAX_Errors.h"
#include "AAX_IParameter.h"
#include "AAX_InterfaceIDs.h"
#include "AAX_VPageTable.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace
{
// The longest shortened name that is split into lines.
constexpr size_t maxAbbreviationWorkingLength = 255;

bool isEffectParametersInterface (const AAX_GUID& interfaceId)
{
    return interfaceId == AAX_IID_EffectParameters || interfaceId == AAX_IID_EffectParameters_V2 ||
           interfaceId == AAX_IID_EffectParameters_V3 || interfaceId == AAX_IID_EffectParameters_V4;
}

// Lines end before their line feed; a line feed at the very end adds no empty line.
std::vector<std::string> splitLines (const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size())
    {
        const size_t lineFeed = text.find ('\n', start);
        if (lineFeed == std::string::npos)
        {
            lines.push_back (text.substr (start));
            break;
        }
        lines.push_back (text.substr (start, lineFeed - start));
        start = lineFeed + 1;
    }
    return lines;
}

// Reads one property of a registered parameter. A null destination or an unknown identifier is
// refused before anything is written.
template <typename Value, typename Read>
AAX_Result readParameter (const AAX_CParameterRegistry& registry, AAX_CParamID identifier, Value* destination,
                          Read read)
{
    if (destination == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    const AAX_IParameter* parameter = registry.FindParameterById (identifier);
    if (parameter == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;
    *destination = read (*parameter);
    return AAX_SUCCESS;
}

// Sets a value of a registered parameter; values that are not finite are refused.
AAX_Result setFiniteValue (const AAX_CParameterRegistry& registry, AAX_CParamID identifier, double value,
                           void (AAX_IParameter::*set) (double))
{
    AAX_IParameter* parameter = registry.FindParameterById (identifier);
    if (parameter == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;
    if (! std::isfinite (value))
        return AAX_ERROR_INVALID_ARGUMENT;
    (parameter->*set) (value);
    return AAX_SUCCESS;
}

// Where a relative change lands: the current value moved by delta, within the normalised range.
// An infinite step would clamp to a bound, so it is refused like any other non-finite value.
AAX_Result relativeTarget (const AAX_IEffectParameters& effect, AAX_CParamID identifier, double delta, double* target)
{
    double current = 0.0;
    if (const AAX_Result result = effect.ParameterNormalizedValue (identifier, &current); result != AAX_SUCCESS)
        return result;
    if (! std::isfinite (delta) || ! std::isfinite (current))
        return AAX_ERROR_INVALID_ARGUMENT;
    *target = std::clamp (current + delta, 0.0, 1.0);
    return AAX_SUCCESS;
}
} // namespace

AAX_CEffectParameters::AAX_CEffectParameters() = default;

AAX_CEffectParameters::~AAX_CEffectParameters()
{
    // Parameters unregister themselves from the automation delegate, so they go first.
    mParameterRegistry.DeleteAllParameters();
}

ACFRESULT AAX_CEffectParameters::InternalQueryInterface (const AAX_GUID& interfaceId, void** interfaceOut)
{
    if (interfaceOut != nullptr && isEffectParametersInterface (interfaceId))
    {
        AAX_IEffectParameters* const face = this;
        *interfaceOut = face;
        face->AddRef();
        return ACF_OK;
    }
    return CACFUnknown::InternalQueryInterface (interfaceId, interfaceOut);
}

AAX_Result AAX_CEffectParameters::InitializeWithHost (IACFUnknown* hostUnknown)
{
    auto controller = std::make_unique<AAX_VController> (hostUnknown);
    auto automationDelegate = std::make_unique<AAX_VAutomationDelegate> (hostUnknown);
    auto transport = std::make_unique<AAX_VTransport> (hostUnknown);

    // A repeated initialisation moves parameters registered earlier to the new delegate before
    // the old one goes.
    for (int32_t index = 0; index < mParameterRegistry.NumParameters(); ++index)
        if (AAX_IParameter* parameter = mParameterRegistry.ParameterAtIndex (index))
            parameter->SetAutomationDelegate (automationDelegate.get());

    mController = std::move (controller);
    mAutomationDelegate = std::move (automationDelegate);
    mTransport = std::move (transport);

    mParameterRegistry.SetAutomationDelegate (mAutomationDelegate.get());
    mPacketDispatcher.Initialize (mController.get(), this);

    if (const AAX_Result hookResult = EffectInitHook(); hookResult != AAX_SUCCESS)
        return hookResult;

    // Without a master-bypass parameter the empty identifier is filtered.
    AAX_CString masterBypass;
    MasterBypassIdentifier (&masterBypass);
    mFilteredParameters.insert (masterBypass.CString());

    int32_t count = 0;
    ParameterCount (&count);
    if (count > 0)
    {
        mNumChunkedParameters = count - static_cast<int32_t> (mFilteredParameters.size());
        AAX_CheckAssertion (mNumChunkedParameters >= 0, AAX_AssertionSites::ChunkedParameterCountNegative);
    }
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::TearDown()
{
    mParameterRegistry.DeleteAllParameters();
    mParameterRegistry.SetAutomationDelegate (nullptr);
    // Packets dispatched after this have no controller to go to.
    mPacketDispatcher.Initialize (static_cast<AAX_IController*> (nullptr), this);

    mController.reset();
    mAutomationDelegate.reset();
    mTransport.reset();
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::HandleNotification (int32_t notificationType, const void* data, uint32_t size)
{
    if (notificationType != AAX_PreviewStateNotification || data == nullptr || size < sizeof (int32_t))
        return AAX_SUCCESS;

    if (AAX_IParameter* preview = mParameterRegistry.FindParameterById (AAX_PreviewParameterId))
    {
        int32_t previewOn = 0;
        std::memcpy (&previewOn, data, sizeof (previewOn));
        preview->SetValueFromBool (previewOn != 0);
    }
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::ParameterCount (int32_t* count) const
{
    if (count == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    *count = mParameterRegistry.NumParameters();
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::MasterBypassIdentifier (AAX_IString* identifier) const
{
    if (identifier == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    const bool registered = mParameterRegistry.FindParameterById (AAX_MasterBypassParameterId) != nullptr;
    identifier->SetCString (registered ? AAX_MasterBypassParameterId : "");
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::IsParameterAutomatable (AAX_CParamID identifier, bool* automatable) const
{
    // An unknown identifier answers "not automatable" as well as the error.
    if (automatable != nullptr)
        *automatable = false;
    return readParameter (mParameterRegistry, identifier, automatable,
                          [] (const AAX_IParameter& parameter) { return parameter.IsAutomatable(); });
}

AAX_Result AAX_CEffectParameters::ParameterStepCount (AAX_CParamID identifier, int32_t* stepCount) const
{
    if (stepCount == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    const AAX_IParameter* parameter = mParameterRegistry.FindParameterById (identifier);
    if (parameter == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;

    const uint32_t steps = parameter->StepCount();
    if (steps > static_cast<uint32_t> (std::numeric_limits<int32_t>::max()))
        return AAX_ERROR_SIGNED_INT_OVERFLOW;
    *stepCount = static_cast<int32_t> (steps);
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::ParameterName (AAX_CParamID identifier, AAX_IString* name) const
{
    if (name == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    const AAX_IParameter* parameter = mParameterRegistry.FindParameterById (identifier);
    if (parameter == nullptr)
        name->SetCString ("");
    else
        name->AssignString (parameter->Name());
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::ParameterAbbreviatedName (AAX_CParamID identifier, AAX_IString* name,
                                                            int32_t maxLength) const
{
    if (name == nullptr)
        return AAX_ERROR_INVALID_STRING_CONVERSION;
    const AAX_IParameter* parameter = mParameterRegistry.FindParameterById (identifier);
    if (parameter == nullptr)
    {
        name->SetCString ("");
        return AAX_SUCCESS;
    }

    // A shortened name may hold several candidates, one per line: the longest that fits wins,
    // the first among equals.
    const AAX_CString& shortened = parameter->ShortenedName (maxLength);
    const std::string working (shortened.CString(),
                               std::min<size_t> (shortened.Length(), maxAbbreviationWorkingLength));
    const std::vector<std::string> lines = splitLines (working);

    size_t bestLength = 0;
    bool taken = false;
    for (const std::string& line : lines)
    {
        if (line.size() > bestLength && static_cast<int64_t> (line.size()) <= maxLength)
        {
            name->SetCString (line.c_str());
            bestLength = line.size();
            taken = true;
        }
    }
    if (taken || lines.empty())
        return AAX_SUCCESS;

    if (maxLength < 1)
    {
        name->SetCString ("");
        return AAX_SUCCESS;
    }

    // Nothing fits: the start of the whole shortened name.
    const size_t length = std::min<size_t> (shortened.Length(), static_cast<size_t> (maxLength));
    name->SetCString (std::string (shortened.CString(), length).c_str());
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::ParameterDefaultNormalizedValue (AAX_CParamID identifier, double* value) const
{
    return readParameter (mParameterRegistry, identifier, value,
                          [] (const AAX_IParameter& parameter) { return parameter.NormalizedDefaultValue(); });
}

AAX_Result AAX_CEffectParameters::SetParameterDefaultNormalizedValue (AAX_CParamID identifier, double value)
{
    return setFiniteValue (mParameterRegistry, identifier, value, &AAX_IParameter::SetNormalizedDefaultValue);
}

AAX_Result AAX_CEffectParameters::ParameterType (AAX_CParamID identifier, uint32_t* type) const
{
    return readParameter (mParameterRegistry, identifier, type,
                          [] (const AAX_IParameter& parameter) { return parameter.Type(); });
}

AAX_Result AAX_CEffectParameters::ParameterOrientation (AAX_CParamID identifier, uint32_t* orientation) const
{
    return readParameter (mParameterRegistry, identifier, orientation,
                          [] (const AAX_IParameter& parameter) { return parameter.Orientation(); });
}

AAX_Result AAX_CEffectParameters::ParameterById (AAX_CParamID identifier, AAX_IParameter** parameter) const
{
    if (parameter == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    *parameter = mParameterRegistry.FindParameterById (identifier);
    return *parameter != nullptr ? AAX_SUCCESS : AAX_ERROR_INVALID_PARAMETER_ID;
}

AAX_Result AAX_CEffectParameters::ParameterIndexById (AAX_CParamID identifier, int32_t* index) const
{
    if (index == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    *index = mParameterRegistry.IndexOfId (identifier);
    return *index >= 0 ? AAX_SUCCESS : AAX_ERROR_INVALID_PARAMETER_ID;
}

AAX_Result AAX_CEffectParameters::ParameterIdByIndex (int32_t index, AAX_IString* identifier) const
{
    if (identifier == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    const AAX_IParameter* parameter = mParameterRegistry.ParameterAtIndex (index);
    if (parameter == nullptr)
    {
        identifier->SetCString ("");
        return AAX_ERROR_INVALID_PARAMETER_ID;
    }
    identifier->SetCString (parameter->Identifier());
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::ParameterValueInfo (AAX_CParamID, int32_t, int32_t* value) const
{
    if (value != nullptr)
        *value = 0;
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_CEffectParameters::NormalizedValueFromString (AAX_CParamID identifier, double* value,
                                                             const AAX_IString& text) const
{
    if (value == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    const AAX_IParameter* parameter = mParameterRegistry.FindParameterById (identifier);
    if (parameter == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;

    double converted = 0.0;
    if (! parameter->NormalizedValueFromString (AAX_CString (text), &converted))
        return AAX_ERROR_INVALID_STRING_CONVERSION;
    *value = converted;
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::StringFromNormalizedValue (AAX_CParamID identifier, double value, AAX_IString& text,
                                                             int32_t maxLength) const
{
    const AAX_IParameter* parameter = mParameterRegistry.FindParameterById (identifier);
    if (parameter == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;

    AAX_CString converted;
    if (! parameter->StringFromNormalizedValue (value, maxLength, &converted))
        return AAX_ERROR_INVALID_STRING_CONVERSION;
    text.AssignString (converted);
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::ParameterValueString (AAX_CParamID identifier, AAX_IString* text,
                                                        int32_t maxLength) const
{
    if (text == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    const AAX_IParameter* parameter = mParameterRegistry.FindParameterById (identifier);
    if (parameter == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;

    AAX_CString converted;
    parameter->ValueString (maxLength, &converted);
    text->AssignString (converted);
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::ParameterNormalizedValue (AAX_CParamID identifier, double* value) const
{
    return readParameter (mParameterRegistry, identifier, value,
                          [] (const AAX_IParameter& parameter) { return parameter.NormalizedValue(); });
}

AAX_Result AAX_CEffectParameters::SetParameterNormalizedValue (AAX_CParamID identifier, double value)
{
    return setFiniteValue (mParameterRegistry, identifier, value, &AAX_IParameter::SetNormalizedValue);
}

AAX_Result AAX_CEffectParameters::SetParameterNormalizedRelative (AAX_CParamID identifier, double delta)
{
    double target = 0.0;
    if (const AAX_Result result = relativeTarget (*this, identifier, delta, &target); result != AAX_SUCCESS)
        return result;
    return SetParameterNormalizedValue (identifier, target);
}

AAX_Result AAX_CEffectParameters::TouchParameter (AAX_CParamID identifier)
{
    AAX_IParameter* parameter = mParameterRegistry.FindParameterById (identifier);
    if (parameter == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;
    parameter->Touch();
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::ReleaseParameter (AAX_CParamID identifier)
{
    AAX_IParameter* parameter = mParameterRegistry.FindParameterById (identifier);
    if (parameter == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;
    parameter->Release();
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::EffectCall28()
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::UpdateParameterNormalizedValue (AAX_CParamID identifier, double value, int32_t)
{
    AAX_IParameter* parameter = mParameterRegistry.FindParameterById (identifier);
    if (parameter == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;
    if (! std::isfinite (value))
        return AAX_ERROR_INVALID_ARGUMENT;

    // Dispatching may run on another thread and reads the value under the dispatcher's lock.
    AAX_CRecursiveMutex::ScopedLock lock (mPacketDispatcher.Mutex());
    const double oldValue = parameter->NormalizedValue();
    parameter->UpdateNormalizedValue (value);
    const AAX_Result result = mPacketDispatcher.MarkPacketsDirty (identifier);
    if (oldValue != value)
        mChangeCounter = static_cast<int32_t> (static_cast<uint32_t> (mChangeCounter) + 1u);
    return result;
}

AAX_Result AAX_CEffectParameters::UpdateParameterNormalizedRelative (AAX_CParamID identifier, double delta)
{
    double target = 0.0;
    if (const AAX_Result result = relativeTarget (*this, identifier, delta, &target); result != AAX_SUCCESS)
        return result;
    return UpdateParameterNormalizedValue (identifier, target, 0);
}

AAX_Result AAX_CEffectParameters::DispatchPackets()
{
    return mPacketDispatcher.DispatchDirtyPackets();
}

AAX_Result AAX_CEffectParameters::ZeroFieldData (AAX_CFieldIndex, void* data, uint32_t size) const
{
    if (data != nullptr)
        std::memset (data, 0, size);
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::ParameterChangeCount (int32_t* count) const
{
    if (count == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    AAX_CRecursiveMutex::ScopedLock lock (mPacketDispatcher.Mutex());
    if (mChangeCounter >= 0)
        *count = mChangeCounter;
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::EffectCall40()
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::TypedQuery41 (AAX_CTypeID, void*)
{
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_CEffectParameters::EffectCall42 (void*, void*, void*, void*, uint32_t* out)
{
    if (out != nullptr)
        *out = 0;
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::EffectCall43()
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::EffectCall44()
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::EffectCall45()
{
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_CEffectParameters::EffectCall46()
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::EffectCall47()
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::TypedQuery48 (AAX_CTypeID, void*) const
{
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_CEffectParameters::TypedQuery49 (AAX_CTypeID, void*) const
{
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_CEffectParameters::UpdatePageTable (uint32_t tableType, uint32_t tableSize, int32_t,
                                                   IACFUnknown* pageTable) const
{
    // The wrapper holds its own references and releases them when it goes.
    AAX_VPageTable wrapped (pageTable);
    if (! wrapped.HoldsHostInterface())
        return AAX_SUCCESS;
    return CustomizePageTable (tableType, tableSize, &wrapped);
}

AAX_Result AAX_CEffectParameters::CustomizePageTable (uint32_t, uint32_t, AAX_IPageTable*) const
{
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_CEffectParameters::EffectInitHook()
{
    return AAX_SUCCESS;
}

bool AAX_CEffectParameters::IsFiltered (const AAX_IParameter& parameter) const
{
    const char* identifier = parameter.Identifier();
    return mFilteredParameters.find (std::string_view (identifier != nullptr ? identifier : "")) !=
           mFilteredParameters.end();
}
