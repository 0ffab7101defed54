#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>

/** The plug-in's parameters in one table: their IDs (shared by the processor, the editor's
    attachments, the presets file, the state XML and the host parameters), names, kinds, ranges and
    defaults. The rows are in registration order, which is the order the host sees; the layout, the
    processor's value cells and the wrapper's host parameters all follow it. */
namespace ParameterTable
{
enum class Kind
{
    boolean,
    integer,
    floating,
    choice
};

/** A range as JUCE's NormalisableRange takes it. */
struct Range
{
    float start, end, interval, skew;
    bool symmetricSkew;
};

struct Row
{
    const char* id;
    const char* name;
    Kind kind;
    Range range;                        // floating and integer rows; a switch or a choice uses 0 to 1
    float defaultValue;                 // plain: dB, Hz, 0 or 1, the preset number, the choice index
    const char* secondChoice = nullptr; // a band type's choices are "PK" and this
};

inline constexpr Range switchRange{ 0.0f, 1.0f, 1.0f, 1.0f, false };
inline constexpr Range presetRange{ 0.0f, 100.0f, 1.0f, 1.0f, false };
inline constexpr Range levelRange{ -96.0f, 12.0f, 0.1f, 4.0f, false };
inline constexpr Range lowFrequencyRange{ 50.0f, 400.0f, 1.0f, 1.0f, true };
inline constexpr Range middleFrequencyRange{ 400.0f, 5000.0f, 1.0f, 1.0f, true };
inline constexpr Range highFrequencyRange{ 5000.0f, 15000.0f, 1.0f, 1.0f, true };
inline constexpr Range bandGainRange{ -12.0f, 12.0f, 0.1f, 1.0f, true };
inline constexpr Range trimRange{ -6.0f, 6.0f, 0.1f, 1.0f, true };

namespace detail
{
constexpr Row onOff (const char* id, const char* name, bool on)
{
    return { id, name, Kind::boolean, switchRange, on ? 1.0f : 0.0f };
}

constexpr Row level (const char* id, const char* name)
{
    return { id, name, Kind::floating, levelRange, 0.0f };
}

constexpr Row bandType (const char* id, const char* secondChoice)
{
    return { id, "Type", Kind::choice, switchRange, 0.0f, secondChoice };
}
} // namespace detail

inline constexpr int numParameters = 59;

// clang-format off
/** Every parameter, in registration order. Each processing channel's block holds its frequencies,
    band-type switches (channel 1 registers its band-1 switches LP before PK, channel 2 PK before LP),
    types, band gains, trims and band switches. */
inline constexpr std::array<Row, numParameters> rows{ {
    detail::onOff ("bypass", "Bypass", false),
    { "preset", "Preset", Kind::integer, presetRange, 0.0f },
    detail::level ("input_level", "Input level"),
    detail::level ("gain", "Gain"),
    detail::onOff ("solo", "Solo", true),
    detail::onOff ("phase", "Invert Phase", false),
    detail::level ("gain_L", "Gain"),
    detail::onOff ("link_gain", "Link", true),
    detail::level ("gain_R", "Gain"),
    detail::onOff ("phase_L", "Invert Phase", false),
    detail::onOff ("phase_R", "Invert Phase", false),
    detail::onOff ("process_L", "Left", false),
    detail::onOff ("process_R", "Right", false),
    detail::onOff ("process_M", "Mid", false),
    detail::onOff ("process_S", "Sides", false),
    detail::onOff ("process_A", "All", true),
    detail::onOff ("link_MSLR", "Link MSLR", true),
    detail::onOff ("solo_1", "Solo CH1", true),
    detail::onOff ("solo_2", "Solo CH2", true),

    { "frequency_1_1", "Frequency", Kind::floating, lowFrequencyRange, 50.0f },
    { "frequency_1_2", "Frequency", Kind::floating, middleFrequencyRange, 1500.0f },
    { "frequency_1_3", "Frequency", Kind::floating, highFrequencyRange, 10000.0f },
    detail::onOff ("button_LP_1_1", "LP", false),
    detail::onOff ("button_PK_1_1", "PK", true),
    detail::onOff ("button_PK_1_2", "PK", true),
    detail::onOff ("button_HP_1_3", "HP", false),
    detail::onOff ("button_PK_1_3", "PK", true),
    detail::bandType ("type_1_1", "LP"),
    detail::bandType ("type_1_2", "LP"),
    detail::bandType ("type_1_3", "HP"),
    { "gain_1_1", "Band Gain", Kind::floating, bandGainRange, 0.0f },
    { "gain_1_2", "Band Gain", Kind::floating, bandGainRange, 0.0f },
    { "gain_1_3", "Band Gain", Kind::floating, bandGainRange, 0.0f },
    { "out_1_1", "Output Gain", Kind::floating, trimRange, 0.0f },
    { "out_1_2", "Output Gain", Kind::floating, trimRange, 0.0f },
    { "out_1_3", "Output Gain", Kind::floating, trimRange, 0.0f },
    detail::onOff ("active_1_1", "Active", true),
    detail::onOff ("active_1_2", "Active", true),
    detail::onOff ("active_1_3", "Active", true),

    { "frequency_2_1", "Frequency", Kind::floating, lowFrequencyRange, 50.0f },
    { "frequency_2_2", "Frequency", Kind::floating, middleFrequencyRange, 1500.0f },
    { "frequency_2_3", "Frequency", Kind::floating, highFrequencyRange, 10000.0f },
    detail::onOff ("button_PK_2_1", "PK", true),
    detail::onOff ("button_LP_2_1", "LP", false),
    detail::onOff ("button_PK_2_2", "PK", true),
    detail::onOff ("button_HP_2_3", "HP", false),
    detail::onOff ("button_PK_2_3", "PK", true),
    detail::bandType ("type_2_1", "LP"),
    detail::bandType ("type_2_2", "LP"),
    detail::bandType ("type_2_3", "HP"),
    { "gain_2_1", "Band Gain", Kind::floating, bandGainRange, 0.0f },
    { "gain_2_2", "Band Gain", Kind::floating, bandGainRange, 0.0f },
    { "gain_2_3", "Band Gain", Kind::floating, bandGainRange, 0.0f },
    { "out_2_1", "Output Gain", Kind::floating, trimRange, 0.0f },
    { "out_2_2", "Output Gain", Kind::floating, trimRange, 0.0f },
    { "out_2_3", "Output Gain", Kind::floating, trimRange, 0.0f },
    detail::onOff ("active_2_1", "Active", true),
    detail::onOff ("active_2_2", "Active", true),
    detail::onOff ("active_2_3", "Active", true),
} };

/** A row by name, in the table's order. */
enum class Index
{
    bypass, preset, inputLevel, gain, solo, phase, gainL, linkGain, gainR, phaseL, phaseR,
    processL, processR, processM, processS, processA, linkMSLR, solo1, solo2,
    frequency_1_1, frequency_1_2, frequency_1_3,
    buttonLP_1_1, buttonPK_1_1, buttonPK_1_2, buttonHP_1_3, buttonPK_1_3,
    type_1_1, type_1_2, type_1_3, gain_1_1, gain_1_2, gain_1_3, out_1_1, out_1_2, out_1_3,
    active_1_1, active_1_2, active_1_3,
    frequency_2_1, frequency_2_2, frequency_2_3,
    buttonPK_2_1, buttonLP_2_1, buttonPK_2_2, buttonHP_2_3, buttonPK_2_3,
    type_2_1, type_2_2, type_2_3, gain_2_1, gain_2_2, gain_2_3, out_2_1, out_2_2, out_2_3,
    active_2_1, active_2_2, active_2_3,
};
// clang-format on

constexpr const Row& row (Index index)
{
    return rows[(size_t) index];
}

/** The kinds of value that every band has, one parameter per band each. */
enum class BandValue
{
    frequency,
    gain,
    trim,
    active
};

/** The ID prefix of a band value, as in "frequency_1_2". */
constexpr const char* prefix (BandValue value)
{
    switch (value)
    {
        case BandValue::frequency:
            return "frequency";
        case BandValue::gain:
            return "gain";
        case BandValue::trim:
            return "out";
        case BandValue::active:
            return "active";
    }
    return "";
}

/** The layout JUCE's value-tree state registers: one parameter per row, in order. */
juce::AudioProcessorValueTreeState::ParameterLayout createLayout();

/** A row's range as JUCE takes it. */
juce::NormalisableRange<float> normalisableRange (const Row& row);
} // namespace ParameterTable

