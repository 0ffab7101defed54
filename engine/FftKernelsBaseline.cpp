// The FFT kernels for every x86-64 processor (SSE2).
#include "FftKernels.h"

const FftRoutines fftRoutinesBaseline = makeRoutines();
