// AVX2/FMA versions of the stage kernels; used only when the processor has both.
#include "SpectrumKernels.h"

#include <immintrin.h>

namespace
{
inline __m256 complexProduct (__m256 a, __m256 b)
{
    const __m256 swapped = _mm256_permute_ps (a, 0xb1);
    return _mm256_fmaddsub_ps (a, _mm256_moveldup_ps (b), _mm256_mul_ps (swapped, _mm256_movehdup_ps (b)));
}

void multiply (float* dst, const float* a, const float* b, int bins)
{
    int j = 0;
    for (; j + 4 <= bins; j += 4)
        _mm256_storeu_ps (dst + 2 * j, complexProduct (_mm256_loadu_ps (a + 2 * j), _mm256_loadu_ps (b + 2 * j)));
    for (; j < bins; ++j)
    {
        const float ar = a[2 * j], ai = a[2 * j + 1], br = b[2 * j], bi = b[2 * j + 1];
        dst[2 * j] = ar * br - ai * bi;
        dst[2 * j + 1] = ar * bi + ai * br;
    }
}

void multiplyAdd (float* dst, const float* a, const float* b, int bins)
{
    int j = 0;
    for (; j + 8 <= bins; j += 8)
    {
        const __m256 p0 = complexProduct (_mm256_loadu_ps (a + 2 * j), _mm256_loadu_ps (b + 2 * j));
        const __m256 p1 = complexProduct (_mm256_loadu_ps (a + 2 * j + 8), _mm256_loadu_ps (b + 2 * j + 8));
        _mm256_storeu_ps (dst + 2 * j, _mm256_add_ps (_mm256_loadu_ps (dst + 2 * j), p0));
        _mm256_storeu_ps (dst + 2 * j + 8, _mm256_add_ps (_mm256_loadu_ps (dst + 2 * j + 8), p1));
    }
    for (; j < bins; ++j)
    {
        const float ar = a[2 * j], ai = a[2 * j + 1], br = b[2 * j], bi = b[2 * j + 1];
        dst[2 * j] += ar * br - ai * bi;
        dst[2 * j + 1] += ar * bi + ai * br;
    }
}

// Sixteen complex values at a time through every term, the sums kept in registers.
void multiplyAccumulate (float* dst, const float* const* a, const float* const* b, int terms, int bins, bool accumulate)
{
    if (terms < 1)
        return;
    int j = 0;
    for (; j + 16 <= bins; j += 16)
    {
        const int f = 2 * j;
        __m256 acc[4];
        int t = 0;
        if (accumulate)
            for (int r = 0; r < 4; ++r)
                acc[r] = _mm256_loadu_ps (dst + f + 8 * r);
        else
        {
            for (int r = 0; r < 4; ++r)
                acc[r] = complexProduct (_mm256_loadu_ps (a[0] + f + 8 * r), _mm256_loadu_ps (b[0] + f + 8 * r));
            t = 1;
        }
        for (; t < terms; ++t)
            for (int r = 0; r < 4; ++r)
                acc[r] = _mm256_add_ps (
                    acc[r], complexProduct (_mm256_loadu_ps (a[t] + f + 8 * r), _mm256_loadu_ps (b[t] + f + 8 * r)));
        for (int r = 0; r < 4; ++r)
            _mm256_storeu_ps (dst + f + 8 * r, acc[r]);
    }
    if (j < bins)
    {
        const int f = 2 * j;
        if (! accumulate)
            multiply (dst + f, a[0] + f, b[0] + f, bins - j);
        for (int t = accumulate ? 0 : 1; t < terms; ++t)
            multiplyAdd (dst + f, a[t] + f, b[t] + f, bins - j);
    }
}

void convolveDirect (float* out, const double* history, const float* reversed, int length, int n)
{
    int i = 0;
    // sixteen outputs at a time in four independent accumulators
    for (; i + 16 <= n; i += 16)
    {
        __m256d acc0 = _mm256_setzero_pd(), acc1 = _mm256_setzero_pd();
        __m256d acc2 = _mm256_setzero_pd(), acc3 = _mm256_setzero_pd();
        const double* x = history + i;
        for (int m = 0; m < length; ++m)
        {
            const __m256d h = _mm256_set1_pd ((double) reversed[m]);
            acc0 = _mm256_fmadd_pd (h, _mm256_loadu_pd (x + m), acc0);
            acc1 = _mm256_fmadd_pd (h, _mm256_loadu_pd (x + m + 4), acc1);
            acc2 = _mm256_fmadd_pd (h, _mm256_loadu_pd (x + m + 8), acc2);
            acc3 = _mm256_fmadd_pd (h, _mm256_loadu_pd (x + m + 12), acc3);
        }
        _mm_storeu_ps (out + i, _mm256_cvtpd_ps (acc0));
        _mm_storeu_ps (out + i + 4, _mm256_cvtpd_ps (acc1));
        _mm_storeu_ps (out + i + 8, _mm256_cvtpd_ps (acc2));
        _mm_storeu_ps (out + i + 12, _mm256_cvtpd_ps (acc3));
    }
    for (; i + 4 <= n; i += 4)
    {
        __m256d acc = _mm256_setzero_pd();
        const double* x = history + i;
        for (int m = 0; m < length; ++m)
            acc = _mm256_fmadd_pd (_mm256_set1_pd ((double) reversed[m]), _mm256_loadu_pd (x + m), acc);
        _mm_storeu_ps (out + i, _mm256_cvtpd_ps (acc));
    }
    for (; i < n; ++i)
    {
        double sum = 0.0;
        for (int m = 0; m < length; ++m)
            sum += (double) reversed[m] * history[i + m];
        out[i] = (float) sum;
    }
}
} // namespace

const SpectrumKernels spectrumKernelsWide{ multiply, multiplyAdd, multiplyAccumulate, convolveDirect };
