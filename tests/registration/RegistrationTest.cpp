// Registration inside the test process, through the stand-in host's objects: the real
// description on poorer hosts, and every way a description can fail.

#include "AAX_Callbacks.h"
#include "AAX_Errors.h"
#include "AAX_Exception.h"
#include "AAX_ICollection.h"
#include "AAX_Properties.h"
#include "AAX_Registration.h"
#include "AAX_ResultName.h"
#include "CACFUnknown.h"
#include "HostCollection.h"
#include "HostComponent.h"
#include "HostInstance.h"
#include "HostPropertyMap.h"
#include "HostSession.h"
#include "HostState.h"
#include "LinkedEntryPoints.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>

namespace
{
class Registration : public ::testing::Test
{
protected:
    void TearDown() override
    {
        AAX_SetDescriptionFunction (nullptr);
        session.reset();
        EXPECT_EQ (HostComponent::liveObjectCount(), 0) << "a host object was not released";
        EXPECT_EQ (CACFUnknown::GetActiveObjectCount(), 0);
    }

    HostSession& start (HostConfiguration configuration = {})
    {
        session = std::make_unique<HostSession> (linkedEntryPoints(), configuration);
        EXPECT_EQ (session->startUp(), ACF_OK);
        return *session;
    }

    std::unique_ptr<HostSession> session;
};

AAX_Result failWithDuplicateTypeId (AAX_ICollection*)
{
    return -20036;
}

AAX_Result failWithEmptyEffectName (AAX_ICollection*)
{
    return AAX_ERROR_EMPTY_EFFECT_NAME;
}

AAX_Result throwStandardException (AAX_ICollection*)
{
    throw std::runtime_error ("out of descriptors");
}

AAX_Result throwLayerException (AAX_ICollection*)
{
    throw AAX::Exception::Any ("bad layout", "describe", "12");
}

AAX_Result throwSomethingElse (AAX_ICollection*)
{
    throw 42;
}

AAX_Result describeNothing (AAX_ICollection*)
{
    return AAX_SUCCESS;
}

std::vector<std::string> messagesOf (const std::vector<HostLog::Trace>& traces)
{
    std::vector<std::string> messages;
    for (const auto& trace : traces)
        messages.push_back (trace.message);
    return messages;
}
} // namespace

TEST_F (Registration, AFailingDescriptionIsAnsweredWithItsCodeAfterTwoTraces)
{
    HostSession& host = start();
    AAX_SetDescriptionFunction (&failWithDuplicateTypeId);
    EXPECT_EQ (host.registerPlugin(), -20036);
    EXPECT_EQ (host.description(), nullptr);

    const std::string composed = std::string (AAX_ResultName (-20036)) + " (-20036)";
    const auto traces = host.state().log.traces();
    ASSERT_EQ (traces.size(), 2u);
    EXPECT_EQ (traces[0].priority, 0x4000000u);
    EXPECT_EQ (traces[0].message, "AAX_CheckedResult - throwing " + composed);
    EXPECT_EQ (traces[1].priority, 0x8000000u);
    EXPECT_EQ (traces[1].message, "AAXRegisterPlugin exception caught: " + composed);
}

TEST_F (Registration, AnEmptyEffectNameIsReportedByName)
{
    HostSession& host = start();
    AAX_SetDescriptionFunction (&failWithEmptyEffectName);
    EXPECT_EQ (host.registerPlugin(), AAX_ERROR_EMPTY_EFFECT_NAME);
    const std::string composed = "AAX_ERROR_EMPTY_EFFECT_NAME (" + std::to_string (AAX_ERROR_EMPTY_EFFECT_NAME) + ")";
    EXPECT_EQ (messagesOf (host.state().log.traces()),
               (std::vector<std::string>{ "AAX_CheckedResult - throwing " + composed,
                                          "AAXRegisterPlugin exception caught: " + composed }));
}

TEST_F (Registration, OtherExceptionsAreCaughtAndAnsweredAsUnknown)
{
    HostSession& host = start();
    AAX_SetDescriptionFunction (&throwStandardException);
    EXPECT_EQ (host.registerPlugin(), AAX_ERROR_UNKNOWN_EXCEPTION);
    AAX_SetDescriptionFunction (&throwLayerException);
    EXPECT_EQ (host.registerPlugin(), AAX_ERROR_UNKNOWN_EXCEPTION);
    AAX_SetDescriptionFunction (&throwSomethingElse);
    EXPECT_EQ (host.registerPlugin(), AAX_ERROR_UNKNOWN_EXCEPTION);

    const auto traces = host.state().log.traces();
    EXPECT_EQ (messagesOf (traces),
               (std::vector<std::string>{ "AAXRegisterPlugin exception caught: out of descriptors",
                                          "AAXRegisterPlugin exception caught: bad layout func:describe line:12",
                                          "AAXRegisterPlugin exception caught: unknown" }));
    for (const auto& trace : traces)
        EXPECT_EQ (trace.priority, 0x8000000u);
}

