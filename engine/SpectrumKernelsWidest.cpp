// AVX-512 versions of the stage kernels; used only when the processor has AVX-512F. Every sum is
// formed in the same order and with the same operations as on the AVX2/FMA path, so both give
// identical output.
#include "SpectrumKernels.h"

#include <immintrin.h>

namespace
{
// Each operand is loaded once: GCC would otherwise fold the same load into each of its three uses.
inline __m512 loadOnce (const float* p)
{
    __m512 v = _mm512_loadu_ps (p);
    asm("" : "+v"(v));
    return v;
}

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
                acc[r] = complexProduct (loadOnce (a[0] + f + 16 * r), loadOnce (b[0] + f + 16 * r));
            t = 1;
        }
        for (; t < terms; ++t)
            for (int r = 0; r < 4; ++r)
                acc[r] =
                    _mm512_add_ps (acc[r], complexProduct (loadOnce (a[t] + f + 16 * r), loadOnce (b[t] + f + 16 * r)));
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

template <int shift>
inline __m512d shifted (__m512d low, __m512d high)
{
    if constexpr (shift == 0)
        return low;
    else
        return _mm512_castsi512_pd (_mm512_alignr_epi64 (_mm512_castpd_si512 (high), _mm512_castpd_si512 (low), shift));
}

// Eight taps for 8 * J outputs: the inputs each tap needs are shifted out of the registers already
// loaded instead of loaded again at every offset.
template <int tap, int J>
inline void eightTaps (__m512d (&acc)[J], const __m512d (&in)[J + 1], const float* reversed)
{
    const __m512d h = _mm512_set1_pd ((double) reversed[tap]);
    for (int r = 0; r < J; ++r)
        acc[r] = _mm512_fmadd_pd (h, shifted<tap> (in[r], in[r + 1]), acc[r]);
    if constexpr (tap < 7)
        eightTaps<tap + 1, J> (acc, in, reversed);
}

// Outputs 0 to 8 * J - 1 in J accumulators; length is at least 1.
template <int J>
inline void outputBlock (float* out, const double* x, const float* reversed, int length)
{
    __m512d acc[J];
    __m512d in[J + 1];
    for (int r = 0; r < J; ++r)
    {
        acc[r] = _mm512_setzero_pd();
        in[r] = _mm512_loadu_pd (x + 8 * r);
    }
    int m = 0;
    for (; m + 8 <= length; m += 8)
    {
        // Shifts of up to seven take seven values from the next register; its eighth may lie past the
        // history's end, and is loaded only when the next eight taps need it.
        in[J] = _mm512_maskz_loadu_pd (0x7f, x + m + 8 * J);
        eightTaps<0, J> (acc, in, reversed + m);
        if (m + 16 <= length)
        {
            for (int r = 0; r < J - 1; ++r)
                in[r] = in[r + 1];
            in[J - 1] = _mm512_loadu_pd (x + m + 8 * J);
        }
    }
    for (; m < length; ++m)
    {
        const __m512d h = _mm512_set1_pd ((double) reversed[m]);
        for (int r = 0; r < J; ++r)
            acc[r] = _mm512_fmadd_pd (h, _mm512_loadu_pd (x + m + 8 * r), acc[r]);
    }
    for (int r = 0; r < J; ++r)
        _mm256_storeu_ps (out + 8 * r, _mm512_cvtpd_ps (acc[r]));
}

// Each output's products are added in the impulse's order by one fused multiply-add per tap, as on
// the AVX2 path; the last n % 4 outputs go to that path's scalar loop.
void convolveDirect (float* out, const double* history, const float* reversed, int length, int n)
{
    int i = 0;
    if (length > 0)
    {
        for (; i + 64 <= n; i += 64)
            outputBlock<8> (out + i, history + i, reversed, length);
        if (i + 32 <= n)
        {
            outputBlock<4> (out + i, history + i, reversed, length);
            i += 32;
        }
        if (i + 16 <= n)
        {
            outputBlock<2> (out + i, history + i, reversed, length);
            i += 16;
        }
        if (i + 8 <= n)
        {
            outputBlock<1> (out + i, history + i, reversed, length);
            i += 8;
        }
    }
    spectrumKernelsWide.convolveDirect (out + i, history + i, reversed, length, n - i);
}
} // namespace

const SpectrumKernels spectrumKernelsWidest{ multiply, multiplyAdd, multiplyAccumulate, convolveDirect };
