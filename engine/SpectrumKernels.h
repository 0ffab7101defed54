#pragma once

// The inner loops of the convolution stages, chosen once per process for the processor's vector unit.

struct SpectrumKernels
{
    /** dst[j] = a[j] * b[j] over `bins` interleaved complex values. */
    void (*multiply) (float* dst, const float* a, const float* b, int bins);

    /** dst[j] += a[j] * b[j] over `bins` interleaved complex values. */
    void (*multiplyAdd) (float* dst, const float* a, const float* b, int bins);

    /** dst[j] (plus dst[j] when accumulate) += a[t][j] * b[t][j] for t < terms, over `bins`
        interleaved complex values: the same sums in the same order as one multiply (unless
        accumulating) followed by multiplyAdd for each further term, in one pass over dst. */
    void (*multiplyAccumulate) (float* dst, const float* const* a, const float* const* b, int terms, int bins,
                                bool accumulate);

    /** out[i] = sum over m < length of reversed[m] * history[i + m], accumulated in double, for
        i < n: a direct convolution over a reversed impulse and a widened input history. */
    void (*convolveDirect) (float* out, const double* history, const float* reversed, int length, int n);
};

const SpectrumKernels& spectrumKernels();

extern const SpectrumKernels spectrumKernelsBaseline;
extern const SpectrumKernels spectrumKernelsWide;
extern const SpectrumKernels spectrumKernelsWidest;

/** The vector units the engine's kernels can use: SSE2, AVX2 with FMA, AVX-512. Code built with
    LARKSPUR_ENGINE_WIDEST_KERNELS set to one of these uses nothing wider, whatever the processor has. */
enum class EngineKernelLevel
{
    sse2 = 0,
    avx2 = 1,
    avx512 = 2
};

/** The widest level that this processor has and this build allows; the FFT and the stage kernels
    both run on it. */
EngineKernelLevel engineKernelLevel();
