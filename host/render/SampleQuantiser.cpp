#include "SampleQuantiser.h"

#include <cmath>

int quantiseSamples (const float* samples, int32_t* integers, int count, int bits) noexcept
{
    const double fullScale = std::ldexp (1.0, bits - 1);
    const double highest = fullScale - 1.0;
    const double shift = std::ldexp (1.0, 32 - bits);

    int clipped = 0;
    for (int i = 0; i < count; ++i)
    {
        double step = std::round (static_cast<double> (samples[i]) * fullScale);
        if (std::isnan (step))
            step = 0.0;
        else if (step > highest)
        {
            step = highest;
            ++clipped;
        }
        else if (step < -fullScale)
        {
            step = -fullScale;
            ++clipped;
        }
        integers[i] = static_cast<int32_t> (step * shift);
    }
    return clipped;
}
