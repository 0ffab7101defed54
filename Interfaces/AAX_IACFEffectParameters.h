#pragma once

#include "AAX.h"
#include "IACFUnknown.h"

class AAX_IParameter;
class AAX_IString;
struct ChunkRecord;

/** The effect-parameters object as the host calls it, in the four versions the host may ask for.
    Each version extends the one before it; the numbers are the operations' places counted from
    QueryInterface. Operations whose meaning the plug-in leaves to the host carry neutral argument
    lists and are named by their place. */
class AAX_IACFEffectParameters : public IACFUnknown
{
public:
    virtual AAX_Result InitializeWithHost (IACFUnknown* hostUnknown) = 0;                                  // 3
    virtual AAX_Result TearDown() = 0;                                                                     // 4
    virtual AAX_Result HandleNotification (int32_t notificationType, const void* data, uint32_t size) = 0; // 5

    virtual AAX_Result ParameterCount (int32_t* count) const = 0;                                     // 6
    virtual AAX_Result MasterBypassIdentifier (AAX_IString* identifier) const = 0;                    // 7
    virtual AAX_Result IsParameterAutomatable (AAX_CParamID identifier, bool* automatable) const = 0; // 8
    virtual AAX_Result ParameterStepCount (AAX_CParamID identifier, int32_t* stepCount) const = 0;    // 9
    virtual AAX_Result ParameterName (AAX_CParamID identifier, AAX_IString* name) const = 0;          // 10
    virtual AAX_Result ParameterAbbreviatedName (AAX_CParamID identifier, AAX_IString* name,
                                                 int32_t maxLength) const = 0;                                   // 11
    virtual AAX_Result ParameterDefaultNormalizedValue (AAX_CParamID identifier, double* value) const = 0;       // 12
    virtual AAX_Result SetParameterDefaultNormalizedValue (AAX_CParamID identifier, double value) = 0;           // 13
    virtual AAX_Result ParameterType (AAX_CParamID identifier, uint32_t* type) const = 0;                        // 14
    virtual AAX_Result ParameterOrientation (AAX_CParamID identifier, uint32_t* orientation) const = 0;          // 15
    virtual AAX_Result ParameterById (AAX_CParamID identifier, AAX_IParameter** parameter) const = 0;            // 16
    virtual AAX_Result ParameterIndexById (AAX_CParamID identifier, int32_t* index) const = 0;                   // 17
    virtual AAX_Result ParameterIdByIndex (int32_t index, AAX_IString* identifier) const = 0;                    // 18
    virtual AAX_Result ParameterValueInfo (AAX_CParamID identifier, int32_t selector, int32_t* value) const = 0; // 19
    virtual AAX_Result NormalizedValueFromString (AAX_CParamID identifier, double* value,
                                                  const AAX_IString& text) const = 0; // 20
    virtual AAX_Result StringFromNormalizedValue (AAX_CParamID identifier, double value, AAX_IString& text,
                                                  int32_t maxLength) const = 0; // 21
    virtual AAX_Result ParameterValueString (AAX_CParamID identifier, AAX_IString* text,
                                             int32_t maxLength) const = 0;                          // 22
    virtual AAX_Result ParameterNormalizedValue (AAX_CParamID identifier, double* value) const = 0; // 23
    virtual AAX_Result SetParameterNormalizedValue (AAX_CParamID identifier, double value) = 0;     // 24
    virtual AAX_Result SetParameterNormalizedRelative (AAX_CParamID identifier, double delta) = 0;  // 25
    virtual AAX_Result TouchParameter (AAX_CParamID identifier) = 0;                                // 26
    virtual AAX_Result ReleaseParameter (AAX_CParamID identifier) = 0;                              // 27
    virtual AAX_Result EffectCall28() = 0;                                                          // 28
    virtual AAX_Result UpdateParameterNormalizedValue (AAX_CParamID identifier, double value,
                                                       int32_t updateSource) = 0;                       // 29
    virtual AAX_Result UpdateParameterNormalizedRelative (AAX_CParamID identifier, double delta) = 0;   // 30
    virtual AAX_Result DispatchPackets() = 0;                                                           // 31
    virtual AAX_Result ZeroFieldData (AAX_CFieldIndex fieldIndex, void* data, uint32_t size) const = 0; // 32

    virtual AAX_Result ChunkCount (int32_t* count) const = 0;                          // 33
    virtual AAX_Result ChunkIdAtIndex (int32_t index, AAX_CTypeID* chunkId) const = 0; // 34
    virtual AAX_Result ChunkSizeForId (AAX_CTypeID chunkId, uint32_t* size) = 0;       // 35
    virtual AAX_Result WriteChunk (AAX_CTypeID chunkId, ChunkRecord* chunk) = 0;       // 36
    virtual AAX_Result ApplyChunk (AAX_CTypeID chunkId, const ChunkRecord* chunk) = 0; // 37
    virtual AAX_Result CompareWithChunk (const ChunkRecord* chunk, bool* isEqual) = 0; // 38

    virtual AAX_Result ParameterChangeCount (int32_t* count) const = 0; // 39
    virtual AAX_Result EffectCall40() = 0;                              // 40

protected:
    ~AAX_IACFEffectParameters() = default;
};

class AAX_IACFEffectParameters_V2 : public AAX_IACFEffectParameters
{
public:
    virtual AAX_Result TypedQuery41 (AAX_CTypeID typeCode, void* arguments) = 0; // 41
    virtual AAX_Result EffectCall42 (void* first, void* second, void* third, void* fourth,
                                     uint32_t* out) = 0; // 42
    virtual AAX_Result EffectCall43() = 0;               // 43
    virtual AAX_Result EffectCall44() = 0;               // 44
    virtual AAX_Result EffectCall45() = 0;               // 45
    virtual AAX_Result EffectCall46() = 0;               // 46
    virtual AAX_Result EffectCall47() = 0;               // 47

protected:
    ~AAX_IACFEffectParameters_V2() = default;
};

class AAX_IACFEffectParameters_V3 : public AAX_IACFEffectParameters_V2
{
public:
    virtual AAX_Result TypedQuery48 (AAX_CTypeID typeCode, void* out) const = 0; // 48
    virtual AAX_Result TypedQuery49 (AAX_CTypeID typeCode, void* out) const = 0; // 49

protected:
    ~AAX_IACFEffectParameters_V3() = default;
};

class AAX_IACFEffectParameters_V4 : public AAX_IACFEffectParameters_V3
{
public:
    /** The host hands in one of its page tables for the plug-in to adjust. */
    virtual AAX_Result UpdatePageTable (uint32_t tableType, uint32_t tableSize, int32_t argument,
                                        IACFUnknown* pageTable) const = 0; // 50

protected:
    ~AAX_IACFEffectParameters_V4() = default;
};
