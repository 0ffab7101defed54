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
// values per quarter), one Vec (sizeof (Vec) / 8 complex values) at a time.
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

// The first pass of a transform whose second half (quarters c and d) is zero: a and b stay as they
// are, so only c and d are written and the zero half is never read. The values are those of the full
// pass, since a + 0, a - 0 and i (b - 0) are exact for inputs that are never -0.
template <class Vec, int q>
inline void forwardPassZeroPadded (float* x, const float* tw)
{
    constexpr int step = 2 * (int) (sizeof (Vec) / 8);
    const float* const a = x;
    const float* const b = x + 2 * q;
    float* const c = x + 4 * q;
    float* const d = x + 6 * q;
    for (int k = 0; k < 2 * q; k += step)
    {
        const Vec u = loadVec<Vec> (a + k);
        const Vec iv = mulI (loadVec<Vec> (b + k));
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

// ---- sizes 2 to 16 in registers, two complex values per register ------------------------------

inline __m128 swapHalves (__m128 z)
{
    return _mm_shuffle_ps (z, z, _MM_SHUFFLE (1, 0, 3, 2));
}

// (a, b) -> (a + b, a - b), both directions
inline __m128 butterfly (__m128 r)
{
    const __m128 swapped = swapHalves (r);
    return _mm_movelh_ps (_mm_add_ps (r, swapped), _mm_sub_ps (r, swapped));
}

inline __m128 negateUpperComplex (__m128 z)
{
    return _mm_xor_ps (z, _mm_castsi128_ps (_mm_set_epi32 ((int) 0x80000000, (int) 0x80000000, 0, 0)));
}

// Size 4 on (x0, x1) and (x2, x3): the pass with k = 0 (no rotation), then the butterfly on x0, x1.
inline void forward4 (__m128& r0, __m128& r1)
{
    const __m128 s = _mm_add_ps (r0, r1); // a + c, b + d
    const __m128 t = _mm_sub_ps (r0, r1); // u, v
    r0 = butterfly (s);
    const __m128 uu = _mm_movelh_ps (t, t);
    const __m128 ivv = mulI (_mm_movehl_ps (t, t));
    r1 = _mm_add_ps (uu, negateUpperComplex (ivv)); // u + iv, u - iv
}

inline void inverse4 (__m128& r0, __m128& r1)
{
    const __m128 a = butterfly (r0); // a, b
    const __m128 swapped = swapHalves (r1);
    const __m128 sum = _mm_add_ps (r1, swapped);                              // s, s
    const __m128 itt = mulI (_mm_sub_ps (r1, swapped));                       // i t, -i t
    const __m128 mixed = _mm_shuffle_ps (sum, itt, _MM_SHUFFLE (3, 2, 1, 0)); // s, -i t
    r0 = _mm_add_ps (a, mixed);                                               // a + s, b - i t
    r1 = _mm_sub_ps (a, mixed);                                               // a - s, b + i t
}

inline void forwardPass4 (__m128& a, __m128& b, __m128& c, __m128& d, __m128 w)
{
    const __m128 u = _mm_sub_ps (a, c);
    const __m128 iv = mulI (_mm_sub_ps (b, d));
    a = _mm_add_ps (a, c);
    b = _mm_add_ps (b, d);
    c = cmul (_mm_add_ps (u, iv), w);
    d = cmulConj (_mm_sub_ps (u, iv), w);
}

inline void inversePass4 (__m128& a, __m128& b, __m128& c, __m128& d, __m128 w)
{
    const __m128 rc = cmulConj (c, w);
    const __m128 rd = cmul (d, w);
    const __m128 s = _mm_add_ps (rc, rd);
    const __m128 it = mulI (_mm_sub_ps (rc, rd));
    c = _mm_sub_ps (a, s);
    a = _mm_add_ps (a, s);
    d = _mm_add_ps (b, it);
    b = _mm_sub_ps (b, it);
}

inline void forward8 (__m128& r0, __m128& r1, __m128& r2, __m128& r3)
{
    forwardPass4 (r0, r1, r2, r3, load (fftQuarterTwiddles[3]));
    forward4 (r0, r1);
    r2 = butterfly (r2);
    r3 = butterfly (r3);
}

inline void inverse8 (__m128& r0, __m128& r1, __m128& r2, __m128& r3)
{
    inverse4 (r0, r1);
    r2 = butterfly (r2);
    r3 = butterfly (r3);
    inversePass4 (r0, r1, r2, r3, load (fftQuarterTwiddles[3]));
}

inline void forward16 (float* x)
{
    __m128 r[8];
    for (int i = 0; i < 8; ++i)
        r[i] = load (x + 4 * i);
    const float* tw = fftQuarterTwiddles[4];
    forwardPass4 (r[0], r[2], r[4], r[6], load (tw));
    forwardPass4 (r[1], r[3], r[5], r[7], load (tw + 4));
    forward8 (r[0], r[1], r[2], r[3]);
    forward4 (r[4], r[5]);
    forward4 (r[6], r[7]);
    for (int i = 0; i < 8; ++i)
        store (x + 4 * i, r[i]);
}

inline void inverse16 (float* x)
{
    __m128 r[8];
    for (int i = 0; i < 8; ++i)
        r[i] = load (x + 4 * i);
    inverse8 (r[0], r[1], r[2], r[3]);
    inverse4 (r[4], r[5]);
    inverse4 (r[6], r[7]);
    const float* tw = fftQuarterTwiddles[4];
    inversePass4 (r[0], r[2], r[4], r[6], load (tw));
    inversePass4 (r[1], r[3], r[5], r[7], load (tw + 4));
    for (int i = 0; i < 8; ++i)
        store (x + 4 * i, r[i]);
}

#if defined(__AVX2__) && defined(__FMA__)
// ---- sizes 16 and 32 in AVX registers ------------------------------------------------------------
// The passes of sizes 32, 16 and 8 run on whole registers; the last two levels run across four
// registers after a 4 x 4 transpose, so that size-4 transforms and the size-2 pairs of size-8
// transforms are computed side by side.

// Exchanges the 4 x 4 complex values of r0 ... r3: register i gets the i-th value of each.
inline void transpose4 (__m256& r0, __m256& r1, __m256& r2, __m256& r3)
{
    const __m256d t0 = _mm256_unpacklo_pd (_mm256_castps_pd (r0), _mm256_castps_pd (r1));
    const __m256d t1 = _mm256_unpackhi_pd (_mm256_castps_pd (r0), _mm256_castps_pd (r1));
    const __m256d t2 = _mm256_unpacklo_pd (_mm256_castps_pd (r2), _mm256_castps_pd (r3));
    const __m256d t3 = _mm256_unpackhi_pd (_mm256_castps_pd (r2), _mm256_castps_pd (r3));
    r0 = _mm256_castpd_ps (_mm256_permute2f128_pd (t0, t2, 0x20));
    r1 = _mm256_castpd_ps (_mm256_permute2f128_pd (t1, t3, 0x20));
    r2 = _mm256_castpd_ps (_mm256_permute2f128_pd (t0, t2, 0x31));
    r3 = _mm256_castpd_ps (_mm256_permute2f128_pd (t1, t3, 0x31));
}

// (w0, w1, conj w0, conj w1) from the size-8 twiddles, or with the halves exchanged.
inline __m256 eighthTwiddles (bool conjugateLow)
{
    const __m128 w = load (fftQuarterTwiddles[3]);
    const __m128 conj = _mm_xor_ps (w, _mm_castsi128_ps (_mm_set_epi32 ((int) 0x80000000, 0, (int) 0x80000000, 0)));
    return conjugateLow ? _mm256_set_m128 (w, conj) : _mm256_set_m128 (conj, w);
}

// One pass over four quarters held in registers.
inline void forwardPassRegs (__m256& a, __m256& b, __m256& c, __m256& d, __m256 w)
{
    const __m256 u = sub (a, c), iv = mulI (sub (b, d));
    a = add (a, c);
    b = add (b, d);
    c = cmul (add (u, iv), w);
    d = cmulConj (sub (u, iv), w);
}

inline void inversePassRegs (__m256& a, __m256& b, __m256& c, __m256& d, __m256 w)
{
    const __m256 rc = cmulConj (c, w), rd = cmul (d, w);
    const __m256 s = add (rc, rd), it = mulI (sub (rc, rd));
    c = sub (a, s);
    a = add (a, s);
    d = add (b, it);
    b = sub (b, it);
}

// The size-8 pass on (a, b) in r0 and (c, d) in r1: (a + c, b + d) and (u + iv, u - iv) rotated.
inline void forwardPass8 (__m256& r0, __m256& r1, __m256 w)
{
    const __m256 diff = sub (r0, r1);
    r0 = add (r0, r1);
    const __m256 uu = _mm256_permute2f128_ps (diff, diff, 0x00);
    const __m256 vv = _mm256_permute2f128_ps (diff, diff, 0x11);
    // i v in the low half, -i v in the high one
    const __m256 ivv = _mm256_xor_ps (
        swapPairs (vv), _mm256_castsi256_ps (_mm256_set_epi32 ((int) 0x80000000, 0, (int) 0x80000000, 0, 0,
                                                               (int) 0x80000000, 0, (int) 0x80000000)));
    const __m256 z = add (uu, ivv);
    r1 = _mm256_fmaddsub_ps (z, _mm256_moveldup_ps (w), _mm256_mul_ps (swapPairs (z), _mm256_movehdup_ps (w)));
}

// Its inverse: c and d rotated, then (a + s, b - i t) and (a - s, b + i t).
inline void inversePass8 (__m256& r0, __m256& r1, __m256 w)
{
    const __m256 rot =
        _mm256_fmaddsub_ps (r1, _mm256_moveldup_ps (w), _mm256_mul_ps (swapPairs (r1), _mm256_movehdup_ps (w)));
    const __m256 swapped = _mm256_permute2f128_ps (rot, rot, 0x01);
    // s in the low half, i (rd - rc) = -i t in the high one
    const __m256 mixed = _mm256_blend_ps (add (rot, swapped), mulI (sub (rot, swapped)), 0xf0);
    r1 = sub (r0, mixed);
    r0 = add (r0, mixed);
}

// Size-4 transforms on the four registers' values, except in the lanes of pairMask (values 4 ... 7 of
// a size-8 transform), which take the size-2 transforms of their two pairs.
template <int pairMask>
inline void forwardLeaves (__m256& r0, __m256& r1, __m256& r2, __m256& r3)
{
    transpose4 (r0, r1, r2, r3);
    const __m256 s0 = add (r0, r2), s1 = add (r1, r3);
    const __m256 u = sub (r0, r2), iv = mulI (sub (r1, r3));
    const __m256 o0 = _mm256_blend_ps (add (s0, s1), add (r0, r1), pairMask);
    const __m256 o1 = _mm256_blend_ps (sub (s0, s1), sub (r0, r1), pairMask);
    const __m256 o2 = _mm256_blend_ps (add (u, iv), add (r2, r3), pairMask);
    const __m256 o3 = _mm256_blend_ps (sub (u, iv), sub (r2, r3), pairMask);
    r0 = o0, r1 = o1, r2 = o2, r3 = o3;
    transpose4 (r0, r1, r2, r3);
}

template <int pairMask>
inline void inverseLeaves (__m256& r0, __m256& r1, __m256& r2, __m256& r3)
{
    transpose4 (r0, r1, r2, r3);
    const __m256 a = add (r0, r1), b = sub (r0, r1);
    const __m256 s = add (r2, r3), t = sub (r2, r3);
    const __m256 it = mulI (t);
    const __m256 o0 = _mm256_blend_ps (add (a, s), a, pairMask);
    const __m256 o1 = _mm256_blend_ps (sub (b, it), b, pairMask);
    const __m256 o2 = _mm256_blend_ps (sub (a, s), s, pairMask);
    const __m256 o3 = _mm256_blend_ps (add (b, it), t, pairMask);
    r0 = o0, r1 = o1, r2 = o2, r3 = o3;
    transpose4 (r0, r1, r2, r3);
}

// Lane 1 holds values 4 ... 7 of the size-8 transform in r0, r1; lanes 1 and 3 those of two of them.
constexpr int oneSizeEight = 0x0c;
constexpr int twoSizeEights = 0xcc;

inline void forward16Regs (__m256& r0, __m256& r1, __m256& r2, __m256& r3)
{
    forwardPassRegs (r0, r1, r2, r3, load8 (fftQuarterTwiddles[4]));
    forwardPass8 (r0, r1, eighthTwiddles (false));
    forwardLeaves<oneSizeEight> (r0, r1, r2, r3);
}

inline void inverse16Regs (__m256& r0, __m256& r1, __m256& r2, __m256& r3)
{
    inverseLeaves<oneSizeEight> (r0, r1, r2, r3);
    inversePass8 (r0, r1, eighthTwiddles (true));
    inversePassRegs (r0, r1, r2, r3, load8 (fftQuarterTwiddles[4]));
}

// Named registers rather than an array: GCC copies an array of vectors through the stack in halves.
template <bool inverse>
inline void transform16 (float* x)
{
    __m256 r0 = load8 (x), r1 = load8 (x + 8), r2 = load8 (x + 16), r3 = load8 (x + 24);
    if constexpr (inverse)
        inverse16Regs (r0, r1, r2, r3);
    else
        forward16Regs (r0, r1, r2, r3);
    store (x, r0);
    store (x + 8, r1);
    store (x + 16, r2);
    store (x + 24, r3);
}

template <bool inverse>
inline void transform32 (float* x)
{
    __m256 r0 = load8 (x), r1 = load8 (x + 8), r2 = load8 (x + 16), r3 = load8 (x + 24);
    __m256 r4 = load8 (x + 32), r5 = load8 (x + 40), r6 = load8 (x + 48), r7 = load8 (x + 56);
    const float* tw = fftQuarterTwiddles[5];
    if constexpr (! inverse)
    {
        forwardPassRegs (r0, r2, r4, r6, load8 (tw));
        forwardPassRegs (r1, r3, r5, r7, load8 (tw + 8));
        forward16Regs (r0, r1, r2, r3);
        const __m256 w = eighthTwiddles (false);
        forwardPass8 (r4, r5, w);
        forwardPass8 (r6, r7, w);
        forwardLeaves<twoSizeEights> (r4, r5, r6, r7);
    }
    else
    {
        inverseLeaves<twoSizeEights> (r4, r5, r6, r7);
        const __m256 w = eighthTwiddles (true);
        inversePass8 (r4, r5, w);
        inversePass8 (r6, r7, w);
        inverse16Regs (r0, r1, r2, r3);
        inversePassRegs (r0, r2, r4, r6, load8 (tw));
        inversePassRegs (r1, r3, r5, r7, load8 (tw + 8));
    }
    store (x, r0);
    store (x + 8, r1);
    store (x + 16, r2);
    store (x + 24, r3);
    store (x + 32, r4);
    store (x + 40, r5);
    store (x + 48, r6);
    store (x + 56, r7);
}
#endif

// Sizes up to this one are transformed in registers, in one piece.
#if defined(__AVX2__) && defined(__FMA__)
constexpr int largestLeaf = 32;
#else
constexpr int largestLeaf = 16;
#endif

template <int n>
struct SplitRadix
{
    static void forward (float* x)
    {
        if constexpr (n == 2)
            store (x, butterfly (load (x)));
        else if constexpr (n == 4)
        {
            __m128 r0 = load (x), r1 = load (x + 4);
            forward4 (r0, r1);
            store (x, r0);
            store (x + 4, r1);
        }
        else if constexpr (n == 8)
        {
            __m128 r0 = load (x), r1 = load (x + 4), r2 = load (x + 8), r3 = load (x + 12);
            forward8 (r0, r1, r2, r3);
            store (x, r0);
            store (x + 4, r1);
            store (x + 8, r2);
            store (x + 12, r3);
        }
        else if constexpr (n == 16)
        {
#if defined(__AVX2__) && defined(__FMA__)
            transform16<false> (x);
#else
            forward16 (x);
#endif
        }
#if defined(__AVX2__) && defined(__FMA__)
        else if constexpr (n == 32)
            transform32<false> (x);
#endif
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
            store (x, butterfly (load (x)));
        else if constexpr (n == 4)
        {
            __m128 r0 = load (x), r1 = load (x + 4);
            inverse4 (r0, r1);
            store (x, r0);
            store (x + 4, r1);
        }
        else if constexpr (n == 8)
        {
            __m128 r0 = load (x), r1 = load (x + 4), r2 = load (x + 8), r3 = load (x + 12);
            inverse8 (r0, r1, r2, r3);
            store (x, r0);
            store (x + 4, r1);
            store (x + 8, r2);
            store (x + 12, r3);
        }
        else if constexpr (n == 16)
        {
#if defined(__AVX2__) && defined(__FMA__)
            transform16<true> (x);
#else
            inverse16 (x);
#endif
        }
#if defined(__AVX2__) && defined(__FMA__)
        else if constexpr (n == 32)
            transform32<true> (x);
#endif
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

// The forward transform of n values whose last n / 2 are zero; they need not be stored.
template <int n>
void forwardZeroPaddedEntry (float* x)
{
    if constexpr (n <= largestLeaf)
    {
        for (int i = n; i < 2 * n; ++i)
            x[i] = 0.0f;
        SplitRadix<n>::forward (x);
    }
    else
    {
        constexpr int q = n / 4;
        if constexpr (q % wideComplex == 0)
            forwardPassZeroPadded<WideVec, q> (x, fftQuarterTwiddles[FftLog2<n>::value]);
        else
            forwardPassZeroPadded<__m128, q> (x, fftQuarterTwiddles[FftLog2<n>::value]);
        SplitRadix<n / 2>::forward (x);
        SplitRadix<n / 4>::forward (x + n);
        SplitRadix<n / 4>::forward (x + 3 * n / 2);
    }
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
          inverseEntry<2048>, inverseEntry<4096>, inverseEntry<8192>, inverseEntry<16384>, inverseEntry<32768> },
        { nullptr, forwardZeroPaddedEntry<2>, forwardZeroPaddedEntry<4>, forwardZeroPaddedEntry<8>,
          forwardZeroPaddedEntry<16>, forwardZeroPaddedEntry<32>, forwardZeroPaddedEntry<64>,
          forwardZeroPaddedEntry<128>, forwardZeroPaddedEntry<256>, forwardZeroPaddedEntry<512>,
          forwardZeroPaddedEntry<1024>, forwardZeroPaddedEntry<2048>, forwardZeroPaddedEntry<4096>,
          forwardZeroPaddedEntry<8192>, forwardZeroPaddedEntry<16384>, forwardZeroPaddedEntry<32768> }
    };
}
} // namespace
