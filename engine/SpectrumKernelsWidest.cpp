// AVX-512 versions of the stage kernels; used only when the processor has AVX-512F. Every sum is
// formed in the same order and with the same operations as on the AVX2/FMA path, so both give
// identical output.
#include "SpectrumKernels.h"

#include <immintrin.h>

namespace
{
inline __m512 complexProduct (__m512 a, __m512 b)
{
    const __m512 swapped = _mm512_permute_ps (a, 0xb1);
    return _mm512_fmaddsub_ps (a, _mm512_moveldup_ps (b), _mm512_mul_ps (swapped, _mm512_movehdup_ps (b)));
}

void multiply (float* dst, const float* a, const float* b, int bins)
{
    int j = 0;
    for (; j + 8 <= bins; j += 8)
        _mm512_storeu_ps (dst + 2 * j, complexProduct (_mm512_loadu_ps (a + 2 * j), _mm512_loadu_ps (b + 2 * j)));
    spectrumKernelsWide.multiply (dst + 2 * j, a + 2 * j, b + 2 * j, bins - j);
}

void multiplyAdd (float* dst, const float* a, const float* b, int bins)
{
    int j = 0;
    for (; j + 8 <= bins; j += 8)
    {
        const __m512 p = complexProduct (_mm512_loadu_ps (a + 2 * j), _mm512_loadu_ps (b + 2 * j));
        _mm512_storeu_ps (dst + 2 * j, _mm512_add_ps (_mm512_loadu_ps (dst + 2 * j), p));
    }
    spectrumKernelsWide.multiplyAdd (dst + 2 * j, a + 2 * j, b + 2 * j, bins - j);
}

// Thirty-two complex values at a time through every term, the sums kept in registers.
void multiplyAccumulate (float* dst, const float* const* a, const float* const* b, int terms, int bins, bool accumulate)
{
    if (terms < 1)
        return;
    int j = 0;
    for (; j + 32 <= bins; j += 32)
    {
        const int f = 2 * j;
        __m512 acc[4];
        int t = 0;
        if (accumulate)
            for (int r = 0; r < 4; ++r)
                acc[r] = _mm512_loadu_ps (dst + f + 16 * r);
        else
        {
            for (int r = 0; r < 4; ++r)
                acc[r] = complexProduct (_mm512_loadu_ps (a[0] + f + 16 * r), _mm512_loadu_ps (b[0] + f + 16 * r));
            t = 1;
        }
        for (; t < terms; ++t)
            for (int r = 0; r < 4; ++r)
                acc[r] = _mm512_add_ps (
                    acc[r], complexProduct (_mm512_loadu_ps (a[t] + f + 16 * r), _mm512_loadu_ps (b[t] + f + 16 * r)));
        for (int r = 0; r < 4; ++r)
            _mm512_storeu_ps (dst + f + 16 * r, acc[r]);
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

// Each output's products are added in the impulse's order by one fused multiply-add per tap, as on
// the AVX2 path; the last n % 4 outputs go to that path's scalar loop.
void convolveDirect (float* out, const double* history, const float* reversed, int length, int n)
{
    int i = 0;
    for (; i + 32 <= n; i += 32)
    {
        __m512d acc0 = _mm512_setzero_pd(), acc1 = _mm512_setzero_pd();
        __m512d acc2 = _mm512_setzero_pd(), acc3 = _mm512_setzero_pd();
        const double* x = history + i;
        for (int m = 0; m < length; ++m)
        {
            const __m512d h = _mm512_set1_pd ((double) reversed[m]);
            acc0 = _mm512_fmadd_pd (h, _mm512_loadu_pd (x + m), acc0);
            acc1 = _mm512_fmadd_pd (h, _mm512_loadu_pd (x + m + 8), acc1);
            acc2 = _mm512_fmadd_pd (h, _mm512_loadu_pd (x + m + 16), acc2);
            acc3 = _mm512_fmadd_pd (h, _mm512_loadu_pd (x + m + 24), acc3);
        }
        _mm256_storeu_ps (out + i, _mm512_cvtpd_ps (acc0));
        _mm256_storeu_ps (out + i + 8, _mm512_cvtpd_ps (acc1));
        _mm256_storeu_ps (out + i + 16, _mm512_cvtpd_ps (acc2));
        _mm256_storeu_ps (out + i + 24, _mm512_cvtpd_ps (acc3));
    }
    for (; i + 8 <= n; i += 8)
    {
        __m512d acc = _mm512_setzero_pd();
        const double* x = history + i;
        for (int m = 0; m < length; ++m)
            acc = _mm512_fmadd_pd (_mm512_set1_pd ((double) reversed[m]), _mm512_loadu_pd (x + m), acc);
        _mm256_storeu_ps (out + i, _mm512_cvtpd_ps (acc));
    }
    spectrumKernelsWide.convolveDirect (out + i, history + i, reversed, length, n - i);
}
} // namespace

const SpectrumKernels spectrumKernelsWidest{ multiply, multiplyAdd, multiplyAccumulate, convolveDirect };
