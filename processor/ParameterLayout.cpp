#include "ParameterLayout.h"

namespace ParameterTable
{
namespace
{
constexpr bool sameText (const char* a, const char* b)
{
    while (*a != 0 && *a == *b)
    {
        ++a;
        ++b;
    }
    return *a == *b;
}

// The names of the rows stay where the table's rows are.
static_assert ((int) Index::active_2_3 + 1 == numParameters);
static_assert (sameText (row (Index::solo2).id, "solo_2"));
static_assert (sameText (row (Index::frequency_1_1).id, "frequency_1_1"));
static_assert (sameText (row (Index::type_1_1).id, "type_1_1"));
static_assert (sameText (row (Index::gain_1_1).id, "gain_1_1"));
static_assert (sameText (row (Index::out_1_1).id, "out_1_1"));
static_assert (sameText (row (Index::active_1_1).id, "active_1_1"));
static_assert (sameText (row (Index::frequency_2_1).id, "frequency_2_1"));
static_assert (sameText (row (Index::type_2_1).id, "type_2_1"));
static_assert (sameText (row (Index::gain_2_1).id, "gain_2_1"));
static_assert (sameText (row (Index::out_2_1).id, "out_2_1"));
static_assert (sameText (row (Index::active_2_3).id, "active_2_3"));

std::unique_ptr<juce::RangedAudioParameter> makeParameter (const Row& row)
{
    switch (row.kind)
    {
        case Kind::boolean:
            return std::make_unique<juce::AudioParameterBool> (row.id, row.name, row.defaultValue >= 0.5f);
        case Kind::integer:
            return std::make_unique<juce::AudioParameterInt> (row.id, row.name, (int) row.range.start,
                                                              (int) row.range.end, (int) row.defaultValue);
        case Kind::choice:
            return std::make_unique<juce::AudioParameterChoice> (
                row.id, row.name, juce::StringArray{ "PK", row.secondChoice }, (int) row.defaultValue);
        case Kind::floating:
            break;
    }
    return std::make_unique<juce::AudioParameterFloat> (row.id, row.name, normalisableRange (row), row.defaultValue);
}
} // namespace

juce::NormalisableRange<float> normalisableRange (const Row& row)
{
    return { row.range.start, row.range.end, row.range.interval, row.range.skew, row.range.symmetricSkew };
}

juce::AudioProcessorValueTreeState::ParameterLayout createLayout()
{
    juce::AudioProcessorValueTreeState::ParameterLayout layout;
    for (const auto& row : rows)
        layout.add (makeParameter (row));
    return layout;
}
} // namespace ParameterTable

namespace ParameterIds
{
juce::String band (const char* prefix, int channel, int bandNumber)
{
    return juce::String (prefix) + "_" + juce::String (channel) + "_" + juce::String (bandNumber);
}

const std::array<const char*, numParameters>& registrationOrder()
{
    static const auto order = []
    {
        std::array<const char*, numParameters> ids{};
        for (size_t i = 0; i < ids.size(); ++i)
            ids[i] = ParameterTable::rows[i].id;
        return ids;
    }();
    return order;
}
} // namespace ParameterIds
