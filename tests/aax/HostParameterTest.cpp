#include "FakeAutomationDelegate.h"
#include "FakeHostServices.h"

#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CNumberDisplayDelegate.h"
#include "AAX_CParameter.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>

namespace
{
using Parameter = AAX_CParameter<float>;

std::unique_ptr<Parameter> makeParameter (const char* identifier = "gain_L", float defaultValue = 0.25f,
                                          float minValue = 0.0f, float maxValue = 1.0f)
{
    return std::make_unique<Parameter> (identifier, AAX_CString ("Gain Left"), defaultValue,
                                        AAX_CLinearTaperDelegate<float, 0> (minValue, maxValue),
                                        AAX_CNumberDisplayDelegate<float, 3, 0>(), true);
}

float valueOf (const Parameter& parameter)
{
    float value = -99.0f;
    EXPECT_TRUE (parameter.ValueAsFloat (&value));
    return value;
}

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();
} // namespace

TEST (HostParameter, ConstructionDefaults)
{
    const auto parameter = makeParameter();
    EXPECT_STREQ (parameter->Identifier(), "gain_L");
    EXPECT_STREQ (parameter->Name().CString(), "Gain Left");
    EXPECT_TRUE (parameter->IsAutomatable());
    EXPECT_EQ (parameter->StepCount(), 128u);
    EXPECT_EQ (parameter->Type(), 1u);
    EXPECT_EQ (parameter->Orientation(), 0u);
    EXPECT_EQ (valueOf (*parameter), 0.25f);
    EXPECT_EQ (parameter->NormalizedDefaultValue(), 0.25);

    const auto outOfRange = makeParameter ("gain_R", 3.0f);
    EXPECT_EQ (valueOf (*outOfRange), 1.0f);
}

TEST (HostParameter, LongIdentifierKeeps31CharactersAndReportsOnce)
{
    FakeHostServices host;
    const std::string forty (40, 'a');
    const auto parameter = makeParameter (forty.c_str());
    EXPECT_EQ (std::string (parameter->Identifier()), std::string (31, 'a'));
    ASSERT_EQ (host.assertions.size(), 1u);
    EXPECT_EQ (host.assertions[0].expression, "len < eParemeterDefaultMaxIdentifierSize");
    EXPECT_EQ (host.assertions[0].line, 193);
    EXPECT_EQ (host.assertions[0].flags, 1);

    // The value clone copies the cut identifier without a second report.
    const std::unique_ptr<AAX_IParameterValue> value (parameter->CloneValue());
    EXPECT_STREQ (value->Identifier(), parameter->Identifier());
    EXPECT_EQ (host.assertions.size(), 1u);

    host.assertions.clear();
    const std::string thirtyOne (31, 'b');
    EXPECT_STREQ (makeParameter (thirtyOne.c_str())->Identifier(), thirtyOne.c_str());
    EXPECT_TRUE (host.assertions.empty());
}

TEST (HostParameter, ValueCloneAnswersOnlyAsFloat)
{
    const auto parameter = makeParameter();
    const std::unique_ptr<AAX_IParameterValue> value (parameter->CloneValue());
    float f = 0.0f;
    EXPECT_TRUE (value->ValueAsFloat (&f));
    EXPECT_EQ (f, 0.25f);
    bool b = false;
    int32_t i = 0;
    double d = 0.0;
    AAX_CString s;
    EXPECT_FALSE (value->ValueAsBool (&b));
    EXPECT_FALSE (value->ValueAsInt32 (&i));
    EXPECT_FALSE (value->ValueAsDouble (&d));
    EXPECT_FALSE (value->ValueAsString (&s));

    const std::unique_ptr<AAX_IParameterValue> clone (value->Clone());
    EXPECT_STREQ (clone->Identifier(), "gain_L");
}

