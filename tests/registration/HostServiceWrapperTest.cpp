// The host-service wrappers: each operation reaches the right host operation of the right
// version, and absent versions give the fixed answers.

#include "AAX_Errors.h"
#include "AAX_HostServicesInstance.h"
#include "AAX_IACFAutomationDelegate.h"
#include "AAX_IACFController.h"
#include "AAX_IACFHostServices_V3.h"
#include "AAX_IACFObjectFactory.h"
#include "AAX_IACFPageTable.h"
#include "AAX_IACFPageTableFactory.h"
#include "AAX_IACFTransport.h"
#include "AAX_IACFViewContainer.h"
#include "AAX_InterfaceIDs.h"
#include "AAX_Trace.h"
#include "AAX_VAutomationDelegate.h"
#include "AAX_VController.h"
#include "AAX_VHostServices.h"
#include "AAX_VPageTable.h"
#include "AAX_VTransport.h"
#include "AAX_VViewContainer.h"
#include "FakeHostObjects.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

using ::testing::_;
using ::testing::DoAll;
using ::testing::Return;
using ::testing::SetArgPointee;
using ::testing::StrictMock;

namespace
{
class MockTransport : public CountedHostObject<AAX_IACFTransport_V2>
{
public:
    using CountedHostObject::CountedHostObject;
    MOCK_METHOD (AAX_Result, GetCurrentTempo, (double*), (override));
    MOCK_METHOD (AAX_Result, GetCurrentMeter, (int32_t*, int32_t*), (override));
    MOCK_METHOD (AAX_Result, IsTransportPlaying, (bool*), (override));
    MOCK_METHOD (AAX_Result, GetCurrentTickPosition, (int64_t*), (override));
    MOCK_METHOD (AAX_Result, GetCurrentLoopPosition, (bool*, int64_t*, int64_t*), (override));
    MOCK_METHOD (AAX_Result, GetCurrentNativeSampleLocation, (int64_t*), (override));
    MOCK_METHOD (AAX_Result, TransportQuery9, (int64_t*), (override));
    MOCK_METHOD (AAX_Result, TransportQuery10, (int64_t*), (override));
    MOCK_METHOD (AAX_Result, TransportQuery11, (int64_t*), (override));
    MOCK_METHOD (AAX_Result, TransportQuery12, (int64_t*), (override));
    MOCK_METHOD (AAX_Result, GetStoppedSampleLocation, (int64_t*), (override));
    MOCK_METHOD (AAX_Result, GetTimeCodeInfo, (int32_t*, int32_t*), (override));
    MOCK_METHOD (AAX_Result, TransportQuery15, (int64_t*), (override));
    MOCK_METHOD (AAX_Result, TransportQuery16, (int64_t*), (override));
};

class MockController : public CountedHostObject<AAX_IACFController_V3>
{
public:
    using CountedHostObject::CountedHostObject;
    MOCK_METHOD (AAX_Result, ControllerQuery, (void*), (override));
    MOCK_METHOD (AAX_Result, GetSampleRate, (float*), (override));
    MOCK_METHOD (AAX_Result, GetInputStemFormat, (uint32_t*), (override));
    MOCK_METHOD (AAX_Result, GetOutputStemFormat, (uint32_t*), (override));
    MOCK_METHOD (AAX_Result, ControllerCall7, (void*), (override));
    MOCK_METHOD (AAX_Result, ControllerCall8, (void*), (override));
    MOCK_METHOD (AAX_Result, ControllerCall9, (void*), (override));
    MOCK_METHOD (AAX_Result, SetSignalLatency, (int32_t), (override));
    MOCK_METHOD (AAX_Result, ControllerCall11, (void*), (override));
    MOCK_METHOD (AAX_Result, PostPacket, (AAX_CFieldIndex, const void*, uint32_t), (override));
    MOCK_METHOD (AAX_Result, ControllerCall13, (void*), (override));
    MOCK_METHOD (AAX_Result, ControllerCall14, (void*), (override));
    MOCK_METHOD (AAX_Result, ControllerCall15, (void*), (override));
    MOCK_METHOD (AAX_Result, ControllerCall16, (void*), (override));
    MOCK_METHOD (AAX_Result, ControllerCall17, (void*), (override));
    MOCK_METHOD (AAX_Result, ControllerCall18, (void*), (override));
    MOCK_METHOD (AAX_Result, ControllerCall19, (void*), (override));
    MOCK_METHOD (AAX_Result, ControllerCall20, (void*, void*, void*), (override));
    MOCK_METHOD (AAX_Result, ControllerCall21, (void*), (override));
    MOCK_METHOD (AAX_Result, ControllerCall22, (void**), (override));
    MOCK_METHOD (AAX_Result, ControllerCall23, (void*), (override));
    MOCK_METHOD (AAX_Result, ControllerCall24, (void*), (override));
    MOCK_METHOD (AAX_Result, ControllerCount25, (int32_t*), (override));
};

class MockPageTableFactory : public CountedHostObject<AAX_IACFPageTableFactory_V2>
{
public:
    using CountedHostObject::CountedHostObject;
    MOCK_METHOD (AAX_Result, CopyPageTable3, (void*, void*, IACFUnknown*), (override));
    MOCK_METHOD (AAX_Result, CopyPageTable4, (void*, void*, void*, IACFUnknown*), (override));
    MOCK_METHOD (AAX_Result, CopyPageTable5, (void*, void*, IACFUnknown*), (override));
    MOCK_METHOD (AAX_Result, CopyPageTable6, (void*, void*, void*, IACFUnknown*), (override));
};

class MockPageTable : public CountedHostObject<AAX_IACFPageTable_V2>
{
public:
    using CountedHostObject::CountedHostObject;
    // The page-table wrapper asks the table itself for its versions.
    ACFRESULT QueryInterface (const AAX_GUID& id, void** out) override
    {
        if (id == AAX_IID_PageTable || (id == AAX_IID_PageTable_V2 && offersVersion2))
        {
            AddRef();
            *out = static_cast<AAX_IACFPageTable_V2*> (this);
            return ACF_OK;
        }
        *out = nullptr;
        return ACF_E_NOINTERFACE;
    }
    bool offersVersion2 = true;
    MOCK_METHOD (AAX_Result, PageTableCall3, (void*), (override));
    MOCK_METHOD (AAX_Result, PageTableCall4, (void*), (override));
    MOCK_METHOD (AAX_Result, PageTableCall5, (void*), (override));
    MOCK_METHOD (AAX_Result, PageTableCall6, (void*), (override));
    MOCK_METHOD (AAX_Result, PageTableCall7, (void*), (override));
    MOCK_METHOD (AAX_Result, PageTableCall8, (void*), (override));
    MOCK_METHOD (AAX_Result, PageTableCall9, (void*), (override));
    MOCK_METHOD (AAX_Result, PageTableCall10, (void*), (override));
    MOCK_METHOD (AAX_Result, PageTableCall11, (void*), (override));
    MOCK_METHOD (AAX_Result, PageTableCall12, (void*), (override));
    MOCK_METHOD (AAX_Result, PageTableCall13, (void*), (override));
    MOCK_METHOD (AAX_Result, PageTableCall14, (void*), (override));
    MOCK_METHOD (AAX_Result, PageTableCall15, (void*), (override));
    MOCK_METHOD (AAX_Result, PageTableCall16, (void*), (override));
    MOCK_METHOD (AAX_Result, PageTableCall17, (void*), (override));
    MOCK_METHOD (AAX_Result, PageTableCall18, (void*), (override));
    MOCK_METHOD (AAX_Result, PageTableCall19, (void*), (override));
};

// Creates one object per call of whatever the test put in place.
class MockObjectFactory : public CountedHostObject<AAX_IACFObjectFactory>
{
public:
    using CountedHostObject::CountedHostObject;
    MOCK_METHOD (ACFRESULT, CreateInstance, (const AAX_GUID&, IACFUnknown*, const AAX_GUID&, void**), (override));
};

class MockViewContainer : public CountedHostObject<AAX_IACFViewContainer_V2>
{
public:
    using CountedHostObject::CountedHostObject;
    MOCK_METHOD (int32_t, GetType, (), (override));
    MOCK_METHOD (void*, GetPtr, (), (override));
    MOCK_METHOD (AAX_Result, GetModifiers, (uint32_t*), (override));
    MOCK_METHOD (int32_t, ViewContainerQuery6, (uint32_t), (override));
    MOCK_METHOD (AAX_Result, HandleParameterMouseDown, (AAX_CParamID, uint32_t), (override));
    MOCK_METHOD (AAX_Result, HandleParameterMouseDrag, (AAX_CParamID, uint32_t), (override));
    MOCK_METHOD (AAX_Result, HandleParameterMouseUp, (AAX_CParamID, uint32_t), (override));
    MOCK_METHOD (AAX_Result, ViewContainerCall10, (void*), (override));
    MOCK_METHOD (AAX_Result, ViewContainerCall11, (void*), (override));
    MOCK_METHOD (AAX_Result, ViewContainerCall12, (void*), (override));
};

class MockAutomationDelegate : public CountedHostObject<AAX_IACFAutomationDelegate>
{
public:
    using CountedHostObject::CountedHostObject;
    MOCK_METHOD (AAX_Result, RegisterParameter, (AAX_CParamID), (override));
    MOCK_METHOD (AAX_Result, UnregisterParameter, (AAX_CParamID), (override));
    MOCK_METHOD (AAX_Result, RequestValue, (AAX_CParamID, double), (override));
    MOCK_METHOD (AAX_Result, PostCurrentValue, (AAX_CParamID, double), (override));
    MOCK_METHOD (AAX_Result, TouchParameter, (AAX_CParamID), (override));
    MOCK_METHOD (AAX_Result, ReleaseParameter, (AAX_CParamID), (override));
    MOCK_METHOD (AAX_Result, AutomationCall9, (AAX_CParamID, void*), (override));
};

class MockHostServices : public CountedHostObject<AAX_IACFHostServices_V3>
{
public:
    using CountedHostObject::CountedHostObject;
    MOCK_METHOD (AAX_Result, HostServicesCall3, (void*), (override));
    MOCK_METHOD (AAX_Result, Trace, (uint32_t, const char*), (override));
    MOCK_METHOD (AAX_Result, HostServicesCall5, (void*), (override));
    MOCK_METHOD (AAX_Result, ReportAssertion, (const char*, int32_t, const char*, int32_t), (override));
};
} // namespace

