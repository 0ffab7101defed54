#pragma once

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include "ConvolutionEngine.h"
#include "ImpulseBuffer.h"

namespace enginetest
{
using Signal = std::vector<float>;

inline Signal randomSignal (int n, unsigned seed, float scale = 1.0f)
{
    std::mt19937 rng (seed);
    std::uniform_real_distribution<float> dist (-scale, scale);
    Signal x ((size_t) n);
    for (auto& v : x)
        v = dist (rng);
    return x;
}

/** The first `outputs` samples of x * h, summed in double precision. */
inline std::vector<double> directConvolution (const Signal& x, const Signal& h, int outputs)
{
    std::vector<double> y ((size_t) outputs, 0.0);
    for (int t = 0; t < outputs; ++t)
    {
        double sum = 0.0;
        const int last = std::min (t, (int) h.size() - 1);
        for (int k = 0; k <= last; ++k)
            if (t - k < (int) x.size())
                sum += (double) h[(size_t) k] * (double) x[(size_t) (t - k)];
        y[(size_t) t] = sum;
    }
    return y;
}

inline ImpulseBuffer makeImpulse (const std::vector<Signal>& channels)
{
    ImpulseBuffer impulse;
    std::vector<const float*> pointers;
    for (const auto& c : channels)
        pointers.push_back (c.data());
    impulse.set (pointers.data(), channels.empty() ? 0 : (int) channels[0].size(), (int) channels.size());
    return impulse;
}

/** Feeds the channels through the engine in blocks chosen by nextBlock and collects the output,
    checking that every block's output is complete in the call that fed it. */
inline std::vector<Signal> runEngine (ConvolutionEngine& engine, const std::vector<Signal>& input,
                                      const std::function<int()>& nextBlock, bool* alwaysReady = nullptr)
{
    const int total = (int) input[0].size();
    const int channels = (int) input.size();
    std::vector<Signal> output ((size_t) channels);
    if (alwaysReady != nullptr)
        *alwaysReady = true;

    for (int pos = 0; pos < total;)
    {
        const int n = std::min (nextBlock(), total - pos);
        const float* in[2] = { input[0].data() + pos, channels > 1 ? input[1].data() + pos : nullptr };
        engine.add (in, n, channels);
        const int ready = engine.avail (n);
        if (ready != n && alwaysReady != nullptr)
            *alwaysReady = false;
        for (int c = 0; c < channels; ++c)
        {
            const float* front = engine.outputQueues[c].frontFloats();
            for (int i = 0; i < ready; ++i)
                output[(size_t) c].push_back (front[i]);
            engine.outputQueues[c].consumeFloats (ready);
        }
        pos += n;
    }
    return output;
}

inline double rms (const std::vector<double>& v)
{
    double sum = 0.0;
    for (double s : v)
        sum += s * s;
    return std::sqrt (sum / std::max<size_t> (v.size(), 1));
}

/** Largest difference between output and reference, relative to the reference's RMS. */
inline double relativeError (const Signal& output, const std::vector<double>& reference)
{
    double worst = output.size() == reference.size() ? 0.0 : 1e30;
    const size_t n = std::min (output.size(), reference.size());
    for (size_t i = 0; i < n; ++i)
        worst = std::max (worst, std::fabs ((double) output[i] - reference[i]));
    return worst / std::max (rms (reference), 1e-30);
}
} // namespace enginetest
