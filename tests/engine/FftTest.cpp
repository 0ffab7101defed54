#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstring>
#include <random>
#include <vector>

#include "FftTables.h"
#include "SplitRadixFft.h"

namespace
{
using Complex = std::complex<double>;

std::vector<float> randomSignal (int n, unsigned seed)
{
    std::mt19937 rng (seed);
    std::uniform_real_distribution<float> dist (-1.0f, 1.0f);
    std::vector<float> x ((size_t) 2 * n);
    for (auto& v : x)
        v = dist (rng);
    return x;
}

// X(k) = sum x[m] e^{+2 pi i k m / n}, in double precision.
Complex directBin (const std::vector<float>& x, int n, int k)
{
    const double pi = 3.14159265358979323846;
    Complex sum = 0.0;
    for (int m = 0; m < n; ++m)
    {
        const double angle = 2.0 * pi * (double) (((long long) k * m) % n) / n;
        sum += Complex (x[2 * m], x[2 * m + 1]) * Complex (std::cos (angle), std::sin (angle));
    }
    return sum;
}

std::vector<Complex> referenceDft (const std::vector<float>& x, int n)
{
    std::vector<Complex> out ((size_t) n);
    for (int k = 0; k < n; ++k)
        out[(size_t) k] = directBin (x, n, k);
    return out;
}

// A reference in O(n log n) for the large sizes: recursive radix-2 in double, same sign convention.
void referenceFft (std::vector<Complex>& a)
{
    const size_t n = a.size();
    if (n == 1)
        return;
    std::vector<Complex> even (n / 2), odd (n / 2);
    for (size_t i = 0; i < n / 2; ++i)
    {
        even[i] = a[2 * i];
        odd[i] = a[2 * i + 1];
    }
    referenceFft (even);
    referenceFft (odd);
    const double pi = 3.14159265358979323846;
    for (size_t k = 0; k < n / 2; ++k)
    {
        const Complex w = std::polar (1.0, 2.0 * pi * (double) k / (double) n) * odd[k];
        a[k] = even[k] + w;
        a[k + n / 2] = even[k] - w;
    }
}

// The full DFT up to 256 points; above that a double-precision FFT, itself checked bin by bin
// against the direct sum at 64 bins.
std::vector<Complex> reference (const std::vector<float>& x, int n)
{
    if (n <= 256)
        return referenceDft (x, n);
    std::vector<Complex> a ((size_t) n);
    for (int m = 0; m < n; ++m)
        a[(size_t) m] = Complex (x[2 * m], x[2 * m + 1]);
    referenceFft (a);
    for (int j = 0; j < 64; ++j)
    {
        const int k = (int) (((long long) j * 7919) % n);
        EXPECT_LT (std::abs (a[(size_t) k] - directBin (x, n, k)), 1e-9 * n) << "reference bin " << k;
    }
    return a;
}

double rms (const std::vector<Complex>& v)
{
    double sum = 0.0;
    for (const auto& c : v)
        sum += std::norm (c);
    return std::sqrt (sum / (double) v.size());
}

// The baseline kernels, and the wide ones where this processor can run them.
std::vector<const FftRoutines*> routineSetsOfThisProcessor()
{
    std::vector<const FftRoutines*> routineSets{ &fftRoutinesBaseline };
    __builtin_cpu_init();
    if (__builtin_cpu_supports ("avx2") && __builtin_cpu_supports ("fma"))
        routineSets.push_back (&fftRoutinesWide);
    return routineSets;
}
} // namespace

TEST (SplitRadixFft, PermuteIndexOfFourPoints)
{
    const unsigned expected[] = { 0, 2, 1, 3 };
    for (unsigned i = 0; i < 4; ++i)
        EXPECT_EQ (fftPermuteIndex (i, 4), expected[i]);
}

TEST (SplitRadixFft, PermuteIndexIsAPermutationAtEverySize)
{
    for (unsigned n = 2; n <= 32768; n *= 2)
    {
        std::vector<bool> seen (n, false);
        for (unsigned i = 0; i < n; ++i)
        {
            const unsigned k = fftPermuteIndex (i, n);
            ASSERT_LT (k, n);
            ASSERT_FALSE (seen[k]) << "n " << n << " bin " << k;
            seen[k] = true;
        }
    }
}

