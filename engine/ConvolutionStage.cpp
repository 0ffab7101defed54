#include "ConvolutionStage.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <emmintrin.h>

#include "SpectrumKernels.h"
#include "SplitRadixFft.h"

namespace
{
constexpr int alignmentSlack = 60;
constexpr double silenceThreshold = 1e-12;
constexpr double silentImpulseThreshold = 1e-15;

// Spectra start at the first 32-byte boundary inside their buffer (the slack leaves room for it).
float* alignedFloats (const HeapBuffer& b)
{
    const auto address = reinterpret_cast<std::uintptr_t> (b.buf);
    return reinterpret_cast<float*> ((address + 31) & ~(std::uintptr_t) 31);
}

// Values below 2^-54 (biased exponent under 73) and non-finite values (exponent 255) become 0.
float flushed (float v)
{
    uint32_t bits;
    std::memcpy (&bits, &v, 4);
    const uint32_t exponent = (bits >> 23) & 0xff;
    return exponent < 73 || exponent == 255 ? 0.0f : v;
}

// flushed on four values at once: the same bits.
inline __m128 flushedFour (__m128 v)
{
    const __m128i exponent = _mm_and_si128 (_mm_srli_epi32 (_mm_castps_si128 (v), 23), _mm_set1_epi32 (0xff));
    const __m128i keep = _mm_andnot_si128 (_mm_cmpeq_epi32 (exponent, _mm_set1_epi32 (255)),
                                           _mm_cmpgt_epi32 (exponent, _mm_set1_epi32 (72)));
    return _mm_and_ps (v, _mm_castsi128_ps (keep));
}

// Stores the flushed samples of re (and im, or zeros) as n interleaved complex values; returns the
// largest magnitude stored. The values are finite, so the order of the comparisons does not matter.
float packComplex (float* dst, const float* re, const float* im, int n)
{
    const __m128 magnitude = _mm_castsi128_ps (_mm_set1_epi32 (0x7fffffff));
    __m128 peak = _mm_setzero_ps();
    int j = 0;
    for (; j + 4 <= n; j += 4)
    {
        const __m128 r = flushedFour (_mm_loadu_ps (re + j));
        const __m128 i = im != nullptr ? flushedFour (_mm_loadu_ps (im + j)) : _mm_setzero_ps();
        _mm_storeu_ps (dst + 2 * j, _mm_unpacklo_ps (r, i));
        _mm_storeu_ps (dst + 2 * j + 4, _mm_unpackhi_ps (r, i));
        peak = _mm_max_ps (peak, _mm_max_ps (_mm_and_ps (r, magnitude), _mm_and_ps (i, magnitude)));
    }
    float lanes[4];
    _mm_storeu_ps (lanes, peak);
    float largest = std::max (std::max (lanes[0], lanes[1]), std::max (lanes[2], lanes[3]));
    for (; j < n; ++j)
    {
        const float r = flushed (re[j]), i = im != nullptr ? flushed (im[j]) : 0.0f;
        dst[2 * j] = r;
        dst[2 * j + 1] = i;
        largest = std::max (largest, std::max (std::fabs (r), std::fabs (i)));
    }
    return largest;
}

// out[j] = real (or imaginary) part j of the product's first half plus tail[j]; the tail becomes the
// second half's parts.
void overlapAdd (float* out, float* tail, const float* product, int part, int half)
{
    const float* second = product + 2 * half;
    int j = 0;
    for (; j + 4 <= half; j += 4)
    {
        const __m128 a = _mm_loadu_ps (product + 2 * j), b = _mm_loadu_ps (product + 2 * j + 4);
        const __m128 c = _mm_loadu_ps (second + 2 * j), d = _mm_loadu_ps (second + 2 * j + 4);
        const __m128 first = part == 0 ? _mm_shuffle_ps (a, b, _MM_SHUFFLE (2, 0, 2, 0))
                                       : _mm_shuffle_ps (a, b, _MM_SHUFFLE (3, 1, 3, 1));
        const __m128 next = part == 0 ? _mm_shuffle_ps (c, d, _MM_SHUFFLE (2, 0, 2, 0))
                                      : _mm_shuffle_ps (c, d, _MM_SHUFFLE (3, 1, 3, 1));
        _mm_storeu_ps (out + j, _mm_add_ps (first, _mm_loadu_ps (tail + j)));
        _mm_storeu_ps (tail + j, next);
    }
    for (; j < half; ++j)
    {
        out[j] = product[2 * j + part] + tail[j];
        tail[j] = second[2 * j + part];
    }
}

float finiteOrZero (float v)
{
    return std::isfinite (v) ? v : 0.0f;
}

// finiteOrZero on every sample, four at a time: a value is kept unless its exponent is all ones.
void copyFinite (float* dst, const float* src, int n)
{
    if (src == nullptr)
    {
        std::memset (dst, 0, (size_t) n * 4);
        return;
    }
    const __m128i exponentMask = _mm_set1_epi32 (0x7f800000);
    int i = 0;
    for (; i + 4 <= n; i += 4)
    {
        const __m128 v = _mm_loadu_ps (src + i);
        const __m128i nonFinite = _mm_cmpeq_epi32 (_mm_and_si128 (_mm_castps_si128 (v), exponentMask), exponentMask);
        _mm_storeu_ps (dst + i, _mm_andnot_ps (_mm_castsi128_ps (nonFinite), v));
    }
    for (; i < n; ++i)
        dst[i] = finiteOrZero (src[i]);
}

const float* channelOrNull (const float* const* channels, int ch)
{
    return channels != nullptr ? channels[ch] : nullptr;
}

// Bytes of `count` spectra plus the alignment slack; too large for a buffer comes out as -1. Resizing
// to -1 frees the buffer, and its size 0 never equals -1, so the caller sees a failed allocation.
int32_t spectraBytes (int count, int fftSize)
{
    const int64_t bytes = (int64_t) count * fftSize * 8 + alignmentSlack;
    return bytes > INT32_MAX ? -1 : (int32_t) bytes;
}

int segmentLength (const ImpulseBuffer& impulse, int c, int offset, int maxLength)
{
    int len = impulse.length (c) - offset;
    if (maxLength != 0)
        len = std::min (len, maxLength);
    return std::max (len, 0);
}
} // namespace

