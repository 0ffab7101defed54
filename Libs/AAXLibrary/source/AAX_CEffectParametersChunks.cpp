// The controls-state chunk operations of the effect-parameters object.

#include "AAX_Assert.h"
#include "AAX_CEffectParameters.h"
#include "AAX_CString.h"
#include "AAX_ChunkRecord.h"
#include "AAX_Errors.h"
#include "AAX_IParameter.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace
{
// A parameter's value as the first of its typed getters that answers gives it.
struct ProbedValue
{
    enum Kind
    {
        none,
        floatValue,
        int32Value,
        boolValue,
        doubleValue,
        stringValue,
    };

    Kind kind = none;
    float asFloat = 0.0f;
    int32_t asInt32 = 0;
    bool asBool = false;
    double asDouble = 0.0;
    AAX_CString asString;
};

ProbedValue probeValue (const AAX_IParameter& parameter)
{
    ProbedValue probed;
    if (parameter.ValueAsFloat (&probed.asFloat))
        probed.kind = ProbedValue::floatValue;
    else if (parameter.ValueAsInt32 (&probed.asInt32))
        probed.kind = ProbedValue::int32Value;
    else if (parameter.ValueAsBool (&probed.asBool))
        probed.kind = ProbedValue::boolValue;
    else if (parameter.ValueAsDouble (&probed.asDouble))
        probed.kind = ProbedValue::doubleValue;
    else if (parameter.ValueAsString (&probed.asString))
        probed.kind = ProbedValue::stringValue;
    return probed;
}

// Narrows as the hardware does, but without the undefined behaviour of converting a double that
// lies beyond the float range: such values become infinities.
float narrowToFloat (double value) noexcept
{
    constexpr double largest = double (std::numeric_limits<float>::max());
    if (value > largest)
        return std::numeric_limits<float>::infinity();
    if (value < -largest)
        return -std::numeric_limits<float>::infinity();
    return static_cast<float> (value);
}
} // namespace

void AAX_CEffectParameters::BuildChunkData()
{
    mChunkParser.Clear();

    int32_t count = 0;
    ParameterCount (&count);
    for (int32_t index = 0; index < count; ++index)
    {
        const AAX_IParameter* parameter = mParameterRegistry.ParameterAtIndex (index);
        if (! AAX_CheckAssertion (parameter != nullptr, AAX_AssertionSites::ChunkBuildMissingParameter))
            continue;
        if (IsFiltered (*parameter))
            continue;

        const char* identifier = parameter->Identifier();
        const ProbedValue probed = probeValue (*parameter);
        switch (probed.kind)
        {
            case ProbedValue::floatValue:
                mChunkParser.AddDouble (identifier, double (probed.asFloat));
                break;
            case ProbedValue::int32Value:
                mChunkParser.AddInt32 (identifier, probed.asInt32);
                break;
            case ProbedValue::boolValue:
                mChunkParser.AddInt32 (identifier, probed.asBool ? 1 : 0);
                break;
            case ProbedValue::doubleValue:
                mChunkParser.AddDouble (identifier, probed.asDouble);
                break;
            case ProbedValue::stringValue:
                mChunkParser.AddString (identifier, probed.asString);
                break;
            case ProbedValue::none:
                break;
        }
    }
}

