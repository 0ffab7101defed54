// The FFT kernels for processors with AVX-512F; chosen at run time only when it is present.
#include "FftKernels.h"

const FftRoutines fftRoutinesWidest = makeRoutines();
