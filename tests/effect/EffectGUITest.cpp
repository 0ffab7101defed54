#include "FakeEffectHost.h"
#include "TestEffect.h"
#include "VirtualSlot.h"

#include "AAX_CEffectGUI.h"
#include "AAX_Errors.h"
#include "AAX_IACFViewContainer.h"
#include "AAX_ITransport.h"
#include "AAX_IViewContainer.h"
#include "AAX_InterfaceIDs.h"
#include "AAX_VController.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace
{
// A GUI object that records what the base asks of it.
class RecordingGUI final : public AAX_CEffectGUI
{
public:
    explicit RecordingGUI (std::vector<std::string>& eventLog)
        : events (eventLog)
    {
    }

    AAX_Result OnParameterUpdated (AAX_CParamID identifier) override
    {
        events.push_back (std::string ("updated ") + identifier);
        return AAX_SUCCESS;
    }

    using AAX_CEffectGUI::GetController;
    using AAX_CEffectGUI::GetEffectParameters;
    using AAX_CEffectGUI::GetViewContainer;
    using AAX_CEffectGUI::Transport;

    void BuildViewContents() override { events.push_back ("build"); }
    void AttachView() override
    {
        auto* view = GetViewContainer();
        events.push_back ("attach " + std::to_string (reinterpret_cast<uintptr_t> (view->NativeView())));
    }
    void DetachView() override { events.push_back ("detach"); }

private:
    std::vector<std::string>& events;
};

// A host view container: version 1 only; counts the references held on it.
class FakeViewContainer final : public AAX_IACFViewContainer
{
public:
    explicit FakeViewContainer (uintptr_t window)
        : nativeWindow (window)
    {
    }

    ACFRESULT QueryInterface (const AAX_GUID& id, void** out) override
    {
        *out = nullptr;
        if (id != AAX_IID_ViewContainer && id != IID_IACFUnknown)
            return ACF_E_NOINTERFACE;
        *out = static_cast<AAX_IACFViewContainer*> (this);
        ++references;
        return ACF_OK;
    }
    uint32_t AddRef() override { return uint32_t (++references); }
    uint32_t Release() override
    {
        ++releases;
        return uint32_t (--references);
    }

    int32_t GetType() override { return AAX_ViewContainerType_NativeWindow; }
    void* GetPtr() override { return reinterpret_cast<void*> (nativeWindow); }
    AAX_Result GetModifiers (uint32_t*) override { return AAX_ERROR_UNIMPLEMENTED; }
    int32_t ViewContainerQuery6 (uint32_t) override { return 0; }
    AAX_Result HandleParameterMouseDown (AAX_CParamID, uint32_t) override { return AAX_ERROR_UNIMPLEMENTED; }
    AAX_Result HandleParameterMouseDrag (AAX_CParamID, uint32_t) override { return AAX_ERROR_UNIMPLEMENTED; }
    AAX_Result HandleParameterMouseUp (AAX_CParamID, uint32_t) override { return AAX_ERROR_UNIMPLEMENTED; }

    int references = 0;
    int releases = 0;

private:
    uintptr_t nativeWindow;
};

// The unknown a host hands to a GUI object: its controller and transport, and the effect of the
// same insert.
class FakeGUIHost final : public IACFUnknown
{
public:
    FakeGUIHost (FakeEffectHost& services, IACFUnknown* insertEffect)
        : host (services)
        , effect (insertEffect)
    {
    }

    ACFRESULT QueryInterface (const AAX_GUID& id, void** out) override
    {
        if (id == AAX_IID_EffectParameters)
        {
            if (effect != nullptr)
                return effect->QueryInterface (id, out);
            *out = nullptr;
            return ACF_E_NOINTERFACE;
        }
        return host.QueryInterface (id, out);
    }
    uint32_t AddRef() override { return 1; }
    uint32_t Release() override { return 1; }

private:
    FakeEffectHost& host;
    IACFUnknown* effect;
};

// A GUI object on a fake host whose insert has `parameterCount` parameters "p0", "p1", ...
class EffectGUIFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto* created = new TestEffect();
        for (int i = 0; i < parameterCount; ++i)
            created->addParameter (unitParameter (names.emplace_back ("p" + std::to_string (i)).c_str(), 0.5f));
        void* face = nullptr;
        ASSERT_EQ (created->GetPrivateUnknown()->QueryInterface (AAX_IID_EffectParameters, &face), ACF_OK);
        effect = static_cast<AAX_IEffectParameters*> (face);
        ASSERT_EQ (effect->InitializeWithHost (effectHost.unknown()), AAX_SUCCESS);

        gui = new RecordingGUI (events);
        void* guiFace = nullptr;
        ASSERT_EQ (gui->QueryInterface (AAX_IID_EffectGUI, &guiFace), ACF_OK);
        ASSERT_EQ (guiFace, static_cast<AAX_IEffectGUI*> (gui));
    }

    void TearDown() override
    {
        if (gui != nullptr)
        {
            EXPECT_EQ (gui->Release(), 0u);
        }
        effect->TearDown();
        EXPECT_EQ (effect->Release(), 0u);
        EXPECT_EQ (effectHost.references, 0);
    }

    std::vector<std::string> expectedUpdates() const
    {
        std::vector<std::string> updates;
        for (const auto& name : names)
            updates.push_back ("updated " + name);
        return updates;
    }

    static std::vector<std::string> plus (std::vector<std::string> first, const std::vector<std::string>& second)
    {
        first.insert (first.end(), second.begin(), second.end());
        return first;
    }

    static constexpr int parameterCount = 59;
    std::vector<std::string> names = []
    {
        std::vector<std::string> reserved;
        reserved.reserve (parameterCount);
        return reserved;
    }();
    std::vector<std::string> events;
    FakeEffectHost effectHost;
    AAX_IEffectParameters* effect = nullptr;
    RecordingGUI* gui = nullptr;
};
} // namespace