int ConvolutionStage::partitions() const
{
    if (fftSize < 2)
        return 0;
    const int half = fftSize / 2;
    return (impulseLength - 1 + half) / half;
}

int ConvolutionStage::setImpulse (const ImpulseBuffer& impulse, int requestedFftSize, int segmentOffset, int maxLength,
                                  bool direct)
{
    impulseLength = 0;
    for (int c = 0; c < impulse.numChannels; ++c)
        impulseLength = std::max (impulseLength, segmentLength (impulse, c, segmentOffset, maxLength));

    impulseChannels = impulse.numChannels;
    if (impulseChannels == 2 && impulse.channel[1].size == impulse.channel[0].size &&
        std::memcmp (impulse.channel[0].buf, impulse.channel[1].buf, (size_t) impulse.channel[0].size) == 0)
        impulseChannels = 1;

    if (direct)
    {
        fftSize = 0;
        for (int c = 0; c < impulseChannels; ++c)
        {
            const int len = segmentLength (impulse, c, segmentOffset, maxLength);
            const int64_t bytes = (int64_t) len * 4 + alignmentSlack;
            impulseSpectra[c].resize (bytes > INT32_MAX ? -1 : (int32_t) bytes);
            if (impulseSpectra[c].size != bytes)
                continue;
            float* reversed = alignedFloats (impulseSpectra[c]);
            const float* h = impulse.data (c) + segmentOffset;
            for (int m = 0; m < len; ++m)
                reversed[m] = finiteOrZero (h[len - 1 - m]);
        }
        for (int c = 0; c < 2; ++c)
        {
            inputBlocks[c].clear();
            outputQueues[c].empty();
            historyQueues[c].empty();
        }
        return 0;
    }

    if (requestedFftSize < 1)
    {
        const int limit = requestedFftSize < -15 ? std::min (-2 * requestedFftSize, 32768) : 32768;
        requestedFftSize = 32;
        while (requestedFftSize < 2 * impulseLength && requestedFftSize < limit)
            requestedFftSize *= 2;
    }
    fftSize = requestedFftSize;
    const int half = fftSize / 2;
    const float scale = (float) (1.0 / fftSize);
    const int numPartitions = partitions();

    fftInitTwiddles();
    for (int c = 0; c < impulseChannels; ++c)
    {
        const int bytes = spectraBytes (numPartitions, fftSize);
        impulseSpectra[c].resize (bytes);
        impulseMarks[c].resize (numPartitions);
        if (impulseSpectra[c].size != bytes || impulseMarks[c].size != numPartitions)
            continue;

        const float* h = impulse.data (c) + segmentOffset;
        const float* next = c + 1 < impulseChannels ? impulse.data (c + 1) + segmentOffset : nullptr;
        float* spectra = alignedFloats (impulseSpectra[c]);
        for (int p = 0; p < numPartitions; ++p)
        {
            float* spectrum = spectra + (size_t) p * fftSize * 2;
            const int count = std::min (half, impulseLength - p * half);
            double largest = 0.0, largestNext = 0.0;
            for (int j = 0; j < count; ++j)
            {
                const float v = h[p * half + j];
                largest = std::max (largest, std::fabs ((double) v));
                spectrum[2 * j] = flushed (v * scale);
                if (next != nullptr)
                {
                    const float w = next[p * half + j];
                    largestNext = std::max (largestNext, std::fabs ((double) w));
                    spectrum[2 * j + 1] = flushed (w * scale);
                }
                else
                    spectrum[2 * j + 1] = 0.0f;
            }
            std::memset (spectrum + 2 * count, 0, (size_t) (fftSize - count) * 8);

            uint8_t mark = 0;
            if (largest > silentImpulseThreshold)
                mark = 2;
            else if (largestNext > silentImpulseThreshold)
                mark = 1;
            reinterpret_cast<uint8_t*> (impulseMarks[c].buf)[p] = mark;
            if (mark > 0)
                fftDispatch (spectrum, fftSize, 0);
        }
    }
    return half;
}

