#include "TestComponents.h"

#include <gtest/gtest.h>

namespace
{
template <typename Component>
TestHostFacingInterface* queryHostFacing (Component* component, const AAX_GUID& interfaceId)
{
    void* answer = nullptr;
    EXPECT_EQ (component->GetPrivateUnknown()->QueryInterface (interfaceId, &answer), ACF_OK);
    return static_cast<TestHostFacingInterface*> (answer);
}
} // namespace

TEST (Component, GuiQueryTakesFirstReferenceAndReleaseDeletes)
{
    const int32_t before = CACFUnknown::GetActiveObjectCount();
    auto* gui = new TestGuiComponent;
    EXPECT_EQ (CACFUnknown::GetActiveObjectCount(), before + 1);

    TestHostFacingInterface* face = queryHostFacing (gui, AAX_IID_EffectGUI);
    ASSERT_EQ (face, static_cast<TestHostFacingInterface*> (gui));
    EXPECT_EQ (face->Marker(), 1);

    EXPECT_EQ (face->AddRef(), 2u);
    EXPECT_EQ (face->Release(), 1u);
    EXPECT_EQ (face->Release(), 0u);
    EXPECT_EQ (CACFUnknown::GetActiveObjectCount(), before);
}

TEST (Component, EffectAnswersOnePointerForItsFourIdentifiers)
{
    const int32_t before = CACFUnknown::GetActiveObjectCount();
    auto* effect = new TestEffectComponent;
    TestHostFacingInterface* face = queryHostFacing (effect, AAX_IID_EffectParameters);
    ASSERT_NE (face, nullptr);

    for (const AAX_GUID& id : { AAX_IID_EffectParameters_V2, AAX_IID_EffectParameters_V3, AAX_IID_EffectParameters_V4 })
    {
        void* answer = nullptr;
        EXPECT_EQ (face->QueryInterface (id, &answer), ACF_OK);
        EXPECT_EQ (answer, face);
    }
    EXPECT_EQ (face->Release(), 3u);
    EXPECT_EQ (face->Release(), 2u);
    EXPECT_EQ (face->Release(), 1u);
    EXPECT_EQ (face->Release(), 0u);
    EXPECT_EQ (CACFUnknown::GetActiveObjectCount(), before);
}

TEST (Component, UnknownInterfaceAnswersThePrivateUnknownSharingTheCount)
{
    const int32_t before = CACFUnknown::GetActiveObjectCount();
    auto* effect = new TestEffectComponent;
    TestHostFacingInterface* face = queryHostFacing (effect, AAX_IID_EffectParameters);

    void* answer = nullptr;
    EXPECT_EQ (face->QueryInterface (IID_IACFUnknown, &answer), ACF_OK);
    EXPECT_EQ (answer, effect->GetPrivateUnknown());
    EXPECT_NE (answer, static_cast<void*> (face));

    auto* privateUnknown = static_cast<IACFUnknown*> (answer);
    EXPECT_EQ (privateUnknown->Release(), 1u);
    EXPECT_EQ (CACFUnknown::GetActiveObjectCount(), before + 1);
    EXPECT_EQ (face->Release(), 0u);
    EXPECT_EQ (CACFUnknown::GetActiveObjectCount(), before);
}

TEST (Component, ForeignIdentifierAnswersNoInterfaceAndNull)
{
    auto* gui = new TestGuiComponent;
    TestHostFacingInterface* face = queryHostFacing (gui, AAX_IID_EffectGUI);

    for (const AAX_GUID& id : { AAX_IID_EffectParameters, AAX_IID_EffectParameters_V4, AAX_IID_HostServices })
    {
        void* answer = face;
        EXPECT_EQ (face->QueryInterface (id, &answer), ACF_E_NOINTERFACE);
        EXPECT_EQ (answer, nullptr);
    }
    EXPECT_EQ (face->Release(), 0u);
}

TEST (Component, IdentifiersCompareEveryField)
{
    AAX_GUID changed = AAX_IID_EffectGUI;
    EXPECT_EQ (changed, AAX_IID_EffectGUI);
    changed.data4[7] ^= 1;
    EXPECT_NE (changed, AAX_IID_EffectGUI);
    changed = AAX_IID_EffectGUI;
    changed.data3 ^= 1;
    EXPECT_NE (changed, AAX_IID_EffectGUI);
}
