// The description wrappers over the stand-in host's objects: forwarding, the fallbacks for
// older hosts, and ownership of everything they hand out.

#include "AAX_Errors.h"
#include "AAX_IComponentDescriptor.h"
#include "AAX_IDescriptionHost.h"
#include "AAX_IEffectDescriptor.h"
#include "AAX_IFeatureInfo.h"
#include "AAX_IPropertyMap.h"
#include "AAX_Trace.h"
#include "AAX_VCollection.h"
#include "AAX_VComponentDescriptor.h"
#include "AAX_VHostServices.h"
#include "AAX_VPropertyMap.h"
#include "HostComponent.h"
#include "HostComponentDescriptor.h"
#include "HostState.h"
#include "HostUnknown.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
// A stand-in host made for one test, with the host services started on it.
class DescriptionHostFixture : public ::testing::Test
{
protected:
    void startHost (HostConfiguration configuration)
    {
        state = std::make_shared<HostState> (configuration);
        host = HostReference<HostUnknown> (new HostUnknown (state));
        AAX_VHostServices::Set (host->asUnknown());
    }

    void TearDown() override
    {
        AAX_VHostServices::Set (nullptr);
        host = HostReference<HostUnknown>();
        EXPECT_EQ (HostComponent::liveObjectCount(), 0) << "a host object was not released";
    }

    IACFUnknown* hostUnknown() { return host->asUnknown(); }

    // The stand-in's record of the component that the wrapper talks to.
    static const ComponentRecord& recordOf (AAX_VComponentDescriptor& component)
    {
        return dynamic_cast<HostComponentDescriptor&> (*component.HostObject()).record();
    }

    std::shared_ptr<HostState> state;
    HostReference<HostUnknown> host;
};

void dummyProcess (void* const[], const void*) {}

HostConfiguration olderHost()
{
    HostConfiguration configuration;
    configuration.descriptionHost = false;
    configuration.componentDescriptorVersion = 1;
    configuration.propertyMapVersion = 1;
    return configuration;
}
} // namespace

using PropertyMapWrapper = DescriptionHostFixture;