#if defined(__GNUC__) && ! defined(_MSC_VER)
TEST (EffectGUISlotOrder, OperationsTakeTheirPlacesFromQueryInterfaceToTheParameterNotice)
{
    using G = RecordingGUI;
    const std::vector<long> slots{
        slotOf (&G::QueryInterface),
        slotOf (&G::AddRef),
        slotOf (&G::Release),
        slotOf (&G::InitializeWithHost),
        slotOf (&G::TearDown),
        slotOf (&G::GUICall5),
        slotOf (&G::SetViewContainer),
        slotOf (&G::ReportViewSize),
        slotOf (&G::GUICall8),
        slotOf (&G::GUICall9),
        slotOf (&G::OnParameterUpdated),
        slotOf (&G::GUICall11),
        slotOf (&G::HighlightControl),
        slotOf (&G::BuildViewContents),
        slotOf (&G::AttachView),
        slotOf (&G::DetachView),
        slotOf (&G::NotifyAllParametersUpdated),
    };
    for (size_t order = 0; order < slots.size(); ++order)
        EXPECT_EQ (slots[order], long (order)) << "operation " << order;
}
#endif

TEST_F (EffectGUIFixture, InitialisationObtainsTheHostServicesAndTheInsertsEffectThenBuildsTheView)
{
    FakeGUIHost host (effectHost, effect);
    const int heldByTheEffect = effectHost.references;
    ASSERT_EQ (gui->InitializeWithHost (&host), AAX_SUCCESS);
    EXPECT_EQ (events, std::vector<std::string>{ "build" });
    EXPECT_EQ (effectHost.references, heldByTheEffect + 2);
    ASSERT_NE (gui->GetController(), nullptr);
    float rate = 0.0f;
    EXPECT_EQ (gui->GetController()->SampleRate (&rate), AAX_SUCCESS);
    EXPECT_EQ (rate, 48000.0f);
    ASSERT_NE (gui->Transport(), nullptr);
    double tempo = 0.0;
    EXPECT_EQ (gui->Transport()->Tempo (&tempo), AAX_SUCCESS);
    EXPECT_EQ (gui->GetEffectParameters(), effect);

    // Tearing down twice: the second finds nothing to release.
    for (int round = 0; round < 2; ++round)
    {
        EXPECT_EQ (gui->TearDown(), AAX_SUCCESS);
        EXPECT_EQ (gui->GetEffectParameters(), nullptr);
        EXPECT_EQ (gui->GetController(), nullptr);
        EXPECT_EQ (gui->Transport(), nullptr);
        EXPECT_EQ (effectHost.references, heldByTheEffect) << "round " << round;
    }
    EXPECT_EQ (events, std::vector<std::string>{ "build" });
}

TEST_F (EffectGUIFixture, WithoutAHostInitialisationFailsBeforeTransportAndView)
{
    EXPECT_EQ (gui->InitializeWithHost (nullptr), AAX_ERROR_NOT_INITIALIZED);
    EXPECT_NE (gui->GetController(), nullptr);
    EXPECT_EQ (gui->Transport(), nullptr);
    EXPECT_EQ (gui->GetEffectParameters(), nullptr);
    EXPECT_TRUE (events.empty());
}

