#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CNumberDisplayDelegate.h"
#include "AAX_CString.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

TEST (LinearTaper, UnitRangeClampsAndMaps)
{
    const AAX_CLinearTaperDelegate<float, 0> taper (0.0f, 1.0f);
    EXPECT_EQ (taper.NormalizedToReal (1.5), 1.0f);
    EXPECT_EQ (taper.NormalizedToReal (-0.5), 0.0f);
    EXPECT_EQ (taper.RealToNormalized (-3.0f), 0.0);
    EXPECT_EQ (taper.RealToNormalized (0.25f), 0.25);
    EXPECT_EQ (taper.ConstrainRealValue (0.75f), 0.75f);
}

TEST (LinearTaper, ReversedBoundsRunDownwards)
{
    const AAX_CLinearTaperDelegate<float, 0> taper (10.0f, 0.0f);
    EXPECT_EQ (taper.MinimumValue(), 10.0f);
    EXPECT_EQ (taper.MaximumValue(), 0.0f);
    EXPECT_EQ (taper.NormalizedToReal (0.25), 7.5f);
    EXPECT_EQ (taper.RealToNormalized (7.5f), 0.25);
    EXPECT_EQ (taper.ConstrainRealValue (12.0f), 10.0f);
    EXPECT_EQ (taper.ConstrainRealValue (-1.0f), 0.0f);
}

TEST (LinearTaper, EqualBoundsConstrainToTheBound)
{
    const AAX_CLinearTaperDelegate<float, 0> taper (2.0f, 2.0f);
    EXPECT_EQ (taper.ConstrainRealValue (-5.0f), 2.0f);
    EXPECT_EQ (taper.ConstrainRealValue (7.0f), 2.0f);
    EXPECT_EQ (taper.NormalizedToReal (0.9), 2.0f);
    EXPECT_EQ (taper.RealToNormalized (2.0f), 0.5);
    EXPECT_EQ (taper.RealToNormalized (9.0f), 0.5);
}

TEST (LinearTaper, CloneKeepsBothBounds)
{
    const AAX_CLinearTaperDelegate<float, 0> taper (-12.0f, 12.0f);
    const std::unique_ptr<AAX_ITaperDelegate<float>> clone (taper.Clone());
    EXPECT_EQ (clone->MinimumValue(), -12.0f);
    EXPECT_EQ (clone->MaximumValue(), 12.0f);
    EXPECT_EQ (clone->NormalizedToReal (0.5), 0.0f);
}

TEST (NumberDisplay, CutsToTheMaximumAndDropsATrailingPoint)
{
    const AAX_CNumberDisplayDelegate<float, 3, 0> display;
    AAX_CString text ("old");
    EXPECT_TRUE (display.ValueToString (0.5f, 4, &text));
    EXPECT_STREQ (text.CString(), "0.50");
    EXPECT_TRUE (display.ValueToString (0.5f, 2, &text));
    EXPECT_STREQ (text.CString(), "0");
    EXPECT_TRUE (display.ValueToString (0.5f, 0, &text));
    EXPECT_STREQ (text.CString(), "");
    EXPECT_TRUE (display.ValueToString (0.5f, -3, &text));
    EXPECT_STREQ (text.CString(), "");
    EXPECT_TRUE (display.ValueToString (0.5f, 10, &text));
    EXPECT_STREQ (text.CString(), "0.500");
    EXPECT_TRUE (display.ValueToString (-12.0f, 4, &text));
    EXPECT_STREQ (text.CString(), "-12");
    EXPECT_TRUE (display.ValueToString (0.25f, &text));
    EXPECT_STREQ (text.CString(), "0.250");
    EXPECT_TRUE (display.ValueToString (12345.0f, &text));
    EXPECT_STREQ (text.CString(), "12345.000");
}

TEST (NumberDisplay, ReadsALeadingNumberOnly)
{
    const AAX_CNumberDisplayDelegate<float, 3, 0> display;
    float value = -1.0f;
    EXPECT_TRUE (display.StringToValue (AAX_CString ("  0.75abc"), &value));
    EXPECT_EQ (value, 0.75f);

    value = -1.0f;
    EXPECT_FALSE (display.StringToValue (AAX_CString ("x1"), &value));
    EXPECT_EQ (value, 0.0f);
    value = -1.0f;
    EXPECT_FALSE (display.StringToValue (AAX_CString (""), &value));
    EXPECT_EQ (value, 0.0f);
}

TEST (NumberDisplay, RefusesTextThatIsNotAFiniteFloat)
{
    const AAX_CNumberDisplayDelegate<float, 3, 0> display;
    for (const char* text : { "nan", "inf", "-inf", "1e300", "1e999" })
    {
        float value = -1.0f;
        EXPECT_FALSE (display.StringToValue (AAX_CString (text), &value)) << text;
        EXPECT_EQ (value, 0.0f) << text;
    }
}

TEST (HostString, ConstructionAndAssignment)
{
    EXPECT_STREQ (AAX_CString (nullptr).CString(), "");
    EXPECT_EQ (AAX_CString (nullptr).Length(), 0u);
    EXPECT_EQ (AAX_CString().MaxLength(), 4294967294u);
    EXPECT_EQ (AAX_CString ("abc").MaxLength(), 4294967294u);

    // Assigned to itself through a reference, which the compiler does not flag.
    AAX_CString text ("gain");
    const AAX_CString& sameText = text;
    text = sameText;
    EXPECT_STREQ (text.CString(), "gain");

    const AAX_IString& asInterface = text;
    const AAX_CString copied (asInterface);
    EXPECT_STREQ (copied.CString(), "gain");

    AAX_CString other;
    EXPECT_EQ (&other.AssignString (text), &other);
    EXPECT_STREQ (other.CString(), "gain");
    EXPECT_EQ (&other.AssignCString ("trim"), &other);
    EXPECT_STREQ (other.CString(), "trim");
    EXPECT_EQ (other.Length(), 4u);
    other.SetCString (nullptr);
    EXPECT_STREQ (other.CString(), "");
}

TEST (HostString, EraseKeepsWhatIsLeft)
{
    AAX_CString text ("abcdef");
    text.Erase (1, 2);
    EXPECT_STREQ (text.CString(), "adef");
    text.Erase (2, 100);
    EXPECT_STREQ (text.CString(), "ad");
    text.Erase (2, 1);
    EXPECT_STREQ (text.CString(), "ad");
    EXPECT_THROW (text.Erase (3, 1), std::out_of_range);
}

TEST (HostString, NumbersInFixedThreeDecimals)
{
    AAX_CString text ("v=");
    text.NumberToText (-12.0);
    EXPECT_STREQ (text.CString(), "v=-12.000");

    AAX_CString large;
    large.NumberToText (1234567.0);
    EXPECT_STREQ (large.CString(), "1234567.000");

    double value = -1.0;
    EXPECT_TRUE (AAX_CString ("\t 3.5e1 dB").TextToNumber (value));
    EXPECT_EQ (value, 35.0);
    EXPECT_FALSE (AAX_CString ("dB").TextToNumber (value));
    EXPECT_EQ (value, 0.0);
}
