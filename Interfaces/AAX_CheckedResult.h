#pragma once

#include "AAX_Errors.h"

#include <set>

/** Wraps calls whose failure must abort the surrounding operation: assigning a code that is not
    accepted traces it and throws AAX::Exception::ResultError. */
class AAX_CheckedResult
{
public:
    /** Accepts AAX_SUCCESS only. */
    AAX_CheckedResult() = default;

    /** Adds a code that does not throw. */
    void AddAcceptedResult (AAX_Result result);

    /** Stores the code as the current result and checks it at once. */
    AAX_CheckedResult& operator= (AAX_Result result);

    /** Throws when the current result is not accepted (after resetting it to 0, remembering it
        as the last error and tracing it). */
    void Check();

    AAX_Result Result() const noexcept { return mResult; }
    AAX_Result LastError() const noexcept { return mLastError; }

private:
    AAX_Result mResult = AAX_SUCCESS;
    AAX_Result mLastError = AAX_SUCCESS;
    std::set<AAX_Result> mAcceptedResults{ AAX_SUCCESS };
};