TEST_F (Registration, AHostThatRefusesThePluginDefinitionIsAnsweredWithNullObject)
{
    HostConfiguration configuration;
    configuration.pluginDefinition = false;
    HostSession& host = start (configuration);
    AAX_SetDescriptionFunction (&describeNothing);
    EXPECT_EQ (host.registerPlugin(), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (host.description(), nullptr);
    EXPECT_EQ (host.state().log.traces().size(), 2u);
}

TEST_F (Registration, AHostWithoutObjectFactoryGetsNoDescription)
{
    HostConfiguration configuration;
    configuration.objectFactory = false;
    HostSession& host = start (configuration);
    EXPECT_EQ (host.registerPlugin(), AAX_ERROR_NULL_OBJECT);
    // Without an object factory there are no host services either: nothing was traced.
    EXPECT_TRUE (host.state().log.traces().empty());
}

TEST_F (Registration, ANullOutPointerIsRefused)
{
    start();
    AAX_SetDescriptionFunction (&describeNothing);
    EXPECT_EQ (ACFRegisterPlugin (session->hostUnknown().asUnknown(), nullptr), AAX_ERROR_NULL_OBJECT);
}

TEST_F (Registration, OnAnOlderHostTheProcessProceduresAreRegisteredOneByOne)
{
    HostConfiguration configuration;
    configuration.descriptionHost = false;
    configuration.componentDescriptorVersion = 2;
    configuration.propertyMapVersion = 1;
    HostSession& host = start (configuration);
    ASSERT_EQ (host.registerPlugin(), ACF_OK);
    ASSERT_NE (host.description(), nullptr);
    ASSERT_EQ (host.description()->effects.size(), 1u);
    const auto& components = host.description()->effects[0].second->components;
    ASSERT_EQ (components.size(), 2u);
    for (const auto& component : components)
    {
        const auto& procedures = component->record().processProcs;
        ASSERT_EQ (procedures.size(), 1u);
        EXPECT_TRUE (procedures[0].native);
        EXPECT_NE (procedures[0].processProc, nullptr);
        // A version-1 map cannot hold the pointer; the procedure itself carries it.
        EXPECT_EQ (procedures[0].properties.pointers.count (AAX_eProperty_NativeProcessProc), 0u);
    }
    EXPECT_TRUE (host.state().log.traces().empty());
}

namespace
{
void processNothing (void* const*, const void*) {}

IACFUnknown* createNothing()
{
    return nullptr;
}

// A description, made by hand, whose stereo component declares its audio input at `inputField`.
HostReference<HostCollection> describeStereoInputAt (AAX_CFieldIndex inputField)
{
    const auto state = std::make_shared<HostState>();
    HostReference<HostPropertyMap> properties (new HostPropertyMap (3));
    properties->AddProperty (AAX_eProperty_InputStemFormat, AAX_eStemFormat_Stereo);
    properties->AddProperty (AAX_eProperty_OutputStemFormat, AAX_eStemFormat_Stereo);

    HostReference<HostComponentDescriptor> component (new HostComponentDescriptor (state));
    component->AddAudioIn (inputField);
    component->AddAudioOut (1);
    component->AddAudioBufferLength (2);
    uint32_t procId = 0;
    component->AddProcessProc_Native (reinterpret_cast<void*> (&processNothing), properties.get(), nullptr, nullptr,
                                      &procId);

    HostReference<HostEffectDescriptor> effect (new HostEffectDescriptor (state));
    effect->AddComponent (component.get());
    effect->AddProcPtr (reinterpret_cast<void*> (&createNothing), kAAX_ProcPtrID_Create_EffectParameters);
    HostReference<HostCollection> collection (new HostCollection (state));
    collection->AddEffect ("com.example.context", effect.get());
    return collection;
}
} // namespace

// The host builds the algorithm context from the declared field indices: one outside it must be
// refused before anything is written there.
TEST (HostInstanceContext, FieldIndicesOutsideTheContextAreRefused)
{
    for (const AAX_CFieldIndex index : { -1, -2, 1025, INT32_MIN, INT32_MAX })
    {
        const auto description = describeStereoInputAt (index);
        std::string error;
        EXPECT_EQ (HostInstance::create (*description.get(), {}, error), nullptr);
        EXPECT_NE (error.find ("audio in field at index " + std::to_string (index)), std::string::npos) << error;
    }

    // Inside the context the description gets as far as creating the effect.
    const auto description = describeStereoInputAt (0);
    const int32_t alive = HostComponent::liveObjectCount();
    std::string error;
    EXPECT_EQ (HostInstance::create (*description.get(), {}, error), nullptr);
    EXPECT_EQ (error, "the plug-in created no effect");
    EXPECT_EQ (HostComponent::liveObjectCount(), alive);
}
