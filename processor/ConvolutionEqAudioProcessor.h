#pragma once

#include "ABSnapshot.h"
#include "BandConvolverSet.h"
#include "ParameterLayout.h"
#include "PresetStore.h"
#include "ResponseBank.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

class BandReselector;
struct ProcessingBuffers;

/** The plug-in's audio processor: the 59 parameters in a value-tree state, the A-B snapshot and
    the preset store, state save and load, the response bank and the two band convolver sets built
    at every preparation, and the block processing chain. */
class ConvolutionEqAudioProcessor : public juce::AudioProcessor
{
public:
    ConvolutionEqAudioProcessor();
    ~ConvolutionEqAudioProcessor() override;

    //==============================================================================
    void prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock) override;
    void releaseResources() override;
    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midiMessages) override;
    void processorLayoutsChanged() override;

    /** The editor that the installed factory makes; there is an editor only once a factory is installed. */
    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override;

    const juce::String getName() const override;
    bool acceptsMidi() const override;
    bool producesMidi() const override;
    bool isMidiEffect() const override;
    bool supportsDoublePrecisionProcessing() const override;
    double getTailLengthSeconds() const override;

    int getNumPrograms() override;
    int getCurrentProgram() override;
    void setCurrentProgram (int index) override;
    const juce::String getProgramName (int index) override;
    void changeProgramName (int index, const juce::String& newName) override;

    void getStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;

    //==============================================================================
    /** The parameters' current plain values (dB, Hz, 0 or 1 for a switch, the index for a choice)
        that block processing reads without a lock: one cell per row of the parameter table. */
    using CachedValue = ParameterTable::Index;
    using BandValue = ParameterTable::BandValue;
    static constexpr int numCachedValues = ParameterTable::numParameters;

    /** The cells belong to the value-tree state, which writes them when a parameter changes; they
        are only ever read here. */
    float currentValue (CachedValue which) const noexcept
    {
        return cachedValues[(size_t) which]->load (std::memory_order_relaxed);
    }

    /** A band's cell: channel 1 or 2, band 1 to 3. */
    float currentBandValue (BandValue value, int channel, int band) const noexcept
    {
        return bandValues[(size_t) value][(size_t) channel - 1][(size_t) band - 1]->load (std::memory_order_relaxed);
    }

    /** Level compensation in dB for a sample rate, truncated to whole hertz. */
    static float levelCompensationForRate (float sampleRate) noexcept;

    /** Sets levelCompensation for the given sample rate. */
    void sampleRateLevel (float sampleRate) noexcept;
    float getLevelCompensation() const noexcept { return levelCompensation.load (std::memory_order_relaxed); }

    /** Makes the processor's editor. The editor lives in a library of its own that links this one, so
        whoever assembles the plug-in installs it (the product's wrapper, tests that open the editor). */
    using EditorFactory = std::function<std::unique_ptr<juce::AudioProcessorEditor> (ConvolutionEqAudioProcessor&)>;

    /** Message thread, before the host first asks for the editor. */
    void setEditorFactory (EditorFactory factory) { editorFactory = std::move (factory); }

    //==============================================================================
    /** True while setStateInformation installs a loaded state: the parameters take the state's
        values, so nothing may apply a preset over them (the preset list's attachment follows the
        loaded preset parameter meanwhile). */
    bool isRestoringState() const noexcept { return restoringState; }

    /** Whether the preset store's current preset (or that none is current) is known by name. It is
        not in a fresh processor, nor after loading a state saved without the chosen preset's name:
        the preset list then shows the entry that the preset parameter points at over the list's
        length when that entry holds the current settings, and none otherwise, and makes that
        current (markChosenPresetKnown). */
    bool isChosenPresetKnown() const noexcept { return chosenPresetKnown || presetStore.currentPreset > 0; }
    void markChosenPresetKnown() noexcept { chosenPresetKnown = true; }

    /** Told after every accepted state load, once the store's current preset follows the state, so
        that the preset list shows it. Message thread. */
    std::function<void()> onStateRestored;

    juce::AudioProcessorValueTreeState& getValueTreeState() noexcept { return valueTreeState; }
    juce::UndoManager& getUndoManager() noexcept { return undoManager; }
    ABSnapshot& getABSnapshot() noexcept { return abSnapshot; }
    PresetStore& getPresetStore() noexcept { return presetStore; }

    //==============================================================================
    /** The band convolver set of processing channel 1 or 2, or null before the first preparation
        (and for any other channel). Preparation replaces both sets; whoever selects a response
        keeps the set alive through the returned pointer, so hold it only for the call. */
    std::shared_ptr<BandConvolverSet> getConvolverSet (int channel) const;

    /** The bank the current sets were built from, or null before the first preparation. */
    std::shared_ptr<const ResponseBank> getResponseBank() const;

    /** Selects every band whose bit is set (bit (channel - 1) * 3 + band - 1) from the current
        frequency, type and gain parameters, skipping a band whose selection would not change.
        Message thread. */
    void reselectBands (std::uint32_t bandMask);
    static constexpr std::uint32_t allBands = 0x3f;

    /** Asks for reselectBands on the message thread for these bands; requests coalesce. Any thread. */
    void requestReselection (std::uint32_t bandMask);

    /** The band types' choice names as of construction or the last state load (for display; preparation
        and reselection read each band's current choice instead, which automation may have changed). */
    const std::array<juce::String, 6>& getTypeNames() const noexcept { return typeNames; }
    juce::AudioParameterChoice* getTypeParameter (int channel, int band) const noexcept
    {
        return typeParameters[(size_t) ((channel - 1) * 3 + band - 1)];
    }

