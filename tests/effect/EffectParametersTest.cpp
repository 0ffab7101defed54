#include "FakeEffectHost.h"
#include "FakeHostServices.h"
#include "TestEffect.h"

#include "AAX_CString.h"
#include "AAX_Errors.h"
#include "AAX_InterfaceIDs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <limits>
#include <memory>

namespace
{
constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

// An effect initialised on the fake host with "gain" (0.9), "MasterBypassID" and "PreviewID".
class EffectParametersFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        effect = std::make_unique<TestEffect>();
        effect->addParameter (unitParameter ("gain", 0.9f, "Gain"));
        effect->addParameter (unitParameter (AAX_MasterBypassParameterId, 0.0f));
        effect->addParameter (std::make_unique<RecordingParameter> (AAX_PreviewParameterId, 0.0f, previewCalls));
        ASSERT_EQ (effect->InitializeWithHost (host.unknown()), AAX_SUCCESS);
        host.confirmTo = effect.get();
        host.calls.clear();
    }

    void TearDown() override
    {
        effect->TearDown();
        effect.reset();
        EXPECT_EQ (host.references, 0);
    }

    double normalized (const char* identifier) const
    {
        double value = -1.0;
        EXPECT_EQ (effect->ParameterNormalizedValue (identifier, &value), AAX_SUCCESS);
        return value;
    }

    FakeHostServices hostServices;
    FakeEffectHost host;
    std::vector<std::string> previewCalls;
    std::unique_ptr<TestEffect> effect;
};
} // namespace

TEST (EffectParametersLifecycle, InitializationObtainsHostObjectsByIdentifierAndRunsTheHook)
{
    FakeEffectHost host;
    {
        TestEffect effect;
        effect.addParameter (unitParameter ("gain", 0.5f));
        effect.addParameter (unitParameter (AAX_MasterBypassParameterId, 0.0f));
        EXPECT_EQ (effect.Controller(), nullptr);

        ASSERT_EQ (effect.InitializeWithHost (host.unknown()), AAX_SUCCESS);

        // Controller, then automation delegate, then transport, each asked for by its
        // identifier; then the hook registers the parameters with the delegate.
        auto position = [&host] (const std::string& call)
        { return std::find (host.calls.begin(), host.calls.end(), call) - host.calls.begin(); };
        const auto controller = position ("query controller");
        const auto delegate = position ("query automationDelegate");
        const auto transport = position ("query transport");
        const auto registration = position ("register gain");
        EXPECT_LT (controller, delegate);
        EXPECT_LT (delegate, transport);
        EXPECT_LT (transport, registration);
        EXPECT_LT (registration, std::ptrdiff_t (host.calls.size()));
        EXPECT_EQ (host.callsStartingWith ("register"),
                   (std::vector<std::string>{ "register gain", "register MasterBypassID" }));
        EXPECT_EQ (effect.hookCalls, 1);
        EXPECT_EQ (host.references, 3);

        float rate = 0.0f;
        EXPECT_EQ (effect.Controller()->SampleRate (&rate), AAX_SUCCESS);
        EXPECT_EQ (rate, 48000.0f);
        double tempo = 0.0;
        EXPECT_EQ (effect.Transport()->Tempo (&tempo), AAX_SUCCESS);
        EXPECT_EQ (tempo, 120.0);

        EXPECT_EQ (effect.filtered(), (std::set<std::string, std::less<>>{ "MasterBypassID" }));
        EXPECT_EQ (effect.NumChunkedParameters(), 1);
        effect.TearDown();
    }
    EXPECT_EQ (host.references, 0);
}

TEST (EffectParametersLifecycle, TearDownDeletesParametersThenTheHostWrappers)
{
    FakeEffectHost host;
    TestEffect effect;
    effect.addParameter (unitParameter ("gain", 0.5f));
    effect.addParameter (unitParameter ("trim", 0.5f));
    ASSERT_EQ (effect.InitializeWithHost (host.unknown()), AAX_SUCCESS);
    host.calls.clear();

    EXPECT_EQ (effect.TearDown(), AAX_SUCCESS);

    EXPECT_EQ (host.calls, (std::vector<std::string>{ "unregister gain", "unregister trim" }));
    EXPECT_EQ (host.references, 0);
    EXPECT_EQ (effect.Controller(), nullptr);
    EXPECT_EQ (effect.Transport(), nullptr);
    EXPECT_EQ (effect.AutomationDelegate(), nullptr);
    int32_t count = -1;
    EXPECT_EQ (effect.ParameterCount (&count), AAX_SUCCESS);
    EXPECT_EQ (count, 0);

    // A second tear-down and a late dispatch find nothing to use.
    EXPECT_EQ (effect.TearDown(), AAX_SUCCESS);
    EXPECT_EQ (effect.DispatchPackets(), AAX_SUCCESS);
}

