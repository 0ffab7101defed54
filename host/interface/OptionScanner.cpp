#include "OptionScanner.h"

#include <algorithm>

namespace
{
bool contains (const std::vector<std::string>& names, const std::string& name)
{
    return std::find (names.begin(), names.end(), name) != names.end();
}
} // namespace

bool OptionScanner::scan (const std::vector<std::string>& arguments, const OptionHandler& onOption,
                          const PositionalHandler& onPositional, std::string& error) const
{
    for (size_t i = 0; i < arguments.size(); ++i)
    {
        const std::string& argument = arguments[i];
        if (contains (flags, argument))
        {
            if (! onOption (argument, {}, error))
                return false;
        }
        else if (contains (valueOptions, argument))
        {
            if (i + 1 >= arguments.size())
            {
                error = argument + " needs a value";
                return false;
            }
            if (! onOption (argument, arguments[++i], error))
                return false;
        }
        else if (argument.rfind ("--", 0) == 0)
        {
            error = "unknown option " + argument;
            return false;
        }
        else if (! onPositional (argument, error))
            return false;
    }
    return true;
}

bool checkFileName (const std::string& what, const std::string& name, std::string& problem)
{
    if (! name.empty())
        return true;
    problem = "an empty name was given for " + what;
    return false;
}

bool OptionScanner::scan (const std::vector<std::string>& arguments, const OptionHandler& onOption,
                          std::vector<std::string>& positional, std::string& error) const
{
    const auto collect = [&positional] (const std::string& argument, std::string&)
    {
        positional.push_back (argument);
        return true;
    };
    return scan (arguments, onOption, collect, error);
}
