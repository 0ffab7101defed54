#pragma once

#include <functional>
#include <string>
#include <vector>

/** Walks a command's arguments in order: options that take the next argument as their value,
    flags, and positional arguments. Every command reports "unknown option X" and "X needs a value"
    the same way; the handlers report their own errors, and the walk stops at the first one. */
struct OptionScanner
{
    /** Options followed by a value, e.g. "--preset". */
    std::vector<std::string> valueOptions;
    /** Options that stand alone, e.g. "--mono"; their handler sees an empty value. */
    std::vector<std::string> flags;

    using OptionHandler = std::function<bool (const std::string& option, const std::string& value, std::string& error)>;
    using PositionalHandler = std::function<bool (const std::string& argument, std::string& error)>;

    bool scan (const std::vector<std::string>& arguments, const OptionHandler& onOption,
               const PositionalHandler& onPositional, std::string& error) const;

    /** The same, with the positional arguments collected in order. */
    bool scan (const std::vector<std::string>& arguments, const OptionHandler& onOption,
               std::vector<std::string>& positional, std::string& error) const;
};

/** For an option or argument that names a file (`what`: "--save-project", "the output file"):
    false with `problem` set when `name` is empty. An empty name is what the shell passes for an
    unset variable; taken as "no file" it would silently drop a save or load a default. */
bool checkFileName (const std::string& what, const std::string& name, std::string& problem);