/** IDs by name, read from the table. */
namespace ParameterIds
{
using ParameterTable::Index;
using ParameterTable::row;

inline constexpr const char* bypass = row (Index::bypass).id;
inline constexpr const char* preset = row (Index::preset).id;
inline constexpr const char* inputLevel = row (Index::inputLevel).id;
inline constexpr const char* gain = row (Index::gain).id;
inline constexpr const char* solo = row (Index::solo).id;
inline constexpr const char* phase = row (Index::phase).id;
inline constexpr const char* gainL = row (Index::gainL).id;
inline constexpr const char* linkGain = row (Index::linkGain).id;
inline constexpr const char* gainR = row (Index::gainR).id;
inline constexpr const char* phaseL = row (Index::phaseL).id;
inline constexpr const char* phaseR = row (Index::phaseR).id;
inline constexpr const char* processL = row (Index::processL).id;
inline constexpr const char* processR = row (Index::processR).id;
inline constexpr const char* processM = row (Index::processM).id;
inline constexpr const char* processS = row (Index::processS).id;
inline constexpr const char* processA = row (Index::processA).id;
inline constexpr const char* linkMSLR = row (Index::linkMSLR).id;
inline constexpr const char* solo1 = row (Index::solo1).id;
inline constexpr const char* solo2 = row (Index::solo2).id;

/** Per-band IDs are a prefix followed by the processing channel (1, 2) and the band (1 to 3). */
inline constexpr const char* frequencyPrefix = ParameterTable::prefix (ParameterTable::BandValue::frequency);
inline constexpr const char* bandGainPrefix = ParameterTable::prefix (ParameterTable::BandValue::gain);
inline constexpr const char* outputGainPrefix = ParameterTable::prefix (ParameterTable::BandValue::trim);
inline constexpr const char* activePrefix = ParameterTable::prefix (ParameterTable::BandValue::active);
inline constexpr const char* typePrefix = "type";

/** "frequency", 2, 3 -> "frequency_2_3"; also "button_LP", 1, 1 -> "button_LP_1_1". */
juce::String band (const char* prefix, int channel, int band);

inline constexpr int numParameters = ParameterTable::numParameters;

/** All 59 IDs in registration order. */
const std::array<const char*, numParameters>& registrationOrder();
} // namespace ParameterIds

/** The 59 parameters in registration order. */
inline juce::AudioProcessorValueTreeState::ParameterLayout createParameterLayout()
{
    return ParameterTable::createLayout();
}
