#include "ParameterLayout.h"
#include "LevelCompensationTable.h"
#include "ProcessorTestSupport.h"

#include <gtest/gtest.h>

namespace
{
enum class Kind
{
    boolean,
    integer,
    floating,
    choice
};

struct ExpectedParameter
{
    std::string id;
    const char* name;
    Kind kind;
    float start, end, interval, skew;
    bool symmetric;
    float defaultPlain;
    const char* secondChoice;
};

ExpectedParameter boolean (const std::string& id, const char* name, bool on)
{
    return { id, name, Kind::boolean, 0, 1, 1, 1, false, on ? 1.0f : 0.0f, nullptr };
}

ExpectedParameter level (const char* id, const char* name)
{
    return { id, name, Kind::floating, -96, 12, 0.1f, 4, false, 0, nullptr };
}

std::vector<ExpectedParameter> expectedChannel (int c)
{
    auto id = [c] (const char* prefix, int band)
    { return std::string (prefix) + "_" + std::to_string (c) + "_" + std::to_string (band); };

    std::vector<ExpectedParameter> rows{
        { id ("frequency", 1), "Frequency", Kind::floating, 50, 400, 1, 1, true, 50, nullptr },
        { id ("frequency", 2), "Frequency", Kind::floating, 400, 5000, 1, 1, true, 1500, nullptr },
        { id ("frequency", 3), "Frequency", Kind::floating, 5000, 15000, 1, 1, true, 10000, nullptr },
    };
    if (c == 1)
    {
        rows.push_back (boolean (id ("button_LP", 1), "LP", false));
        rows.push_back (boolean (id ("button_PK", 1), "PK", true));
    }
    else
    {
        rows.push_back (boolean (id ("button_PK", 1), "PK", true));
        rows.push_back (boolean (id ("button_LP", 1), "LP", false));
    }
    rows.push_back (boolean (id ("button_PK", 2), "PK", true));
    rows.push_back (boolean (id ("button_HP", 3), "HP", false));
    rows.push_back (boolean (id ("button_PK", 3), "PK", true));
    rows.push_back ({ id ("type", 1), "Type", Kind::choice, 0, 1, 1, 1, false, 0, "LP" });
    rows.push_back ({ id ("type", 2), "Type", Kind::choice, 0, 1, 1, 1, false, 0, "LP" });
    rows.push_back ({ id ("type", 3), "Type", Kind::choice, 0, 1, 1, 1, false, 0, "HP" });
    for (int b = 1; b <= 3; ++b)
        rows.push_back ({ id ("gain", b), "Band Gain", Kind::floating, -12, 12, 0.1f, 1, true, 0, nullptr });
    for (int b = 1; b <= 3; ++b)
        rows.push_back ({ id ("out", b), "Output Gain", Kind::floating, -6, 6, 0.1f, 1, true, 0, nullptr });
    for (int b = 1; b <= 3; ++b)
        rows.push_back (boolean (id ("active", b), "Active", true));
    return rows;
}

std::vector<ExpectedParameter> expectedParameters()
{
    std::vector<ExpectedParameter> rows{
        boolean ("bypass", "Bypass", false),
        { "preset", "Preset", Kind::integer, 0, 100, 1, 1, false, 0, nullptr },
        level ("input_level", "Input level"),
        level ("gain", "Gain"),
        boolean ("solo", "Solo", true),
        boolean ("phase", "Invert Phase", false),
        level ("gain_L", "Gain"),
        boolean ("link_gain", "Link", true),
        level ("gain_R", "Gain"),
        boolean ("phase_L", "Invert Phase", false),
        boolean ("phase_R", "Invert Phase", false),
        boolean ("process_L", "Left", false),
        boolean ("process_R", "Right", false),
        boolean ("process_M", "Mid", false),
        boolean ("process_S", "Sides", false),
        boolean ("process_A", "All", true),
        boolean ("link_MSLR", "Link MSLR", true),
        boolean ("solo_1", "Solo CH1", true),
        boolean ("solo_2", "Solo CH2", true),
    };
    for (int c = 1; c <= 2; ++c)
        for (auto& row : expectedChannel (c))
            rows.push_back (row);
    return rows;
}

class ParameterSetTest : public ::testing::Test
{
protected:
    TemporaryUserFolder userFolder;
    ConvolutionEqAudioProcessor processor;
};
} // namespace

TEST_F (ParameterSetTest, RegistersTheFiftyNineParametersInOrderWithTheirKindsRangesAndDefaults)
{
    const auto expected = expectedParameters();
    const auto& parameters = processor.getParameters();
    ASSERT_EQ (expected.size(), 59u);
    ASSERT_EQ (parameters.size(), 59);

    for (int i = 0; i < parameters.size(); ++i)
    {
        const auto& want = expected[(size_t) i];
        SCOPED_TRACE (want.id);
        const juce::String wantId (want.id);
        auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (parameters[i]);
        ASSERT_NE (ranged, nullptr);

        EXPECT_EQ (ranged->paramID, wantId);
        EXPECT_EQ (ranged->name, want.name);
        EXPECT_EQ (ranged->getLabel(), "");
        EXPECT_EQ (juce::String (ParameterIds::registrationOrder()[(size_t) i]), ranged->paramID);

        switch (want.kind)
        {
            case Kind::boolean:
                EXPECT_NE (dynamic_cast<juce::AudioParameterBool*> (ranged), nullptr);
                break;
            case Kind::integer:
                EXPECT_NE (dynamic_cast<juce::AudioParameterInt*> (ranged), nullptr);
                break;
            case Kind::choice:
            {
                auto* choice = dynamic_cast<juce::AudioParameterChoice*> (ranged);
                ASSERT_NE (choice, nullptr);
                EXPECT_EQ (choice->choices, juce::StringArray ({ "PK", want.secondChoice }));
                break;
            }
            case Kind::floating:
            {
                ASSERT_NE (dynamic_cast<juce::AudioParameterFloat*> (ranged), nullptr);
                const auto& range = ranged->getNormalisableRange();
                EXPECT_EQ (range.start, want.start);
                EXPECT_EQ (range.end, want.end);
                EXPECT_EQ (range.interval, want.interval);
                EXPECT_EQ (range.skew, want.skew);
                EXPECT_EQ (range.symmetricSkew, want.symmetric);
                break;
            }
        }

        EXPECT_FLOAT_EQ (ranged->convertFrom0to1 (ranged->getDefaultValue()), want.defaultPlain);
        EXPECT_FLOAT_EQ (ranged->convertFrom0to1 (ranged->getValue()), want.defaultPlain);
    }
}

