#include "ConvolutionEqAudioProcessor.h"

#include "BandReselector.h"
#include "ParameterLayout.h"
#include "ProcessingBuffers.h"

namespace
{
const juce::String productName ("Larkspur");

// The responses are recorded at this rate.
constexpr double responseRate = 96000.0;

// Working buffers before the first preparation, which JUCE makes at 1024 samples.
constexpr int unpreparedBlockCapacity = 1024;

// Longer blocks are processed in segments of this length rather than sized for.
constexpr int largestBlockCapacity = 65536;

int workingBufferCapacity (int maximumBlockLength)
{
    if (maximumBlockLength < 1)
        return unpreparedBlockCapacity;
    return juce::jmin (maximumBlockLength, largestBlockCapacity);
}

// Rates a response bank is built for. Outside them (no rate set, or an absurd one) the bands are
// left unprepared and pass their input, like a processor that was never prepared.
bool isUsableSampleRate (double rate)
{
    return rate >= 1000.0 && rate <= 1.0e6;
}
} // namespace

ConvolutionEqAudioProcessor::ConvolutionEqAudioProcessor()
    : juce::AudioProcessor (BusesProperties()
                                .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                                .withOutput ("Output", juce::AudioChannelSet::stereo(), true))
    , abSnapshot (*this)
    , presetStore (*this, productName + "/presets.xml")
    , valueTreeState (*this, &undoManager, juce::Identifier (productName), createParameterLayout())
{
    fetchCachedValues();
    fetchTypeNames();

    saturationOn = false;
    saturationGain = 1.0f;
    lastInputGain = juce::Decibels::decibelsToGain (currentValue (CachedValue::inputLevel));
    levelCompensation.store (0.0f);

    buffers = std::make_unique<ProcessingBuffers> (unpreparedBlockCapacity);
    mainOutputMono.store (isMainOutputMono());
    reselector =
        std::make_unique<BandReselector> (valueTreeState, [this] (std::uint32_t bands) { reselectBands (bands); });
}

ConvolutionEqAudioProcessor::~ConvolutionEqAudioProcessor()
{
    // Nothing may select a response any more, then the sets go before the bank their bands read.
    reselector.reset();
    convolverSets[0].reset();
    convolverSets[1].reset();
}