TEST (SplitRadixFft, ForwardMatchesDoublePrecisionDftAtEverySize)
{
    for (int n = 2; n <= 32768; n *= 2)
    {
        auto x = randomSignal (n, (unsigned) n);
        const auto expected = reference (x, n);
        fftDispatch (x.data(), n, 0);

        const double scale = rms (expected);
        double worst = 0.0;
        for (int i = 0; i < n; ++i)
        {
            const Complex got (x[2 * i], x[2 * i + 1]);
            worst = std::max (worst, std::abs (got - expected[fftPermuteIndex ((unsigned) i, (unsigned) n)]));
        }
        // float rounding grows with log n; a wrong twiddle or order gives errors of order 1
        EXPECT_LT (worst / scale, 1e-5 * std::log2 ((double) n)) << "size " << n;
    }
}

TEST (SplitRadixFft, InverseOfForwardReturnsNTimesTheInput)
{
    for (int n = 2; n <= 32768; n *= 2)
    {
        const auto original = randomSignal (n, 1000u + (unsigned) n);
        auto x = original;
        fftDispatch (x.data(), n, 0);
        fftDispatch (x.data(), n, 1);
        double worst = 0.0;
        for (size_t i = 0; i < x.size(); ++i)
            worst = std::max (worst, std::fabs (x[i] / (double) n - original[i]));
        EXPECT_LT (worst, 1e-5) << "size " << n;
    }
}

TEST (SplitRadixFft, ImpulseAndConstantGiveFlatAndSingleBinSpectra)
{
    for (int n = 2; n <= 4096; n *= 2)
    {
        std::vector<float> impulse ((size_t) 2 * n, 0.0f);
        impulse[0] = 1.0f;
        fftDispatch (impulse.data(), n, 0);
        for (int i = 0; i < n; ++i)
        {
            ASSERT_NEAR (impulse[2 * i], 1.0f, 1e-6f) << n;
            ASSERT_NEAR (impulse[2 * i + 1], 0.0f, 1e-6f) << n;
        }

        std::vector<float> constant ((size_t) 2 * n, 0.0f);
        for (int i = 0; i < n; ++i)
            constant[2 * i] = 1.0f;
        fftDispatch (constant.data(), n, 0);
        EXPECT_NEAR (constant[0], (float) n, 1e-3f * n);
        for (int i = 1; i < n; ++i)
            ASSERT_NEAR (std::abs (Complex (constant[2 * i], constant[2 * i + 1])), 0.0, 1e-3) << n;
    }
}

TEST (SplitRadixFft, SingleToneLandsAtItsPermutedPosition)
{
    const int n = 1024;
    const double pi = 3.14159265358979323846;
    for (int k : { 1, 5, 256, 511, 1000 })
    {
        std::vector<float> x ((size_t) 2 * n);
        for (int m = 0; m < n; ++m)
        {
            x[(size_t) 2 * m] = (float) std::cos (-2.0 * pi * k * m / n);
            x[(size_t) 2 * m + 1] = (float) std::sin (-2.0 * pi * k * m / n);
        }
        fftDispatch (x.data(), n, 0);
        for (int i = 0; i < n; ++i)
        {
            const double expected = fftPermuteIndex ((unsigned) i, (unsigned) n) == (unsigned) k ? n : 0.0;
            ASSERT_NEAR (x[(size_t) 2 * i], expected, 2e-3) << "tone " << k << " position " << i;
            ASSERT_NEAR (x[(size_t) 2 * i + 1], 0.0, 2e-3) << "tone " << k << " position " << i;
        }
    }
}

TEST (SplitRadixFft, UnsupportedSizesLeaveTheDataUnchanged)
{
    for (int n : { 0, 1, 3, 100, 65536, -4 })
    {
        const auto original = randomSignal (std::max (n, 4), 7u);
        auto x = original;
        fftDispatch (x.data(), n, 0);
        fftDispatch (x.data(), n, 1);
        EXPECT_EQ (x, original) << "size " << n;
    }
}

