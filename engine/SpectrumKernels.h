#pragma once

// The inner loops of the convolution stages, chosen once per process for the processor's vector unit.

struct SpectrumKernels
{
    /** dst[j] = a[j] * b[j] over `bins` interleaved complex values. */
    void (*multiply) (float* dst, const float* a, const float* b, int bins);

    /** dst[j] += a[j] * b[j] over `bins` interleaved complex values. */
    void (*multiplyAdd) (float* dst, const float* a, const float* b, int bins);

    /** out[i] = sum over m < length of reversed[m] * history[i + m], accumulated in double, for
        i < n: a direct convolution over a reversed impulse and a widened input history. */
    void (*convolveDirect) (float* out, const double* history, const float* reversed, int length, int n);
};

const SpectrumKernels& spectrumKernels();

extern const SpectrumKernels spectrumKernelsBaseline;
extern const SpectrumKernels spectrumKernelsWide;