TEST (HostParameter, ShortenedNames)
{
    const auto parameter = makeParameter();
    parameter->SetName (AAX_CString ("Twenty characters!!"));
    parameter->SetName (AAX_CString ("Twenty characters!!!"));
    ASSERT_EQ (parameter->Name().Length(), 20u);
    EXPECT_STREQ (parameter->ShortenedName (5).CString(), "Twenty characters!!!"); // none added yet

    parameter->AddShortenedName (AAX_CString ("Abc"));
    parameter->AddShortenedName (AAX_CString ("Abcdex"));
    parameter->AddShortenedName (AAX_CString ("Abcdef"));
    parameter->AddShortenedName (AAX_CString ("Abcdefghij"));

    EXPECT_STREQ (parameter->ShortenedName (25).CString(), "Twenty characters!!!");
    EXPECT_STREQ (parameter->ShortenedName (20).CString(), "Twenty characters!!!");
    EXPECT_STREQ (parameter->ShortenedName (8).CString(), "Abcdef");
    EXPECT_STREQ (parameter->ShortenedName (10).CString(), "Abcdefghij");
    EXPECT_STREQ (parameter->ShortenedName (2).CString(), "Abc");
    EXPECT_STREQ (parameter->ShortenedName (-1).CString(), "Twenty characters!!!");

    parameter->ClearShortenedNames();
    EXPECT_STREQ (parameter->ShortenedName (2).CString(), "Twenty characters!!!");
}

TEST (HostParameter, StepConversionsAt128)
{
    const auto parameter = makeParameter();
    EXPECT_EQ (parameter->NormalizedValueFromStep (127), 1.0);
    EXPECT_EQ (parameter->NormalizedValueFromStep (200), 1.0);
    EXPECT_EQ (parameter->NormalizedValueFromStep (0), 0.0);
    EXPECT_EQ (parameter->NormalizedValueFromStep (-5), 0.0);
    EXPECT_EQ (parameter->StepValueFromNormalized (0.5), 64);
    EXPECT_EQ (parameter->StepValueFromNormalized (1.0), 127);
    EXPECT_EQ (parameter->StepValueFromNormalized (-0.2), 0);
    EXPECT_EQ (parameter->StepValueFromNormalized (nan), 0);
    EXPECT_EQ (parameter->StepValueFromNormalized (inf), 127);

    parameter->SetStepValue (127);
    EXPECT_EQ (valueOf (*parameter), 1.0f);
    EXPECT_EQ (parameter->StepValue(), 127);
}

TEST (HostParameter, StepConversionsAtOneStep)
{
    const auto parameter = makeParameter();
    parameter->SetStepCount (1);
    EXPECT_EQ (parameter->StepValue(), 0);
    EXPECT_EQ (parameter->NormalizedValueFromStep (1), 0.0);
    parameter->SetStepValue (1);
    EXPECT_EQ (valueOf (*parameter), 0.25f);
}

TEST (HostParameter, HugeStepCountStaysInsideInt32)
{
    const auto parameter = makeParameter();
    parameter->SetStepCount (4294967295u);
    EXPECT_EQ (parameter->StepValueFromNormalized (1.0), std::numeric_limits<int32_t>::max());
}

TEST (HostParameter, StepCountZeroIsReportedAndIgnored)
{
    FakeHostServices host;
    const auto parameter = makeParameter();
    parameter->SetStepCount (24);
    parameter->SetStepCount (0);
    EXPECT_EQ (parameter->StepCount(), 24u);
    ASSERT_EQ (host.assertions.size(), 1u);
    EXPECT_EQ (host.assertions[0].expression, "0 < numSteps");
    EXPECT_EQ (host.assertions[0].line, 833);
}

TEST (HostParameter, WithoutDelegateValuesAreStoredAtOnce)
{
    const auto parameter = makeParameter();
    parameter->SetNormalizedValue (1.7);
    EXPECT_EQ (valueOf (*parameter), 1.0f);
    parameter->SetNormalizedValue (1.0);
    EXPECT_EQ (valueOf (*parameter), 1.0f);

    // A value set now stays until an update brings a different value.
    FakeAutomationDelegate automation;
    parameter->UpdateNormalizedValue (1.0);
    parameter->SetAutomationDelegate (&automation);
    automation.calls.clear();
    parameter->UpdateNormalizedValue (1.0);
    EXPECT_TRUE (automation.calls.empty());
    parameter->UpdateNormalizedValue (0.5);
    EXPECT_EQ (valueOf (*parameter), 0.5f);
    ASSERT_EQ (automation.calls.size(), 1u);
    EXPECT_EQ (automation.calls[0], "post gain_L 0.5");
    parameter->SetAutomationDelegate (nullptr);
}

