#pragma once

#include "AAX_CEffectParameters.h"
#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CNumberDisplayDelegate.h"
#include "AAX_CPacketHandler.h"
#include "AAX_CParameter.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// An effect whose initialisation hook registers the parameters handed to it beforehand, as the
// plug-in wrapper registers its own. The protected state is opened up for the tests.
class TestEffect : public AAX_CEffectParameters
{
public:
    // Registered, in this order, by the initialisation hook.
    void addParameter (std::unique_ptr<AAX_IParameter> parameter) { pending.push_back (std::move (parameter)); }

    // Runs at the end of the hook, after the parameters are registered.
    std::function<AAX_Result (TestEffect&)> extraInit;

    AAX_Result EffectInitHook() override
    {
        ++hookCalls;
        for (auto& parameter : pending)
            mParameterRegistry.AddParameter (parameter.release());
        pending.clear();
        return extraInit ? extraInit (*this) : AAX_SUCCESS;
    }

    // Binds the parameter's value to a context field, as the wrapper does for the master bypass.
    void addValuePacket (const char* identifier, AAX_CFieldIndex field)
    {
        AAX_CPacketHandler<AAX_CPacketDispatcher> handler (&mPacketDispatcher, &AAX_CPacketDispatcher::FillValuePacket);
        mPacketDispatcher.AddPacketHandler (identifier, field, handler);
    }

    using AAX_CEffectParameters::AutomationDelegate;
    using AAX_CEffectParameters::BuildChunkData;
    using AAX_CEffectParameters::Controller;
    using AAX_CEffectParameters::Transport;

    const std::set<std::string, std::less<>>& filtered() const { return mFilteredParameters; }
    std::set<std::string, std::less<>>& filteredForTest() { return mFilteredParameters; }
    const AAX_CChunkDataParser& chunkParser() const { return mChunkParser; }
    AAX_CParameterRegistry& registry() { return mParameterRegistry; }
    int32_t changeCounter() const { return mChangeCounter; }
    void setChangeCounter (int32_t value) { mChangeCounter = value; }

    int hookCalls = 0;

private:
    std::vector<std::unique_ptr<AAX_IParameter>> pending;
};

// A float parameter over [0, 1] with three decimals, as the plug-in makes them.
inline std::unique_ptr<AAX_CParameter<float>> unitParameter (const char* identifier, float value,
                                                             const char* name = nullptr)
{
    return std::make_unique<AAX_CParameter<float>> (identifier, AAX_CString (name != nullptr ? name : identifier),
                                                    value, AAX_CLinearTaperDelegate<float, 0> (0.0f, 1.0f),
                                                    AAX_CNumberDisplayDelegate<float, 3, 0>(), true);
}

// A float parameter that records every value call reaching it, then behaves as usual.
class RecordingParameter : public AAX_CParameter<float>
{
public:
    RecordingParameter (const char* identifier, float value, std::vector<std::string>& log)
        : AAX_CParameter<float> (identifier, AAX_CString (identifier), value,
                                 AAX_CLinearTaperDelegate<float, 0> (0.0f, 1.0f),
                                 AAX_CNumberDisplayDelegate<float, 3, 0>(), true)
        , calls (log)
    {
    }

    void SetNormalizedValue (double value) override
    {
        calls.push_back ("set " + std::to_string (value));
        AAX_CParameter<float>::SetNormalizedValue (value);
    }
    void SetNormalizedDefaultValue (double value) override
    {
        calls.push_back ("default " + std::to_string (value));
        AAX_CParameter<float>::SetNormalizedDefaultValue (value);
    }
    void UpdateNormalizedValue (double value) override
    {
        calls.push_back ("update " + std::to_string (value));
        AAX_CParameter<float>::UpdateNormalizedValue (value);
    }
    bool SetValueFromBool (bool value) override
    {
        calls.push_back (std::string ("bool ") + (value ? "1" : "0"));
        return AAX_CParameter<float>::SetValueFromBool (value);
    }
    bool SetValueFromFloat (float value) override
    {
        calls.push_back ("float " + std::to_string (value));
        return AAX_CParameter<float>::SetValueFromFloat (value);
    }

private:
    std::vector<std::string>& calls;
};

inline float realValue (const AAX_IParameter* parameter)
{
    float value = -99.0f;
    if (parameter == nullptr || ! parameter->ValueAsFloat (&value))
        return -99.0f;
    return value;
}
