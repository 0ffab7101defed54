#include "AAX_Exception.h"

#include "AAX_ResultName.h"

#include <cstdio>
#include <utility>

namespace AAX
{
namespace Exception
{
namespace
{
std::string composeMessage (const std::string& what, const std::string& function, const std::string& line)
{
    std::string message = what;
    if (! function.empty())
        message += " func:" + function;
    if (! line.empty())
        message += " line:" + line;
    return message;
}

std::string describeResult (AAX_Result result)
{
    // The code is 32 bits wide on every platform, so it is printed from an int32_t.
    char code[16];
    std::snprintf (code, sizeof (code), "%d", static_cast<int> (result));
    return std::string (AAX_ResultName (result)) + " (" + code + ")";
}
} // namespace

Any::Any (std::string what, std::string function, std::string line)
    : mDescription (std::move (what))
    , mFunction (std::move (function))
    , mLine (std::move (line))
    , mMessage (composeMessage (mDescription, mFunction, mLine))
{
}

Any::~Any() = default;

ResultError::ResultError (AAX_Result result)
    : Any (describeResult (result))
    , mResult (result)
{
}
} // namespace Exception
} // namespace AAX
