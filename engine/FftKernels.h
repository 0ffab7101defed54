#pragma once

// The split-radix recursion, unrolled per size by the compiler. Included by one source file per
// instruction set; everything here has internal linkage so that code built for a wider vector
// unit can never be picked up by the baseline build.

#include <immintrin.h>

#include "FftTables.h"

namespace
{
// ---- two complex values per SSE register --------------------------------------------------------
inline __m128 load (const float* p)
{
    return _mm_loadu_ps (p);
}
inline void store (float* p, __m128 v)
{
    _mm_storeu_ps (p, v);
}
inline __m128 add (__m128 a, __m128 b)
{
    return _mm_add_ps (a, b);
}
inline __m128 sub (__m128 a, __m128 b)
{
    return _mm_sub_ps (a, b);
}
inline __m128 swapPairs (__m128 z)
{
    return _mm_shuffle_ps (z, z, _MM_SHUFFLE (2, 3, 0, 1));
}

// i * z
inline __m128 mulI (__m128 z)
{
    return _mm_xor_ps (swapPairs (z), _mm_castsi128_ps (_mm_set_epi32 (0, (int) 0x80000000, 0, (int) 0x80000000)));
}

// z * w and z * conj (w), w holding (cos, sin) pairs
inline __m128 cmul (__m128 z, __m128 w)
{
    const __m128 wr = _mm_shuffle_ps (w, w, _MM_SHUFFLE (2, 2, 0, 0));
    const __m128 wi = _mm_shuffle_ps (w, w, _MM_SHUFFLE (3, 3, 1, 1));
    return _mm_add_ps (_mm_mul_ps (z, wr), _mm_mul_ps (mulI (z), wi));
}

inline __m128 cmulConj (__m128 z, __m128 w)
{
    const __m128 wr = _mm_shuffle_ps (w, w, _MM_SHUFFLE (2, 2, 0, 0));
    const __m128 wi = _mm_shuffle_ps (w, w, _MM_SHUFFLE (3, 3, 1, 1));
    return _mm_sub_ps (_mm_mul_ps (z, wr), _mm_mul_ps (mulI (z), wi));
}

#if defined(__AVX2__) && defined(__FMA__)
// ---- four complex values per AVX register -------------------------------------------------------
inline __m256 load8 (const float* p)
{
    return _mm256_loadu_ps (p);
}
inline void store (float* p, __m256 v)
{
    _mm256_storeu_ps (p, v);
}
inline __m256 add (__m256 a, __m256 b)
{
    return _mm256_add_ps (a, b);
}
inline __m256 sub (__m256 a, __m256 b)
{
    return _mm256_sub_ps (a, b);
}
inline __m256 swapPairs (__m256 z)
{
    return _mm256_permute_ps (z, 0xb1);
}

inline __m256 mulI (__m256 z)
{
    return _mm256_xor_ps (swapPairs (z),
                          _mm256_castsi256_ps (_mm256_set_epi32 (0, (int) 0x80000000, 0, (int) 0x80000000, 0,
                                                                 (int) 0x80000000, 0, (int) 0x80000000)));
}

inline __m256 cmul (__m256 z, __m256 w)
{
    return _mm256_fmaddsub_ps (z, _mm256_moveldup_ps (w), _mm256_mul_ps (swapPairs (z), _mm256_movehdup_ps (w)));
}

inline __m256 cmulConj (__m256 z, __m256 w)
{
    return _mm256_fmsubadd_ps (z, _mm256_moveldup_ps (w), _mm256_mul_ps (swapPairs (z), _mm256_movehdup_ps (w)));
}

template <class Vec>
inline Vec loadVec (const float* p)
{
    if constexpr (sizeof (Vec) == 32)
        return load8 (p);
    else
        return load (p);
}
constexpr int wideComplex = 4;
using WideVec = __m256;
#else
template <class Vec>
inline Vec loadVec (const float* p)
{
    return load (p);
}
constexpr int wideComplex = 2;
using WideVec = __m128;
#endif

// One decimation-in-frequency pass over the four quarters of an n-point block (q = n / 4 complex
// values per quarter), vectors of `lanes` complex values.
template <class Vec, int q>
inline void forwardPass (float* x, const float* tw)
{
    constexpr int step = 2 * (int) (sizeof (Vec) / 8);
    float* const a = x;
    float* const b = x + 2 * q;
    float* const c = x + 4 * q;
    float* const d = x + 6 * q;
    for (int k = 0; k < 2 * q; k += step)
    {
        const Vec va = loadVec<Vec> (a + k), vb = loadVec<Vec> (b + k);
        const Vec vc = loadVec<Vec> (c + k), vd = loadVec<Vec> (d + k);
        store (a + k, add (va, vc));
        store (b + k, add (vb, vd));
        const Vec u = sub (va, vc);
        const Vec iv = mulI (sub (vb, vd));
        const Vec w = loadVec<Vec> (tw + k);
        store (c + k, cmul (add (u, iv), w));
        store (d + k, cmulConj (sub (u, iv), w));
    }
}

template <class Vec, int q>
inline void inversePass (float* x, const float* tw)
{
    constexpr int step = 2 * (int) (sizeof (Vec) / 8);
    float* const a = x;
    float* const b = x + 2 * q;
    float* const c = x + 4 * q;
    float* const d = x + 6 * q;
    for (int k = 0; k < 2 * q; k += step)
    {
        const Vec w = loadVec<Vec> (tw + k);
        const Vec vc = cmulConj (loadVec<Vec> (c + k), w);
        const Vec vd = cmul (loadVec<Vec> (d + k), w);
        const Vec va = loadVec<Vec> (a + k), vb = loadVec<Vec> (b + k);
        const Vec s = add (vc, vd);
        const Vec it = mulI (sub (vc, vd));
        store (a + k, add (va, s));
        store (c + k, sub (va, s));
        store (b + k, sub (vb, it));
        store (d + k, add (vb, it));
    }
}

template <int n>
inline void forwardPassAnyWidth (float* x)
{
    constexpr int q = n / 4;
    if constexpr (q % wideComplex == 0)
        forwardPass<WideVec, q> (x, fftQuarterTwiddles[FftLog2<n>::value]);
    else
        forwardPass<__m128, q> (x, fftQuarterTwiddles[FftLog2<n>::value]);
}

template <int n>
inline void inversePassAnyWidth (float* x)
{
    constexpr int q = n / 4;
    if constexpr (q % wideComplex == 0)
        inversePass<WideVec, q> (x, fftQuarterTwiddles[FftLog2<n>::value]);
    else
        inversePass<__m128, q> (x, fftQuarterTwiddles[FftLog2<n>::value]);
}

// Size 4: the pass with k = 0 only (no rotation) and the size-2 butterfly on its first half.
inline void forward4 (float* x)
{
    const float ar = x[0], ai = x[1], br = x[2], bi = x[3], cr = x[4], ci = x[5], dr = x[6], di = x[7];
    const float s0r = ar + cr, s0i = ai + ci, s1r = br + dr, s1i = bi + di;
    const float ur = ar - cr, ui = ai - ci, vr = br - dr, vi = bi - di;
    x[0] = s0r + s1r;
    x[1] = s0i + s1i;
    x[2] = s0r - s1r;
    x[3] = s0i - s1i;
    x[4] = ur - vi;
    x[5] = ui + vr;
    x[6] = ur + vi;
    x[7] = ui - vr;
}

inline void inverse4 (float* x)
{
    const float a0r = x[0], a0i = x[1], a1r = x[2], a1i = x[3];
    const float ar = a0r + a1r, ai = a0i + a1i, br = a0r - a1r, bi = a0i - a1i;
    const float cr = x[4], ci = x[5], dr = x[6], di = x[7];
    const float sr = cr + dr, si = ci + di, tr = cr - dr, ti = ci - di;
    x[0] = ar + sr;
    x[1] = ai + si;
    x[4] = ar - sr;
    x[5] = ai - si;
    // b - i t and b + i t
    x[2] = br + ti;
    x[3] = bi - tr;
    x[6] = br - ti;
    x[7] = bi + tr;
}

inline void butterfly2 (float* x)
{
    const float ar = x[0], ai = x[1], br = x[2], bi = x[3];
    x[0] = ar + br;
    x[1] = ai + bi;
    x[2] = ar - br;
    x[3] = ai - bi;
}

template <int n>
struct SplitRadix
{
    static void forward (float* x)
    {
        if constexpr (n == 2)
            butterfly2 (x);
        else if constexpr (n == 4)
            forward4 (x);
        else
        {
            forwardPassAnyWidth<n> (x);
            SplitRadix<n / 2>::forward (x);
            SplitRadix<n / 4>::forward (x + n);
            SplitRadix<n / 4>::forward (x + 3 * n / 2);
        }
    }

