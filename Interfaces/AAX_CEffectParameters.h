#pragma once

#include "AAX_CChunkDataParser.h"
#include "AAX_CPacketDispatcher.h"
#include "AAX_CParameterRegistry.h"
#include "AAX_IEffectParameters.h"
#include "AAX_VAutomationDelegate.h"
#include "AAX_VController.h"
#include "AAX_VTransport.h"
#include "CACFUnknown.h"

#include <memory>
#include <set>
#include <string>

/** The controls-state chunk: every parameter but the filtered ones, as typed entries. */
constexpr AAX_CTypeID AAX_ControlsStateChunkId = 0x656C636B; // 'elck'
constexpr const char* AAX_ControlsStateChunkName = "Complete Controls State";
/** The host's preview notification ('ASPv'); its first data word switches "PreviewID". */
constexpr int32_t AAX_PreviewStateNotification = 0x41535076;
constexpr const char* AAX_MasterBypassParameterId = "MasterBypassID";
constexpr const char* AAX_PreviewParameterId = "PreviewID";

/** The plug-in's effect-parameters object: the host creates one per instance, initialises it with
    its host unknown and from then on asks it about parameters, pushes automation into it, collects
    packets and saves and restores the controls-state chunk. Derived classes register their
    parameters in EffectInitHook and may replace any operation. */
class AAX_CEffectParameters : public AAX_IEffectParameters, public CACFUnknown
{
public:
    AAX_CEffectParameters();
    ~AAX_CEffectParameters() override;

    AAX_CEffectParameters (const AAX_CEffectParameters&) = delete;
    AAX_CEffectParameters& operator= (const AAX_CEffectParameters&) = delete;

    AAX_FORWARD_UNKNOWN_TO_CONTROLLER

    ACFRESULT InternalQueryInterface (const AAX_GUID& interfaceId, void** interfaceOut) override;

    AAX_Result InitializeWithHost (IACFUnknown* hostUnknown) override;
    AAX_Result TearDown() override;
    AAX_Result HandleNotification (int32_t notificationType, const void* data, uint32_t size) override;

    AAX_Result ParameterCount (int32_t* count) const override;
    AAX_Result MasterBypassIdentifier (AAX_IString* identifier) const override;
    AAX_Result IsParameterAutomatable (AAX_CParamID identifier, bool* automatable) const override;
    AAX_Result ParameterStepCount (AAX_CParamID identifier, int32_t* stepCount) const override;
    AAX_Result ParameterName (AAX_CParamID identifier, AAX_IString* name) const override;
    AAX_Result ParameterAbbreviatedName (AAX_CParamID identifier, AAX_IString* name, int32_t maxLength) const override;
    AAX_Result ParameterDefaultNormalizedValue (AAX_CParamID identifier, double* value) const override;
    AAX_Result SetParameterDefaultNormalizedValue (AAX_CParamID identifier, double value) override;
    AAX_Result ParameterType (AAX_CParamID identifier, uint32_t* type) const override;
    AAX_Result ParameterOrientation (AAX_CParamID identifier, uint32_t* orientation) const override;
    AAX_Result ParameterById (AAX_CParamID identifier, AAX_IParameter** parameter) const override;
    AAX_Result ParameterIndexById (AAX_CParamID identifier, int32_t* index) const override;
    AAX_Result ParameterIdByIndex (int32_t index, AAX_IString* identifier) const override;
    AAX_Result ParameterValueInfo (AAX_CParamID identifier, int32_t selector, int32_t* value) const override;
    AAX_Result NormalizedValueFromString (AAX_CParamID identifier, double* value,
                                          const AAX_IString& text) const override;
    AAX_Result StringFromNormalizedValue (AAX_CParamID identifier, double value, AAX_IString& text,
                                          int32_t maxLength) const override;
    AAX_Result ParameterValueString (AAX_CParamID identifier, AAX_IString* text, int32_t maxLength) const override;
    AAX_Result ParameterNormalizedValue (AAX_CParamID identifier, double* value) const override;
    AAX_Result SetParameterNormalizedValue (AAX_CParamID identifier, double value) override;
    AAX_Result SetParameterNormalizedRelative (AAX_CParamID identifier, double delta) override;
    AAX_Result TouchParameter (AAX_CParamID identifier) override;
    AAX_Result ReleaseParameter (AAX_CParamID identifier) override;
    AAX_Result EffectCall28() override;
    AAX_Result UpdateParameterNormalizedValue (AAX_CParamID identifier, double value, int32_t updateSource) override;
    AAX_Result UpdateParameterNormalizedRelative (AAX_CParamID identifier, double delta) override;
    AAX_Result DispatchPackets() override;
    AAX_Result ZeroFieldData (AAX_CFieldIndex fieldIndex, void* data, uint32_t size) const override;

