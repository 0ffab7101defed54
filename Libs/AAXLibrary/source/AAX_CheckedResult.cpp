#include "AAX_CheckedResult.h"

#include "AAX_Exception.h"
#include "AAX_Trace.h"

void AAX_CheckedResult::AddAcceptedResult (AAX_Result result)
{
    mAcceptedResults.insert (result);
}

AAX_CheckedResult& AAX_CheckedResult::operator= (AAX_Result result)
{
    mResult = result;
    Check();
    return *this;
}

void AAX_CheckedResult::Check()
{
    if (mAcceptedResults.count (mResult) != 0)
        return;

    AAX::Exception::ResultError error (mResult);
    mLastError = mResult;
    mResult = AAX_SUCCESS;
    AAX_Trace (AAX_TRACE_PRIORITY_CHECKED_RESULT, "AAX_CheckedResult - throwing %s", error.What().c_str());
    throw error;
}