TEST (SplitRadixFft, TwiddleTablesHoldTheirAnglesAndSurviveASecondInit)
{
    EXPECT_EQ (fftInitTwiddles(), 0);
    const double pi = 3.14159265358979323846;
    for (int n = 16; n <= 32768; n *= 2)
    {
        int entries = 0;
        const float* table = SplitRadixFft::twiddleTable (n, &entries);
        ASSERT_NE (table, nullptr);
        EXPECT_EQ (entries, n >= 1024 ? n / 8 - 1 : n / 4 - 1);
        const std::vector<float> before (table, table + 2 * entries);
        EXPECT_EQ (fftInitTwiddles(), 0);
        EXPECT_EQ (std::vector<float> (table, table + 2 * entries), before);
        for (int j = 0; j < entries; ++j)
        {
            EXPECT_NEAR (table[2 * j], std::cos (2.0 * pi * (j + 1) / n), 1e-7) << n << " " << j;
            EXPECT_NEAR (table[2 * j + 1], std::sin (2.0 * pi * (j + 1) / n), 1e-7) << n << " " << j;
        }
    }
}

TEST (SplitRadixFft, BaselineAndWideKernelsBothMatchTheReference)
{
    fftInitTwiddles();
    for (const FftRoutines* routines : routineSetsOfThisProcessor())
    {
        for (int log2n = 1; log2n <= 15; ++log2n)
        {
            const int n = 1 << log2n;
            const auto original = randomSignal (n, 77u + (unsigned) n);
            const auto expected = reference (original, n);
            auto x = original;
            routines->forward[log2n](x.data());
            double worst = 0.0;
            for (int i = 0; i < n; ++i)
                worst = std::max (worst, std::abs (Complex (x[2 * i], x[2 * i + 1]) -
                                                   expected[fftPermuteIndex ((unsigned) i, (unsigned) n)]));
            EXPECT_LT (worst / rms (expected), 1e-5 * log2n) << "size " << n;

            routines->inverse[log2n](x.data());
            double roundTrip = 0.0;
            for (size_t i = 0; i < x.size(); ++i)
                roundTrip = std::max (roundTrip, std::fabs (x[i] / (double) n - original[i]));
            EXPECT_LT (roundTrip, 1e-5) << "size " << n;
        }
    }
}

TEST (SplitRadixFft, ZeroPaddedForwardNeverReadsTheSecondHalfAndMatchesTheFullTransformBitForBit)
{
    fftInitTwiddles();
    for (const FftRoutines* routines : routineSetsOfThisProcessor())
    {
        for (int log2n = 1; log2n <= 15; ++log2n)
        {
            const int n = 1 << log2n;
            auto padded = randomSignal (n, 31u + (unsigned) n);
            padded[2] = 0.0f; // exact zeros in the data half too
            std::fill (padded.begin() + n, padded.end(), 0.0f);
            auto pruned = padded;
            std::fill (pruned.begin() + n, pruned.end(), std::nanf (""));

            routines->forward[log2n](padded.data());
            routines->forwardZeroPadded[log2n](pruned.data());
            EXPECT_EQ (0, std::memcmp (padded.data(), pruned.data(), padded.size() * sizeof (float))) << "size " << n;
        }
    }

    // The dispatching entry picks this process's path and ignores sizes it does not support.
    auto x = randomSignal (256, 5u), y = x;
    std::fill (x.begin() + 256, x.end(), 0.0f);
    std::fill (y.begin() + 256, y.end(), 1.0e30f);
    fftDispatch (x.data(), 256, 0);
    fftForwardZeroPadded (y.data(), 256);
    EXPECT_EQ (0, std::memcmp (x.data(), y.data(), x.size() * sizeof (float)));
    auto odd = randomSignal (12, 6u), untouched = odd;
    fftForwardZeroPadded (odd.data(), 12);
    EXPECT_EQ (odd, untouched);
}
