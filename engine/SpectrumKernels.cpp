#include "SpectrumKernels.h"

#include <emmintrin.h>

namespace
{
inline __m128 swapPairs (__m128 z)
{
    return _mm_shuffle_ps (z, z, _MM_SHUFFLE (2, 3, 0, 1));
}

inline __m128 complexProduct (__m128 a, __m128 b)
{
    const __m128 br = _mm_shuffle_ps (b, b, _MM_SHUFFLE (2, 2, 0, 0));
    const __m128 bi = _mm_shuffle_ps (b, b, _MM_SHUFFLE (3, 3, 1, 1));
    const __m128 sign = _mm_castsi128_ps (_mm_set_epi32 (0, (int) 0x80000000, 0, (int) 0x80000000));
    return _mm_add_ps (_mm_mul_ps (a, br), _mm_mul_ps (_mm_xor_ps (swapPairs (a), sign), bi));
}

void multiply (float* dst, const float* a, const float* b, int bins)
{
    int j = 0;
    for (; j + 2 <= bins; j += 2)
        _mm_storeu_ps (dst + 2 * j, complexProduct (_mm_loadu_ps (a + 2 * j), _mm_loadu_ps (b + 2 * j)));
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
    for (; j + 2 <= bins; j += 2)
    {
        const __m128 p = complexProduct (_mm_loadu_ps (a + 2 * j), _mm_loadu_ps (b + 2 * j));
        _mm_storeu_ps (dst + 2 * j, _mm_add_ps (_mm_loadu_ps (dst + 2 * j), p));
    }
    for (; j < bins; ++j)
    {
        const float ar = a[2 * j], ai = a[2 * j + 1], br = b[2 * j], bi = b[2 * j + 1];
        dst[2 * j] += ar * br - ai * bi;
        dst[2 * j + 1] += ar * bi + ai * br;
    }
}

// Eight complex values at a time through every term, the sums kept in registers.
void multiplyAccumulate (float* dst, const float* const* a, const float* const* b, int terms, int bins, bool accumulate)
{
    if (terms < 1)
        return;
    int j = 0;
    for (; j + 8 <= bins; j += 8)
    {
        const int f = 2 * j;
        __m128 acc[4];
        int t = 0;
        if (accumulate)
            for (int r = 0; r < 4; ++r)
                acc[r] = _mm_loadu_ps (dst + f + 4 * r);
        else
        {
            for (int r = 0; r < 4; ++r)
                acc[r] = complexProduct (_mm_loadu_ps (a[0] + f + 4 * r), _mm_loadu_ps (b[0] + f + 4 * r));
            t = 1;
        }
        for (; t < terms; ++t)
            for (int r = 0; r < 4; ++r)
                acc[r] = _mm_add_ps (acc[r],
                                     complexProduct (_mm_loadu_ps (a[t] + f + 4 * r), _mm_loadu_ps (b[t] + f + 4 * r)));
        for (int r = 0; r < 4; ++r)
            _mm_storeu_ps (dst + f + 4 * r, acc[r]);
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
    // four outputs at a time, two doubles per register
    for (; i + 4 <= n; i += 4)
    {
        __m128d acc0 = _mm_setzero_pd(), acc1 = _mm_setzero_pd();
        const double* x = history + i;
        for (int m = 0; m < length; ++m)
        {
            const __m128d h = _mm_set1_pd ((double) reversed[m]);
            acc0 = _mm_add_pd (acc0, _mm_mul_pd (h, _mm_loadu_pd (x + m)));
            acc1 = _mm_add_pd (acc1, _mm_mul_pd (h, _mm_loadu_pd (x + m + 2)));
        }
        _mm_storeu_ps (out + i, _mm_movelh_ps (_mm_cvtpd_ps (acc0), _mm_cvtpd_ps (acc1)));
    }
    for (; i < n; ++i)
    {
        double sum = 0.0;
        for (int m = 0; m < length; ++m)
            sum += (double) reversed[m] * history[i + m];
        out[i] = (float) sum;
    }
}

#ifndef LARKSPUR_ENGINE_WIDEST_KERNELS
#define LARKSPUR_ENGINE_WIDEST_KERNELS 2
#endif

EngineKernelLevel chooseLevel()
{
    __builtin_cpu_init();
    const bool avx2 = __builtin_cpu_supports ("avx2") && __builtin_cpu_supports ("fma");
    if (LARKSPUR_ENGINE_WIDEST_KERNELS >= 2 && avx2 && __builtin_cpu_supports ("avx512f"))
        return EngineKernelLevel::avx512;
    if (LARKSPUR_ENGINE_WIDEST_KERNELS >= 1 && avx2)
        return EngineKernelLevel::avx2;
    return EngineKernelLevel::sse2;
}
} // namespace

const SpectrumKernels spectrumKernelsBaseline{ multiply, multiplyAdd, multiplyAccumulate, convolveDirect };

EngineKernelLevel engineKernelLevel()
{
    static const EngineKernelLevel level = chooseLevel();
    return level;
}

const SpectrumKernels& spectrumKernels()
{
    static const SpectrumKernels& chosen = engineKernelLevel() == EngineKernelLevel::avx512 ? spectrumKernelsWidest
                                           : engineKernelLevel() == EngineKernelLevel::avx2 ? spectrumKernelsWide
                                                                                            : spectrumKernelsBaseline;
    return chosen;
}