TEST (EffectParametersLifecycle, DestructionWithoutTearDownReleasesEverything)
{
    FakeEffectHost host;
    {
        TestEffect effect;
        effect.addParameter (unitParameter ("gain", 0.5f));
        ASSERT_EQ (effect.InitializeWithHost (host.unknown()), AAX_SUCCESS);
        host.calls.clear();
    }
    EXPECT_EQ (host.calls, (std::vector<std::string>{ "unregister gain" }));
    EXPECT_EQ (host.references, 0);
}

TEST (EffectParametersLifecycle, HookFailureIsAnsweredAndEndsInitialization)
{
    FakeEffectHost host;
    TestEffect effect;
    effect.addParameter (unitParameter ("gain", 0.5f));
    effect.extraInit = [] (TestEffect&) { return AAX_ERROR_NOT_INITIALIZED; };

    EXPECT_EQ (effect.InitializeWithHost (host.unknown()), AAX_ERROR_NOT_INITIALIZED);
    EXPECT_TRUE (effect.filtered().empty());
    EXPECT_EQ (effect.NumChunkedParameters(), 0);
    effect.TearDown();
}

TEST (EffectParametersLifecycle, WithoutMasterBypassTheEmptyIdentifierIsFiltered)
{
    FakeEffectHost host;
    TestEffect effect;
    effect.addParameter (unitParameter ("gain", 0.5f));
    effect.addParameter (unitParameter ("trim", 0.5f));
    ASSERT_EQ (effect.InitializeWithHost (host.unknown()), AAX_SUCCESS);

    AAX_CString bypass ("junk");
    EXPECT_EQ (effect.MasterBypassIdentifier (&bypass), AAX_SUCCESS);
    EXPECT_STREQ (bypass.CString(), "");
    EXPECT_EQ (effect.filtered(), (std::set<std::string, std::less<>>{ "" }));
    // The count is one short, as the filtered set always holds one identifier.
    EXPECT_EQ (effect.NumChunkedParameters(), 1);
    effect.TearDown();
}

TEST (EffectParametersLifecycle, NegativeChunkedCountIsReportedAndInitializationGoesOn)
{
    FakeHostServices hostServices;
    FakeEffectHost host;
    TestEffect effect;
    effect.addParameter (unitParameter ("gain", 0.5f));
    effect.extraInit = [] (TestEffect& self)
    {
        self.filteredForTest().insert ("a");
        self.filteredForTest().insert ("b");
        return AAX_SUCCESS;
    };

    EXPECT_EQ (effect.InitializeWithHost (host.unknown()), AAX_SUCCESS);
    EXPECT_EQ (effect.NumChunkedParameters(), -2);
    ASSERT_EQ (hostServices.assertions.size(), 1u);
    EXPECT_EQ (hostServices.assertions[0].expression, "mNumChunkedParameters >= 0");
    EXPECT_EQ (hostServices.assertions[0].line, 128);
    effect.TearDown();
}

TEST (EffectParametersLifecycle, NullHostLeavesWrappersEmptyButUsable)
{
    TestEffect effect;
    effect.addParameter (unitParameter ("gain", 0.5f));
    ASSERT_EQ (effect.InitializeWithHost (nullptr), AAX_SUCCESS);

    float rate = 0.0f;
    EXPECT_EQ (effect.Controller()->SampleRate (&rate), AAX_ERROR_NULL_OBJECT);
    // Without the host's delegate the request goes nowhere and the value stays.
    EXPECT_EQ (effect.SetParameterNormalizedValue ("gain", 0.25), AAX_SUCCESS);
    double value = 0.0;
    effect.ParameterNormalizedValue ("gain", &value);
    EXPECT_DOUBLE_EQ (value, 0.5);
    effect.TearDown();
}