    static void inverse (float* x)
    {
        if constexpr (n == 2)
            butterfly2 (x);
        else if constexpr (n == 4)
            inverse4 (x);
        else
        {
            SplitRadix<n / 2>::inverse (x);
            SplitRadix<n / 4>::inverse (x + n);
            SplitRadix<n / 4>::inverse (x + 3 * n / 2);
            inversePassAnyWidth<n> (x);
        }
    }
};

template <int n>
void forwardEntry (float* x)
{
    SplitRadix<n>::forward (x);
}

template <int n>
void inverseEntry (float* x)
{
    SplitRadix<n>::inverse (x);
}

constexpr FftRoutines makeRoutines()
{
    return FftRoutines{
        { nullptr, forwardEntry<2>, forwardEntry<4>, forwardEntry<8>, forwardEntry<16>, forwardEntry<32>,
          forwardEntry<64>, forwardEntry<128>, forwardEntry<256>, forwardEntry<512>, forwardEntry<1024>,
          forwardEntry<2048>, forwardEntry<4096>, forwardEntry<8192>, forwardEntry<16384>, forwardEntry<32768> },
        { nullptr, inverseEntry<2>, inverseEntry<4>, inverseEntry<8>, inverseEntry<16>, inverseEntry<32>,
          inverseEntry<64>, inverseEntry<128>, inverseEntry<256>, inverseEntry<512>, inverseEntry<1024>,
          inverseEntry<2048>, inverseEntry<4096>, inverseEntry<8192>, inverseEntry<16384>, inverseEntry<32768> }
    };
}
} // namespace
