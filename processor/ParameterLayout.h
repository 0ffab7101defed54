#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <memory>

/** The plug-in's parameters: their IDs (shared by the processor, the editor's attachments, the
    presets file, the state XML and the host parameters), their kinds, ranges and defaults, and
    the order in which they are registered, which is the order the host sees. */
namespace ParameterIds
{
inline constexpr const char* bypass = "bypass";
inline constexpr const char* preset = "preset";
inline constexpr const char* inputLevel = "input_level";
inline constexpr const char* gain = "gain";
inline constexpr const char* solo = "solo";
inline constexpr const char* phase = "phase";
inline constexpr const char* gainL = "gain_L";
inline constexpr const char* linkGain = "link_gain";
inline constexpr const char* gainR = "gain_R";
inline constexpr const char* phaseL = "phase_L";
inline constexpr const char* phaseR = "phase_R";
inline constexpr const char* processL = "process_L";
inline constexpr const char* processR = "process_R";
inline constexpr const char* processM = "process_M";
inline constexpr const char* processS = "process_S";
inline constexpr const char* processA = "process_A";
inline constexpr const char* linkMSLR = "link_MSLR";
inline constexpr const char* solo1 = "solo_1";
inline constexpr const char* solo2 = "solo_2";

/** Per-band IDs are a prefix followed by the processing channel (1, 2) and the band (1 to 3). */
inline constexpr const char* frequencyPrefix = "frequency";
inline constexpr const char* bandGainPrefix = "gain";
inline constexpr const char* outputGainPrefix = "out";
inline constexpr const char* activePrefix = "active";
inline constexpr const char* typePrefix = "type";

/** "frequency", 2, 3 -> "frequency_2_3"; also "button_LP", 1, 1 -> "button_LP_1_1". */
juce::String band (const char* prefix, int channel, int band);

inline constexpr int numParameters = 59;

/** All 59 IDs in registration order. */
const std::array<const char*, numParameters>& registrationOrder();
} // namespace ParameterIds

namespace ParameterRanges
{
juce::NormalisableRange<float> level();              // input level and output gains, dB
juce::NormalisableRange<float> frequency (int band); // Hz, by band 1 to 3
juce::NormalisableRange<float> bandGain();           // dB
juce::NormalisableRange<float> outputGain();         // band trims, dB
} // namespace ParameterRanges

std::unique_ptr<juce::AudioParameterFloat>
makeGainParameter (const juce::String& id, const juce::NormalisableRange<float>& range, const float& defaultValue);
std::unique_ptr<juce::AudioParameterBool> makeBoolParameter (const juce::String& id, const juce::String& name,
                                                             const bool& defaultValue);
std::unique_ptr<juce::AudioParameterBool> makePhaseParameter (const juce::String& id, const bool& defaultValue);
std::unique_ptr<juce::AudioParameterFloat>
makeFrequencyParameter (const juce::String& id, const juce::NormalisableRange<float>& range, const float& defaultValue);
juce::StringArray makeTypeChoices (const juce::String& secondChoice);
std::unique_ptr<juce::AudioParameterChoice> makeTypeParameter (const juce::String& id, const juce::StringArray& choices,
                                                               const int& defaultIndex);
std::unique_ptr<juce::AudioParameterFloat>
makeBandGainParameter (const juce::String& id, const juce::NormalisableRange<float>& range, const float& defaultValue);
std::unique_ptr<juce::AudioParameterFloat> makeOutputGainParameter (const juce::String& id,
                                                                    const juce::NormalisableRange<float>& range,
                                                                    const float& defaultValue);
std::unique_ptr<juce::AudioParameterBool> makeActiveParameter (const juce::String& id, const bool& defaultValue);

/** The 59 parameters in registration order. */
juce::AudioProcessorValueTreeState::ParameterLayout createParameterLayout();
