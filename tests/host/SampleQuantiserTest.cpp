#include "SampleQuantiser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace
{
// An amount in steps of a depth: `ofFullScale` times 2^(bits - 1), plus `steps`.
struct Amount
{
    double ofFullScale;
    double steps;

    double at (int bits) const { return ofFullScale * std::ldexp (1.0, bits - 1) + steps; }
};

struct Case
{
    const char* name;
    Amount sample;
    Amount written;
    bool clipped;
};

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

// Full scale is one step above the largest integer: +1.0 exactly clips there, -1.0 does not.
const Case cases[] = {
    { "+0.4 step", { 0, 0.4 }, { 0, 0 }, false },
    { "-0.4 step", { 0, -0.4 }, { 0, 0 }, false },
    { "+0.6 step", { 0, 0.6 }, { 0, 1 }, false },
    { "-0.6 step", { 0, -0.6 }, { 0, -1 }, false },
    { "+100.4 steps", { 0, 100.4 }, { 0, 100 }, false },
    { "-100.6 steps", { 0, -100.6 }, { 0, -101 }, false },
    { "the largest integer", { 1, -1 }, { 1, -1 }, false },
    { "-1.0", { -1, 0 }, { -1, 0 }, false },
    { "+1.0", { 1, 0 }, { 1, -1 }, true },
    { "half a step above the largest", { 1, -0.5 }, { 1, -1 }, true },
    { "a step below -1.0", { -1, -1 }, { -1, 0 }, true },
    { "+1.5", { 1.5, 0 }, { 1, -1 }, true },
    { "-1.5", { -1.5, 0 }, { -1, 0 }, true },
    { "+infinity", { std::numeric_limits<double>::infinity(), 0 }, { 1, -1 }, true },
    { "NaN", { notANumber, 0 }, { 0, 0 }, false },
};

float sampleOf (const Case& c, int bits)
{
    return static_cast<float> (c.sample.at (bits) / std::ldexp (1.0, bits - 1));
}

// What the writers take: the step in the top `bits` bits.
int32_t integerOf (const Case& c, int bits)
{
    return static_cast<int32_t> (static_cast<int64_t> (c.written.at (bits)) * (int64_t{ 1 } << (32 - bits)));
}

class SampleQuantiserTest : public testing::TestWithParam<int>
{
};

TEST_P (SampleQuantiserTest, RoundsToTheNearestStepAndClipsBeyondTheIntegers)
{
    const int bits = GetParam();
    for (const Case& c : cases)
    {
        const float sample = sampleOf (c, bits);
        int32_t integer = 0x5A5A5A5A;
        const int clipped = quantiseSamples (&sample, &integer, 1, bits);
        EXPECT_EQ (integer, integerOf (c, bits)) << c.name << " at " << bits << " bits";
        EXPECT_EQ (clipped, c.clipped ? 1 : 0) << c.name << " at " << bits << " bits";
    }
}

TEST_P (SampleQuantiserTest, CountsEveryClippedSampleOfABuffer)
{
    const int bits = GetParam();
    std::vector<float> samples;
    std::vector<int32_t> expected;
    int expectedClipped = 0;
    // Each case twice, so that a count kept per value or capped at one shows.
    for (int round = 0; round < 2; ++round)
        for (const Case& c : cases)
        {
            samples.push_back (sampleOf (c, bits));
            expected.push_back (integerOf (c, bits));
            expectedClipped += c.clipped ? 1 : 0;
        }

    std::vector<int32_t> integers (samples.size());
    EXPECT_EQ (quantiseSamples (samples.data(), integers.data(), static_cast<int> (samples.size()), bits),
               expectedClipped);
    EXPECT_EQ (integers, expected);
}

INSTANTIATE_TEST_SUITE_P (Depths, SampleQuantiserTest, testing::Values (8, 16, 24),
                          [] (const testing::TestParamInfo<int>& depth)
                          { return std::to_string (depth.param) + "Bits"; });
} // namespace
