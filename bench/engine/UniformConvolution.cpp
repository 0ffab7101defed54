#include "UniformConvolution.h"

#include <algorithm>
#include <cstring>

UniformConvolution::UniformConvolution (const float* impulse, int length, int numChannels, bool blocksAreMultiples)
    : numPartitions (std::max (1, (length + partitionSize - 1) / partitionSize))
    , impulseRe ((size_t) numPartitions * bins)
    , impulseIm ((size_t) numPartitions * bins)
    , channels ((size_t) numChannels)
    , accRe (bins)
    , accIm (bins)
{
    timeBuffer = fftwf_alloc_real (fftSize);
    spectrum = fftwf_alloc_complex (bins);
    forward = fftwf_plan_dft_r2c_1d (fftSize, timeBuffer, spectrum, FFTW_MEASURE);
    inverse = fftwf_plan_dft_c2r_1d (fftSize, spectrum, timeBuffer, FFTW_MEASURE);

    // Each partition zero-padded to the FFT size; the inverse's scale folded in.
    for (int p = 0; p < numPartitions; ++p)
    {
        std::fill (timeBuffer, timeBuffer + fftSize, 0.0f);
        for (int j = 0; j < partitionSize && p * partitionSize + j < length; ++j)
            timeBuffer[j] = impulse[p * partitionSize + j] / (float) fftSize;
        fftwf_execute (forward);
        for (int k = 0; k < bins; ++k)
        {
            impulseRe[(size_t) p * bins + (size_t) k] = spectrum[k][0];
            impulseIm[(size_t) p * bins + (size_t) k] = spectrum[k][1];
        }
    }

    for (auto& c : channels)
    {
        c.window.assign (fftSize, 0.0f);
        c.ringRe.assign ((size_t) numPartitions * bins, 0.0f);
        c.ringIm.assign ((size_t) numPartitions * bins, 0.0f);
        c.pendingIn.assign (partitionSize, 0.0f);
        c.pendingOut.assign (4 * partitionSize + 4096, 0.0f);
        // Other block lengths wait for a whole partition: one partition of latency.
        c.outCount = blocksAreMultiples ? 0 : partitionSize;
    }
}

UniformConvolution::~UniformConvolution()
{
    fftwf_destroy_plan (forward);
    fftwf_destroy_plan (inverse);
    fftwf_free (timeBuffer);
    fftwf_free (spectrum);
}

void UniformConvolution::processPartition (Channel& c, float* out)
{
    // Slide the window: the previous partition of input, then the new one.
    std::memcpy (c.window.data(), c.window.data() + partitionSize, partitionSize * sizeof (float));
    std::memcpy (c.window.data() + partitionSize, c.pendingIn.data(), partitionSize * sizeof (float));
    std::memcpy (timeBuffer, c.window.data(), fftSize * sizeof (float));
    fftwf_execute (forward);

    c.ringPos = (c.ringPos + 1) % numPartitions;
    float* re = c.ringRe.data() + (size_t) c.ringPos * bins;
    float* im = c.ringIm.data() + (size_t) c.ringPos * bins;
    for (int k = 0; k < bins; ++k)
    {
        re[k] = spectrum[k][0];
        im[k] = spectrum[k][1];
    }

    std::fill (accRe.begin(), accRe.end(), 0.0f);
    std::fill (accIm.begin(), accIm.end(), 0.0f);
    for (int p = 0; p < numPartitions; ++p)
    {
        const int s = (c.ringPos - p + numPartitions) % numPartitions;
        const float* xr = c.ringRe.data() + (size_t) s * bins;
        const float* xi = c.ringIm.data() + (size_t) s * bins;
        const float* hr = impulseRe.data() + (size_t) p * bins;
        const float* hi = impulseIm.data() + (size_t) p * bins;
        for (int k = 0; k < bins; ++k)
        {
            accRe[(size_t) k] += xr[k] * hr[k] - xi[k] * hi[k];
            accIm[(size_t) k] += xr[k] * hi[k] + xi[k] * hr[k];
        }
    }
    for (int k = 0; k < bins; ++k)
    {
        spectrum[k][0] = accRe[(size_t) k];
        spectrum[k][1] = accIm[(size_t) k];
    }
    fftwf_execute (inverse);
    // Overlap-save: the second half holds the valid (non-wrapped) output.
    std::memcpy (out, timeBuffer + partitionSize, partitionSize * sizeof (float));
}

void UniformConvolution::process (float* const* io, int n)
{
    for (size_t ch = 0; ch < channels.size(); ++ch)
    {
        Channel& c = channels[ch];
        float* x = io[ch];
        for (int i = 0; i < n;)
        {
            const int take = std::min (n - i, partitionSize - c.inCount);
            std::memcpy (c.pendingIn.data() + c.inCount, x + i, (size_t) take * sizeof (float));
            c.inCount += take;
            if (c.inCount == partitionSize)
            {
                if (c.outStart > 0)
                {
                    std::memmove (c.pendingOut.data(), c.pendingOut.data() + c.outStart,
                                  (size_t) c.outCount * sizeof (float));
                    c.outStart = 0;
                }
                processPartition (c, c.pendingOut.data() + c.outCount);
                c.outCount += partitionSize;
                c.inCount = 0;
            }
            // Hand out what is ready for the samples just taken.
            const int give = std::min (take, c.outCount);
            std::memcpy (x + i, c.pendingOut.data() + c.outStart, (size_t) give * sizeof (float));
            c.outStart += give;
            c.outCount -= give;
            i += take;
        }
    }
}