TEST (EffectParametersLifecycle, AnswersItsFourInterfacesWithOnePointerAndCountsItself)
{
    const int32_t before = CACFUnknown::GetActiveObjectCount();
    auto* effect = new TestEffect();
    EXPECT_EQ (CACFUnknown::GetActiveObjectCount(), before + 1);

    void* first = nullptr;
    ASSERT_EQ (effect->GetPrivateUnknown()->QueryInterface (AAX_IID_EffectParameters, &first), ACF_OK);
    EXPECT_EQ (first, static_cast<AAX_IEffectParameters*> (effect));
    auto* face = static_cast<AAX_IACFEffectParameters*> (first);
    for (const AAX_GUID& id : { AAX_IID_EffectParameters_V2, AAX_IID_EffectParameters_V3, AAX_IID_EffectParameters_V4 })
    {
        void* other = nullptr;
        EXPECT_EQ (face->QueryInterface (id, &other), ACF_OK);
        EXPECT_EQ (other, first);
        face->Release();
    }

    void* unknown = nullptr;
    EXPECT_EQ (face->QueryInterface (IID_IACFUnknown, &unknown), ACF_OK);
    EXPECT_EQ (unknown, effect->GetPrivateUnknown());
    static_cast<IACFUnknown*> (unknown)->Release();

    void* refused = &unknown;
    EXPECT_EQ (face->QueryInterface (AAX_IID_EffectGUI, &refused), ACF_E_NOINTERFACE);
    EXPECT_EQ (refused, nullptr);

    EXPECT_EQ (face->Release(), 0u);
    EXPECT_EQ (CACFUnknown::GetActiveObjectCount(), before);
}

TEST_F (EffectParametersFixture, StepCountAboveTheSignedRangeIsRefused)
{
    AAX_IParameter* gain = nullptr;
    ASSERT_EQ (effect->ParameterById ("gain", &gain), AAX_SUCCESS);
    gain->SetStepCount (2147483648u);

    int32_t steps = 7;
    EXPECT_EQ (effect->ParameterStepCount ("gain", &steps), AAX_ERROR_SIGNED_INT_OVERFLOW);
    EXPECT_EQ (steps, 7);

    gain->SetStepCount (2147483647u);
    EXPECT_EQ (effect->ParameterStepCount ("gain", &steps), AAX_SUCCESS);
    EXPECT_EQ (steps, 2147483647);
    EXPECT_EQ (effect->ParameterStepCount ("nope", &steps), AAX_ERROR_INVALID_PARAMETER_ID);
}

