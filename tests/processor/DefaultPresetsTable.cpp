#include "DefaultPresetsTable.h"

#include "ParameterLayout.h"

#include <map>

namespace
{
// Values shared by all seven factory presets.
const std::map<juce::String, juce::String> sharedValues{
    { "bypass", "0.0" },        { "phase", "0.0" },
    { "phase_R", "0.0" },       { "process_L", "0.0" },
    { "process_R", "0.0" },     { "process_S", "0.0" },
    { "type_1_2", "0.0" },      { "type_1_3", "0.0" },
    { "type_2_2", "0.0" },      { "solo", "1.0" },
    { "link_gain", "1.0" },     { "solo_1", "1.0" },
    { "solo_2", "1.0" },        { "button_PK_1_2", "1.0" },
    { "button_PK_2_2", "1.0" }, { "active_1_1", "1.0" },
    { "active_1_2", "1.0" },    { "active_1_3", "1.0" },
    { "active_2_1", "1.0" },    { "active_2_2", "1.0" },
    { "active_2_3", "1.0" },    { "gain", "0.6242951154708862" },
    { "out_2_1", "0.5" },
};

// The rest, for presets 2 to 8.
const std::map<juce::String, std::vector<const char*>> perPresetValues{
    { "input_level",
      { "0.6752052307128906", "0.6242951154708862", "0.6242951154708862", "0.7498411536216736", "0.6242951154708862",
        "0.7003784775733948", "0.6242951154708862" } },
    { "gain_L",
      { "0.6242951154708862", "0.6242951154708862", "0.6242951154708862", "0.6242951154708862", "0.6242951154708862",
        "0.6669667959213257", "0.6242951154708862" } },
    { "gain_R",
      { "0.6242951154708862", "0.6242951154708862", "0.6242951154708862", "0.6242951154708862", "0.6242951154708862",
        "0.6669667959213257", "0.6242951154708862" } },
    { "phase_L", { "0.0", "0.0", "0.0", "0.0", "0.0", "1.0", "0.0" } },
    { "process_M", { "0.0", "0.0", "1.0", "1.0", "0.0", "0.0", "1.0" } },
    { "process_A", { "1.0", "1.0", "0.0", "0.0", "1.0", "1.0", "0.0" } },
    { "link_MSLR", { "1.0", "1.0", "1.0", "1.0", "1.0", "0.0", "1.0" } },
    { "frequency_1_1",
      { "0.7142857313156128", "0.7142857313156128", "0.7142857313156128", "0.7142857313156128", "1.0",
        "0.4285714328289032", "0.1428571492433548" } },
    { "frequency_1_2",
      { "0.239130437374115", "0.08695652335882187", "0.08695652335882187", "0.08695652335882187", "1.0",
        "0.5652173757553101", "0.239130437374115" } },
    { "frequency_1_3", { "1.0", "1.0", "1.0", "1.0", "1.0", "1.0", "0.75" } },
    { "button_LP_1_1", { "0.0", "1.0", "1.0", "1.0", "0.0", "1.0", "1.0" } },
    { "button_PK_1_1", { "1.0", "0.0", "0.0", "0.0", "1.0", "0.0", "0.0" } },
    { "button_HP_1_3", { "1.0", "1.0", "1.0", "1.0", "1.0", "0.0", "0.0" } },
    { "button_PK_1_3", { "0.0", "0.0", "0.0", "0.0", "0.0", "1.0", "1.0" } },
    { "type_1_1", { "0.0", "1.0", "1.0", "1.0", "0.0", "1.0", "1.0" } },
    { "gain_1_1", { "0.875", "0.875", "0.875", "0.875", "0.0", "0.3333333432674408", "0.875" } },
    { "gain_1_2", { "0.5833333134651184", "0.0", "0.0", "0.0", "1.0", "0.6666666865348816", "0.6666666865348816" } },
    { "gain_1_3", { "1.0", "1.0", "1.0", "1.0", "1.0", "0.125", "1.0" } },
    { "out_1_1", { "0.5", "0.5", "0.7249999642372131", "0.7249999642372131", "0.0", "0.5", "0.7833333611488342" } },
    { "out_1_2", { "0.5", "0.5", "0.5", "0.5", "1.0", "0.5", "0.5" } },
    { "out_1_3", { "0.5", "0.5", "0.5", "0.5", "1.0", "0.5", "0.6083333492279053" } },
    { "frequency_2_1",
      { "0.7142857313156128", "0.7142857313156128", "0.1428571492433548", "0.1428571492433548", "0.0", "0.0", "1.0" } },
    { "frequency_2_2", { "0.239130437374115", "0.239130437374115", "1.0", "1.0", "0.0", "0.239130437374115", "1.0" } },
    { "frequency_2_3", { "0.5", "0.5", "0.5", "0.5", "0.0", "0.5", "1.0" } },
    { "button_PK_2_1", { "1.0", "1.0", "0.0", "0.0", "1.0", "1.0", "1.0" } },
    { "button_LP_2_1", { "0.0", "0.0", "1.0", "1.0", "0.0", "0.0", "0.0" } },
    { "button_HP_2_3", { "1.0", "1.0", "1.0", "1.0", "0.0", "0.0", "1.0" } },
    { "button_PK_2_3", { "0.0", "0.0", "0.0", "0.0", "1.0", "1.0", "0.0" } },
    { "type_2_1", { "0.0", "0.0", "1.0", "1.0", "0.0", "0.0", "0.0" } },
    { "type_2_3", { "1.0", "1.0", "0.0", "0.0", "1.0", "0.0", "1.0" } },
    { "gain_2_1", { "1.0", "1.0", "0.0", "0.0", "0.5", "0.5", "1.0" } },
    { "gain_2_2", { "0.75", "0.75", "1.0", "1.0", "0.5", "0.5", "1.0" } },
    { "gain_2_3", { "1.0", "1.0", "0.875", "0.875", "0.5", "0.5", "1.0" } },
    { "out_2_2", { "0.5", "0.5", "0.7833333611488342", "0.7833333611488342", "0.5", "0.5", "0.5" } },
    { "out_2_3", { "1.0", "1.0", "1.0", "1.0", "0.5", "0.5", "0.5" } },
};

const char* const presetNames[]{ "Blended Drums", "Natural Thump", "Thump M-S",    "Saturated",
                                 "Top End",       "Big Synth",     "Bring Forward" };
} // namespace