void ConvolutionStage::reserveForBlocks (int maximumBlock, int lead)
{
    const auto bytes = [] (int64_t floats) { return (int32_t) std::min<int64_t> (floats * 4, INT32_MAX); };
    const int64_t most = std::max (maximumBlock, 0);

    if (isDirect())
    {
        // The history holds the segment's length of past input followed by the block.
        int64_t longest = 0;
        for (int ch = 0; ch < 2; ++ch)
        {
            const int ic = ch < impulseChannels ? ch : ch - impulseChannels;
            const int storedBytes = impulseSpectra[ic].size - alignmentSlack;
            const int64_t length = storedBytes > 0 ? storedBytes / 4 : 0;
            historyQueues[ch].reserve (bytes (length + most));
            outputQueues[ch].reserve (bytes (most));
            longest = std::max (longest, length);
        }
        const int64_t wideBytes = (longest + most) * 8;
        if (wideBytes > wideHistory.alloc && wideBytes <= INT32_MAX)
        {
            const int32_t used = wideHistory.size;
            wideHistory.resize ((int32_t) wideBytes);
            wideHistory.resize (used);
        }
        return;
    }

    // The output queue holds less than what the engine asks for, or the delay, before a block of half
    // the FFT size is appended. Input waits in the blocks until half the FFT size has gathered.
    const int half = fftSize / 2;
    const int32_t outputBytes = bytes (std::max<int64_t> (offset, lead + most) + half);
    for (int ch = 0; ch < 2; ++ch)
    {
        outputQueues[ch].reserve (outputBytes);
        if (partitions() > 0)
            inputBlocks[ch].reserveFor (bytes (std::max<int64_t> (most, lead)), bytes (half + lead + most));
    }
}

void ConvolutionStage::add (const float* const* channels, int n, int numChannels)
{
    if (n < 0)
        n = 0;
    numChannels = std::clamp (numChannels, 0, 2);
    if (isDirect())
        addDirect (channels, n, numChannels);
    else
        addBlocks (channels, n, numChannels);
}

