#include "UntrustedNumber.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <string>

namespace
{
bool startsWithIgnoringCase (juce::String::CharPointerType p, const char* word)
{
    return p.compareIgnoreCaseUpTo (juce::CharPointer_ASCII (word), (int) strlen (word)) == 0;
}

// Appends the digits at p to number and moves p past them; false when there are none.
bool appendDigits (juce::String::CharPointerType& p, std::string& number)
{
    bool any = false;
    for (; p.isDigit(); ++p, any = true)
        number += (char) *p;
    return any;
}

// Converts in the "C" locale whatever the process's locale is, so the point is always '.'.
double convert (const std::string& number)
{
    static const locale_t cLocale = newlocale (LC_ALL_MASK, "C", nullptr);
    return strtod_l (number.c_str(), nullptr, cLocale);
}
} // namespace

std::optional<double> parseUntrustedNumber (const juce::String& text)
{
    auto p = text.getCharPointer().findEndOfWhitespace();
    std::string number;

    if (*p == '+' || *p == '-')
        number += (char) p.getAndAdvance();

    if (startsWithIgnoringCase (p, "nan") || startsWithIgnoringCase (p, "inf"))
        return std::nullopt;

    bool hasDigits = appendDigits (p, number);
    if (*p == '.')
    {
        number += '.';
        ++p;
        hasDigits = appendDigits (p, number) || hasDigits;
    }

    if (! hasDigits)
        return 0.0;

    if (*p == 'e' || *p == 'E')
    {
        std::string exponent = "e";
        ++p;
        if (*p == '+' || *p == '-')
            exponent += (char) p.getAndAdvance();

        // An exponent without digits is not part of the number.
        if (appendDigits (p, exponent))
            number += exponent;
    }

    const auto value = convert (number);
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