void ConvolutionEqAudioProcessor::fetchCachedValues()
{
    for (size_t i = 0; i < cachedValues.size(); ++i)
    {
        cachedValues[i] = valueTreeState.getRawParameterValue (ParameterTable::rows[i].id);
        jassert (cachedValues[i] != nullptr);
    }

    for (size_t value = 0; value < bandValues.size(); ++value)
        for (int channel = 1; channel <= 2; ++channel)
            for (int band = 1; band <= 3; ++band)
            {
                const auto id = ParameterIds::band (ParameterTable::prefix ((BandValue) value), channel, band);
                auto*& cell = bandValues[value][(size_t) channel - 1][(size_t) band - 1];
                cell = valueTreeState.getRawParameterValue (id);
                jassert (cell != nullptr);
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

namespace
{
struct RateLevel
{
    long long wholeHertz;
    float levelDb;
};

// Calibration constants of the responses, one per supported rate.
constexpr RateLevel calibratedRateLevels[] = { { 44100, -12.2f }, { 48000, -12.4f },  { 88200, -17.7f },
                                               { 96000, -18.4f }, { 176400, -23.6f }, { 192000, -24.5f } };
constexpr float uncalibratedRateLevelDb = -32.0f;
} // namespace

float ConvolutionEqAudioProcessor::levelCompensationForRate (float sampleRate) noexcept
{
    // Also keeps the conversion below defined for NaN, infinities and absurd rates.
    if (! (sampleRate >= 0.0f && sampleRate < 1.0e7f))
        return uncalibratedRateLevelDb;

    const auto wholeHertz = static_cast<long long> (sampleRate);
    for (const auto& entry : calibratedRateLevels)
        if (entry.wholeHertz == wholeHertz)
            return entry.levelDb;
    return uncalibratedRateLevelDb;
}

void ConvolutionEqAudioProcessor::sampleRateLevel (float sampleRate) noexcept
{
    levelCompensation.store (levelCompensationForRate (sampleRate), std::memory_order_relaxed);
}

//==============================================================================
// Runs on the message thread, or on the audio thread (under the callback lock) when a block is
// longer than any prepared before. Everything new is built first; the swap under the callback
// lock is all that a running block can notice.
void ConvolutionEqAudioProcessor::prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock)
{
    // JUCE sets the rate just before it calls; the argument only stands in when it has not.
    double rate = getSampleRate();
    if (! (rate > 0.0))
        rate = sampleRate;

    // The same rate gives the same bank, so it is shared instead of decoded again.
    auto bank = std::atomic_load (&responseBank);
    if (! isUsableSampleRate (rate))
    {
        bank.reset();
    }
    else if (bank == nullptr || bank->hostRate != rate)
    {
        auto newBank = std::make_shared<ResponseBank> (responseRate, rate);
        newBank->load();
        bank = std::move (newBank);
    }

    // Blocks reach the bands in segments of at most the working buffers' capacity.
    const int capacity = workingBufferCapacity (juce::jmax (maximumExpectedSamplesPerBlock, getBlockSize()));

    std::array<std::shared_ptr<BandConvolverSet>, 2> sets;
    if (bank != nullptr)
    {
        for (int channel = 1; channel <= 2; ++channel)
        {
            auto set = std::make_shared<BandConvolverSet> (rate, channel, bank);
            set->setMaximumBlockSize (capacity);
            for (int band = 1; band <= BandConvolverSet::numBands; ++band)
                set->setBand (band - 1, rate, (double) currentBandValue (BandValue::frequency, channel, band),
                              currentTypeName (channel, band),
                              (double) currentBandValue (BandValue::gain, channel, band));
            sets[(size_t) channel - 1] = std::move (set);
        }
    }

    auto newBuffers = std::make_unique<ProcessingBuffers> (capacity);
    const bool mono = isMainOutputMono();

    {
        const juce::ScopedLock lock (getCallbackLock());
        std::atomic_store (&responseBank, std::shared_ptr<const ResponseBank> (bank));
        for (size_t i = 0; i < sets.size(); ++i)
        {
            auto previous = std::atomic_exchange (&convolverSets[i], sets[i]);
            sets[i] = std::move (previous);
        }
        std::swap (buffers, newBuffers);
        mainOutputMono.store (mono);
        preparedSampleRate.store (rate);
        sampleRateLevel ((float) rate);
    }

    // The previous sets go here, outside the lock, unless a selection still holds one; set 1 first.
    sets[0].reset();
    sets[1].reset();

    // A parameter change that came in while the new sets were being built went to the old ones.
    requestReselection (allBands);
}

void ConvolutionEqAudioProcessor::releaseResources() {}

void ConvolutionEqAudioProcessor::processorLayoutsChanged()
{
    mainOutputMono.store (isMainOutputMono());
}

bool ConvolutionEqAudioProcessor::isMainOutputMono() const
{
    return getBusesLayout().getMainOutputChannelSet() == juce::AudioChannelSet::mono();
}

// The parameter itself, not the names cached at the last state load: a type chosen since then counts.
juce::String ConvolutionEqAudioProcessor::currentTypeName (int channel, int band) const
{
    auto* type = getTypeParameter (channel, band);
    return type != nullptr ? type->getCurrentChoiceName() : juce::String();
}

std::shared_ptr<BandConvolverSet> ConvolutionEqAudioProcessor::getConvolverSet (int channel) const
{
    if (channel != 1 && channel != 2)
        return nullptr;
    return std::atomic_load (&convolverSets[(size_t) channel - 1]);
}

std::shared_ptr<const ResponseBank> ConvolutionEqAudioProcessor::getResponseBank() const
{
    return std::atomic_load (&responseBank);
}

void ConvolutionEqAudioProcessor::requestReselection (std::uint32_t bandMask)
{
    if (reselector != nullptr)
        reselector->request (bandMask);
}

void ConvolutionEqAudioProcessor::reselectBands (std::uint32_t bandMask)
{
    for (int channel = 1; channel <= 2; ++channel)
    {
        const auto set = getConvolverSet (channel);
        if (set == nullptr)
            continue;

        for (int band = 1; band <= BandConvolverSet::numBands; ++band)
        {
            auto* convolver = set->getBand (band - 1);
            if (convolver == nullptr || (bandMask & BandReselector::bandBit (channel, band)) == 0)
                continue;

            convolver->selectImpulseIfChanged ((double) currentBandValue (BandValue::frequency, channel, band),
                                               currentTypeName (channel, band),
                                               (double) currentBandValue (BandValue::gain, channel, band));
        }
    }
}

juce::AudioProcessorEditor* ConvolutionEqAudioProcessor::createEditor()
{
    return editorFactory != nullptr ? editorFactory (*this).release() : nullptr;
}

bool ConvolutionEqAudioProcessor::hasEditor() const
{
    return editorFactory != nullptr;
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

bool ConvolutionEqAudioProcessor::supportsDoublePrecisionProcessing() const
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
