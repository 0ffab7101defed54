#include "ConvolutionEqAudioProcessor.h"

#include "ParameterLayout.h"

namespace
{
const juce::String productName ("Larkspur");
}

ConvolutionEqAudioProcessor::ConvolutionEqAudioProcessor()
    : juce::AudioProcessor (BusesProperties()
                                .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                                .withOutput ("Output", juce::AudioChannelSet::stereo(), true))
    , abSnapshot (this)
    , presetStore (this, productName + "/presets.xml")
    , valueTreeState (*this, &undoManager, juce::Identifier (productName), createParameterLayout())
{
    fetchCachedValues();
    fetchTypeNames();

    saturationOn = false;
    saturationGain = 1.0f;
    lastInputGain = juce::Decibels::decibelsToGain (currentValue (CachedValue::inputLevel));
    levelCompensation.store (0.0f);
}

ConvolutionEqAudioProcessor::~ConvolutionEqAudioProcessor() = default;

const std::array<const char*, ConvolutionEqAudioProcessor::numCachedValues>&
ConvolutionEqAudioProcessor::cachedValueIds()
{
    static const std::array<const char*, numCachedValues> ids{
        "bypass",        "input_level",   "gain",          "solo",          "phase",         "gain_L",     "phase_L",
        "gain_R",        "phase_R",       "frequency_1_1", "frequency_1_2", "frequency_1_3", "gain_1_1",   "gain_1_2",
        "gain_1_3",      "out_1_1",       "out_1_2",       "out_1_3",       "active_1_1",    "active_1_2", "active_1_3",
        "frequency_2_1", "frequency_2_2", "frequency_2_3", "gain_2_1",      "gain_2_2",      "gain_2_3",   "out_2_1",
        "out_2_2",       "out_2_3",       "active_2_1",    "active_2_2",    "active_2_3",    "process_L",  "process_R",
        "process_M",     "process_S",     "process_A",     "link_MSLR",     "solo_1",        "solo_2",
    };
    return ids;
}

void ConvolutionEqAudioProcessor::fetchCachedValues()
{
    const auto& ids = cachedValueIds();
    for (size_t i = 0; i < ids.size(); ++i)
    {
        cachedValues[i] = valueTreeState.getRawParameterValue (ids[i]);
        jassert (cachedValues[i] != nullptr);
    }

    for (int channel = 1; channel <= 2; ++channel)
        for (int band = 1; band <= 3; ++band)
            typeParameters[(size_t) ((channel - 1) * 3 + band - 1)] = dynamic_cast<juce::AudioParameterChoice*> (
                valueTreeState.getParameter (ParameterIds::band (ParameterIds::typePrefix, channel, band)));
}

void ConvolutionEqAudioProcessor::fetchTypeNames()
{
    for (size_t i = 0; i < typeParameters.size(); ++i)
        typeNames[i] = typeParameters[i] != nullptr ? typeParameters[i]->getCurrentChoiceName() : juce::String();
}

float ConvolutionEqAudioProcessor::levelCompensationForRate (float sampleRate) noexcept
{
    // Also keeps the conversion below defined for NaN, infinities and absurd rates.
    if (! (sampleRate >= 0.0f && sampleRate < 1.0e7f))
        return -32.0f;

    // Calibration constants of the responses, one per supported rate.
    switch (static_cast<long long> (sampleRate))
    {
        case 44100:
            return -12.2f;
        case 48000:
            return -12.4f;
        case 88200:
            return -17.7f;
        case 96000:
            return -18.4f;
        case 176400:
            return -23.6f;
        case 192000:
            return -24.5f;
        default:
            return -32.0f;
    }
}

void ConvolutionEqAudioProcessor::sampleRateLevel (float sampleRate) noexcept
{
    levelCompensation.store (levelCompensationForRate (sampleRate), std::memory_order_relaxed);
}

//==============================================================================
// Preparation, block processing and the editor are built on top of this core.
void ConvolutionEqAudioProcessor::prepareToPlay (double, int) {}

void ConvolutionEqAudioProcessor::releaseResources() {}

void ConvolutionEqAudioProcessor::processBlock (juce::AudioBuffer<float>&, juce::MidiBuffer&) {}

juce::AudioProcessorEditor* ConvolutionEqAudioProcessor::createEditor()
{
    return nullptr;
}

bool ConvolutionEqAudioProcessor::hasEditor() const
{
    return false;
}

//==============================================================================
const juce::String ConvolutionEqAudioProcessor::getName() const
{
    return productName;
}

bool ConvolutionEqAudioProcessor::acceptsMidi() const
{
    return false;
}

bool ConvolutionEqAudioProcessor::producesMidi() const
{
    return false;
}

bool ConvolutionEqAudioProcessor::isMidiEffect() const
{
    return false;
}

double ConvolutionEqAudioProcessor::getTailLengthSeconds() const
{
    return 0.0;
}

// Presets belong to the preset store, not to programs.
int ConvolutionEqAudioProcessor::getNumPrograms()
{
    return 1;
}

int ConvolutionEqAudioProcessor::getCurrentProgram()
{
    return 0;
}

void ConvolutionEqAudioProcessor::setCurrentProgram (int) {}

const juce::String ConvolutionEqAudioProcessor::getProgramName (int)
{
    return {};
}

void ConvolutionEqAudioProcessor::changeProgramName (int, const juce::String&) {}