AAX_Result AAX_CEffectParameters::ChunkCount (int32_t* count) const
{
    if (count == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    *count = 1;
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::ChunkIdAtIndex (int32_t index, AAX_CTypeID* chunkId) const
{
    if (chunkId == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    if (index != 0)
    {
        *chunkId = 0;
        return AAX_ERROR_INVALID_CHUNK_INDEX;
    }
    *chunkId = AAX_ControlsStateChunkId;
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::ChunkSizeForId (AAX_CTypeID chunkId, uint32_t* size)
{
    if (size == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    if (chunkId != AAX_ControlsStateChunkId)
    {
        *size = 0;
        return AAX_ERROR_INVALID_CHUNK_ID;
    }

    BuildChunkData();
    const int32_t dataSize = mChunkParser.GetChunkDataSize();
    mLastChunkSize = dataSize;
    if (dataSize < 0)
        return AAX_ERROR_INCORRECT_CHUNK_SIZE;
    *size = static_cast<uint32_t> (dataSize);
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::WriteChunk (AAX_CTypeID chunkId, ChunkRecord* chunk)
{
    if (chunkId != AAX_ControlsStateChunkId)
        return AAX_ERROR_INVALID_CHUNK_ID;
    if (chunk == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;

    // The host allocated the record for the size announced last; the entries must still fit it.
    BuildChunkData();
    const int32_t dataSize = mChunkParser.GetChunkDataSize();
    if (mLastChunkSize != dataSize || dataSize == 0)
        return AAX_ERROR_INCORRECT_CHUNK_SIZE;

    chunk->version = mChunkParser.Version();
    std::memset (chunk->name, 0, sizeof (chunk->name));
    std::strncpy (chunk->name, AAX_ControlsStateChunkName, sizeof (chunk->name) - 1);
    return mChunkParser.GetChunkData (chunk);
}

AAX_Result AAX_CEffectParameters::ApplyChunk (AAX_CTypeID chunkId, const ChunkRecord* chunk)
{
    if (chunkId != AAX_ControlsStateChunkId)
        return AAX_ERROR_INVALID_CHUNK_ID;
    if (chunk == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;

    mChunkParser.LoadChunk (chunk);

    int32_t count = 0;
    ParameterCount (&count);
    for (int32_t index = 0; index < count; ++index)
    {
        AAX_IParameter* parameter = mParameterRegistry.ParameterAtIndex (index);
        if (parameter == nullptr || IsFiltered (*parameter))
            continue;

        // A missing entry, or one of another type, leaves the parameter as it is; so does a
        // value that is not finite.
        const char* identifier = parameter->Identifier();
        double doubleEntry = 0.0;
        int32_t int32Entry = 0;
        switch (probeValue (*parameter).kind)
        {
            case ProbedValue::floatValue:
                if (mChunkParser.FindDouble (identifier, &doubleEntry))
                {
                    const float value = narrowToFloat (doubleEntry);
                    if (std::isfinite (value))
                        parameter->SetValueFromFloat (value);
                }
                break;
            case ProbedValue::int32Value:
                if (mChunkParser.FindInt32 (identifier, &int32Entry))
                    parameter->SetValueFromInt32 (int32Entry);
                break;
            case ProbedValue::boolValue:
                if (mChunkParser.FindInt32 (identifier, &int32Entry))
                    parameter->SetValueFromBool (int32Entry != 0);
                break;
            case ProbedValue::doubleValue:
                if (mChunkParser.FindDouble (identifier, &doubleEntry) && std::isfinite (doubleEntry))
                    parameter->SetValueFromDouble (doubleEntry);
                break;
            case ProbedValue::stringValue:
            {
                AAX_CString text;
                if (mChunkParser.FindString (identifier, &text))
                    parameter->SetValueFromIString (text);
                break;
            }
            case ProbedValue::none:
                break;
        }
    }
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::CompareWithChunk (const ChunkRecord* chunk, bool* isEqual)
{
    if (chunk == nullptr || isEqual == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    if (chunk->chunkTypeId != AAX_ControlsStateChunkId)
    {
        *isEqual = true;
        return AAX_SUCCESS;
    }

    *isEqual = false;
    mChunkParser.LoadChunk (chunk);

    int32_t count = 0;
    ParameterCount (&count);
    if (count < 1)
    {
        *isEqual = true;
        return AAX_SUCCESS;
    }

    for (int32_t index = 0; index < count; ++index)
    {
        const AAX_IParameter* parameter = mParameterRegistry.ParameterAtIndex (index);
        if (! AAX_CheckAssertion (parameter != nullptr, AAX_AssertionSites::ChunkCompareMissingParameter))
            continue;
        if (IsFiltered (*parameter))
            continue;

        // Floats and doubles compare at float precision; NaN never equals anything.
        const char* identifier = parameter->Identifier();
        const ProbedValue probed = probeValue (*parameter);
        double doubleEntry = 0.0;
        int32_t int32Entry = 0;
        bool same = true;
        switch (probed.kind)
        {
            case ProbedValue::floatValue:
                same =
                    mChunkParser.FindDouble (identifier, &doubleEntry) && narrowToFloat (doubleEntry) == probed.asFloat;
                break;
            case ProbedValue::int32Value:
                same = mChunkParser.FindInt32 (identifier, &int32Entry) && int32Entry == probed.asInt32;
                break;
            case ProbedValue::boolValue:
                same = mChunkParser.FindInt32 (identifier, &int32Entry) && (int32Entry != 0) == probed.asBool;
                break;
            case ProbedValue::doubleValue:
                same = mChunkParser.FindDouble (identifier, &doubleEntry) &&
                       narrowToFloat (doubleEntry) == narrowToFloat (probed.asDouble);
                break;
            case ProbedValue::stringValue:
            {
                AAX_CString text;
                same = mChunkParser.FindString (identifier, &text) &&
                       std::strcmp (text.CString(), probed.asString.CString()) == 0;
                break;
            }
            case ProbedValue::none:
                break;
        }
        if (! same)
            return AAX_SUCCESS;
    }

    *isEqual = true;
    return AAX_SUCCESS;
}
