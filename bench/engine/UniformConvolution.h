#pragma once

#include <fftw3.h>

#include <vector>

/** The textbook uniformly partitioned overlap-save convolution on FFTW, for comparison only: the
    impulse is cut into partitions of 64 samples, each 64 new input samples are transformed once
    (real FFT of 128 points) into a ring of past input spectra, multiplied against every partition and
    transformed back. Blocks whose length is a multiple of 64 come out without latency; any other
    block length is delayed by 64 samples. */
class UniformConvolution
{
public:
    static constexpr int partitionSize = 64;

    UniformConvolution (const float* impulse, int length, int numChannels, bool blocksAreMultiples);
    ~UniformConvolution();

    UniformConvolution (const UniformConvolution&) = delete;
    UniformConvolution& operator= (const UniformConvolution&) = delete;

    /** Convolves n samples of every channel in place. */
    void process (float* const* channels, int n);

private:
    struct Channel
    {
        std::vector<float> window, ringRe, ringIm, pendingIn, pendingOut;
        int ringPos = 0, inCount = 0, outStart = 0, outCount = 0;
    };

    void processPartition (Channel& c, float* out);

    static constexpr int fftSize = 2 * partitionSize;
    static constexpr int bins = fftSize / 2 + 1;
    int numPartitions;
    std::vector<float> impulseRe, impulseIm;
    std::vector<Channel> channels;
    float* timeBuffer;
    fftwf_complex* spectrum;
    std::vector<float> accRe, accIm;
    fftwf_plan forward, inverse;
};