TEST (TransportWrapper, HostWithOnlyVersionOneForwardsItsQueriesAndRefusesTheNewerOnes)
{
    EventLog log;
    StrictMock<MockTransport> transport (log, "transport v1");
    FakeHostUnknown host;
    host.offer (AAX_IID_Transport, &transport);

    AAX_VTransport wrapper (&host);
    EXPECT_CALL (transport, GetCurrentTempo (_)).WillOnce (DoAll (SetArgPointee<0> (123.5), Return (7)));
    double tempo = 0;
    EXPECT_EQ (wrapper.Tempo (&tempo), 7);
    EXPECT_EQ (tempo, 123.5);

    EXPECT_CALL (transport, TransportQuery12 (_)).WillOnce (Return (AAX_SUCCESS));
    int64_t value = 0;
    EXPECT_EQ (wrapper.TransportQuery12 (&value), AAX_SUCCESS);

    int64_t position = 0;
    int32_t rate = 0, offset = 0;
    EXPECT_EQ (wrapper.StoppedSamplePosition (&position), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (wrapper.TimeCodeInfo (&rate, &offset), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (wrapper.TransportQuery16 (&value), AAX_ERROR_UNIMPLEMENTED);
}

TEST (TransportWrapper, WithoutHostEveryQueryFailsAndDeletionReleasesNewestVersionFirst)
{
    AAX_VTransport orphan (nullptr);
    double tempo = 0;
    EXPECT_EQ (orphan.Tempo (&tempo), AAX_ERROR_NULL_OBJECT);

    EventLog log;
    StrictMock<MockTransport> version1 (log, "transport v1");
    StrictMock<MockTransport> version2 (log, "transport v2");
    FakeHostUnknown host;
    host.offer (AAX_IID_Transport, &version1);
    host.offer (AAX_IID_Transport_V2, &version2);
    {
        AAX_VTransport wrapper (&host);
        EXPECT_EQ (version1.references, 1);
        EXPECT_EQ (version2.references, 1);
        EXPECT_CALL (version2, GetStoppedSampleLocation (_)).WillOnce (Return (AAX_SUCCESS));
        int64_t position = 0;
        EXPECT_EQ (wrapper.StoppedSamplePosition (&position), AAX_SUCCESS);
    }
    EXPECT_EQ (log.events, (std::vector<std::string>{ "release transport v2", "release transport v1" }));
    EXPECT_EQ (version1.references, 0);
    EXPECT_EQ (version2.references, 0);
}

TEST (ControllerWrapper, OnANullHostAnswersMissingAndMakesNoPageTables)
{
    AAX_VController controller (nullptr);
    float rate = 0;
    EXPECT_EQ (controller.SampleRate (&rate), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (controller.PostPacket (3, nullptr, 0), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (controller.ControllerCall20 (nullptr, nullptr, nullptr), AAX_ERROR_UNIMPLEMENTED);
    int32_t count = 0;
    EXPECT_EQ (controller.ControllerQuery25 (&count), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (controller.CreatePageTable1 (nullptr, nullptr), nullptr);
    EXPECT_EQ (controller.CreatePageTable2 (nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ (controller.CreatePageTable3 (nullptr, nullptr), nullptr);
    EXPECT_EQ (controller.CreatePageTable4 (nullptr, nullptr, nullptr), nullptr);
}

TEST (ControllerWrapper, OperationTwentyOneWithoutVersionTwoClearsItsOutTarget)
{
    EventLog log;
    StrictMock<MockController> version1 (log, "controller v1");
    FakeHostUnknown host;
    host.offer (AAX_IID_Controller, &version1);
    AAX_VController controller (&host);

    int dummy = 0;
    void* out = &dummy;
    EXPECT_EQ (controller.ControllerCall22 (&out), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (out, nullptr);
    EXPECT_EQ (controller.ControllerCall20 (&dummy), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (controller.ControllerCall24 (&dummy), AAX_ERROR_UNIMPLEMENTED);
}

TEST (ControllerWrapper, EveryOperationReachesItsHostOperation)
{
    EventLog log;
    StrictMock<MockController> controllerObject (log, "controller");
    FakeHostUnknown host;
    host.offer (AAX_IID_Controller, &controllerObject);
    host.offer (AAX_IID_Controller_V2, &controllerObject);
    host.offer (AAX_IID_Controller_V3, &controllerObject);
    AAX_VController controller (&host);

    int a = 0, b = 0, c = 0;
    ::testing::InSequence inOrder;
    EXPECT_CALL (controllerObject, GetSampleRate (_)).WillOnce (DoAll (SetArgPointee<0> (48000.0f), Return (0)));
    EXPECT_CALL (controllerObject, SetSignalLatency (64)).WillOnce (Return (1));
    EXPECT_CALL (controllerObject, PostPacket (3, &a, 4u)).WillOnce (Return (2));
    // The one-argument form passes null for the host's last two arguments.
    EXPECT_CALL (controllerObject, ControllerCall20 (&a, nullptr, nullptr)).WillOnce (Return (3));
    EXPECT_CALL (controllerObject, ControllerCall20 (&a, &b, &c)).WillOnce (Return (4));
    // Operations 16, 17 and 18 reach host operations 18, 16 and 17.
    EXPECT_CALL (controllerObject, ControllerCall18 (&a)).WillOnce (Return (5));
    EXPECT_CALL (controllerObject, ControllerCall16 (&b)).WillOnce (Return (6));
    EXPECT_CALL (controllerObject, ControllerCall17 (&c)).WillOnce (Return (7));
    EXPECT_CALL (controllerObject, ControllerCall22 (_)).WillOnce (Return (8));
    EXPECT_CALL (controllerObject, ControllerCall24 (&a)).WillOnce (Return (9));
    EXPECT_CALL (controllerObject, ControllerCount25 (_)).WillOnce (DoAll (SetArgPointee<0> (2), Return (0)));

    float rate = 0;
    EXPECT_EQ (controller.SampleRate (&rate), 0);
    EXPECT_EQ (rate, 48000.0f);
    EXPECT_EQ (controller.ReportLatency (64), 1);
    EXPECT_EQ (controller.PostPacket (3, &a, 4), 2);
    EXPECT_EQ (controller.ControllerCall20 (&a), 3);
    EXPECT_EQ (controller.ControllerCall20 (&a, &b, &c), 4);
    EXPECT_EQ (controller.ControllerCall18 (&a), 5);
    EXPECT_EQ (controller.ControllerCall16 (&b), 6);
    EXPECT_EQ (controller.ControllerCall17 (&c), 7);
    void* out = nullptr;
    EXPECT_EQ (controller.ControllerCall22 (&out), 8);
    EXPECT_EQ (controller.ControllerCall24 (&a), 9);
    int32_t count = 0;
    EXPECT_EQ (controller.ControllerQuery25 (&count), 0);
    EXPECT_EQ (count, 2);
}

TEST (ControllerWrapper, PageTableFormsFillANewHostTableAndHandBackAWrapperOverIt)
{
    EventLog log;
    StrictMock<MockPageTableFactory> factoryA (log, "factory A");
    StrictMock<MockObjectFactory> objectFactory (log, "object factory");
    StrictMock<MockPageTable> table (log, "page table");
    FakeHostUnknown host;
    host.offer (AAX_IID_PageTableFactoryA, &factoryA);
    host.offer (AAX_IID_ObjectFactory, &objectFactory);

    EXPECT_CALL (objectFactory, CreateInstance (_, nullptr, _, _))
        .Times (2)
        .WillRepeatedly (
            [&] (const AAX_GUID& classId, IACFUnknown*, const AAX_GUID& interfaceId, void** out)
            {
                EXPECT_TRUE (classId == AAX_CLSID_PageTable);
                EXPECT_TRUE (interfaceId == AAX_IID_PageTable_V2);
                table.AddRef();
                *out = static_cast<AAX_IACFPageTable_V2*> (&table);
                return ACF_OK;
            });
    int first = 0, second = 0;
    EXPECT_CALL (factoryA, CopyPageTable3 (&first, &second, static_cast<IACFUnknown*> (&table)))
        .WillOnce (Return (AAX_SUCCESS));
    EXPECT_CALL (factoryA, CopyPageTable4 (&first, &second, nullptr, _)).WillOnce (Return (AAX_ERROR_UNIMPLEMENTED));

    {
        AAX_VController controller (&host);
        std::unique_ptr<AAX_IPageTable> filled (controller.CreatePageTable1 (&first, &second));
        ASSERT_NE (filled, nullptr);
        // The wrapper holds its own references to the two versions; the local one is gone.
        EXPECT_EQ (table.references, 2);
        EXPECT_CALL (table, PageTableCall11 (&first)).WillOnce (Return (11));
        EXPECT_CALL (table, PageTableCall12 (&second)).WillOnce (Return (12));
        EXPECT_EQ (filled->PageTableCall11 (&first), 11);
        EXPECT_EQ (filled->PageTableCall12 (&second), 12);
        filled.reset();
        EXPECT_EQ (table.references, 0);

        // A refusing factory gives no wrapper and keeps no table.
        EXPECT_EQ (controller.CreatePageTable2 (&first, &second, nullptr), nullptr);
        EXPECT_EQ (table.references, 0);
        // Forms 3 and 4 need the second factory, which this host lacks.
        EXPECT_EQ (controller.CreatePageTable3 (&first, &second), nullptr);
    }
    EXPECT_EQ (factoryA.references, 0);
    EXPECT_EQ (objectFactory.references, 0);
}

TEST (PageTableWrapper, WithoutVersionTwoItsOperationsAreUnimplemented)
{
    EventLog log;
    StrictMock<MockPageTable> table (log, "page table");
    table.offersVersion2 = false;
    AAX_VPageTable wrapper (&table);
    EXPECT_CALL (table, PageTableCall3 (nullptr)).WillOnce (Return (0));
    EXPECT_EQ (wrapper.PageTableCall3 (nullptr), 0);
    EXPECT_EQ (wrapper.PageTableCall12 (nullptr), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (wrapper.PageTableCall19 (nullptr), AAX_ERROR_UNIMPLEMENTED);
}

TEST (ViewContainerWrapper, WithoutVersionOneAnswersNeutralValues)
{
    FakeHostUnknown container;
    AAX_VViewContainer wrapper (&container);
    EXPECT_EQ (wrapper.ViewType(), 0);
    EXPECT_EQ (wrapper.NativeView(), nullptr);
    EXPECT_EQ (wrapper.ViewContainerQuery (5), 0);
    uint32_t modifiers = 0;
    EXPECT_EQ (wrapper.KeyModifiers (&modifiers), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (wrapper.ViewContainerCall10 (nullptr), AAX_ERROR_UNIMPLEMENTED);
}

TEST (ViewContainerWrapper, ForwardsAndNeverReleasesTheHostsContainer)
{
    EventLog log;
    StrictMock<MockViewContainer> version1 (log, "container v1");
    StrictMock<MockViewContainer> version2 (log, "container v2");
    FakeHostUnknown container;
    container.offer (AAX_IID_ViewContainer, &version1);
    container.offer (AAX_IID_ViewContainer_V2, &version2);
    int window = 0;
    {
        AAX_VViewContainer wrapper (&container);
        EXPECT_CALL (version1, GetType()).WillOnce (Return (3));
        EXPECT_CALL (version1, GetPtr()).WillOnce (Return (&window));
        EXPECT_CALL (version1, HandleParameterMouseUp (::testing::StrEq ("gain_L"), 2u)).WillOnce (Return (0));
        EXPECT_CALL (version2, ViewContainerCall12 (&window)).WillOnce (Return (12));
        EXPECT_EQ (wrapper.ViewType(), 3);
        EXPECT_EQ (wrapper.NativeView(), &window);
        EXPECT_EQ (wrapper.HandleParameterMouseUp ("gain_L", 2), 0);
        EXPECT_EQ (wrapper.ViewContainerCall12 (&window), 12);
    }
    EXPECT_TRUE (log.events.empty());
}

TEST (AutomationDelegateWrapper, GesturesAndValuesReachTheHostDelegate)
{
    EventLog log;
    StrictMock<MockAutomationDelegate> delegate (log, "delegate");
    FakeHostUnknown host;
    host.offer (AAX_IID_AutomationDelegate, &delegate);
    {
        AAX_VAutomationDelegate wrapper (&host);
        ::testing::InSequence inOrder;
        EXPECT_CALL (delegate, TouchParameter (::testing::StrEq ("gain_L"))).WillOnce (Return (0));
        EXPECT_CALL (delegate, RequestValue (::testing::StrEq ("gain_L"), 0.25)).WillOnce (Return (0));
        EXPECT_CALL (delegate, ReleaseParameter (::testing::StrEq ("gain_L"))).WillOnce (Return (0));
        EXPECT_CALL (delegate, PostCurrentValue (::testing::StrEq ("gain_L"), 0.5)).WillOnce (Return (4));
        EXPECT_EQ (wrapper.Touch ("gain_L"), 0);
        EXPECT_EQ (wrapper.RequestValue ("gain_L", 0.25), 0);
        EXPECT_EQ (wrapper.Release ("gain_L"), 0);
        EXPECT_EQ (wrapper.PostCurrentValue ("gain_L", 0.5), 4);
    }
    EXPECT_EQ (delegate.references, 0);

    AAX_VAutomationDelegate orphan (nullptr);
    EXPECT_EQ (orphan.RegisterParameter ("gain_L"), AAX_ERROR_NULL_OBJECT);
}

class HostServicesWrapper : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EXPECT_CALL (factory, CreateInstance (_, nullptr, _, _))
            .WillRepeatedly (
                [this] (const AAX_GUID& classId, IACFUnknown*, const AAX_GUID& interfaceId, void** out)
                {
                    *out = nullptr;
                    if (! (classId == AAX_CLSID_HostServices))
                        return ACF_E_NOINTERFACE;
                    const bool offered = interfaceId == AAX_IID_HostServices ||
                                         (interfaceId == AAX_IID_HostServices_V3 && offerVersion3);
                    if (! offered)
                        return ACF_E_NOINTERFACE;
                    services.AddRef();
                    *out = static_cast<AAX_IACFHostServices_V3*> (&services);
                    return ACF_OK;
                });
        host.offer (AAX_IID_ObjectFactory, &factory);
    }

    void TearDown() override { AAX_VHostServices::Set (nullptr); }

    EventLog log;
    ::testing::NiceMock<MockObjectFactory> factory{ log, "object factory" };
    StrictMock<MockHostServices> services{ log, "services" };
    FakeHostUnknown host;
    bool offerVersion3 = true;
};

TEST_F (HostServicesWrapper, TracesAndAssertionsReachTheirVersions)
{
    AAX_VHostServices wrapper (&host);
    EXPECT_EQ (factory.references, 0);
    EXPECT_CALL (services, Trace (0x8000000u, ::testing::StrEq ("hello"))).WillOnce (Return (0));
    EXPECT_CALL (services, ReportAssertion (::testing::StrEq ("file.cpp"), 12, ::testing::StrEq ("x"), 1))
        .WillOnce (Return (0));
    EXPECT_EQ (wrapper.Trace (0x8000000u, "hello"), 0);
    EXPECT_EQ (wrapper.ReportAssertion ("file.cpp", 12, "x", 1), 0);
    // Version 2 was refused.
    EXPECT_EQ (wrapper.HostServicesCall5 (nullptr), AAX_ERROR_UNIMPLEMENTED);
}

TEST_F (HostServicesWrapper, WithoutVersionThreeAssertionsAreMissing)
{
    offerVersion3 = false;
    AAX_VHostServices wrapper (&host);
    EXPECT_EQ (wrapper.ReportAssertion ("file.cpp", 12, "x", 1), AAX_ERROR_NULL_OBJECT);
}

TEST_F (HostServicesWrapper, TheFirstInstanceStaysUntilItIsClearedAndTracesReachIt)
{
    EXPECT_EQ (AAX_Trace (0x8000000u, "before %d", 1), 0);
    AAX_VHostServices::Set (&host);
    AAX_IHostServices* const first = AAX_HostServicesInstance::Get();
    ASSERT_NE (first, nullptr);

    FakeHostUnknown secondHost;
    AAX_VHostServices::Set (&secondHost);
    EXPECT_EQ (AAX_HostServicesInstance::Get(), first);

    EXPECT_CALL (services, Trace (0x4000000u, ::testing::StrEq ("code 42"))).WillOnce (Return (5));
    EXPECT_EQ (AAX_Trace (0x4000000u, "code %d", 42), 5);

    AAX_VHostServices::Set (nullptr);
    EXPECT_EQ (AAX_HostServicesInstance::Get(), nullptr);
    EXPECT_EQ (services.references, 0);
    AAX_VHostServices::Set (nullptr);
    EXPECT_EQ (AAX_Trace (0x8000000u, "after"), 0);
}
