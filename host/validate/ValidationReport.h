#pragma once

#include <cstdio>
#include <string>

/** What a validation run found: failures printed as they come and counted, notes printed. */
class ValidationReport
{
public:
    void fail (const std::string& what)
    {
        ++failures;
        std::printf ("  FAILED: %s\n", what.c_str());
        std::fflush (stdout);
    }

    void note (const std::string& what)
    {
        std::printf ("%s\n", what.c_str());
        std::fflush (stdout);
    }

    int failures = 0;
    int checks = 0;
};

inline std::string describeValue (double value)
{
    char text[64];
    std::snprintf (text, sizeof (text), "%g", value);
    return text;
}
