#include "AAX_CEffectParameters.h"
#include "VirtualSlot.h"

#include <gtest/gtest.h>

#include <vector>

// The host calls the effect-parameters object by the places of its operations.

#if defined(__GNUC__) && ! defined(_MSC_VER)

TEST (EffectSlotOrder, OperationsTakeTheirPlacesFromQueryInterfaceToTheInitHook)
{
    using E = AAX_CEffectParameters;
    const std::vector<long> slots{
        slotOf (&E::QueryInterface),
        slotOf (&E::AddRef),
        slotOf (&E::Release),
        slotOf (&E::InitializeWithHost),
        slotOf (&E::TearDown),
        slotOf (&E::HandleNotification),
        slotOf (&E::ParameterCount),
        slotOf (&E::MasterBypassIdentifier),
        slotOf (&E::IsParameterAutomatable),
        slotOf (&E::ParameterStepCount),
        slotOf (&E::ParameterName),
        slotOf (&E::ParameterAbbreviatedName),
        slotOf (&E::ParameterDefaultNormalizedValue),
        slotOf (&E::SetParameterDefaultNormalizedValue),
        slotOf (&E::ParameterType),
        slotOf (&E::ParameterOrientation),
        slotOf (&E::ParameterById),
        slotOf (&E::ParameterIndexById),
        slotOf (&E::ParameterIdByIndex),
        slotOf (&E::ParameterValueInfo),
        slotOf (&E::NormalizedValueFromString),
        slotOf (&E::StringFromNormalizedValue),
        slotOf (&E::ParameterValueString),
        slotOf (&E::ParameterNormalizedValue),
        slotOf (&E::SetParameterNormalizedValue),
        slotOf (&E::SetParameterNormalizedRelative),
        slotOf (&E::TouchParameter),
        slotOf (&E::ReleaseParameter),
        slotOf (&E::EffectCall28),
        slotOf (&E::UpdateParameterNormalizedValue),
        slotOf (&E::UpdateParameterNormalizedRelative),
        slotOf (&E::DispatchPackets),
        slotOf (&E::ZeroFieldData),
        slotOf (&E::ChunkCount),
        slotOf (&E::ChunkIdAtIndex),
        slotOf (&E::ChunkSizeForId),
        slotOf (&E::WriteChunk),
        slotOf (&E::ApplyChunk),
        slotOf (&E::CompareWithChunk),
        slotOf (&E::ParameterChangeCount),
        slotOf (&E::EffectCall40),
        slotOf (&E::TypedQuery41),
        slotOf (&E::EffectCall42),
        slotOf (&E::EffectCall43),
        slotOf (&E::EffectCall44),
        slotOf (&E::EffectCall45),
        slotOf (&E::EffectCall46),
        slotOf (&E::EffectCall47),
        slotOf (&E::TypedQuery48),
        slotOf (&E::TypedQuery49),
        slotOf (&E::UpdatePageTable),
        slotOf (&E::CustomizePageTable),
        slotOf (&E::EffectInitHook),
    };
    ASSERT_EQ (slots.size(), 53u);
    for (size_t order = 0; order < slots.size(); ++order)
        EXPECT_EQ (slots[order], long (order)) << "operation " << order;
}

#endif
