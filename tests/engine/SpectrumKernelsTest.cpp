#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "EngineTestHelpers.h"
#include "SpectrumKernels.h"

using namespace enginetest;

namespace
{
std::vector<const SpectrumKernels*> availableKernels()
{
    std::vector<const SpectrumKernels*> sets{ &spectrumKernelsBaseline };
    __builtin_cpu_init();
    if (__builtin_cpu_supports ("avx2") && __builtin_cpu_supports ("fma"))
        sets.push_back (&spectrumKernelsWide);
    if (sets.size() == 2 && __builtin_cpu_supports ("avx512f"))
        sets.push_back (&spectrumKernelsWidest);
    return sets;
}
} // namespace

TEST (SpectrumKernels, ComplexProductsMatchScalarArithmetic)
{
    for (const SpectrumKernels* kernels : availableKernels())
    {
        for (int bins : { 1, 2, 3, 8, 13, 64, 130 })
        {
            const Signal a = randomSignal (2 * bins, 1), b = randomSignal (2 * bins, 2), c = randomSignal (2 * bins, 3);
            Signal product (2 * (size_t) bins), sum = c;
            kernels->multiply (product.data(), a.data(), b.data(), bins);
            kernels->multiplyAdd (sum.data(), a.data(), b.data(), bins);
            for (int j = 0; j < bins; ++j)
            {
                const double re = (double) a[2 * j] * b[2 * j] - (double) a[2 * j + 1] * b[2 * j + 1];
                const double im = (double) a[2 * j] * b[2 * j + 1] + (double) a[2 * j + 1] * b[2 * j];
                ASSERT_NEAR (product[2 * j], re, 1e-6);
                ASSERT_NEAR (product[2 * j + 1], im, 1e-6);
                ASSERT_NEAR (sum[2 * j], c[2 * j] + re, 1e-6);
                ASSERT_NEAR (sum[2 * j + 1], c[2 * j + 1] + im, 1e-6);
            }
        }
    }
}

TEST (SpectrumKernels, DirectDotProductsMatchDoubleSums)
{
    for (const SpectrumKernels* kernels : availableKernels())
    {
        for (int n : { 1, 3, 4, 15, 16, 17, 100 })
        {
            const int length = 37;
            const Signal reversed = randomSignal (length, 4);
            const Signal samples = randomSignal (length + n, 5);
            const std::vector<double> history (samples.begin(), samples.end());
            Signal out ((size_t) n);
            kernels->convolveDirect (out.data(), history.data(), reversed.data(), length, n);
            for (int i = 0; i < n; ++i)
            {
                double sum = 0.0;
                for (int m = 0; m < length; ++m)
                    sum += (double) reversed[(size_t) m] * history[(size_t) (i + m)];
                ASSERT_NEAR (out[(size_t) i], sum, 1e-6) << i;
            }
        }
    }
}

// The fused pass must give the bits of multiply followed by multiplyAdd per further term, for any
// number of terms, with or without a sum to start from, and sizes off the vector width.
TEST (SpectrumKernels, FusedMultiplyAccumulateEqualsOneTermAtATime)
{
    for (const SpectrumKernels* kernels : availableKernels())
    {
        for (int bins : { 3, 8, 40, 64, 130, 256 })
        {
            for (int terms : { 1, 2, 5, 17 })
            {
                for (bool accumulate : { false, true })
                {
                    std::vector<Signal> a, b;
                    std::vector<const float*> pa, pb;
                    for (int t = 0; t < terms; ++t)
                    {
                        a.push_back (randomSignal (2 * bins, 10u + (unsigned) t));
                        b.push_back (randomSignal (2 * bins, 50u + (unsigned) t));
                    }
                    for (int t = 0; t < terms; ++t)
                    {
                        pa.push_back (a[(size_t) t].data());
                        pb.push_back (b[(size_t) t].data());
                    }
                    Signal expected = randomSignal (2 * bins, 99), fused = expected;
                    for (int t = 0; t < terms; ++t)
                        (t == 0 && ! accumulate ? kernels->multiply : kernels->multiplyAdd) (
                            expected.data(), pa[(size_t) t], pb[(size_t) t], bins);
                    kernels->multiplyAccumulate (fused.data(), pa.data(), pb.data(), terms, bins, accumulate);
                    ASSERT_EQ (std::memcmp (expected.data(), fused.data(), expected.size() * sizeof (float)), 0)
                        << bins << " bins, " << terms << " terms, accumulate " << accumulate;
                }
            }
        }
    }
}

// The AVX-512 kernels sum in the AVX2 kernels' order with the same operations: the same bits.
TEST (SpectrumKernels, WidestKernelsGiveTheWideKernelsBits)
{
    __builtin_cpu_init();
    if (! __builtin_cpu_supports ("avx512f") || ! __builtin_cpu_supports ("avx2") || ! __builtin_cpu_supports ("fma"))
        GTEST_SKIP() << "no AVX-512 on this processor";

    const auto same = [] (const Signal& x, const Signal& y)
    { return std::memcmp (x.data(), y.data(), x.size() * sizeof (float)) == 0; };

    for (int bins : { 5, 64, 200 })
    {
        const Signal a = randomSignal (2 * bins, 1), b = randomSignal (2 * bins, 2), c = randomSignal (2 * bins, 3);
        Signal wide (2 * (size_t) bins), widest (2 * (size_t) bins);
        spectrumKernelsWide.multiply (wide.data(), a.data(), b.data(), bins);
        spectrumKernelsWidest.multiply (widest.data(), a.data(), b.data(), bins);
        EXPECT_TRUE (same (wide, widest)) << bins;
        wide = widest = c;
        spectrumKernelsWide.multiplyAdd (wide.data(), a.data(), b.data(), bins);
        spectrumKernelsWidest.multiplyAdd (widest.data(), a.data(), b.data(), bins);
        EXPECT_TRUE (same (wide, widest)) << bins;
    }

    for (int length : { 1, 37, 64, 100 })
        for (int n : { 1, 7, 8, 21, 33, 50, 64, 100, 127, 256 })
        {
            const Signal reversed = randomSignal (length, 4);
            const Signal samples = randomSignal (length + n, 5);
            const std::vector<double> history (samples.begin(), samples.end());
            Signal wide ((size_t) n), widest ((size_t) n);
            spectrumKernelsWide.convolveDirect (wide.data(), history.data(), reversed.data(), length, n);
            spectrumKernelsWidest.convolveDirect (widest.data(), history.data(), reversed.data(), length, n);
            EXPECT_TRUE (same (wide, widest)) << length << " taps, " << n << " outputs";
        }
}
