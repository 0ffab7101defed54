#include "ParameterSettings.h"

#include "ParameterLayout.h"
#include "UntrustedNumber.h"

namespace
{
const juce::AudioProcessorParameterWithID* settingsParameter (const juce::AudioProcessorParameter* parameter)
{
    auto* withId = dynamic_cast<const juce::AudioProcessorParameterWithID*> (parameter);
    if (withId == nullptr || withId->paramID == ParameterIds::preset)
        return nullptr;
    return withId;
}

// The normalised value the element gives the parameter: its own when the element has no finite
// number for it.
float storedValue (const juce::XmlElement& settings, const juce::AudioProcessorParameterWithID& parameter)
{
    // "nan", "inf" or a number beyond float range must never reach a parameter; a stored
    // value outside 0..1 is not a normalised value and is pulled back into range.
    if (settings.hasAttribute (parameter.paramID))
        if (const auto stored = parseUntrustedFloat (settings.getStringAttribute (parameter.paramID)))
            return juce::jlimit (0.0f, 1.0f, *stored);
    return parameter.getValue();
}
} // namespace

void captureParameterValues (const juce::AudioProcessor& processor, juce::XmlElement& settings)
{
    settings.removeAllAttributes();

    for (auto* parameter : processor.getParameters())
        if (auto* withId = settingsParameter (parameter))
            // The double overload writes the shortest text that reads back to the same float.
            settings.setAttribute (withId->paramID, (double) parameter->getValue());
}

void applyParameterValues (const juce::XmlElement& settings, juce::AudioProcessor& processor)
{
    for (auto* parameter : processor.getParameters())
    {
        auto* withId = settingsParameter (parameter);
        if (withId == nullptr)
            continue;

        parameter->setValueNotifyingHost (storedValue (settings, *withId));
    }
}

bool holdsParameterValues (const juce::XmlElement& settings, const juce::AudioProcessor& processor)
{
    for (auto* parameter : processor.getParameters())
    {
        auto* withId = settingsParameter (parameter);
        if (withId == nullptr)
            continue;

        // Every parameter here is ranged; another kind would be compared by its normalised value.
        auto* ranged = dynamic_cast<const juce::RangedAudioParameter*> (withId);
        const auto setting = [ranged] (float normalised)
        { return ranged != nullptr ? ranged->convertFrom0to1 (normalised) : normalised; };
        if (setting (storedValue (settings, *withId)) != setting (withId->getValue()))
            return false;
    }
    return true;
}