void ConvolutionStage::addDirect (const float* const* channels, int n, int numChannels)
{
    inputChannels = numChannels;
    for (int ch = 0; ch < numChannels; ++ch)
    {
        const int ic = ch < impulseChannels ? ch : ch - impulseChannels;
        const int storedBytes = impulseSpectra[ic].size - alignmentSlack;
        const int length = storedBytes > 0 ? storedBytes / 4 : 0;
        const float* input = channelOrNull (channels, ch);

        if (length < 1)
        {
            if (float* out = outputQueues[ch].appendFloats (n))
                copyFinite (out, input, n);
            continue;
        }

        SampleQueue& history = historyQueues[ch];
        if (history.queuedFloats() < length)
        {
            const int missing = length - history.queuedFloats();
            if (float* pad = history.appendFloats (missing))
                std::memset (pad, 0, (size_t) missing * 4);
            else
                continue;
        }
        const bool skip = ! outputHeard[ch] && outputQueues[ch].queued() == 0;
        float* fresh = history.appendFloats (n);
        if (fresh == nullptr && n > 0)
            continue;
        if (n > 0)
            copyFinite (fresh, input, n);

        if (skip)
        {
            // Sized as if computed, so that the first heard block allocates no more than this one.
            wideHistory.resize ((length + n) * 8);
            if (float* out = outputQueues[ch].appendFloats (n))
                std::memset (out, 0, (size_t) n * 4);
            history.consumeFloats (n);
            continue;
        }

        const int total = length + n;
        // Queue output only once the widened history exists, or unwritten samples would be played.
        wideHistory.resize (total * 8);
        float* out = wideHistory.size == total * 8 ? outputQueues[ch].appendFloats (n) : nullptr;
        if (out != nullptr)
        {
            const float* x = history.frontFloats() + (history.queuedFloats() - total);
            double* wide = wideHistory.as<double>();
            for (int i = 0; i < total; ++i)
                wide[i] = (double) x[i];
            // output i pairs the reversed segment with the samples just after history sample i
            spectrumKernels().convolveDirect (out, wide + 1, alignedFloats (impulseSpectra[ic]), length, n);
        }
        history.consumeFloats (n);
    }
}

bool ConvolutionStage::hasRing (int ch) const
{
    return inputSpectra[ch].size >= 64 && overlap[ch].size >= 4;
}

void ConvolutionStage::startChannels (int numChannels)
{
    inputChannels = numChannels;
    historyPos[0] = historyPos[1] = 0;
    const int numPartitions = partitions();
    const int half = fftSize / 2;

    int32_t longest = 0;
    for (int c = 0; c < 2; ++c)
    {
        if (c < numChannels)
        {
            if (numPartitions == 0 && inputBlocks[c].available > 0)
            {
                const int bytes = inputBlocks[c].available;
                if (char* dst = outputQueues[c].append (bytes))
                    inputBlocks[c].copyOut (dst, bytes);
                inputBlocks[c].clear();
            }
            const int32_t total = outputQueues[c].queued() + inputBlocks[c].available;
            if (total < longest)
                if (char* pad = outputQueues[c].append (longest - total))
                    std::memset (pad, 0, (size_t) (longest - total));
            longest = std::max (longest, total);
        }
        else
        {
            inputBlocks[c].clear();
            outputQueues[c].empty();
        }
    }

    // Give each idle input queue the spare blocks it cycles through in steady state now, while
    // allocating is expected, instead of when its first block fills up thousands of samples later.
    for (int c = 0; c < numChannels && numPartitions > 0; ++c)
    {
        BlockQueue& queue = inputBlocks[c];
        if (queue.numBlocks() > 0 || queue.numSpares() > 0)
            continue;
        queue.reserveSpares (half * 4 / queue.blockSize + 2);
    }

    for (int c = 0; c < 2; ++c)
    {
        const bool inUse = c < numChannels;
        const int markBytes = inUse ? numPartitions : 0;
        const int spectrumBytes = inUse ? spectraBytes (numPartitions, fftSize) : 0;
        const int overlapBytes = inUse ? half * 4 : 0;
        if (inputMarks[c].resize (markBytes) != nullptr)
            std::memset (inputMarks[c].buf, 0, (size_t) inputMarks[c].size);
        if (inputSpectra[c].resize (spectrumBytes) != nullptr)
            std::memset (inputSpectra[c].buf, 0, (size_t) inputSpectra[c].size);
        if (overlap[c].resize (overlapBytes) != nullptr)
            std::memset (overlap[c].buf, 0, (size_t) overlap[c].size);
    }
}

