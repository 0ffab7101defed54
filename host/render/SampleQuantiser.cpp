#include "SampleQuantiser.h"

#include <cmath>

void quantiseSamples (const float* samples, int32_t* integers, int count, int bits) noexcept
{
    const double fullScale = std::ldexp (1.0, bits - 1);
    const double highest = fullScale - 1.0;
    const double shift = std::ldexp (1.0, 32 - bits);

    for (int i = 0; i < count; ++i)
    {
        double step = std::round (static_cast<double> (samples[i]) * fullScale);
        if (! (step <= highest))
            step = std::isnan (step) ? 0.0 : highest;
        else if (step < -fullScale)
            step = -fullScale;
        integers[i] = static_cast<int32_t> (step * shift);
    }
}