TEST (HostParameter, WithDelegateRequestsTouchAndReleaseAndWaitsForTheHost)
{
    FakeAutomationDelegate automation;
    {
        const auto parameter = makeParameter();
        parameter->SetAutomationDelegate (&automation);
        EXPECT_EQ (automation.calls, std::vector<std::string>{ "register gain_L" });
        automation.calls.clear();

        parameter->SetNormalizedValue (0.75);
        EXPECT_EQ (automation.calls,
                   (std::vector<std::string>{ "touch gain_L", "request gain_L 0.75", "release gain_L" }));
        EXPECT_EQ (valueOf (*parameter), 0.25f);

        automation.calls.clear();
        EXPECT_TRUE (parameter->SetValueFromFloat (0.5f));
        EXPECT_TRUE (parameter->SetValueFromString (AAX_CString ("0.125")));
        parameter->SetToDefaultValue();
        EXPECT_EQ (automation.calls,
                   (std::vector<std::string>{ "touch gain_L", "request gain_L 0.5", "release gain_L", "touch gain_L",
                                              "request gain_L 0.125", "release gain_L", "touch gain_L",
                                              "request gain_L 0.25", "release gain_L" }));
        EXPECT_EQ (valueOf (*parameter), 0.25f);

        // The host confirms: stored and posted back as given.
        automation.calls.clear();
        parameter->UpdateNormalizedValue (0.75);
        EXPECT_EQ (valueOf (*parameter), 0.75f);
        EXPECT_EQ (automation.calls, std::vector<std::string>{ "post gain_L 0.75" });

        automation.calls.clear();
        parameter->Touch();
        parameter->Release();
        EXPECT_EQ (automation.calls, (std::vector<std::string>{ "touch gain_L", "release gain_L" }));
        automation.calls.clear();
    }
    EXPECT_EQ (automation.calls, std::vector<std::string>{ "unregister gain_L" });
}

TEST (HostParameter, ChangingDelegatesUnregistersTheOldOne)
{
    FakeAutomationDelegate first;
    FakeAutomationDelegate second;
    const auto parameter = makeParameter();
    parameter->SetAutomationDelegate (&first);
    parameter->SetAutomationDelegate (&second);
    EXPECT_EQ (first.calls, (std::vector<std::string>{ "register gain_L", "unregister gain_L" }));
    EXPECT_EQ (second.calls, std::vector<std::string>{ "register gain_L" });
    parameter->SetAutomationDelegate (nullptr);
}

TEST (HostParameter, NonFiniteValuesLeaveTheValueUnchanged)
{
    FakeAutomationDelegate automation;
    const auto parameter = makeParameter();
    parameter->SetNormalizedValue (0.5);
    parameter->SetAutomationDelegate (&automation);
    automation.calls.clear();

    for (const double bad : { nan, inf, -inf })
    {
        parameter->UpdateNormalizedValue (bad);
        parameter->SetNormalizedValue (bad);
        EXPECT_FALSE (parameter->SetValueFromFloat (static_cast<float> (bad)));
        parameter->SetNormalizedDefaultValue (bad);
        double normalized = -1.0;
        EXPECT_FALSE (parameter->NormalizedValueFromFloat (static_cast<float> (bad), &normalized));
        float real = -1.0f;
        EXPECT_FALSE (parameter->FloatFromNormalizedValue (bad, &real));
        AAX_CString text;
        EXPECT_FALSE (parameter->StringFromNormalizedValue (bad, 10, &text));
    }
    EXPECT_FALSE (parameter->SetValueFromString (AAX_CString ("nan")));
    EXPECT_FALSE (parameter->SetValueFromString (AAX_CString ("1e300")));

    EXPECT_EQ (valueOf (*parameter), 0.5f);
    EXPECT_EQ (parameter->NormalizedDefaultValue(), 0.25);
    EXPECT_TRUE (automation.calls.empty());
    parameter->SetAutomationDelegate (nullptr);
}