void ConvolutionStage::addBlocks (const float* const* channels, int n, int numChannels)
{
    if (numChannels != inputChannels)
        startChannels (numChannels);

    const bool hasPartitions = partitions() > 0;
    for (int ch = 0; ch < numChannels; ++ch)
    {
        const float* input = channelOrNull (channels, ch);
        if (hasPartitions)
        {
            if (! hasRing (ch) || n < 1)
                continue;
            if (char* stored = inputBlocks[ch].append (n * 4))
                copyFinite (reinterpret_cast<float*> (stored), input, n);
        }
        else if (float* out = outputQueues[ch].appendFloats (n))
            copyFinite (out, input, n);
    }
}

bool ConvolutionStage::canShare (int ch, int pos, const float* block, const float* nextBlock) const
{
    const int half = fftSize / 2;
    const int numPartitions = partitions();
    const int other = ch + 1;
    if (inputMarks[ch].size != numPartitions || inputMarks[other].size != numPartitions)
        return false;

    // Both channels must stand at the same block, so the ring of one can serve the other.
    if (inputBlocks[other].available != inputBlocks[ch].available + half * 4 ||
        outputQueues[other].queued() != outputQueues[ch].queued() ||
        historyPos[other] != (pos + numPartitions - 1) % numPartitions)
        return false;

    for (int j = 0; j < half; ++j)
        if (std::fabs ((double) block[j] - (double) nextBlock[j]) > silenceThreshold)
            return false;

    // Every earlier spectrum in the ring must stand for the next channel's input as well: either it
    // was shared, or both channels were silent then.
    const auto* marks = reinterpret_cast<const uint8_t*> (inputMarks[ch].buf);
    const auto* otherMarks = reinterpret_cast<const uint8_t*> (inputMarks[other].buf);
    for (int s = 0; s < numPartitions; ++s)
        if (s != pos && marks[s] != 1 && ! (marks[s] == 0 && otherMarks[s] == 0))
            return false;
    return true;
}