std::vector<ExpectedPreset> expectedDefaultPresets()
{
    std::vector<ExpectedPreset> presets;
    presets.push_back ({ "preset1", { { "bypass", "0.0" }, { "presetName", "Load preset..." } } });

    for (int i = 0; i < 7; ++i)
    {
        ExpectedPreset preset{ "preset" + juce::String (i + 2), {} };
        for (const auto* id : ParameterIds::registrationOrder())
        {
            if (juce::String (id) == "preset")
                continue;
            const auto shared = sharedValues.find (id);
            preset.attributes.emplace_back (
                id, shared != sharedValues.end() ? shared->second : juce::String (perPresetValues.at (id)[(size_t) i]));
        }
        preset.attributes.emplace_back ("presetName", presetNames[i]);
        presets.push_back (preset);
    }
    return presets;
}

juce::String formatPresetsDocument (const std::vector<ExpectedPreset>& presets)
{
    const juce::String newLine ("\r\n");
    juce::String text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + newLine + newLine + "<PRESETS>";

    for (const auto& preset : presets)
    {
        text << newLine << "  <" << preset.tag;
        const auto continuation = juce::String::repeatedString (" ", 2 + preset.tag.length() + 1);
        int lineLength = 0;
        for (const auto& [name, value] : preset.attributes)
        {
            if (lineLength > 60)
            {
                text << newLine << continuation;
                lineLength = 0;
            }
            const auto attribute = " " + name + "=\"" + value + "\"";
            text << attribute;
            lineLength += attribute.length();
        }
        text << "/>";
    }
    return text + newLine + "</PRESETS>" + newLine;
}
