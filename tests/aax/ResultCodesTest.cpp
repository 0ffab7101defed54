#include "FakeHostServices.h"

#include "AAX_Assert.h"
#include "AAX_CheckedResult.h"
#include "AAX_Errors.h"
#include "AAX_Exception.h"
#include "AAX_ResultName.h"
#include "AAX_Trace.h"
#include "ACFTypes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST (ResultName, NamesTheTableAndNothingElse)
{
    EXPECT_STREQ (AAX_ResultName (0), "AAX_SUCCESS");
    EXPECT_STREQ (AAX_ResultName (-20001), "AAX_ERROR_INVALID_PARAMETER_ID");
    EXPECT_STREQ (AAX_ResultName (-20004), "AAX_ERROR_NULL_OBJECT");
    EXPECT_STREQ (AAX_ResultName (-20033), "AAX_ERROR_SIGNED_INT_OVERFLOW");
    EXPECT_STREQ (AAX_ResultName (-20037), "AAX_ERROR_EMPTY_EFFECT_NAME");
    EXPECT_STREQ (AAX_ResultName (-20042), "AAX_ERROR_UNKNOWN_EXCEPTION");
    EXPECT_STREQ (AAX_ResultName (-20046), "AAX_ERROR_ARGUMENT_BUFFER_OVERFLOW");
    EXPECT_STREQ (AAX_ResultName (-20047), "<unknown error code>");
    EXPECT_STREQ (AAX_ResultName (-20000), "<unknown error code>");
    EXPECT_STREQ (AAX_ResultName (-333), "<unknown error code>");
    EXPECT_STREQ (AAX_ResultName (1), "<unknown error code>");
    EXPECT_STREQ (AAX_ResultName (ACF_E_UNEXPECTED), "<unknown error code>");

    for (AAX_Result code = -20001; code >= -20046; --code)
        EXPECT_STRNE (AAX_ResultName (code), "<unknown error code>") << code;
}

TEST (ResultName, ComponentModelCodesAre32Bit)
{
    EXPECT_EQ (ACF_E_UNEXPECTED, -2147418113);
    EXPECT_EQ (ACF_E_NOINTERFACE, -2147483644);
}