void ConvolutionStage::processBlock (int ch, bool paired)
{
    const int half = fftSize / 2;
    const int numPartitions = partitions();
    const int ic = std::min (ch, impulseChannels - 1);
    const bool marked = inputMarks[ch].size == numPartitions;
    auto* marks = reinterpret_cast<uint8_t*> (inputMarks[ch].buf);

    float* const product = alignedFloats (scratch);
    float* const block = product + 2 * fftSize;
    float* const nextBlock = block + half;

    const int pos = (historyPos[ch] + 1) % numPartitions;
    historyPos[ch] = pos;
    float* const slot = alignedFloats (inputSpectra[ch]) + (size_t) pos * fftSize * 2;

    inputBlocks[ch].copyOut (block, half * 4);
    inputBlocks[ch].advance (half * 4);
    if (paired)
    {
        historyPos[ch + 1] = (historyPos[ch + 1] + 1) % numPartitions;
        inputBlocks[ch + 1].copyOut (nextBlock, half * 4);
        inputBlocks[ch + 1].advance (half * 4);
    }

    // The block is silent when its largest stored magnitude is within the threshold.
    const float peak = packComplex (slot, block, paired ? nextBlock : nullptr, half);
    bool nonSilent = (double) peak > silenceThreshold;
    // Without marks every spectrum is used, so every block must be transformed.
    nonSilent = nonSilent || ! marked;

    bool shared = false;
    if (impulseChannels == 2 && ! paired && ch + 1 < inputChannels && hasRing (ch + 1) && ic < impulseChannels - 1 &&
        inputBlocks[ch + 1].available >= half * 4)
    {
        inputBlocks[ch + 1].copyOut (nextBlock, half * 4);
        shared = canShare (ch, pos, block, nextBlock);
    }

    if (nonSilent)
        fftForwardZeroPadded (slot, fftSize);
    if (marked)
        marks[pos] = nonSilent ? (shared ? 1 : 2) : 0;

    if (shared)
    {
        const int nextPos = (historyPos[ch + 1] + 1) % numPartitions;
        historyPos[ch + 1] = nextPos;
        inputBlocks[ch + 1].advance (half * 4);
        std::memcpy (alignedFloats (inputSpectra[ch + 1]) + (size_t) nextPos * fftSize * 2, slot, (size_t) fftSize * 8);
        reinterpret_cast<uint8_t*> (inputMarks[ch + 1].buf)[nextPos] = nonSilent ? 2 : 0;
    }

    // Multiply-accumulate against every partition, newest input with the first partition.
    const uint8_t required = shared ? 1 : 2;
    const bool impulseReady =
        impulseMarks[ic].size == numPartitions && impulseSpectra[ic].size == spectraBytes (numPartitions, fftSize);
    const auto* impulseMark = reinterpret_cast<const uint8_t*> (impulseMarks[ic].buf);
    const float* impulse = impulseReady ? alignedFloats (impulseSpectra[ic]) : nullptr;
    const float* ring = alignedFloats (inputSpectra[ch]);
    const SpectrumKernels& kernels = spectrumKernels();
    // The products are summed in one pass per batch of partitions, so the sum stays in registers. More
    // than four partitions per pass read more streams at once than the first-level cache keeps apart.
    constexpr int batch = 4;
    const float* hs[batch];
    const float* xs[batch];
    int terms = 0;
    bool contributed = false;
    for (int p = 0; impulseReady && p < numPartitions; ++p)
    {
        const int s = (pos - p + numPartitions) % numPartitions;
        if (impulseMark[p] < required || (marked && marks[s] == 0))
            continue;
        hs[terms] = impulse + (size_t) p * fftSize * 2;
        xs[terms] = ring + (size_t) s * fftSize * 2;
        if (++terms == batch)
        {
            kernels.multiplyAccumulate (product, hs, xs, terms, fftSize, contributed);
            contributed = true;
            terms = 0;
        }
    }
    if (terms > 0)
    {
        kernels.multiplyAccumulate (product, hs, xs, terms, fftSize, contributed);
        contributed = true;
    }
    if (contributed)
        fftDispatch (product, fftSize, 1);
    else
        std::memset (product, 0, (size_t) fftSize * 8);

    // Overlap-add: real parts for this channel, imaginary parts for the paired or shared next one.
    const int lastChannel = paired || shared ? ch + 1 : ch;
    for (int c = ch; c <= lastChannel; ++c)
    {
        const int part = c - ch;
        float* tail = overlap[c].as<float>();
        float* out = outputQueues[c].appendFloats (half);
        if (out != nullptr)
            overlapAdd (out, tail, product, part, half);
        else
            for (int j = 0; j < half; ++j)
                tail[j] = product[2 * (half + j) + part];
    }
}

int ConvolutionStage::readyCount (int want) const
{
    int ready = want;
    bool any = false;
    for (int ch = 0; ch < inputChannels; ++ch)
    {
        ready = any ? std::min (ready, outputQueues[ch].queuedFloats()) : outputQueues[ch].queuedFloats();
        any = true;
    }
    return ready;
}

int ConvolutionStage::avail (int want)
{
    // Every channel in use must hold the samples reported, since the engine reads all of them.
    if (isDirect())
        return inputChannels > 0 ? readyCount (want) : outputQueues[0].queuedFloats();

    const int numPartitions = partitions();
    const int scratchBytes = fftSize * 16 + alignmentSlack;
    scratch.resize (scratchBytes);
    if (numPartitions == 0 || scratch.size != scratchBytes)
        return readyCount (want);

    const int halfBytes = fftSize / 2 * 4;
    for (int ch = 0; ch < inputChannels; ++ch)
    {
        if (! hasRing (ch))
            continue;
        const bool paired = impulseChannels == 1 && ch + 1 < inputChannels && hasRing (ch + 1) &&
                            inputBlocks[ch].available == inputBlocks[ch + 1].available &&
                            outputQueues[ch].queued() == outputQueues[ch + 1].queued();

        while (inputBlocks[ch].available >= halfBytes && outputQueues[ch].queuedFloats() < want)
            processBlock (ch, paired);

        if (paired)
            ++ch;
    }
    return readyCount (want);
}

void ConvolutionStage::advance (int n)
{
    for (int ch = 0; ch < inputChannels; ++ch)
        outputQueues[ch].consumeFloats (n);
}
