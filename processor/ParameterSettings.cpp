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

        auto value = parameter->getValue();

        // "nan", "inf" or a number beyond float range must never reach a parameter; a stored
        // value outside 0..1 is not a normalised value and is pulled back into range.
        if (settings.hasAttribute (withId->paramID))
            if (const auto stored = parseUntrustedFloat (settings.getStringAttribute (withId->paramID)))
                value = juce::jlimit (0.0f, 1.0f, *stored);

        parameter->setValueNotifyingHost (value);
    }
}
