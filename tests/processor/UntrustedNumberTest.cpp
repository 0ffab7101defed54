#include "UntrustedNumber.h"

#include <gtest/gtest.h>

TEST (UntrustedNumberTest, ReadsDecimalTextAsTheFrameworkDoes)
{
    EXPECT_EQ (parseUntrustedNumber ("0.6242951"), 0.6242951);
    EXPECT_EQ (parseUntrustedNumber ("  -2.5e+3 dB"), -2500.0);
    EXPECT_EQ (parseUntrustedNumber ("1E-2"), 0.01);
    EXPECT_EQ (parseUntrustedNumber ("1e0000000000000003"), 1000.0); // the exponent's leading zeros
    EXPECT_EQ (parseUntrustedNumber (".5e"), 0.5);                   // an exponent without digits is not read
    EXPECT_EQ (parseUntrustedNumber ("abc"), 0.0);
    EXPECT_EQ (parseUntrustedNumber ("-"), 0.0);
    EXPECT_EQ (parseUntrustedNumber (""), 0.0);
}

TEST (UntrustedNumberTest, LongExponentsStayOutOfRangeInsteadOfWrapping)
{
    // 4294967297 wraps to 1 in a 32-bit int; 375755310 * 10 overflows it.
    EXPECT_EQ (parseUntrustedNumber ("1e4294967297"), std::nullopt);
    EXPECT_EQ (parseUntrustedNumber ("-7.5e3757553100"), std::nullopt);
    EXPECT_EQ (parseUntrustedNumber ("1e-4294967297"), 0.0);
    EXPECT_EQ (parseUntrustedNumber ("1e400"), std::nullopt);
    EXPECT_EQ (parseUntrustedNumber ("1e4294967297 and more"), std::nullopt);
}

TEST (UntrustedNumberTest, LongDigitRunsKeepTheirScale)
{
    // Past a thousand integer digits JUCE's reader drops the scale and reads about 1e17.
    for (const int zeros : { 400, 1100, 5000 })
        EXPECT_EQ (parseUntrustedNumber ("1" + juce::String::repeatedString ("0", zeros)), std::nullopt) << zeros;

    EXPECT_EQ (parseUntrustedNumber ("0." + juce::String::repeatedString ("0", 5000) + "1"), 0.0);
    EXPECT_EQ (parseUntrustedNumber ("1" + juce::String::repeatedString ("0", 300) + "e-300"), 1.0);
}

TEST (UntrustedNumberTest, NonFiniteAndBeyondFloatRangeAreEmpty)
{
    for (const auto* text : { "nan", "inf", "-inf", "1e39", "-3.5e38" })
        EXPECT_EQ (parseUntrustedFloat (text), std::nullopt) << text;

    EXPECT_EQ (parseUntrustedNumber ("1e39"), 1e39);
    EXPECT_EQ (parseUntrustedFloat ("3.4e38"), 3.4e38f);
    EXPECT_EQ (parseUntrustedFloat ("-12"), -12.0f);
}