TEST (HostParameter, TextConversions)
{
    const auto parameter = makeParameter();
    AAX_CString text;
    EXPECT_TRUE (parameter->ValueString (3, &text));
    EXPECT_STREQ (text.CString(), "0.2");
    EXPECT_TRUE (parameter->ValueString (&text));
    EXPECT_STREQ (text.CString(), "0.250");

    EXPECT_TRUE (parameter->StringFromNormalizedValue (1.2, 10, &text));
    EXPECT_STREQ (text.CString(), "1.000");
    EXPECT_TRUE (parameter->StringFromNormalizedValue (0.5, &text));
    EXPECT_STREQ (text.CString(), "0.500");

    double normalized = -1.0;
    EXPECT_TRUE (parameter->NormalizedValueFromString (AAX_CString (" 0.75 dB"), &normalized));
    EXPECT_EQ (normalized, 0.75);
    normalized = -1.0;
    EXPECT_FALSE (parameter->NormalizedValueFromString (AAX_CString ("loud"), &normalized));
    EXPECT_EQ (normalized, -1.0);

    EXPECT_FALSE (parameter->SetValueFromString (AAX_CString ("loud")));
    EXPECT_EQ (valueOf (*parameter), 0.25f);
    EXPECT_TRUE (parameter->SetValueFromIString (AAX_CString ("0.5")));
    EXPECT_EQ (valueOf (*parameter), 0.5f);

    AAX_CString asString;
    EXPECT_TRUE (parameter->ValueAsString (&asString));
    EXPECT_STREQ (asString.CString(), "0.500");
    EXPECT_FALSE (parameter->ValueAsString (nullptr));
}

TEST (HostParameter, ReversedTaperStillConvertsToText)
{
    const auto parameter = makeParameter ("trim", 5.0f, 10.0f, 0.0f);
    AAX_CString text;
    EXPECT_TRUE (parameter->StringFromNormalizedValue (0.25, 10, &text));
    EXPECT_STREQ (text.CString(), "7.500");
}

TEST (HostParameter, OnlyTheFloatKindAnswers)
{
    const auto parameter = makeParameter();
    bool b = false;
    int32_t i = 0;
    double d = 0.0;
    double normalized = 0.0;
    EXPECT_FALSE (parameter->ValueAsBool (&b));
    EXPECT_FALSE (parameter->ValueAsInt32 (&i));
    EXPECT_FALSE (parameter->ValueAsDouble (&d));
    EXPECT_FALSE (parameter->SetValueFromBool (true));
    EXPECT_FALSE (parameter->SetValueFromInt32 (1));
    EXPECT_FALSE (parameter->SetValueFromDouble (1.0));
    EXPECT_FALSE (parameter->NormalizedValueFromBool (true, &normalized));
    EXPECT_FALSE (parameter->NormalizedValueFromInt32 (1, &normalized));
    EXPECT_FALSE (parameter->NormalizedValueFromDouble (1.0, &normalized));
    EXPECT_FALSE (parameter->BoolFromNormalizedValue (1.0, &b));
    EXPECT_FALSE (parameter->Int32FromNormalizedValue (1.0, &i));
    EXPECT_FALSE (parameter->DoubleFromNormalizedValue (1.0, &d));
    EXPECT_EQ (valueOf (*parameter), 0.25f);

    EXPECT_TRUE (parameter->NormalizedValueFromFloat (0.5f, &normalized));
    EXPECT_EQ (normalized, 0.5);
    float real = 0.0f;
    EXPECT_TRUE (parameter->FloatFromNormalizedValue (2.0, &real));
    EXPECT_EQ (real, 1.0f);
}

TEST (HostParameter, TaperChangeKeepsRealValueOrPosition)
{
    const auto parameter = makeParameter ("freq", 0.5f, 0.0f, 1.0f);

    parameter->SetTaperDelegate (AAX_CLinearTaperDelegate<float, 0> (0.0f, 2.0f), true);
    EXPECT_EQ (valueOf (*parameter), 0.5f);
    EXPECT_EQ (parameter->NormalizedValue(), 0.25);

    parameter->SetTaperDelegate (AAX_CLinearTaperDelegate<float, 0> (0.0f, 4.0f), false);
    EXPECT_EQ (parameter->NormalizedValue(), 0.25);
    EXPECT_EQ (valueOf (*parameter), 1.0f);
}

TEST (HostParameter, DisplayChangeAsksTheHostToRefresh)
{
    FakeAutomationDelegate automation;
    const auto parameter = makeParameter();
    parameter->SetAutomationDelegate (&automation);
    automation.calls.clear();
    parameter->SetDisplayDelegate (AAX_CNumberDisplayDelegate<float, 3, 0>());
    EXPECT_EQ (automation.calls, std::vector<std::string>{ "post gain_L 0.25" });
    parameter->SetAutomationDelegate (nullptr);
}

TEST (HostParameter, TypeAndOrientationAreKept)
{
    const auto parameter = makeParameter();
    parameter->SetType (0);
    parameter->SetOrientation (19);
    EXPECT_EQ (parameter->Type(), 0u);
    EXPECT_EQ (parameter->Orientation(), 19u);
}
