// Applies arbitrary chunk records to an effect-parameters object whose parameters answer as
// float, int32, bool, double and string values. The input is a whole record (56-byte header,
// then the data area), as for the parser fuzzer. Whatever is applied, every float value stays
// finite and inside [0, 1], and the state written afterwards must apply to a second object
// and then compare equal with it.

#include "AAX_CEffectParameters.h"
#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CNumberDisplayDelegate.h"
#include "AAX_CParameter.h"
#include "AAX_Errors.h"
#include "FuzzedChunkRecord.h"

#include <cmath>
#include <cstdint>
#include <type_traits>

namespace
{
class FloatParameter : public AAX_CParameter<float>
{
public:
    // Over [0, 1], as the plug-in mirrors every parameter, so that real values survive the trip
    // through the normalized value exactly.
    explicit FloatParameter (const char* identifier)
        : AAX_CParameter<float> (identifier, AAX_CString (identifier), 0.0f, AAX_CLinearTaperDelegate<float, 0>(),
                                 AAX_CNumberDisplayDelegate<float, 3, 0>(), true)
    {
    }
};

// Keeps a value of another kind; only the getter and setter of that kind answer.
template <typename Value>
class KindParameter : public FloatParameter
{
public:
    explicit KindParameter (const char* identifier)
        : FloatParameter (identifier)
    {
    }

    bool ValueAsFloat (float*) const override { return false; }
    bool ValueAsInt32 (int32_t* value) const override { return answer (value); }
    bool ValueAsBool (bool* value) const override { return answer (value); }
    bool ValueAsDouble (double* value) const override { return answer (value); }
    bool ValueAsString (AAX_IString* value) const override
    {
        if constexpr (std::is_same_v<Value, AAX_CString>)
        {
            value->AssignString (mValue);
            return true;
        }
        return false;
    }
    bool SetValueFromInt32 (int32_t value) override { return store (value); }
    bool SetValueFromBool (bool value) override { return store (value); }
    bool SetValueFromDouble (double value) override
    {
        if (! std::isfinite (value))
            __builtin_trap();
        return store (value);
    }
    bool SetValueFromIString (const AAX_IString& value) override { return store (AAX_CString (value)); }

private:
    template <typename Out>
    bool answer (Out* out) const
    {
        if constexpr (std::is_same_v<Out, Value>)
        {
            *out = mValue;
            return true;
        }
        return false;
    }

    template <typename In>
    bool store (In value)
    {
        if constexpr (std::is_same_v<In, Value>)
        {
            mValue = value;
            return true;
        }
        return false;
    }

    Value mValue{};
};

// Without a host the parameters have no automation delegate and store every value at once.
class FuzzedEffect : public AAX_CEffectParameters
{
public:
    FuzzedEffect()
    {
        mParameterRegistry.AddParameter (new FloatParameter ("bypass"));
        mParameterRegistry.AddParameter (new FloatParameter (AAX_MasterBypassParameterId));
        mParameterRegistry.AddParameter (new FloatParameter ("gain_L"));
        mParameterRegistry.AddParameter (new FloatParameter ("frequency_1_1"));
        mParameterRegistry.AddParameter (new KindParameter<int32_t> ("count"));
        mParameterRegistry.AddParameter (new KindParameter<bool> ("a"));
        mParameterRegistry.AddParameter (new KindParameter<double> ("b"));
        mParameterRegistry.AddParameter (new KindParameter<AAX_CString> ("label"));
        mFilteredParameters.insert (AAX_MasterBypassParameterId);
    }

    void checkFloatsInRange()
    {
        for (int32_t index = 0; index < mParameterRegistry.NumParameters(); ++index)
        {
            const AAX_IParameter* parameter = mParameterRegistry.ParameterAtIndex (index);
            float value = 0.0f;
            if (parameter->ValueAsFloat (&value) &&
                ! (std::isfinite (value) && parameter->NormalizedValue() >= 0.0 && parameter->NormalizedValue() <= 1.0))
                __builtin_trap();
        }
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    ChunkRecordStorage input = chunkRecordFromInput (data, size);
    ChunkRecord* const record = input.record();

    FuzzedEffect effect;
    bool equal = false;
    if (effect.CompareWithChunk (record, &equal) != AAX_SUCCESS)
        __builtin_trap();
    const AAX_Result applied = effect.ApplyChunk (record->chunkTypeId, record);
    if (applied != (record->chunkTypeId == AAX_ControlsStateChunkId ? AAX_SUCCESS : AAX_ERROR_INVALID_CHUNK_ID))
        __builtin_trap();
    effect.checkFloatsInRange();

    uint32_t savedSize = 0;
    if (effect.ChunkSizeForId (AAX_ControlsStateChunkId, &savedSize) != AAX_SUCCESS)
        __builtin_trap();
    ChunkRecordStorage saved (savedSize);
    saved.record()->chunkTypeId = AAX_ControlsStateChunkId;
    if (effect.WriteChunk (AAX_ControlsStateChunkId, saved.record()) != AAX_SUCCESS)
        __builtin_trap();

    FuzzedEffect restored;
    if (restored.ApplyChunk (AAX_ControlsStateChunkId, saved.record()) != AAX_SUCCESS)
        __builtin_trap();
    restored.checkFloatsInRange();
    if (restored.CompareWithChunk (saved.record(), &equal) != AAX_SUCCESS || ! equal)
        __builtin_trap();
    return 0;
}