TEST (ResultError, ComposesNameAndCode)
{
    const AAX::Exception::ResultError error (AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (error.What(), "AAX_ERROR_NULL_OBJECT (-20004)");
    EXPECT_EQ (error.Result(), -20004);
    EXPECT_TRUE (error.Function().empty());
    EXPECT_TRUE (error.Line().empty());

    const AAX::Exception::ResultError copied (error);
    EXPECT_EQ (copied.What(), error.What());
    EXPECT_EQ (copied.Result(), -20004);

    AAX::Exception::ResultError source (-333);
    const AAX::Exception::ResultError moved (std::move (source));
    EXPECT_EQ (moved.What(), "<unknown error code> (-333)");
    EXPECT_EQ (moved.Result(), -333);
}

TEST (ResultError, AnyAppendsFunctionAndLineOnlyWhenGiven)
{
    EXPECT_EQ (AAX::Exception::Any ("failed").What(), "failed");
    EXPECT_EQ (AAX::Exception::Any ("failed", "Load").What(), "failed func:Load");
    EXPECT_EQ (AAX::Exception::Any ("failed", "", "12").What(), "failed line:12");
    EXPECT_EQ (AAX::Exception::Any ("failed", "Load", "12").What(), "failed func:Load line:12");
}

TEST (CheckedResult, AcceptsOnlyItsSetAndTracesBeforeThrowing)
{
    FakeHostServices host;

    AAX_CheckedResult checked;
    EXPECT_NO_THROW (checked = AAX_SUCCESS);
    EXPECT_TRUE (host.traces.empty());

    std::vector<AAX_Result> failing{ 1, 2, -1, -333, -20047, ACF_E_UNEXPECTED, ACF_E_NOINTERFACE };
    for (AAX_Result code = -20001; code >= -20046; --code)
        failing.push_back (code);

    for (const AAX_Result code : failing)
    {
        host.traces.clear();
        bool thrown = false;
        try
        {
            checked = code;
        }
        catch (const AAX::Exception::ResultError& error)
        {
            thrown = true;
            EXPECT_EQ (error.Result(), code);
            ASSERT_EQ (host.traces.size(), 1u) << code;
            EXPECT_EQ (host.traces[0].priority, 0x4000000u);
            EXPECT_EQ (host.traces[0].message, "AAX_CheckedResult - throwing " + error.What());
        }
        EXPECT_TRUE (thrown) << code;
        EXPECT_EQ (checked.Result(), AAX_SUCCESS);
        EXPECT_EQ (checked.LastError(), code);
    }
}

TEST (CheckedResult, TraceNamesTheCode)
{
    FakeHostServices host;
    AAX_CheckedResult checked;
    EXPECT_THROW (checked = AAX_ERROR_EMPTY_EFFECT_NAME, AAX::Exception::ResultError);
    ASSERT_EQ (host.traces.size(), 1u);
    EXPECT_EQ (host.traces[0].message, "AAX_CheckedResult - throwing AAX_ERROR_EMPTY_EFFECT_NAME (-20037)");
}

TEST (CheckedResult, AddedCodesDoNotThrow)
{
    AAX_CheckedResult checked;
    checked.AddAcceptedResult (AAX_ERROR_UNIMPLEMENTED);
    EXPECT_NO_THROW (checked = AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (checked.Result(), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_THROW (checked = AAX_ERROR_NULL_OBJECT, AAX::Exception::ResultError);
}

TEST (CheckedResult, ThrowsWithoutHostServices)
{
    AAX_CheckedResult checked;
    EXPECT_THROW (checked = -1, AAX::Exception::ResultError);
}

TEST (Trace, AnswersZeroWithoutHostServices)
{
    EXPECT_EQ (AAX_Trace (0x8000000, "nobody listens %d", 1), 0);
}

TEST (Trace, FormatsAndForwardsPriorityAndHostResult)
{
    FakeHostServices host;
    host.traceResult = -7;
    EXPECT_EQ (AAX_Trace (0x8000000, "value %d of %s", 3, "four"), -7);
    ASSERT_EQ (host.traces.size(), 1u);
    EXPECT_EQ (host.traces[0].priority, 0x8000000u);
    EXPECT_EQ (host.traces[0].message, "value 3 of four");
}

TEST (Trace, LongMessageIsCutTo511Characters)
{
    FakeHostServices host;
    const std::string longText (2000, 'x');
    AAX_Trace (0x8000000, "%s", longText.c_str());
    ASSERT_EQ (host.traces.size(), 1u);
    EXPECT_EQ (host.traces[0].message, std::string (511, 'x'));
}

TEST (AssertionReport, GoesToTheHostWithFlagOne)
{
    AAX_ReportAssertion (AAX_AssertionSites::ParameterStepCountZero); // no host yet: dropped

    FakeHostServices host;
    EXPECT_TRUE (AAX_CheckAssertion (true, AAX_AssertionSites::ParameterStepCountZero));
    EXPECT_TRUE (host.assertions.empty());

    EXPECT_FALSE (AAX_CheckAssertion (false, AAX_AssertionSites::ChunkBuildMissingParameter));
    ASSERT_EQ (host.assertions.size(), 1u);
    EXPECT_EQ (host.assertions[0].file, "AAX_SDK_2p3p2\\Libs\\AAXLibrary\\source\\AAX_CEffectParameters.cpp");
    EXPECT_EQ (host.assertions[0].line, 815);
    EXPECT_EQ (host.assertions[0].expression, "NULL != parameter");
    EXPECT_EQ (host.assertions[0].flags, 1);
}