TEST_F (EffectParametersFixture, IdentifiersByIndexAndIndicesByIdentifier)
{
    AAX_CString identifier ("junk");
    EXPECT_EQ (effect->ParameterIdByIndex (-1, &identifier), AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_STREQ (identifier.CString(), "");

    identifier.SetCString ("junk");
    EXPECT_EQ (effect->ParameterIdByIndex (3, &identifier), AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_STREQ (identifier.CString(), "");

    EXPECT_EQ (effect->ParameterIdByIndex (2, &identifier), AAX_SUCCESS);
    EXPECT_STREQ (identifier.CString(), "PreviewID");

    int32_t index = 9;
    EXPECT_EQ (effect->ParameterIndexById ("MasterBypassID", &index), AAX_SUCCESS);
    EXPECT_EQ (index, 1);
    EXPECT_EQ (effect->ParameterIndexById ("nope", &index), AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_EQ (index, -1);

    AAX_IParameter* parameter = reinterpret_cast<AAX_IParameter*> (&index);
    EXPECT_EQ (effect->ParameterById ("nope", &parameter), AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_EQ (parameter, nullptr);
}

TEST (EffectParametersNames, AbbreviatedNamesPickTheLongestFittingLine)
{
    TestEffect effect;
    effect.addParameter (unitParameter ("lines", 0.0f, "ABCD\nE"));
    effect.addParameter (unitParameter ("ties", 0.0f, "AB\nCD\nEFG\n"));
    effect.addParameter (unitParameter ("plain", 0.0f, "Frequency"));
    effect.addParameter (unitParameter ("empty", 0.0f, ""));
    ASSERT_EQ (effect.InitializeWithHost (nullptr), AAX_SUCCESS);

    auto abbreviated = [&effect] (const char* identifier, int32_t maxLength)
    {
        AAX_CString name ("untouched");
        EXPECT_EQ (effect.ParameterAbbreviatedName (identifier, &name, maxLength), AAX_SUCCESS);
        return std::string (name.CString());
    };

    EXPECT_EQ (abbreviated ("lines", 3), "E");
    EXPECT_EQ (abbreviated ("lines", 4), "ABCD");
    EXPECT_EQ (abbreviated ("lines", 0), "");
    EXPECT_EQ (abbreviated ("lines", -1), "");
    EXPECT_EQ (abbreviated ("ties", 2), "AB");
    EXPECT_EQ (abbreviated ("ties", 3), "EFG");
    EXPECT_EQ (abbreviated ("plain", 4), "Freq");
    EXPECT_EQ (abbreviated ("plain", 20), "Frequency");
    EXPECT_EQ (abbreviated ("empty", 4), "untouched");
    EXPECT_EQ (abbreviated ("unknown", 4), "");

    EXPECT_EQ (effect.ParameterAbbreviatedName ("plain", nullptr, 4), AAX_ERROR_INVALID_STRING_CONVERSION);
    effect.TearDown();
}

TEST (EffectParametersNames, AbbreviationsOfTheParameterAreSplitToo)
{
    TestEffect effect;
    auto parameter = unitParameter ("gain", 0.0f, "Output Gain Left");
    parameter->AddShortenedName (AAX_CString ("OGL\nG"));
    effect.addParameter (std::move (parameter));
    ASSERT_EQ (effect.InitializeWithHost (nullptr), AAX_SUCCESS);

    AAX_CString name;
    EXPECT_EQ (effect.ParameterAbbreviatedName ("gain", &name, 4), AAX_SUCCESS);
    EXPECT_STREQ (name.CString(), "OGL");
    EXPECT_EQ (effect.ParameterAbbreviatedName ("gain", &name, 2), AAX_SUCCESS);
    EXPECT_STREQ (name.CString(), "G");
    effect.TearDown();
}

TEST_F (EffectParametersFixture, NamesAndTextConversions)
{
    AAX_CString text ("junk");
    EXPECT_EQ (effect->ParameterName ("nope", &text), AAX_SUCCESS);
    EXPECT_STREQ (text.CString(), "");
    EXPECT_EQ (effect->ParameterName ("gain", &text), AAX_SUCCESS);
    EXPECT_STREQ (text.CString(), "Gain");

    double value = -1.0;
    EXPECT_EQ (effect->NormalizedValueFromString ("gain", &value, AAX_CString ("0.25")), AAX_SUCCESS);
    EXPECT_DOUBLE_EQ (value, 0.25);
    value = -1.0;
    EXPECT_EQ (effect->NormalizedValueFromString ("gain", &value, AAX_CString ("loud")),
               AAX_ERROR_INVALID_STRING_CONVERSION);
    EXPECT_EQ (value, -1.0);
    EXPECT_EQ (effect->NormalizedValueFromString ("nope", &value, AAX_CString ("0.25")),
               AAX_ERROR_INVALID_PARAMETER_ID);

    EXPECT_EQ (effect->StringFromNormalizedValue ("gain", 0.5, text, 10), AAX_SUCCESS);
    EXPECT_STREQ (text.CString(), "0.500");
    EXPECT_EQ (effect->StringFromNormalizedValue ("gain", nan, text, 10), AAX_ERROR_INVALID_STRING_CONVERSION);
    EXPECT_EQ (effect->StringFromNormalizedValue ("nope", 0.5, text, 10), AAX_ERROR_INVALID_PARAMETER_ID);

    EXPECT_EQ (effect->ParameterValueString ("gain", &text, 3), AAX_SUCCESS);
    EXPECT_STREQ (text.CString(), "0.9");
    // No room for any character: the empty text.
    EXPECT_EQ (effect->ParameterValueString ("gain", &text, 0), AAX_SUCCESS);
    EXPECT_STREQ (text.CString(), "");
    EXPECT_EQ (effect->ParameterValueString ("nope", &text, 3), AAX_ERROR_INVALID_PARAMETER_ID);
}

TEST_F (EffectParametersFixture, QueriesOfUnknownIdentifiersAnswerInvalidParameter)
{
    bool automatable = true;
    EXPECT_EQ (effect->IsParameterAutomatable ("nope", &automatable), AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_FALSE (automatable);
    EXPECT_EQ (effect->IsParameterAutomatable ("gain", &automatable), AAX_SUCCESS);
    EXPECT_TRUE (automatable);

    double value = 0.0;
    uint32_t word = 0;
    EXPECT_EQ (effect->ParameterDefaultNormalizedValue ("nope", &value), AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_EQ (effect->SetParameterDefaultNormalizedValue ("nope", 0.5), AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_EQ (effect->ParameterType ("nope", &word), AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_EQ (effect->ParameterOrientation ("nope", &word), AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_EQ (effect->ParameterNormalizedValue ("nope", &value), AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_EQ (effect->SetParameterNormalizedValue ("nope", 0.5), AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_EQ (effect->SetParameterNormalizedRelative ("nope", 0.1), AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_EQ (effect->TouchParameter ("nope"), AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_EQ (effect->ReleaseParameter ("nope"), AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_EQ (effect->UpdateParameterNormalizedValue ("nope", 0.5, 0), AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_EQ (effect->UpdateParameterNormalizedRelative ("nope", 0.1), AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_EQ (effect->ParameterNormalizedValue (nullptr, &value), AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_TRUE (host.calls.empty());

    EXPECT_EQ (effect->ParameterType ("gain", &word), AAX_SUCCESS);
    EXPECT_EQ (word, 1u);
    EXPECT_EQ (effect->ParameterDefaultNormalizedValue ("gain", &value), AAX_SUCCESS);
    EXPECT_NEAR (value, 0.9, 1e-7);
    EXPECT_EQ (effect->SetParameterDefaultNormalizedValue ("gain", 0.25), AAX_SUCCESS);
    EXPECT_EQ (effect->ParameterDefaultNormalizedValue ("gain", &value), AAX_SUCCESS);
    EXPECT_DOUBLE_EQ (value, 0.25);
}

TEST_F (EffectParametersFixture, HostRequestsGoThroughTheAutomationDelegate)
{
    EXPECT_EQ (effect->TouchParameter ("gain"), AAX_SUCCESS);
    EXPECT_EQ (effect->SetParameterNormalizedValue ("gain", 0.25), AAX_SUCCESS);
    EXPECT_EQ (effect->ReleaseParameter ("gain"), AAX_SUCCESS);

    const std::vector<std::string> expected{ "touch gain",     "touch gain",   "request gain 0.25",
                                             "post gain 0.25", "release gain", "release gain" };
    EXPECT_EQ (host.calls, expected);
    EXPECT_DOUBLE_EQ (normalized ("gain"), 0.25);
}

TEST_F (EffectParametersFixture, RelativeSetsClampToTheUnitRange)
{
    EXPECT_NEAR (normalized ("gain"), 0.9, 1e-7);
    EXPECT_EQ (effect->SetParameterNormalizedRelative ("gain", 0.3), AAX_SUCCESS);
    EXPECT_EQ (host.callsStartingWith ("request"), (std::vector<std::string>{ "request gain 1" }));
    EXPECT_DOUBLE_EQ (normalized ("gain"), 1.0);

    host.calls.clear();
    EXPECT_EQ (effect->SetParameterNormalizedRelative ("gain", -2.0), AAX_SUCCESS);
    EXPECT_EQ (host.callsStartingWith ("request"), (std::vector<std::string>{ "request gain 0" }));
    EXPECT_DOUBLE_EQ (normalized ("gain"), 0.0);

    EXPECT_EQ (effect->UpdateParameterNormalizedRelative ("gain", 0.25), AAX_SUCCESS);
    EXPECT_DOUBLE_EQ (normalized ("gain"), 0.25);
    EXPECT_EQ (effect->UpdateParameterNormalizedRelative ("gain", 5.0), AAX_SUCCESS);
    EXPECT_DOUBLE_EQ (normalized ("gain"), 1.0);
}

TEST_F (EffectParametersFixture, ChangeCounterCountsOnlyChangesButPacketsAreMarkedEveryTime)
{
    effect->addValuePacket ("gain", 3);
    EXPECT_EQ (effect->DispatchPackets(), AAX_SUCCESS);
    EXPECT_EQ (host.callsStartingWith ("post 3").size(), 1u);

    int32_t count = -1;
    EXPECT_EQ (effect->ParameterChangeCount (&count), AAX_SUCCESS);
    EXPECT_EQ (count, 0);

    const double current = normalized ("gain");
    EXPECT_EQ (effect->UpdateParameterNormalizedValue ("gain", current, 1), AAX_SUCCESS);
    effect->ParameterChangeCount (&count);
    EXPECT_EQ (count, 0);

    // Still marked dirty: the next dispatch posts the packet again.
    EXPECT_EQ (effect->DispatchPackets(), AAX_SUCCESS);
    EXPECT_EQ (host.callsStartingWith ("post 3").size(), 2u);
    EXPECT_EQ (effect->DispatchPackets(), AAX_SUCCESS);
    EXPECT_EQ (host.callsStartingWith ("post 3").size(), 2u);

    EXPECT_EQ (effect->UpdateParameterNormalizedValue ("gain", 0.5, 1), AAX_SUCCESS);
    effect->ParameterChangeCount (&count);
    EXPECT_EQ (count, 1);
    effect->DispatchPackets();
    EXPECT_EQ (host.callsStartingWith ("post 3").back(), "post 3 4 0.5");

    // A counter that has wrapped round is not reported.
    effect->setChangeCounter (std::numeric_limits<int32_t>::max());
    effect->UpdateParameterNormalizedValue ("gain", 0.25, 1);
    EXPECT_LT (effect->changeCounter(), 0);
    count = 42;
    EXPECT_EQ (effect->ParameterChangeCount (&count), AAX_SUCCESS);
    EXPECT_EQ (count, 42);
}

TEST_F (EffectParametersFixture, MasterBypassPacketIsPostedOnceAfterInitialization)
{
    effect->addValuePacket (AAX_MasterBypassParameterId, 3);
    EXPECT_EQ (effect->DispatchPackets(), AAX_SUCCESS);
    EXPECT_EQ (effect->DispatchPackets(), AAX_SUCCESS);
    EXPECT_EQ (host.callsStartingWith ("post 3"), (std::vector<std::string>{ "post 3 4 0" }));
}

TEST_F (EffectParametersFixture, PreviewNotificationSwitchesOnlyThePreviewParameter)
{
    const int32_t on = 1;
    const int32_t off = 0;
    EXPECT_EQ (effect->HandleNotification (AAX_PreviewStateNotification, &on, sizeof (on)), AAX_SUCCESS);
    EXPECT_EQ (effect->HandleNotification (AAX_PreviewStateNotification, &off, sizeof (off)), AAX_SUCCESS);
    EXPECT_EQ (previewCalls, (std::vector<std::string>{ "bool 1", "bool 0" }));

    // Every other type, and a notification without its data word, changes nothing.
    previewCalls.clear();
    EXPECT_EQ (effect->HandleNotification (0x41535077, &on, sizeof (on)), AAX_SUCCESS);
    EXPECT_EQ (effect->HandleNotification (0, nullptr, 0), AAX_SUCCESS);
    EXPECT_EQ (effect->HandleNotification (AAX_PreviewStateNotification, nullptr, 4), AAX_SUCCESS);
    EXPECT_EQ (effect->HandleNotification (AAX_PreviewStateNotification, &on, 2), AAX_SUCCESS);
    EXPECT_TRUE (previewCalls.empty());
    EXPECT_TRUE (host.calls.empty());
}

TEST_F (EffectParametersFixture, NonFiniteHostValuesNeverReachTheParameter)
{
    std::vector<std::string> gainCalls;
    TestEffect recorded;
    recorded.addParameter (std::make_unique<RecordingParameter> ("gain", 0.5f, gainCalls));
    recorded.addValuePacket ("gain", 2);
    ASSERT_EQ (recorded.InitializeWithHost (host.unknown()), AAX_SUCCESS);
    host.confirmTo = &recorded;
    recorded.DispatchPackets();
    host.calls.clear();
    gainCalls.clear();

    for (const double bad : { nan, inf, -inf })
    {
        EXPECT_EQ (recorded.UpdateParameterNormalizedValue ("gain", bad, 0), AAX_ERROR_INVALID_ARGUMENT);
        EXPECT_EQ (recorded.SetParameterNormalizedValue ("gain", bad), AAX_ERROR_INVALID_ARGUMENT);
        EXPECT_EQ (recorded.SetParameterNormalizedRelative ("gain", bad), AAX_ERROR_INVALID_ARGUMENT);
        EXPECT_EQ (recorded.UpdateParameterNormalizedRelative ("gain", bad), AAX_ERROR_INVALID_ARGUMENT);
        EXPECT_EQ (recorded.SetParameterDefaultNormalizedValue ("gain", bad), AAX_ERROR_INVALID_ARGUMENT);
    }

    EXPECT_TRUE (gainCalls.empty());
    EXPECT_TRUE (host.calls.empty());
    EXPECT_EQ (recorded.changeCounter(), 0);
    double value = 0.0;
    recorded.ParameterNormalizedValue ("gain", &value);
    EXPECT_DOUBLE_EQ (value, 0.5);
    // Nothing was marked dirty either.
    EXPECT_EQ (recorded.DispatchPackets(), AAX_SUCCESS);
    EXPECT_TRUE (host.calls.empty());

    host.confirmTo = effect.get();
    recorded.TearDown();
}

TEST_F (EffectParametersFixture, FixedAnswersOfTheRemainingOperations)
{
    int32_t info = 5;
    EXPECT_EQ (effect->ParameterValueInfo ("gain", 1, &info), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (info, 0);

    unsigned char field[6] = { 1, 2, 3, 4, 5, 6 };
    EXPECT_EQ (effect->ZeroFieldData (3, field, 4), AAX_SUCCESS);
    EXPECT_EQ (std::vector<unsigned char> (field, field + 6), (std::vector<unsigned char>{ 0, 0, 0, 0, 5, 6 }));
    EXPECT_EQ (effect->ZeroFieldData (3, nullptr, 4), AAX_SUCCESS);

    uint32_t out = 9;
    EXPECT_EQ (effect->EffectCall28(), AAX_SUCCESS);
    EXPECT_EQ (effect->EffectCall40(), AAX_SUCCESS);
    EXPECT_EQ (effect->TypedQuery41 (0x61626364, nullptr), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (effect->EffectCall42 (nullptr, nullptr, nullptr, nullptr, &out), AAX_SUCCESS);
    EXPECT_EQ (out, 0u);
    EXPECT_EQ (effect->EffectCall43(), AAX_SUCCESS);
    EXPECT_EQ (effect->EffectCall44(), AAX_SUCCESS);
    EXPECT_EQ (effect->EffectCall45(), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (effect->EffectCall46(), AAX_SUCCESS);
    EXPECT_EQ (effect->EffectCall47(), AAX_SUCCESS);
    EXPECT_EQ (effect->TypedQuery48 (0x61626364, &out), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (effect->TypedQuery49 (0x61626364, &out), AAX_ERROR_UNIMPLEMENTED);
}

TEST_F (EffectParametersFixture, PageTableUpdateWrapsTheHostTableForTheHook)
{
    EXPECT_EQ (effect->UpdatePageTable (1, 2, 0, nullptr), AAX_SUCCESS);

    FakePageTable table;
    EXPECT_EQ (effect->UpdatePageTable (1, 2, 0, &table), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (table.references, 0);
}

TEST (EffectParametersLifecycle, RepeatedInitializationMovesParametersToTheNewDelegate)
{
    FakeEffectHost first;
    FakeEffectHost second;
    TestEffect effect;
    effect.addParameter (unitParameter ("gain", 0.5f));
    ASSERT_EQ (effect.InitializeWithHost (first.unknown()), AAX_SUCCESS);
    first.calls.clear();

    ASSERT_EQ (effect.InitializeWithHost (second.unknown()), AAX_SUCCESS);
    EXPECT_EQ (first.calls, (std::vector<std::string>{ "unregister gain" }));
    EXPECT_EQ (first.references, 0);
    EXPECT_EQ (second.callsStartingWith ("register"), (std::vector<std::string>{ "register gain" }));
    effect.TearDown();
    EXPECT_EQ (second.references, 0);
}
