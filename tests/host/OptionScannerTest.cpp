#include "OptionScanner.h"

#include <gtest/gtest.h>

namespace
{
// Each event the scanner reports, as one line, so a whole walk compares at once.
std::string walk (const std::vector<std::string>& arguments, std::string& error)
{
    OptionScanner scanner;
    scanner.valueOptions = { "--preset", "--rate" };
    scanner.flags = { "--mono" };
    std::string events;
    const auto onOption = [&events] (const std::string& option, const std::string& value, std::string& problem)
    {
        if (option == "--rate" && value == "bad")
        {
            problem = "bad rate";
            return false;
        }
        events += option + "=" + value + ";";
        return true;
    };
    const auto onPositional = [&events] (const std::string& argument, std::string&)
    {
        events += "[" + argument + "];";
        return true;
    };
    error.clear();
    if (! scanner.scan (arguments, onOption, onPositional, error))
        events += "fail";
    return events;
}

TEST (OptionScannerTest, WalksArgumentsInOrderAndStopsAtTheFirstError)
{
    struct Case
    {
        std::vector<std::string> arguments;
        std::string events;
        std::string error;
    };
    const Case cases[] = {
        { {}, "", "" },
        { { "a.wav", "--preset", "Vocal", "--mono", "b.wav" }, "[a.wav];--preset=Vocal;--mono=;[b.wav];", "" },
        // A value is taken as it stands, even when it looks like an option.
        { { "--preset", "--mono" }, "--preset=--mono;", "" },
        { { "-x" }, "[-x];", "" },
        { { "a", "--bogus", "b" }, "[a];fail", "unknown option --bogus" },
        { { "--mono", "--preset" }, "--mono=;fail", "--preset needs a value" },
        { { "--rate", "bad", "--bogus" }, "fail", "bad rate" },
    };
    for (const Case& test : cases)
    {
        std::string error;
        EXPECT_EQ (walk (test.arguments, error), test.events) << test.events;
        EXPECT_EQ (error, test.error) << test.events;
    }
}
} // namespace
