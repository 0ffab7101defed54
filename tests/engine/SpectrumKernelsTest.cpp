#include <gtest/gtest.h>

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