TEST_F (PropertyMapWrapper, WithoutVersionThreeKeepsOnlyTheProcedurePointersItself)
{
    startHost (olderHost());
    std::unique_ptr<AAX_VPropertyMap> map (AAX_VPropertyMap::Create (hostUnknown()));
    int procedure = 0, other = 0;

    EXPECT_EQ (map->AddPointerProperty (36, &procedure), AAX_SUCCESS);
    EXPECT_EQ (map->AddPointerProperty (42, "name.dll"), AAX_SUCCESS);
    EXPECT_EQ (map->AddPointerProperty (35, &other), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (map->AddPointerProperty (43, &other), AAX_ERROR_UNIMPLEMENTED);
    // A second value for the same identifier replaces the first.
    EXPECT_EQ (map->AddPointerProperty (36, &other), AAX_SUCCESS);

    const void* value = nullptr;
    EXPECT_TRUE (map->GetPointerProperty (36, &value));
    EXPECT_EQ (value, &other);
    EXPECT_FALSE (map->GetPointerProperty (35, &value));
    EXPECT_FALSE (map->PropertyMapQuery7 (36, &value));
    EXPECT_EQ (map->PropertyMapCall6 (36, nullptr), AAX_ERROR_UNIMPLEMENTED);
}

TEST_F (PropertyMapWrapper, WithVersionThreeThePointersGoToTheHost)
{
    startHost ({});
    std::unique_ptr<AAX_VPropertyMap> map (AAX_VPropertyMap::Create (hostUnknown()));
    int procedure = 0;
    EXPECT_EQ (map->AddPointerProperty (100, &procedure), AAX_SUCCESS);
    const PropertySnapshot held = HostPropertyMap::snapshotOf (map->HostObject());
    ASSERT_EQ (held.pointers.count (100), 1u);
    EXPECT_EQ (held.pointers.at (100), &procedure);
}

TEST_F (PropertyMapWrapper, NewerStemFormatsAreRefusedWithoutADescriptionHost)
{
    startHost (olderHost());
    std::unique_ptr<AAX_VPropertyMap> map (AAX_VPropertyMap::Create (hostUnknown()));
    EXPECT_EQ (map->AddProperty (AAX_eProperty_InputStemFormat, (13u << 16) | 2u), AAX_ERROR_PROPERTY_UNDEFINED);
    EXPECT_EQ (map->AddProperty (AAX_eProperty_OutputStemFormat, 0xFFFE0000u), AAX_ERROR_PROPERTY_UNDEFINED);
    EXPECT_EQ (map->AddProperty (AAX_eProperty_InputStemFormat, (12u << 16) | 8u), AAX_SUCCESS);
    EXPECT_EQ (map->AddProperty (AAX_eProperty_OutputStemFormat, AAX_eStemFormat_None), AAX_SUCCESS);
    EXPECT_EQ (map->AddProperty (AAX_eProperty_OutputStemFormat, AAX_eStemFormat_Any), AAX_SUCCESS);
    // Other properties are not stem formats.
    EXPECT_EQ (map->AddProperty (50, 13u << 16), AAX_SUCCESS);

    AAX_CPropertyValue value = 0;
    EXPECT_TRUE (map->GetProperty (AAX_eProperty_InputStemFormat, &value));
    EXPECT_EQ (value, (12u << 16) | 8u);
}

TEST_F (PropertyMapWrapper, NewerStemFormatsPassWhenTheHostDescribesItsSupport)
{
    startHost ({});
    std::unique_ptr<AAX_VPropertyMap> map (AAX_VPropertyMap::Create (hostUnknown()));
    EXPECT_EQ (map->AddProperty (AAX_eProperty_InputStemFormat, (13u << 16) | 2u), AAX_SUCCESS);
}

TEST_F (PropertyMapWrapper, WithoutObjectFactoryTheMapHasNoInterfaces)
{
    HostConfiguration configuration;
    configuration.objectFactory = false;
    startHost (configuration);
    std::unique_ptr<AAX_VPropertyMap> map (AAX_VPropertyMap::Create (hostUnknown()));
    EXPECT_EQ (map->HostObject(), nullptr);
    EXPECT_EQ (map->AddProperty (10, 1), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (map->RemoveProperty (10), AAX_ERROR_NULL_OBJECT);
    AAX_CPropertyValue value = 0;
    EXPECT_FALSE (map->GetProperty (10, &value));
}

using ComponentDescriptorWrapper = DescriptionHostFixture;

TEST_F (ComponentDescriptorWrapper, DuplicatingAMapCopiesTheIdentifiersTenToFourHundredAndOne)
{
    startHost (olderHost());
    AAX_VComponentDescriptor component (hostUnknown());
    AAX_IPropertyMap* const source = component.NewPropertyMap();
    int procedure = 0;
    for (const AAX_EProperty id : { 9, 10, 401, 402 })
        ASSERT_EQ (source->AddProperty (id, static_cast<AAX_CPropertyValue> (id) * 2), AAX_SUCCESS);
    ASSERT_EQ (source->AddPointerProperty (AAX_eProperty_NativeProcessProc, &procedure), AAX_SUCCESS);

    AAX_IPropertyMap* const copy = component.DuplicatePropertyMap (source);
    ASSERT_NE (copy, source);
    AAX_CPropertyValue value = 0;
    EXPECT_TRUE (copy->GetProperty (10, &value));
    EXPECT_EQ (value, 20u);
    EXPECT_TRUE (copy->GetProperty (401, &value));
    EXPECT_EQ (value, 802u);
    EXPECT_FALSE (copy->GetProperty (9, &value));
    EXPECT_FALSE (copy->GetProperty (402, &value));
    const void* pointer = nullptr;
    EXPECT_TRUE (copy->GetPointerProperty (AAX_eProperty_NativeProcessProc, &pointer));
    EXPECT_EQ (pointer, &procedure);
}

TEST_F (ComponentDescriptorWrapper, ManualRegistrationNeedsRoomForTheTerminatingZero)
{
    startHost (olderHost());
    AAX_VComponentDescriptor component (hostUnknown());
    AAX_IPropertyMap* const map = component.NewPropertyMap();
    ASSERT_EQ (map->AddProperty (AAX_eProperty_PlugInID_Native, 0x4C4B6D31u), AAX_SUCCESS);
    ASSERT_EQ (map->AddPointerProperty (AAX_eProperty_NativeProcessProc, reinterpret_cast<const void*> (&dummyProcess)),
               AAX_SUCCESS);

    uint32_t ids[2] = { 77, 77 };
    EXPECT_EQ (component.AddProcessProcs (map, ids, 1), AAX_ERROR_ARGUMENT_BUFFER_OVERFLOW);
    EXPECT_EQ (ids[0], 77u);
    ASSERT_EQ (recordOf (component).processProcs.size(), 1u);

    EXPECT_EQ (component.AddProcessProcs (map, ids, 2), AAX_SUCCESS);
    const auto& procedures = recordOf (component).processProcs;
    ASSERT_EQ (procedures.size(), 2u);
    EXPECT_EQ (ids[0], procedures[1].procId);
    EXPECT_EQ (ids[1], 0u);
    EXPECT_TRUE (procedures[1].native);
    EXPECT_EQ (procedures[1].processProc, reinterpret_cast<const void*> (&dummyProcess));
    EXPECT_EQ (procedures[1].properties.values.at (AAX_eProperty_PlugInID_Native), 0x4C4B6D31u);
    EXPECT_TRUE (state->log.traces().empty());
}

TEST_F (ComponentDescriptorWrapper, ManualRegistrationTracesMissingDspProperties)
{
    startHost (olderHost());
    AAX_VComponentDescriptor component (hostUnknown());
    AAX_IPropertyMap* const map = component.NewPropertyMap();
    ASSERT_EQ (map->AddProperty (AAX_eProperty_PlugInID_TI, 0x4C4B6431u), AAX_SUCCESS);
    ASSERT_EQ (map->AddProperty (AAX_eProperty_PlugInID_Native, 0x4C4B6D31u), AAX_SUCCESS);

    EXPECT_EQ (component.AddProcessProcs (map, nullptr, 0), AAX_SUCCESS);

    const auto traces = state->log.traces();
    ASSERT_EQ (traces.size(), 3u);
    EXPECT_EQ (
        traces[0].message,
        "AAX_VComponentDescriptor: ManuallyAddProcessProcs() - no value found for AAX_eProperty_NativeProcessProc");
    EXPECT_EQ (traces[1].message,
               "AAX_VComponentDescriptor: ManuallyAddProcessProcs() - no value found for AAX_eProperty_TIDLLFileName");
    EXPECT_EQ (traces[2].message,
               "AAX_VComponentDescriptor: ManuallyAddProcessProcs() - no value found for AAX_eProperty_TIProcessProc");
    for (const auto& trace : traces)
        EXPECT_EQ (trace.priority, 0x8000000u);

    // Both procedures were still registered, with null values for what was missing.
    const auto& procedures = recordOf (component).processProcs;
    ASSERT_EQ (procedures.size(), 2u);
    EXPECT_TRUE (procedures[0].native);
    EXPECT_EQ (procedures[0].processProc, nullptr);
    EXPECT_FALSE (procedures[1].native);
    EXPECT_TRUE (procedures[1].dllFileName.empty());
}

TEST_F (ComponentDescriptorWrapper, ManualRegistrationDropsTheNativeBufferLengthFromACopy)
{
    startHost (olderHost());
    AAX_VComponentDescriptor component (hostUnknown());
    AAX_IPropertyMap* const map = component.NewPropertyMap();
    ASSERT_EQ (map->AddProperty (AAX_eProperty_PlugInID_Native, 0x4C4B6D31u), AAX_SUCCESS);
    ASSERT_EQ (map->AddProperty (AAX_eProperty_NativeAudioBufferLength, 512), AAX_SUCCESS);
    ASSERT_EQ (map->AddPointerProperty (AAX_eProperty_NativeProcessProc, reinterpret_cast<const void*> (&dummyProcess)),
               AAX_SUCCESS);

    EXPECT_EQ (component.AddProcessProcs (map, nullptr, 0), AAX_SUCCESS);
    const auto& procedures = recordOf (component).processProcs;
    ASSERT_EQ (procedures.size(), 1u);
    EXPECT_EQ (procedures[0].properties.values.count (AAX_eProperty_NativeAudioBufferLength), 0u);
    EXPECT_EQ (procedures[0].properties.values.count (AAX_eProperty_PlugInID_Native), 1u);
    // The caller's map keeps it.
    AAX_CPropertyValue value = 0;
    EXPECT_TRUE (map->GetProperty (AAX_eProperty_NativeAudioBufferLength, &value));
    EXPECT_TRUE (state->log.assertions().empty());
}

TEST_F (ComponentDescriptorWrapper, WithVersionThreeTheHostRegistersTheProcedures)
{
    startHost ({});
    AAX_VComponentDescriptor component (hostUnknown());
    AAX_IPropertyMap* const map = component.NewPropertyMap();
    ASSERT_EQ (map->AddProperty (AAX_eProperty_PlugInID_Native, 0x4C4B7332u), AAX_SUCCESS);
    ASSERT_EQ (map->AddPointerProperty (AAX_eProperty_NativeProcessProc, reinterpret_cast<const void*> (&dummyProcess)),
               AAX_SUCCESS);
    uint32_t ids[4] = {};
    EXPECT_EQ (component.AddProcessProcs (map, ids, 4), AAX_SUCCESS);
    const auto& procedures = recordOf (component).processProcs;
    ASSERT_EQ (procedures.size(), 1u);
    EXPECT_EQ (ids[0], procedures[0].procId);
    EXPECT_EQ (procedures[0].processProc, reinterpret_cast<const void*> (&dummyProcess));
}

TEST_F (ComponentDescriptorWrapper, WithoutAHostObjectOrMapEverythingIsMissing)
{
    startHost ({});
    AAX_VComponentDescriptor orphan (nullptr);
    EXPECT_EQ (orphan.AddAudioInField (0), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (orphan.ComponentCall19 (0, 0), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (orphan.AddProcessProcs (nullptr, nullptr, 0), AAX_ERROR_NULL_OBJECT);
    EXPECT_NE (orphan.NewPropertyMap(), nullptr);

    HostConfiguration configuration;
    configuration.componentDescriptorVersion = 2;
    startHost (configuration);
    AAX_VComponentDescriptor component (hostUnknown());
    EXPECT_EQ (component.AddProcessProcs (nullptr, nullptr, 0), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (component.ComponentCall19 (4, 8), AAX_SUCCESS);
    EXPECT_EQ (component.ComponentCall8 (2), AAX_SUCCESS);
    EXPECT_EQ (recordOf (component).otherCalls,
               (std::vector<std::string>{ "ComponentCall19 4 8", "ComponentCall8 2" }));
}

using CollectionWrapper = DescriptionHostFixture;

TEST_F (CollectionWrapper, DeletingTheCollectionDeletesEverythingItMade)
{
    startHost ({});
    const int32_t hostObjectsBefore = HostComponent::liveObjectCount();
    {
        AAX_VCollection collection (hostUnknown());
        for (int effectNumber = 0; effectNumber < 2; ++effectNumber)
        {
            AAX_IEffectDescriptor* const effect = collection.NewEffectDescriptor();
            ASSERT_NE (effect->NewComponentDescriptor(), nullptr);
            ASSERT_NE (effect->NewPropertyMap(), nullptr);
        }
        // Collection, two effects, two components and two maps live in the host.
        EXPECT_EQ (state->creationCount ("effect descriptor"), 2);
        EXPECT_EQ (state->creationCount ("component descriptor"), 2);
        EXPECT_EQ (state->creationCount ("property map"), 2);
        EXPECT_EQ (HostComponent::liveObjectCount(), hostObjectsBefore + 7);
    }
    EXPECT_EQ (HostComponent::liveObjectCount(), hostObjectsBefore);
}

TEST_F (CollectionWrapper, EffectsNeedADescriptorAndTheHostsCollection)
{
    startHost ({});
    AAX_VCollection collection (hostUnknown());
    EXPECT_EQ (collection.AddEffect ("com.example.none", nullptr), AAX_ERROR_NULL_OBJECT);
    AAX_IEffectDescriptor* const effect = collection.NewEffectDescriptor();
    EXPECT_EQ (effect->AddName ("Larkspur"), AAX_SUCCESS);
    EXPECT_EQ (collection.AddEffect ("com.example.one", effect), AAX_SUCCESS);

    HostConfiguration configuration;
    configuration.objectFactory = false;
    startHost (configuration);
    AAX_VCollection orphan (hostUnknown());
    EXPECT_EQ (orphan.HostObject(), nullptr);
    EXPECT_EQ (orphan.SetManufacturerName ("Korvel Audio Tools"), AAX_ERROR_NULL_OBJECT);
    AAX_IEffectDescriptor* const orphanEffect = orphan.NewEffectDescriptor();
    EXPECT_EQ (orphanEffect->AddName ("Larkspur"), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (orphanEffect->EffectCall11 ("x", nullptr), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (orphan.AddEffect ("com.example.two", orphanEffect), AAX_ERROR_NULL_OBJECT);
}

TEST_F (CollectionWrapper, FeatureInfoComesFromTheDescriptionHost)
{
    startHost ({});
    AAX_VCollection collection (hostUnknown());
    ASSERT_NE (collection.DescriptionHost(), nullptr);
    EXPECT_NE (collection.HostDefinition(), nullptr);

    const AAX_GUID feature{ 0x12345678, 0x9ABC, 0xDEF0, { 1, 2, 3, 4, 5, 6, 7, 8 } };
    std::unique_ptr<AAX_IFeatureInfo> info (collection.DescriptionHost()->AcquireFeatureInfo (feature));
    ASSERT_NE (info, nullptr);
    EXPECT_TRUE (*info->FeatureId() == feature);
    int32_t level = 0;
    EXPECT_EQ (info->SupportLevel (&level), AAX_SUCCESS);
    EXPECT_EQ (level, 1);
    std::unique_ptr<AAX_IPropertyMap> properties (info->AcquireProperties());
    ASSERT_NE (properties, nullptr);
    EXPECT_NE (properties->HostObject(), nullptr);

    HostConfiguration configuration;
    configuration.descriptionHost = false;
    configuration.hostDefinition = false;
    startHost (configuration);
    AAX_VCollection poorer (hostUnknown());
    EXPECT_EQ (poorer.DescriptionHost(), nullptr);
    EXPECT_EQ (static_cast<const AAX_VCollection&> (poorer).DescriptionHost(), nullptr);
    EXPECT_EQ (poorer.HostDefinition(), nullptr);
}