TEST_F (EffectGUIFixture, AttachingNotifiesEveryParameterInIndexOrder)
{
    FakeGUIHost host (effectHost, effect);
    ASSERT_EQ (gui->InitializeWithHost (&host), AAX_SUCCESS);
    FakeViewContainer first (0x1001);
    FakeViewContainer second (0x2002);

    // Null with nothing attached still detaches once.
    EXPECT_EQ (gui->SetViewContainer (nullptr), AAX_SUCCESS);
    EXPECT_EQ (gui->SetViewContainer (&first), AAX_SUCCESS);
    // A second container replaces the first, then attaches and notifies again.
    EXPECT_EQ (gui->SetViewContainer (&second), AAX_SUCCESS);
    ASSERT_NE (gui->GetViewContainer(), nullptr);
    EXPECT_EQ (gui->GetViewContainer()->NativeView(), reinterpret_cast<void*> (0x2002));
    EXPECT_EQ (gui->GetViewContainer()->ViewType(), AAX_ViewContainerType_NativeWindow);
    EXPECT_EQ (gui->TearDown(), AAX_SUCCESS);
    EXPECT_EQ (gui->GetViewContainer(), nullptr);

    const auto expected =
        plus (plus (plus ({ "build", "detach", "attach 4097" }, expectedUpdates()), { "attach 8194" }),
              plus (expectedUpdates(), { "detach" }));
    EXPECT_EQ (events, expected);
    // The container belongs to the host: the plug-in never releases it.
    EXPECT_EQ (first.releases, 0);
    EXPECT_EQ (second.releases, 0);
}

TEST_F (EffectGUIFixture, WithoutTheInsertsEffectAttachingNotifiesNothing)
{
    FakeGUIHost host (effectHost, nullptr);
    ASSERT_EQ (gui->InitializeWithHost (&host), AAX_SUCCESS);
    FakeViewContainer container (7);
    EXPECT_EQ (gui->SetViewContainer (&container), AAX_SUCCESS);
    EXPECT_EQ (gui->SetViewContainer (nullptr), AAX_SUCCESS);
    EXPECT_EQ (events, (std::vector<std::string>{ "build", "attach 7", "detach" }));
}

TEST_F (EffectGUIFixture, DestructionWithAViewStillAttachedNeitherDetachesNorLeaks)
{
    FakeGUIHost host (effectHost, effect);
    ASSERT_EQ (gui->InitializeWithHost (&host), AAX_SUCCESS);
    FakeViewContainer container (9);
    ASSERT_EQ (gui->SetViewContainer (&container), AAX_SUCCESS);
    events.clear();

    EXPECT_EQ (gui->Release(), 0u);
    gui = nullptr;
    EXPECT_TRUE (events.empty());
    EXPECT_EQ (container.releases, 0);
    // The effect's reference went with the object.
    EXPECT_EQ (effect->AddRef(), 2u);
    EXPECT_EQ (effect->Release(), 1u);
}

TEST_F (EffectGUIFixture, FixedAnswersOfTheBase)
{
    AAX_ViewSize size{ 1.0f, 2.0f };
    EXPECT_EQ (gui->ReportViewSize (&size), AAX_SUCCESS);
    EXPECT_EQ (size.height, 1.0f);
    EXPECT_EQ (size.width, 2.0f);

    const struct
    {
        const char* call;
        AAX_Result result;
    } table[] = {
        { "call 5", gui->GUICall5() },
        { "call 8", gui->GUICall8 (nullptr) },
        { "call 9", gui->GUICall9 (nullptr) },
        { "call 11", gui->GUICall11 (nullptr) },
        { "highlight", gui->HighlightControl ("p0", true, 0xFF00FF00u) },
        { "parameter updated", gui->AAX_CEffectGUI::OnParameterUpdated ("p0") },
    };
    const AAX_Result expected[] = { AAX_SUCCESS,           AAX_SUCCESS, AAX_SUCCESS,
                                    AAX_ERROR_NULL_OBJECT, AAX_SUCCESS, AAX_SUCCESS };
    for (size_t i = 0; i < std::size (table); ++i)
        EXPECT_EQ (table[i].result, expected[i]) << table[i].call;

    // The GUI object answers its own interface and the unknown, not the effect's.
    void* refused = gui;
    EXPECT_EQ (gui->QueryInterface (AAX_IID_EffectParameters, &refused), ACF_E_NOINTERFACE);
    EXPECT_EQ (refused, nullptr);
}
