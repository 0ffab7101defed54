#include "UntrustedNumber.h"

#include <cmath>
#include <limits>

namespace
{
// Far beyond any double's decimal exponent, and small enough that the framework's reader can add
// its own adjustments without overflowing.
constexpr int exponentLimitDigits = 5;

// The text with its exponent, if it has a run of more than exponentLimitDigits significant
// digits, cut to "99999" (same sign): the value is out of double range either way.
juce::String withBoundedExponent (const juce::String& text)
{
    auto p = text.getCharPointer().findEndOfWhitespace();

    if (*p == '+' || *p == '-')
        ++p;

    while (p.isDigit() || *p == '.')
        ++p;

    if (*p != 'e' && *p != 'E')
        return text;

    ++p;
    if (*p == '+' || *p == '-')
        ++p;

    while (*p == '0')
        ++p;

    const auto digitsStart = p;
    int digits = 0;
    for (; p.isDigit(); ++p)
        ++digits;

    if (digits <= exponentLimitDigits)
        return text;

    const auto start = text.getCharPointer();
    return juce::String (start, digitsStart) + juce::String::repeatedString ("9", exponentLimitDigits) +
           juce::String (p);
}
} // namespace

std::optional<double> parseUntrustedNumber (const juce::String& text)
{
    const auto value = withBoundedExponent (text).getDoubleValue();
    if (! std::isfinite (value))
        return std::nullopt;
    return value;
}

std::optional<float> parseUntrustedFloat (const juce::String& text)
{
    const auto value = parseUntrustedNumber (text);
    if (! value || std::abs (*value) > (double) std::numeric_limits<float>::max())
        return std::nullopt;
    return (float) *value;
}