TEST_F (ParameterSetTest, NormalisedValuesAtTheEdges)
{
    auto& input = parameter (processor, "input_level");
    EXPECT_FLOAT_EQ (input.convertTo0to1 (0.0f), 0.6242951f);
    EXPECT_FLOAT_EQ (input.getValue(), 0.6242951f);
    EXPECT_EQ (input.convertTo0to1 (-96.0f), 0.0f);
    EXPECT_EQ (input.convertFrom0to1 (0.0f), -96.0f);
    EXPECT_EQ (input.convertTo0to1 (12.0f), 1.0f);

    auto& preset = parameter (processor, "preset");
    EXPECT_EQ (preset.getNumSteps(), 101);
    EXPECT_FLOAT_EQ (preset.convertTo0to1 (37.0f), 0.37f);

    EXPECT_FLOAT_EQ (parameter (processor, "frequency_1_1").convertTo0to1 (300.0f), 0.7142857f);
    EXPECT_FLOAT_EQ (parameter (processor, "gain_1_1").convertTo0to1 (9.0f), 0.875f);
    EXPECT_EQ (parameter (processor, "type_1_3").convertTo0to1 (1.0f), 1.0f);
}

TEST_F (ParameterSetTest, CachedCellsFollowTheParametersAndBandTypesStartAsPeak)
{
    const auto& ids = ParameterIds::registrationOrder();
    for (size_t i = 0; i < ids.size(); ++i)
    {
        SCOPED_TRACE (ids[i]);
        auto& p = parameter (processor, ids[i]);
        const auto which = (ConvolutionEqAudioProcessor::CachedValue) i;
        EXPECT_EQ (processor.currentValue (which), p.convertFrom0to1 (p.getValue()));

        // Move the parameter somewhere else: the cell follows at once.
        p.setValueNotifyingHost (p.getValue() > 0.5f ? 0.0f : 1.0f);
        EXPECT_EQ (processor.currentValue (which), p.convertFrom0to1 (p.getValue()));
    }

    using BandValue = ConvolutionEqAudioProcessor::BandValue;
    setPlainValue (processor, "out_2_3", 4.5f);
    setPlainValue (processor, "frequency_1_2", 800.0f);
    setPlainValue (processor, "gain_2_1", -7.0f);
    setPlainValue (processor, "active_1_3", 0.0f);
    EXPECT_FLOAT_EQ (processor.currentBandValue (BandValue::trim, 2, 3), 4.5f);
    EXPECT_FLOAT_EQ (processor.currentBandValue (BandValue::frequency, 1, 2), 800.0f);
    EXPECT_FLOAT_EQ (processor.currentBandValue (BandValue::gain, 2, 1), -7.0f);
    EXPECT_FLOAT_EQ (processor.currentBandValue (BandValue::active, 1, 3), 0.0f);

    for (const auto& name : processor.getTypeNames())
        EXPECT_EQ (name, "PK");
    for (int c = 1; c <= 2; ++c)
        for (int b = 1; b <= 3; ++b)
            EXPECT_EQ (processor.getTypeParameter (c, b)->paramID, ParameterIds::band ("type", c, b));
}

TEST_F (ParameterSetTest, FixedAnswersAndLevelCompensation)
{
    EXPECT_EQ (processor.getName(), "Larkspur");
    EXPECT_EQ (processor.getTailLengthSeconds(), 0.0);
    EXPECT_EQ (processor.getNumPrograms(), 1);
    EXPECT_FALSE (processor.acceptsMidi());
    EXPECT_EQ (processor.getTotalNumInputChannels(), 2);
    EXPECT_EQ (processor.getTotalNumOutputChannels(), 2);
    EXPECT_EQ (processor.getValueTreeState().state.getType().toString(), "Larkspur");
    EXPECT_EQ (processor.getLevelCompensation(), 0.0f);

    for (const auto& [rate, levelDb] : LevelCompensationTable::calibrated)
    {
        EXPECT_EQ (ConvolutionEqAudioProcessor::levelCompensationForRate ((float) rate), levelDb) << rate;
        EXPECT_EQ (ConvolutionEqAudioProcessor::levelCompensationForRate ((float) rate + 0.9f), levelDb) << rate;
    }
    for (const float rate : { 32000.0f, 0.0f, std::numeric_limits<float>::quiet_NaN(), 1.0e30f })
        EXPECT_EQ (ConvolutionEqAudioProcessor::levelCompensationForRate (rate), LevelCompensationTable::otherRatesDb)
            << rate;
}

TEST (ProcessorConstruction, CreatesThePresetsFileBeforeAnyPrepare)
{
    TemporaryUserFolder userFolder;
    EXPECT_FALSE (userFolder.presetsFile().exists());
    ConvolutionEqAudioProcessor processor;
    EXPECT_TRUE (userFolder.presetsFile().existsAsFile());
}
