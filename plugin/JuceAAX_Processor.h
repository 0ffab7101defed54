#pragma once

#include "AAX_CEffectParameters.h"
#include "ConvolutionEqAudioProcessor.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>
#include <vector>

namespace AAXClasses
{
/** Our own stand-in for JUCE's AAX processor wrapper, which cannot be built here: the
    effect-parameters object of one insert. It owns one ConvolutionEqAudioProcessor, mirrors its
    parameters as host parameters plus the host's master bypass, carries the processor's state as
    the 'juce' chunk next to the base's controls-state chunk, and runs the processor for the
    process procedure under the processor's callback lock. */
class JuceAAX_Processor final : public AAX_CEffectParameters, private juce::AudioProcessorListener
{
public:
    JuceAAX_Processor();
    ~JuceAAX_Processor() override;

    /** The creation procedure registered on the effect: a new object with no reference yet. */
    static IACFUnknown* Create();

    AAX_Result EffectInitHook() override;
    AAX_Result TearDown() override;
    AAX_Result HandleNotification (int32_t notificationType, const void* data, uint32_t size) override;

    AAX_Result ParameterName (AAX_CParamID identifier, AAX_IString* name) const override;
    AAX_Result ParameterAbbreviatedName (AAX_CParamID identifier, AAX_IString* name, int32_t maxLength) const override;
    AAX_Result ParameterDefaultNormalizedValue (AAX_CParamID identifier, double* value) const override;
    AAX_Result NormalizedValueFromString (AAX_CParamID identifier, double* value,
                                          const AAX_IString& text) const override;
    AAX_Result StringFromNormalizedValue (AAX_CParamID identifier, double value, AAX_IString& text,
                                          int32_t maxLength) const override;
    AAX_Result ParameterNormalizedValue (AAX_CParamID identifier, double* value) const override;
    AAX_Result SetParameterNormalizedValue (AAX_CParamID identifier, double value) override;
    AAX_Result SetParameterNormalizedRelative (AAX_CParamID identifier, double delta) override;
    AAX_Result UpdateParameterNormalizedValue (AAX_CParamID identifier, double value, int32_t updateSource) override;
    AAX_Result ZeroFieldData (AAX_CFieldIndex fieldIndex, void* data, uint32_t size) const override;

    AAX_Result ChunkCount (int32_t* count) const override;
    AAX_Result ChunkIdAtIndex (int32_t index, AAX_CTypeID* chunkId) const override;
    AAX_Result ChunkSizeForId (AAX_CTypeID chunkId, uint32_t* size) override;
    AAX_Result WriteChunk (AAX_CTypeID chunkId, ChunkRecord* chunk) override;
    AAX_Result ApplyChunk (AAX_CTypeID chunkId, const ChunkRecord* chunk) override;

    /** One block of the process procedure, on the host's real-time thread. Processing is in place
        in the outputs; the inputs are copied there first. */
    void processBlock (const float* const* inputs, float* const* outputs, int numSamples, bool hostBypass) noexcept;

    ConvolutionEqAudioProcessor& getProcessor() noexcept { return *processor; }

    static constexpr AAX_CTypeID stateChunkId = 0x6A756365; // 'juce'
    /** The host context field the master bypass is posted to. */
    static constexpr AAX_CFieldIndex masterBypassField = 3;
    static constexpr int initialMaximumBlock = 1024;

private:
    void audioProcessorParameterChanged (juce::AudioProcessor*, int parameterIndex, float newValue) override;
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}
    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int parameterIndex) override;
    void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int parameterIndex) override;

    void mirrorParameters();
    void addMasterBypass();
    /** Sets the bus layout from the host's stem formats and prepares at the host's rate. */
    void prepareProcessor();
    juce::AudioProcessorParameter* findParameter (AAX_CParamID identifier) const;
    const char* identifierAt (int parameterIndex) const noexcept;
    /** Tells the host every plug-in parameter's value, as after a state load. */
    void pushValuesToHost();
    AAX_Result selectPreset (const void* data, uint32_t size);

    /** Keeps JUCE's message thread alive while any instance exists. */
    juce::ScopedJuceInitialiser_GUI framework;
    std::unique_ptr<ConvolutionEqAudioProcessor> processor;
    juce::MidiBuffer noMidi;

    /** The processor's parameters in their order, with their host identifiers. */
    std::vector<juce::AudioProcessorParameterWithID*> parameters;
    std::vector<std::string> parameterIds;

    double sampleRate = 48000.0;
    int processingChannels = 2;
    /** Only the real-time thread (and preparation under the callback lock) touches these. */
    int preparedMaximumBlock = 0;
    int lastBlockSize = 0;

    /** The 'juce' chunk as announced by the last size query, until it is written. */
    juce::MemoryBlock announcedState;
    bool stateAnnounced = false;

    bool listening = false;
};
} // namespace AAXClasses
