#include "ParameterAssignment.h"

#include "AAX_Errors.h"
#include "HostInstance.h"
#include "HostString.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace
{
bool parseNumber (const std::string& text, double& value)
{
    if (text.empty() || std::isspace (static_cast<unsigned char> (text.front())))
        return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtod (text.c_str(), &end);
    return errno == 0 && end == text.c_str() + text.size() && std::isfinite (value);
}

std::string lowercase (std::string text)
{
    std::transform (text.begin(), text.end(), text.begin(),
                    [] (unsigned char c) { return static_cast<char> (std::tolower (c)); });
    return text;
}

bool valueText (const HostInstance& instance, const std::string& identifier, double normalised, std::string& text)
{
    HostString out;
    if (instance.effect().StringFromNormalizedValue (identifier.c_str(), normalised, out, 0) != AAX_SUCCESS)
        return false;
    text = out.str();
    return true;
}
} // namespace

bool ParameterAssignment::parse (const std::string& text, bool isNormalised, ParameterAssignment& out,
                                 std::string& error)
{
    const size_t equals = text.find ('=');
    if (equals == std::string::npos || equals == 0 || equals + 1 == text.size())
    {
        error = "expected ID=VALUE, got '" + text + "'";
        return false;
    }
    out.identifier = text.substr (0, equals);
    out.value = text.substr (equals + 1);
    out.normalised = isNormalised;
    return true;
}

bool ParameterAssignment::resolve (const HostInstance& instance, double& normalisedValue, std::string& error) const
{
    const auto identifiers = instance.parameterIds();
    if (std::find (identifiers.begin(), identifiers.end(), identifier) == identifiers.end())
    {
        error = "unknown parameter '" + identifier + "'";
        return false;
    }

    if (normalised)
    {
        if (! parseNumber (value, normalisedValue) || normalisedValue < 0.0 || normalisedValue > 1.0)
        {
            error = "normalised value of " + identifier + " must be a number from 0 to 1, got '" + value + "'";
            return false;
        }
        return true;
    }

    std::string lowest;
    std::string highest;
    double low = 0.0;
    double high = 0.0;
    if (valueText (instance, identifier, 0.0, lowest) && valueText (instance, identifier, 1.0, highest) &&
        parseNumber (lowest, low) && parseNumber (highest, high))
    {
        double requested = 0.0;
        const double tolerance = 1.0e-6 * std::abs (high - low);
        if (! parseNumber (value, requested) || requested < std::min (low, high) - tolerance ||
            requested > std::max (low, high) + tolerance)
        {
            error = identifier + " takes a number from " + lowest + " to " + highest + ", got '" + value + "'";
            return false;
        }
        const HostString text (value);
        if (instance.effect().NormalizedValueFromString (identifier.c_str(), &normalisedValue, text) != AAX_SUCCESS)
        {
            error = identifier + " does not take '" + value + "'";
            return false;
        }
        return true;
    }

    // A switch or a choice: one of its steps' texts.
    int32_t steps = 0;
    instance.effect().ParameterStepCount (identifier.c_str(), &steps);
    const std::string wanted = lowercase (value);
    if (steps == 2)
    {
        if (wanted == "on" || wanted == "true" || wanted == "yes" || wanted == "1")
        {
            normalisedValue = 1.0;
            return true;
        }
        if (wanted == "off" || wanted == "false" || wanted == "no" || wanted == "0")
        {
            normalisedValue = 0.0;
            return true;
        }
    }
    std::string choices;
    for (int32_t step = 0; step < steps && steps >= 2 && steps <= 64; ++step)
    {
        const double position = static_cast<double> (step) / static_cast<double> (steps - 1);
        std::string text;
        if (! valueText (instance, identifier, position, text))
            continue;
        if (lowercase (text) == wanted)
        {
            normalisedValue = position;
            return true;
        }
        choices += (choices.empty() ? "" : ", ") + text;
    }
    error = identifier + " takes one of " + (choices.empty() ? std::string ("its steps") : choices) + ", got '" +
            value + "'";
    return false;
}
