// The FFT kernels for processors with AVX2 and FMA; chosen at run time only when both are present.
#include "FftKernels.h"

const FftRoutines fftRoutinesWide = makeRoutines();
