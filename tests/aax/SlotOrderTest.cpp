#include "AAX_CString.h"
#include "AAX_IAutomationDelegate.h"
#include "AAX_IDisplayDelegate.h"
#include "AAX_IHostServices.h"
#include "AAX_IParameter.h"
#include "AAX_IParameterValue.h"
#include "AAX_ITaperDelegate.h"
#include "CACFUnknown.h"
#include "VirtualSlot.h"

#include <gtest/gtest.h>

#include <vector>

// The host and the plug-in agree on interfaces by the order of their virtual operations; a virtual
// destructor takes the first two slots.

#if defined(__GNUC__) && ! defined(_MSC_VER)

namespace
{
void expectConsecutiveFrom (long first, const std::vector<long>& slots)
{
    for (size_t i = 0; i < slots.size(); ++i)
        EXPECT_EQ (slots[i], first + long (i)) << "operation " << i;
}
} // namespace

TEST (SlotOrder, HostParameter)
{
    using P = AAX_IParameter;
    expectConsecutiveFrom (
        2, { slotOf (&P::CloneValue),
             slotOf (&P::Identifier),
             slotOf (&P::SetName),
             slotOf (&P::Name),
             slotOf (&P::AddShortenedName),
             slotOf (&P::ShortenedName),
             slotOf (&P::ClearShortenedNames),
             slotOf (&P::IsAutomatable),
             slotOf (&P::SetAutomationDelegate),
             slotOf (&P::Touch),
             slotOf (&P::Release),
             slotOf (&P::SetNormalizedValue),
             slotOf (&P::NormalizedValue),
             slotOf (&P::SetNormalizedDefaultValue),
             slotOf (&P::NormalizedDefaultValue),
             slotOf (&P::SetToDefaultValue),
             slotOf (&P::SetStepCount),
             slotOf (&P::StepCount),
             slotOf (&P::StepValue),
             slotOf (&P::NormalizedValueFromStep),
             slotOf (&P::StepValueFromNormalized),
             slotOf (&P::SetStepValue),
             slotOf (static_cast<bool (P::*) (int32_t, AAX_CString*) const> (&P::ValueString)),
             slotOf (static_cast<bool (P::*) (AAX_CString*) const> (&P::ValueString)),
             slotOf (&P::NormalizedValueFromBool),
             slotOf (&P::NormalizedValueFromInt32),
             slotOf (&P::NormalizedValueFromFloat),
             slotOf (&P::NormalizedValueFromDouble),
             slotOf (&P::NormalizedValueFromString),
             slotOf (&P::BoolFromNormalizedValue),
             slotOf (&P::Int32FromNormalizedValue),
             slotOf (&P::FloatFromNormalizedValue),
             slotOf (&P::DoubleFromNormalizedValue),
             slotOf (static_cast<bool (P::*) (double, int32_t, AAX_CString*) const> (&P::StringFromNormalizedValue)),
             slotOf (static_cast<bool (P::*) (double, AAX_CString*) const> (&P::StringFromNormalizedValue)),
             slotOf (&P::SetValueFromString),
             slotOf (&P::ValueAsBool),
             slotOf (&P::ValueAsInt32),
             slotOf (&P::ValueAsFloat),
             slotOf (&P::ValueAsDouble),
             slotOf (&P::ValueAsString),
             slotOf (&P::SetValueFromBool),
             slotOf (&P::SetValueFromInt32),
             slotOf (&P::SetValueFromFloat),
             slotOf (&P::SetValueFromDouble),
             slotOf (&P::SetValueFromIString),
             slotOf (&P::SetType),
             slotOf (&P::Type),
             slotOf (&P::SetOrientation),
             slotOf (&P::Orientation),
             slotOf (&P::SetTaperDelegate),
             slotOf (&P::SetDisplayDelegate),
             slotOf (&P::UpdateNormalizedValue) });
}

TEST (SlotOrder, ValueStringTaperAndDisplay)
{
    using V = AAX_IParameterValue;
    expectConsecutiveFrom (2, { slotOf (&V::Clone), slotOf (&V::Identifier), slotOf (&V::ValueAsBool),
                                slotOf (&V::ValueAsInt32), slotOf (&V::ValueAsFloat), slotOf (&V::ValueAsDouble),
                                slotOf (&V::ValueAsString) });

    using S = AAX_IString;
    expectConsecutiveFrom (2, { slotOf (&S::Length), slotOf (&S::MaxLength), slotOf (&S::CString),
                                slotOf (&S::SetCString), slotOf (&S::AssignCString), slotOf (&S::AssignString) });

    using T = AAX_ITaperDelegate<float>;
    expectConsecutiveFrom (2, { slotOf (&T::Clone), slotOf (&T::MaximumValue), slotOf (&T::MinimumValue),
                                slotOf (&T::ConstrainRealValue), slotOf (&T::NormalizedToReal),
                                slotOf (&T::RealToNormalized) });

    using D = AAX_IDisplayDelegate<float>;
    expectConsecutiveFrom (2,
                           { slotOf (&D::Clone),
                             slotOf (static_cast<bool (D::*) (float, int32_t, AAX_CString*) const> (&D::ValueToString)),
                             slotOf (static_cast<bool (D::*) (float, AAX_CString*) const> (&D::ValueToString)),
                             slotOf (&D::StringToValue) });
}

TEST (SlotOrder, ComponentBaseAndHostServices)
{
    expectConsecutiveFrom (
        0, { slotOf (&IACFUnknown::QueryInterface), slotOf (&IACFUnknown::AddRef), slotOf (&IACFUnknown::Release) });

    expectConsecutiveFrom (2, { slotOf (&CACFUnknown::InitializeInstance), slotOf (&CACFUnknown::FinalRelease),
                                slotOf (&CACFUnknown::DeleteThis), slotOf (&CACFUnknown::InternalQueryInterface),
                                slotOf (&CACFUnknown::InternalAddRef), slotOf (&CACFUnknown::InternalRelease) });

    using A = AAX_IAutomationDelegate;
    expectConsecutiveFrom (2, { slotOf (&A::RegisterParameter), slotOf (&A::UnregisterParameter),
                                slotOf (&A::RequestValue), slotOf (&A::PostCurrentValue), slotOf (&A::Touch),
                                slotOf (&A::Release), slotOf (&A::AutomationCall9) });

    using H = AAX_IHostServices;
    expectConsecutiveFrom (2, { slotOf (&H::ReportAssertion), slotOf (&H::Trace), slotOf (&H::HostServicesCall5) });
}

#endif