private:
    struct BlockSettings;
    struct Routing;

    void fetchCachedValues();
    void fetchTypeNames();
    void fillMissingAndNonFiniteValues (juce::XmlElement& state) const;
    juce::String chosenPresetName() const;
    void restoreChosenPreset (const juce::String* presetName);

    BlockSettings readBlockSettings() const noexcept;
    // One segment of a block, step by step: input stage, encoding, bands, routing, output gain,
    // peak guard.
    void processSegment (juce::AudioBuffer<float>& block, int startSample, int numSamples);
    void applyInputStage (float* const* channels, int numChannels, int numSamples, float inputLevelDb) noexcept;
    void encode (const float* const* channels, bool stereo, const BlockSettings& settings, int numSamples) noexcept;
    void runBands (int bandChannels, int numSamples, const BlockSettings& settings, const Routing& routing) noexcept;
    void route (float* const* channels, const Routing& routing, int numSamples) const noexcept;
    void applyOutputGain (float* const* channels, int numChannels, const BlockSettings& settings,
                          int numSamples) noexcept;
    static void guardPeaks (float* const* channels, int numChannels, int numSamples) noexcept;
    bool isMainOutputMono() const;
    juce::String currentTypeName (int channel, int band) const;

    ABSnapshot abSnapshot;
    PresetStore presetStore;

    /** Made at every preparation, complete, before they replace the previous ones under the callback
        lock. Block processing reads them under that lock; selecting threads take a shared copy
        (std::atomic_load), so an old set lives on until its last selection has returned. Each set
        keeps its own share of the bank it was built from. */
    std::array<std::shared_ptr<BandConvolverSet>, 2> convolverSets;
    std::shared_ptr<const ResponseBank> responseBank;

    /** The value-tree state only keeps the undo manager's address while the manager is built after it. */
    juce::AudioProcessorValueTreeState valueTreeState;
    juce::UndoManager undoManager;

    std::array<std::atomic<float>*, numCachedValues> cachedValues{};
    // The same cells as cachedValues, by band value, processing channel and band.
    std::array<std::array<std::array<std::atomic<float>*, 3>, 2>, 4> bandValues{};
    std::array<juce::AudioParameterChoice*, 6> typeParameters{};
    std::array<juce::String, 6> typeNames;

    /** Written on the message thread (state load) and by preparation, read by block processing. */
    std::atomic<float> levelCompensation{ 0.0f };

    /** The rate of the last preparation (0 before the first). Once prepared, a state load recomputes
        the level compensation from it rather than from JUCE's rate field, which the audio
        thread may be rewriting at that moment. */
    std::atomic<double> preparedSampleRate{ 0.0 };

    /** Saturation state: owned by block processing once the processor is running. */
    bool saturationOn = false;
    float saturationGain = 1.0f;
    float lastInputGain = 1.0f;

    /** Sized at preparation for the longest block prepared; replaced under the callback lock. */
    std::unique_ptr<ProcessingBuffers> buffers;
    std::atomic<bool> mainOutputMono{ false };

    /** Reselects bands whose frequency, type or gain parameter changed, on the message thread. */
    std::unique_ptr<BandReselector> reselector;

    EditorFactory editorFactory;

    bool restoringState = false;
    bool chosenPresetKnown = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ConvolutionEqAudioProcessor)
};
