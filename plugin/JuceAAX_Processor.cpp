#include "JuceAAX_Processor.h"

#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CNumberDisplayDelegate.h"
#include "AAX_CPacketHandler.h"
#include "AAX_CParameter.h"
#include "AAX_CString.h"
#include "AAX_Errors.h"
#include "AAX_Properties.h"
#include "ConvolutionEqAudioProcessorEditor.h"
#include "LarkspurHostNotifications.h"
#include "LarkspurProcessContext.h"
#include "MessageThreadPump.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace AAXClasses
{
namespace
{
// Host parameters show names of at most 31 characters and one abbreviation of at most 4.
constexpr int maxNameLength = 31;
constexpr int abbreviationLength = 4;
constexpr int maxStepCount = 2048;
constexpr uint32_t discreteType = 0;
constexpr uint32_t continuousType = 1;
constexpr uint32_t invertedOrientation = 19;
constexpr uint32_t normalOrientation = 0;

// The instance whose host value update is being passed to the processor on this thread, so
// that the parameter listener does not send the change back to the host.
thread_local const JuceAAX_Processor* hostOriginatedUpdate = nullptr;

class HostOriginatedScope
{
public:
    explicit HostOriginatedScope (const JuceAAX_Processor* instance) noexcept
        : previous (hostOriginatedUpdate)
    {
        hostOriginatedUpdate = instance;
    }
    ~HostOriginatedScope() { hostOriginatedUpdate = previous; }

    HostOriginatedScope (const HostOriginatedScope&) = delete;
    HostOriginatedScope& operator= (const HostOriginatedScope&) = delete;

private:
    const JuceAAX_Processor* previous;
};

std::unique_ptr<AAX_CParameter<float>> makeHostParameter (const char* identifier, const juce::String& name,
                                                          float defaultValue, bool automatable)
{
    return std::make_unique<AAX_CParameter<float>> (identifier, AAX_CString (name.toRawUTF8()), defaultValue,
                                                    AAX_CLinearTaperDelegate<float, 0> (0.0f, 1.0f),
                                                    AAX_CNumberDisplayDelegate<float, 3, 0>(), automatable);
}

// Copies text into a caller's buffer as UTF-8, cut to fit and NUL-terminated.
void copyText (const juce::String& text, char* destination, uint32_t capacity)
{
    if (destination == nullptr || capacity == 0)
        return;
    const auto utf8 = text.toStdString();
    const size_t length = std::min<size_t> (utf8.size(), capacity - 1);
    std::memcpy (destination, utf8.data(), length);
    destination[length] = '\0';
}

// Text from the host becomes a string only when it is well-formed UTF-8: JUCE's
// conversion reads past the end of text with a broken sequence at its end.
bool isWellFormedText (const char* text) noexcept
{
    if (text == nullptr)
        return false;
    for (const auto* byte = reinterpret_cast<const unsigned char*> (text); *byte != 0;)
    {
        const unsigned lead = *byte++;
        int extra = 0;
        uint32_t codePoint = lead;
        if (lead >= 0xC2 && lead <= 0xDF)
            extra = 1, codePoint = lead & 0x1F;
        else if (lead >= 0xE0 && lead <= 0xEF)
            extra = 2, codePoint = lead & 0x0F;
        else if (lead >= 0xF0 && lead <= 0xF4)
            extra = 3, codePoint = lead & 0x07;
        else if (lead >= 0x80)
            return false;
        for (int i = 0; i < extra; ++i, ++byte)
        {
            // The terminating zero is no continuation byte, so nothing past it is read.
            if ((*byte & 0xC0) != 0x80)
                return false;
            codePoint = (codePoint << 6) | (*byte & 0x3Fu);
        }
        const bool overlong = (extra == 2 && codePoint < 0x800) || (extra == 3 && codePoint < 0x10000);
        if (overlong || (codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF)
            return false;
    }
    return true;
}

// Channels of a stem format (its low 16 bits); the processor has defined processing for 1 and 2.
int channelsOfStemFormat (uint32_t stemFormat, int fallback) noexcept
{
    const int channels = static_cast<int> (stemFormat & 0xFFFFu);
    return channels == 1 || channels == 2 ? channels : fallback;
}
} // namespace

JuceAAX_Processor::JuceAAX_Processor()
    : processor (std::make_unique<ConvolutionEqAudioProcessor>())
{
    ConvolutionEqAudioProcessorEditor::installOn (*processor);
}

JuceAAX_Processor::~JuceAAX_Processor()
{
    if (listening)
        processor->removeListener (this);
    // The host parameters go before the processor whose parameters they mirror.
    mParameterRegistry.DeleteAllParameters();
    processor.reset();
}

IACFUnknown* JuceAAX_Processor::Create()
{
    return static_cast<IACFUnknown*> (static_cast<AAX_IEffectParameters*> (new JuceAAX_Processor()));
}

AAX_Result JuceAAX_Processor::EffectInitHook()
{
    prepareProcessor();
    mirrorParameters();
    addMasterBypass();

    if (! listening)
    {
        processor->addListener (this);
        listening = true;
    }

    // The processor never sets a latency, and its tail is 0 seconds.
    if (Controller() != nullptr)
        Controller()->ReportLatency (processor->getLatencySamples());
    return AAX_SUCCESS;
}

AAX_Result JuceAAX_Processor::TearDown()
{
    if (listening)
    {
        processor->removeListener (this);
        listening = false;
    }
    {
        const juce::ScopedLock lock (processor->getCallbackLock());
        processor->releaseResources();
    }
    parameters.clear();
    parameterIds.clear();
    return AAX_CEffectParameters::TearDown();
}

void JuceAAX_Processor::prepareProcessor()
{
    float hostRate = 0.0f;
    const bool hostRateKnown = Controller() != nullptr && Controller()->SampleRate (&hostRate) == AAX_SUCCESS &&
                               std::isfinite (hostRate) && hostRate > 0.0f;

    uint32_t outputFormat = AAX_eStemFormat_Stereo;
    if (Controller() != nullptr)
        Controller()->OutputStemFormat (&outputFormat);
    const int channels = channelsOfStemFormat (outputFormat, 2);

    juce::AudioProcessor::BusesLayout layout;
    const auto channelSet = channels == 1 ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo();
    layout.inputBuses.add (channelSet);
    layout.outputBuses.add (channelSet);

    // Held for the whole preparation, so no block runs against half-replaced state.
    // The audio thread reads the rate when it re-prepares for another block length.
    const juce::ScopedLock lock (processor->getCallbackLock());
    if (hostRateKnown)
        sampleRate = hostRate;
    processor->setBusesLayout (layout);
    processingChannels = channels;
    processor->releaseResources();
    processor->setRateAndBufferSizeDetails (sampleRate, initialMaximumBlock);
    processor->prepareToPlay (sampleRate, initialMaximumBlock);
    preparedMaximumBlock = initialMaximumBlock;
    lastBlockSize = initialMaximumBlock;
}

void JuceAAX_Processor::mirrorParameters()
{
    parameters.clear();
    parameterIds.clear();

    for (auto* parameter : processor->getParameters())
    {
        auto* withId = dynamic_cast<juce::AudioProcessorParameterWithID*> (parameter);
        if (withId == nullptr)
            continue;

        const std::string identifier = withId->paramID.toStdString();
        parameters.push_back (withId);
        parameterIds.push_back (identifier);
        if (mParameterRegistry.FindParameterById (identifier.c_str()) != nullptr)
            continue;

        auto hostParameter = makeHostParameter (identifier.c_str(), parameter->getName (maxNameLength),
                                                parameter->getDefaultValue(), parameter->isAutomatable());
        hostParameter->AddShortenedName (AAX_CString (parameter->getName (abbreviationLength).toRawUTF8()));
        hostParameter->SetStepCount (static_cast<uint32_t> (juce::jlimit (1, maxStepCount, parameter->getNumSteps())));
        hostParameter->SetType (parameter->isDiscrete() ? discreteType : continuousType);
        hostParameter->SetOrientation (parameter->isOrientationInverted() ? invertedOrientation : normalOrientation);
        mParameterRegistry.AddParameter (hostParameter.release());
    }
}

void JuceAAX_Processor::addMasterBypass()
{
    if (mParameterRegistry.FindParameterById (AAX_MasterBypassParameterId) != nullptr)
        return;

    // The processor offers no bypass parameter, so the host gets its own master bypass; its value
    // reaches the process procedure as a packet in the context.
    auto bypass = makeHostParameter (AAX_MasterBypassParameterId, "Master Bypass", 0.0f, true);
    bypass->AddShortenedName (AAX_CString ("Byp"));
    bypass->SetStepCount (2);
    bypass->SetType (discreteType);
    mParameterRegistry.AddParameter (bypass.release());

    mPacketDispatcher.AddPacketHandler (
        AAX_MasterBypassParameterId, masterBypassField,
        AAX_CPacketHandler<AAX_CPacketDispatcher> (&mPacketDispatcher, &AAX_CPacketDispatcher::FillValuePacket));
}

AAX_Result JuceAAX_Processor::HandleNotification (int32_t notificationType, const void* data, uint32_t size)
{
    switch (notificationType)
    {
        case LarkspurHostNotifications::pumpMessages:
            dispatchPendingFrameworkMessages();
            return AAX_SUCCESS;
        case LarkspurHostNotifications::selectPreset:
            return selectPreset (data, size);
        case LarkspurHostNotifications::prepareAgain:
            prepareProcessor();
            return AAX_SUCCESS;
        default:
            return AAX_CEffectParameters::HandleNotification (notificationType, data, size);
    }
}

AAX_Result JuceAAX_Processor::selectPreset (const void* data, uint32_t size)
{
    using LarkspurHostNotifications::PresetRequest;
    if (data == nullptr || size < sizeof (PresetRequest))
        return AAX_ERROR_NULL_ARGUMENT;
    const auto& request = *static_cast<const PresetRequest*> (data);

    PresetStore& store = processor->getPresetStore();
    const int listed = store.getNumListedPresets();

    // One name per line: a backslash or line feed in a name is sent as "\\" or "\n", so that
    // each name stays one item whatever it holds. Only whole lines that fit are sent: names edited
    // into the file by hand may be longer than the host's room, and one cut short would be listed
    // as a name that is not there.
    std::string names;
    for (int position = 1; position <= listed; ++position)
    {
        std::string line;
        for (const char byte :
             store.presets.getChildElement (position - 1)->getStringAttribute ("presetName").toStdString())
        {
            if (byte == '\\' || byte == '\n')
                line += '\\';
            line += byte == '\n' ? 'n' : byte;
        }
        line += '\n';
        if (names.size() + line.size() >= request.namesCapacity)
            break;
        names += line;
    }
    copyText (juce::String::fromUTF8 (names.data(), (int) names.size()), request.names, request.namesCapacity);
    copyText (store.presetFile.getFullPathName(), request.file, request.fileCapacity);
    copyText (store.getReadProblem(), request.problem, request.problemCapacity);
    if (request.numPresetsInFile != nullptr)
        *request.numPresetsInFile = (uint32_t) store.presets.getNumChildElements();
    if (request.name == nullptr)
        return AAX_SUCCESS;

    if (! isWellFormedText (request.name))
        return AAX_ERROR_INVALID_ARGUMENT;
    return store.selectPreset (juce::String::fromUTF8 (request.name)) ? AAX_SUCCESS : AAX_ERROR_INVALID_ARGUMENT;
}

//==============================================================================
juce::AudioProcessorParameter* JuceAAX_Processor::findParameter (AAX_CParamID identifier) const
{
    if (identifier == nullptr)
        return nullptr;
    for (size_t i = 0; i < parameterIds.size(); ++i)
        if (parameterIds[i] == identifier)
            return parameters[i];
    return nullptr;
}

const char* JuceAAX_Processor::identifierAt (int parameterIndex) const noexcept
{
    if (parameterIndex < 0 || static_cast<size_t> (parameterIndex) >= parameterIds.size())
        return nullptr;
    return parameterIds[static_cast<size_t> (parameterIndex)].c_str();
}

AAX_Result JuceAAX_Processor::ParameterName (AAX_CParamID identifier, AAX_IString* name) const
{
    if (name == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    if (const auto* parameter = findParameter (identifier))
    {
        name->SetCString (parameter->getName (maxNameLength).toRawUTF8());
        return AAX_SUCCESS;
    }
    return AAX_CEffectParameters::ParameterName (identifier, name);
}

AAX_Result JuceAAX_Processor::ParameterAbbreviatedName (AAX_CParamID identifier, AAX_IString* name,
                                                        int32_t maxLength) const
{
    if (name == nullptr)
        return AAX_ERROR_INVALID_STRING_CONVERSION;
    if (const auto* parameter = findParameter (identifier))
    {
        name->SetCString (parameter->getName (std::max (0, static_cast<int> (maxLength))).toRawUTF8());
        return AAX_SUCCESS;
    }
    return AAX_CEffectParameters::ParameterAbbreviatedName (identifier, name, maxLength);
}

AAX_Result JuceAAX_Processor::ParameterDefaultNormalizedValue (AAX_CParamID identifier, double* value) const
{
    if (value == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    if (const auto* parameter = findParameter (identifier))
    {
        *value = parameter->getDefaultValue();
        return AAX_SUCCESS;
    }
    return AAX_CEffectParameters::ParameterDefaultNormalizedValue (identifier, value);
}

AAX_Result JuceAAX_Processor::NormalizedValueFromString (AAX_CParamID identifier, double* value,
                                                         const AAX_IString& text) const
{
    if (value == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    if (const auto* parameter = findParameter (identifier))
    {
        // JUCE reads "nan" and "inf" as numbers; neither may become a value, not even
        // clamped to an end of the range.
        if (! isWellFormedText (text.CString()))
            return AAX_ERROR_INVALID_STRING_CONVERSION;
        const juce::String asText = juce::String::fromUTF8 (text.CString());
        if (asText.containsIgnoreCase ("nan") || asText.containsIgnoreCase ("inf"))
            return AAX_ERROR_INVALID_STRING_CONVERSION;
        const float parsed = parameter->getValueForText (asText);
        if (! std::isfinite (parsed))
            return AAX_ERROR_INVALID_STRING_CONVERSION;
        *value = juce::jlimit (0.0f, 1.0f, parsed);
        return AAX_SUCCESS;
    }
    return AAX_CEffectParameters::NormalizedValueFromString (identifier, value, text);
}

AAX_Result JuceAAX_Processor::StringFromNormalizedValue (AAX_CParamID identifier, double value, AAX_IString& text,
                                                         int32_t maxLength) const
{
    if (const auto* parameter = findParameter (identifier))
    {
        if (! std::isfinite (value))
            return AAX_ERROR_INVALID_STRING_CONVERSION;
        const float normalised = juce::jlimit (0.0f, 1.0f, static_cast<float> (value));
        text.SetCString (parameter->getText (normalised, std::max (0, static_cast<int> (maxLength))).toRawUTF8());
        return AAX_SUCCESS;
    }
    return AAX_CEffectParameters::StringFromNormalizedValue (identifier, value, text, maxLength);
}

AAX_Result JuceAAX_Processor::ParameterNormalizedValue (AAX_CParamID identifier, double* value) const
{
    if (value == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    if (const auto* parameter = findParameter (identifier))
    {
        *value = parameter->getValue();
        return AAX_SUCCESS;
    }
    return AAX_CEffectParameters::ParameterNormalizedValue (identifier, value);
}

AAX_Result JuceAAX_Processor::SetParameterNormalizedValue (AAX_CParamID identifier, double value)
{
    if (! std::isfinite (value))
        return AAX_ERROR_INVALID_ARGUMENT;
    return AAX_CEffectParameters::SetParameterNormalizedValue (identifier, value);
}

AAX_Result JuceAAX_Processor::SetParameterNormalizedRelative (AAX_CParamID identifier, double delta)
{
    if (! std::isfinite (delta))
        return AAX_ERROR_INVALID_ARGUMENT;
    return AAX_CEffectParameters::SetParameterNormalizedRelative (identifier, delta);
}

AAX_Result JuceAAX_Processor::UpdateParameterNormalizedValue (AAX_CParamID identifier, double value,
                                                              int32_t updateSource)
{
    // The base stores, counts the change and marks packets dirty; it refuses values that are not
    // finite, so those never reach the processor either.
    const AAX_Result result = AAX_CEffectParameters::UpdateParameterNormalizedValue (identifier, value, updateSource);
    if (result != AAX_SUCCESS)
        return result;

    if (auto* parameter = findParameter (identifier))
    {
        const float newValue = juce::jlimit (0.0f, 1.0f, static_cast<float> (value));
        if (newValue != parameter->getValue())
        {
            const HostOriginatedScope hostOriginated (this);
            parameter->setValue (newValue);
            parameter->sendValueChangedMessageToListeners (newValue);
        }
    }
    return result;
}

void JuceAAX_Processor::audioProcessorParameterChanged (juce::AudioProcessor*, int parameterIndex, float newValue)
{
    if (hostOriginatedUpdate == this)
        return;
    if (const char* identifier = identifierAt (parameterIndex))
        SetParameterNormalizedValue (identifier, newValue);
}

void JuceAAX_Processor::audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int parameterIndex)
{
    if (const char* identifier = identifierAt (parameterIndex))
        TouchParameter (identifier);
}

void JuceAAX_Processor::audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int parameterIndex)
{
    if (const char* identifier = identifierAt (parameterIndex))
        ReleaseParameter (identifier);
}

AAX_Result JuceAAX_Processor::ZeroFieldData (AAX_CFieldIndex fieldIndex, void* data, uint32_t size) const
{
    if (data == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    const AAX_Result result = AAX_CEffectParameters::ZeroFieldData (fieldIndex, data, size);

    // The context's private data field tells the process procedure which instance it belongs to.
    if (fieldIndex == LarkspurContextFields::instance && size >= sizeof (JuceAAX_Processor*))
    {
        const JuceAAX_Processor* self = this;
        std::memcpy (data, &self, sizeof (self));
    }
    return result;
}

//==============================================================================
void JuceAAX_Processor::processBlock (const float* const* inputs, float* const* outputs, int numSamples,
                                      bool hostBypass) noexcept
{
    if (outputs == nullptr || numSamples <= 0)
        return;

    const juce::ScopedLock lock (processor->getCallbackLock());

    const int channels = processingChannels;
    for (int channel = 0; channel < channels; ++channel)
    {
        if (outputs[channel] == nullptr)
            return;
        const float* input = inputs != nullptr ? inputs[channel] : nullptr;
        if (input == nullptr)
            std::fill (outputs[channel], outputs[channel] + numSamples, 0.0f);
        else if (input != outputs[channel])
            std::memcpy (outputs[channel], input, static_cast<size_t> (numSamples) * sizeof (float));
    }

    if (numSamples > preparedMaximumBlock)
    {
        // Longer than any block prepared for: prepare again, here on the real-time thread.
        processor->setRateAndBufferSizeDetails (sampleRate, numSamples);
        processor->prepareToPlay (sampleRate, numSamples);
        preparedMaximumBlock = numSamples;
        lastBlockSize = numSamples;
    }
    else if (numSamples != lastBlockSize)
    {
        processor->setRateAndBufferSizeDetails (sampleRate, numSamples);
        lastBlockSize = numSamples;
    }

    juce::AudioBuffer<float> buffer (outputs, channels, numSamples);
    noMidi.clear();
    if (hostBypass)
        processor->processBlockBypassed (buffer, noMidi);
    else
        processor->processBlock (buffer, noMidi);
}
} // namespace AAXClasses
