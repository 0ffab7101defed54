#include "ConvolutionEngine.h"

#include <algorithm>
#include <cstring>
#include <emmintrin.h>
#include <new>

#include "SplitRadixFft.h"

namespace
{
constexpr int directLength = 64;
constexpr int largestFft = 32768;
} // namespace

// sum[j] = (0 + terms[0][j]) + terms[1][j] + ..., or sum[j] + terms[0][j] + ... when continuing.
void ConvolutionEngine::addTerms (float* sum, const float* const* terms, int count, int n, bool continuing)
{
    int j = 0;
    for (; j + 4 <= n; j += 4)
    {
        __m128 acc = continuing ? _mm_loadu_ps (sum + j) : _mm_setzero_ps();
        for (int k = 0; k < count; ++k)
            acc = _mm_add_ps (acc, _mm_loadu_ps (terms[k] + j));
        _mm_storeu_ps (sum + j, acc);
    }
    for (; j < n; ++j)
    {
        float acc = continuing ? sum[j] : 0.0f;
        for (int k = 0; k < count; ++k)
            acc += terms[k][j];
        sum[j] = acc;
    }
}

ConvolutionEngine::~ConvolutionEngine()
{
    clear();
}

void ConvolutionEngine::clear()
{
    for (int i = numStages() - 1; i >= 0; --i)
        delete stage (i);
    stages.resize (0);
}

int ConvolutionEngine::setImpulse (const ImpulseBuffer& impulse)
{
    firstAdd = true;
    clear();

    int left = impulse.length (0);
    int block = directLength;
    int fft = directLength;
    int offset = 0;
    do
    {
        auto* stage = new (std::nothrow) ConvolutionStage();
        const int oldSize = stages.size;
        if (stage != nullptr)
            stages.resize (oldSize + (int) sizeof (ConvolutionStage*));
        if (stage == nullptr || stages.size != oldSize + (int) sizeof (ConvolutionStage*))
        {
            // Out of memory: a partial chain would play a wrong response, so keep none.
            delete stage;
            clear();
            return 0;
        }
        fftInitTwiddles();

        const int len = fft < largestFft && (offset != 0 ? 3 : 2) * block < left ? block : left;
        stage->setImpulse (impulse, std::min (fft, largestFft), offset, len, offset == 0);
        stage->offset = offset;
        stage->pendingAdvance = 0;
        std::memcpy (stages.buf + oldSize, &stage, sizeof (stage));

        left -= len;
        offset += len;
        block = 3 * offset;
        fft = 2 * offset;
    } while (left > 0);

    // Sized while loading allocates anyway, so that later blocks up to the maximum do not.
    reserveForMaximumBlock();

    return stage (0)->fftSize / 2;
}

void ConvolutionEngine::add (const float* const* channels, int n, int channelCount)
{
    // Without a channel there is nothing to feed; emptying the stages' queues here would lose the
    // delays that keep them in step.
    if (channelCount < 1)
        return;

    const bool first = firstAdd;
    numChannels = std::min (channelCount, 2);
    firstAdd = false;

    const int count = numStages();
    for (int i = 0; i < count; ++i)
    {
        ConvolutionStage* s = stage (i);
        s->outputHeard[0] = heard[0];
        s->outputHeard[1] = heard[1];
        if (first)
        {
            const int lead = leadIn (i);
            s->pendingAdvance = lead;
            if (lead > 0)
                s->add (nullptr, lead, numChannels);
        }
        s->add (channels, n, numChannels);
        if (first && s->offset > 0)
        {
            for (int ch = 0; ch < numChannels; ++ch)
                if (float* delay = s->outputQueues[ch].appendFloats (s->offset))
                    std::memset (delay, 0, (size_t) s->offset * 4);
        }

        // A stage's output queue holds at most its delay or the samples asked of it, plus one block
        // of half its FFT size. Room for that now, while a new impulse or a larger block allocates
        // anyway, keeps rare sequences of block sizes from growing the queue minutes later.
        const int64_t most = ((int64_t) std::max (s->offset, s->pendingAdvance + n) + s->fftSize / 2) * 4;
        for (int ch = 0; ch < numChannels; ++ch)
            s->outputQueues[ch].reserve ((int32_t) std::min<int64_t> (most, INT32_MAX));
    }
}

int ConvolutionEngine::avail (int want)
{
    // No stages means a load failed for lack of memory: report nothing, so blocks pass dry.
    if (numStages() == 0)
        return 0;

    int n = want;
    for (int i = 0; i < numStages(); ++i)
    {
        ConvolutionStage* s = stage (i);
        n = std::min (n, s->avail (s->pendingAdvance + want) - s->pendingAdvance);
    }

    if (n > 0)
    {
        float* sums[2] = { nullptr, nullptr };
        bool roomEverywhere = true;
        for (int ch = 0; ch < numChannels; ++ch)
            if ((sums[ch] = outputQueues[ch].appendFloats (n)) == nullptr)
                roomEverywhere = false;

        // A channel without room drops the block on every channel, or they would drift apart.
        for (int ch = 0; ch < numChannels && ! roomEverywhere; ++ch)
            if (sums[ch] != nullptr)
            {
                outputQueues[ch].data.size -= n * 4;
                sums[ch] = nullptr;
            }

        for (int i = 0; i < numStages(); ++i)
        {
            ConvolutionStage* s = stage (i);
            if (s->pendingAdvance > 0)
            {
                s->advance (s->pendingAdvance);
                s->pendingAdvance = 0;
            }
            for (int ch = 0; ch < numChannels; ++ch)
                s->outputPointers[ch] = s->outputQueues[ch].frontFloats();
        }

        // One pass per channel adds the stages in their order, starting from zero as a cleared sum would.
        for (int ch = 0; ch < numChannels; ++ch)
            if (sums[ch] != nullptr)
                sumStages (sums[ch], ch, n);

        for (int i = 0; i < numStages(); ++i)
            stage (i)->advance (n);
    }
    int ready = want;
    for (int ch = 0; ch < numChannels; ++ch)
        ready = std::min (ready, outputQueues[ch].queuedFloats());
    return ready;
}

void ConvolutionEngine::sumStages (float* sum, int ch, int n) const
{
    constexpr int most = 16;
    const float* terms[most];
    int count = 0;
    for (int i = 0; i < numStages(); ++i)
        if (const float* out = stage (i)->outputPointers[ch])
        {
            if (count == most)
            {
                // More stages than fit: sum those so far, then go on from that sum.
                addTerms (sum, terms, count, n, true);
                count = 0;
            }
            terms[count++] = out;
        }
    addTerms (sum, terms, count, n, false);
}

void ConvolutionEngine::setMaximumBlockSize (int n)
{
    maximumBlockSize = std::max (n, 0);
    reserveForMaximumBlock();
}

int ConvolutionEngine::leadIn (int stageIndex) const
{
    // Shifts the middle stages' block boundaries so they do not all complete in one call.
    return stageIndex != 0 && stageIndex != numStages() - 1 ? stage (stageIndex)->fftSize / 8 : 0;
}

void ConvolutionEngine::reserveForMaximumBlock()
{
    if (maximumBlockSize < 1)
        return;

    for (auto& queue : outputQueues)
        queue.reserve ((int32_t) std::min<int64_t> ((int64_t) maximumBlockSize * 4, INT32_MAX));
    for (int i = 0; i < numStages(); ++i)
        stage (i)->reserveForBlocks (maximumBlockSize, leadIn (i));
}