    AAX_Result ChunkCount (int32_t* count) const override;
    AAX_Result ChunkIdAtIndex (int32_t index, AAX_CTypeID* chunkId) const override;
    AAX_Result ChunkSizeForId (AAX_CTypeID chunkId, uint32_t* size) override;
    AAX_Result WriteChunk (AAX_CTypeID chunkId, ChunkRecord* chunk) override;
    AAX_Result ApplyChunk (AAX_CTypeID chunkId, const ChunkRecord* chunk) override;
    AAX_Result CompareWithChunk (const ChunkRecord* chunk, bool* isEqual) override;

    AAX_Result ParameterChangeCount (int32_t* count) const override;
    AAX_Result EffectCall40() override;

    AAX_Result TypedQuery41 (AAX_CTypeID typeCode, void* arguments) override;
    AAX_Result EffectCall42 (void* first, void* second, void* third, void* fourth, uint32_t* out) override;
    AAX_Result EffectCall43() override;
    AAX_Result EffectCall44() override;
    AAX_Result EffectCall45() override;
    AAX_Result EffectCall46() override;
    AAX_Result EffectCall47() override;

    AAX_Result TypedQuery48 (AAX_CTypeID typeCode, void* out) const override;
    AAX_Result TypedQuery49 (AAX_CTypeID typeCode, void* out) const override;

    AAX_Result UpdatePageTable (uint32_t tableType, uint32_t tableSize, int32_t argument,
                                IACFUnknown* pageTable) const override;

    /** The base has nothing to add to a page table: -20009. */
    AAX_Result CustomizePageTable (uint32_t tableType, uint32_t tableSize, AAX_IPageTable* pageTable) const override;
    /** Derived classes register their parameters here; the base answers 0. */
    AAX_Result EffectInitHook() override;

    /** Parameters in the controls-state chunk, as counted at initialisation. */
    int32_t NumChunkedParameters() const noexcept { return mNumChunkedParameters; }

protected:
    /** Refills the chunk parser with one entry per registered, unfiltered parameter, in
        registration order. */
    void BuildChunkData();

    AAX_VController* Controller() const noexcept { return mController.get(); }
    AAX_VTransport* Transport() const noexcept { return mTransport.get(); }
    AAX_VAutomationDelegate* AutomationDelegate() const noexcept { return mAutomationDelegate.get(); }

    /** Host value updates that changed a value; changed under the dispatcher's lock. */
    int32_t mChangeCounter = 0;
    /** The size last announced for the controls-state chunk; WriteChunk must match it. */
    int32_t mLastChunkSize = 0;
    AAX_CChunkDataParser mChunkParser;
    int32_t mNumChunkedParameters = 0;
    AAX_CPacketDispatcher mPacketDispatcher;
    AAX_CParameterRegistry mParameterRegistry;
    /** Left out of the controls-state chunk (the master bypass). */
    std::set<std::string, std::less<>> mFilteredParameters;
    std::unique_ptr<AAX_VController> mController;
    std::unique_ptr<AAX_VTransport> mTransport;
    std::unique_ptr<AAX_VAutomationDelegate> mAutomationDelegate;

private:
    bool IsFiltered (const AAX_IParameter& parameter) const;
};
