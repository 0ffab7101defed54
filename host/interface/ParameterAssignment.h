#pragma once

#include <string>

class HostInstance;

/** One "--set ID=VALUE" (plain units: dB, Hz, a switch or choice by its text) or
    "--set-normalised ID=VALUE" (0 to 1) of the render command. */
struct ParameterAssignment
{
    std::string identifier;
    std::string value;
    bool normalised = false;

    /** Splits "ID=VALUE"; false with a message when either side is missing. */
    static bool parse (const std::string& text, bool normalised, ParameterAssignment& out, std::string& error);

    /** The normalised value, found through the effect's own text conversions: a number within the
        parameter's range, or the text of one of its steps (switches also take on/off, true/false,
        yes/no, 1/0). False with a message for an unknown parameter or a value it cannot take. */
    bool resolve (const HostInstance& instance, double& normalisedValue, std::string& error) const;
};
