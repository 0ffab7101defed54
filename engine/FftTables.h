#pragma once

// Shared between the FFT's front end and its per-instruction-set kernels.

/** Per size 2^k (8 to 32768): the N/4 twiddles w^0 ... w^(N/4 - 1) as (cos, sin) pairs, unfolded
    from the twelve tables so that the passes can read them in order. Null until initialised. */
extern const float* fftQuarterTwiddles[16];

template <int n>
struct FftLog2
{
    static constexpr int value = 1 + FftLog2<n / 2>::value;
};

template <>
struct FftLog2<1>
{
    static constexpr int value = 0;
};

struct FftRoutines
{
    void (*forward[16]) (float*);
    void (*inverse[16]) (float*);
    void (*forwardZeroPadded[16]) (float*);
};

extern const FftRoutines fftRoutinesBaseline;
extern const FftRoutines fftRoutinesWide;
