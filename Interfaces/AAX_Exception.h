#pragma once

#include "AAX.h"

#include <string>

namespace AAX
{
namespace Exception
{
/** The base of the layer's exceptions. Deliberately not a std::exception: handlers catch it
    separately from the standard ones. */
class Any
{
public:
    explicit Any (std::string what, std::string function = {}, std::string line = {});
    virtual ~Any();

    Any (const Any&) = default;
    Any (Any&&) = default;
    Any& operator= (const Any&) = default;
    Any& operator= (Any&&) = default;

    /** The composed message: what, then " func:" and the function, then " line:" and the line,
        each suffix only when its text is not empty. */
    const std::string& What() const noexcept { return mMessage; }
    const std::string& Function() const noexcept { return mFunction; }
    const std::string& Line() const noexcept { return mLine; }

private:
    std::string mDescription;
    std::string mFunction;
    std::string mLine;
    std::string mMessage;
};

/** A failed result code. Its text is the code's name followed by the code in parentheses. */
class ResultError : public Any
{
public:
    explicit ResultError (AAX_Result result);

    AAX_Result Result() const noexcept { return mResult; }

private:
    AAX_Result mResult;
};
} // namespace Exception
} // namespace AAX
