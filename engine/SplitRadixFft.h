#pragma once

// In-place complex single-precision FFT for the power-of-two sizes 2 to 32768.
// The forward transform computes X(k) = sum x[n] e^{+2 pi i k n / N} and leaves the bins in the
// scrambled order given by fftPermuteIndex; the inverse takes that order and returns natural order.
// Neither direction scales: forward then inverse multiplies by N.

/** Builds the process-wide twiddle tables once; safe to call from any thread. Always returns 0. */
int fftInitTwiddles();

/** Transforms n complex values (interleaved real, imaginary) in place. Unsupported sizes are ignored. */
void fftDispatch (float* data, int n, int inverse);

/** The forward transform of n complex values of which the last n / 2 are zero: only the first n / 2
    are read. The result equals fftDispatch's on the zero-padded data, bit for bit when no input is -0. */
void fftForwardZeroPadded (float* data, int n);

/** The spectrum bin that the forward transform leaves at position i of an n-point array. */
unsigned int fftPermuteIndex (unsigned int i, unsigned int n);

namespace SplitRadixFft
{
constexpr int minSize = 2;
constexpr int maxSize = 32768;

/** The (cosine, sine) pairs of the table for size n (16 to 32768), or null; for tests and tools. */
const float* twiddleTable (int n, int* entries);

/** Whether the transforms run on the AVX2/FMA or the AVX-512 path on this processor. */
bool usesWideVectors();
} // namespace SplitRadixFft
