#include "SplitRadixFft.h"

#include <atomic>
#include <cmath>
#include <mutex>

#include "FftTables.h"
#include "SpectrumKernels.h"

const float* fftQuarterTwiddles[16] = {};

namespace
{
constexpr int numTables = 12;      // sizes 16 ... 32768
constexpr int firstLargeTable = 6; // size 1024: only the first eighth of the circle is stored

int tableSize (int t)
{
    return 16 << t;
}
int tableEntries (int t)
{
    return t < firstLargeTable ? tableSize (t) / 4 - 1 : tableSize (t) / 8 - 1;
}

constexpr int totalEntries = 3 + 7 + 15 + 31 + 63 + 127 + 127 + 255 + 511 + 1023 + 2047 + 4095;
constexpr int totalQuarterFloats = 32764; // sum of N / 2 for N = 8 ... 32768

float tableStorage[2 * totalEntries];
float* tables[numTables];
float quarterStorage[totalQuarterFloats];

std::atomic<int> initialised{ 0 };
std::once_flag initOnce;

void buildTables()
{
    float* next = tableStorage;
    for (int t = 0; t < numTables; ++t)
    {
        tables[t] = next;
        const int entries = tableEntries (t);
        next += 2 * entries;
        const double pi = 3.14159265358979323846;
        const double step = (pi / 4.0) / (entries + 1) * (t < firstLargeTable ? 2.0 : 1.0);
        for (int j = 0; j < entries; ++j)
        {
            if ((j & 1) != 0 && t > 0)
            {
                // the same angle is already in the next smaller table
                tables[t][2 * j] = tables[t - 1][2 * ((j - 1) / 2)];
                tables[t][2 * j + 1] = tables[t - 1][2 * ((j - 1) / 2) + 1];
            }
            else
            {
                const double angle = (j + 1) * step;
                tables[t][2 * j] = (float) std::cos (angle);
                tables[t][2 * j + 1] = (float) std::sin (angle);
            }
        }
    }

    // Unfold each table into w^0 ... w^(N/4 - 1) so the passes walk it forwards.
    const float rootHalfCos = tables[0][2]; // entry k = 2 of size 16: pi / 4
    const float rootHalfSin = tables[0][3];
    float* q = quarterStorage;
    for (int log2n = 3; log2n <= 15; ++log2n)
    {
        const int n = 1 << log2n;
        const int quarter = n / 4;
        fftQuarterTwiddles[log2n] = q;
        for (int k = 0; k < quarter; ++k)
        {
            float c, s;
            if (k == 0)
            {
                c = 1.0f;
                s = 0.0f;
            }
            else if (n == 8)
            {
                c = rootHalfCos;
                s = rootHalfSin;
            }
            else
            {
                const int t = log2n - 4;
                if (t < firstLargeTable || k < n / 8)
                {
                    c = tables[t][2 * (k - 1)];
                    s = tables[t][2 * (k - 1) + 1];
                }
                else if (k == n / 8)
                {
                    c = rootHalfCos;
                    s = rootHalfSin;
                }
                else
                {
                    // mirrored about pi / 4: cosine and sine exchange
                    c = tables[t][2 * (quarter - k - 1) + 1];
                    s = tables[t][2 * (quarter - k - 1)];
                }
            }
            q[2 * k] = c;
            q[2 * k + 1] = s;
        }
        q += 2 * quarter;
    }
}

// The AVX-512 path keeps the AVX2 transforms: on processors that split 512-bit shuffles in two, the
// wider passes were slower.
const FftRoutines& chooseRoutines()
{
    return engineKernelLevel() == EngineKernelLevel::sse2 ? fftRoutinesBaseline : fftRoutinesWide;
}

const FftRoutines& routines()
{
    static const FftRoutines& chosen = chooseRoutines();
    return chosen;
}
} // namespace

int fftInitTwiddles()
{
    // The flag is raised only once the tables are complete, so no thread can see half-built tables.
    if (initialised.load (std::memory_order_acquire) == 0)
    {
        std::call_once (initOnce,
                        []
                        {
                            buildTables();
                            initialised.store (1, std::memory_order_release);
                        });
    }
    return 0;
}

namespace
{
// log2 n for a transform that can run (the tables then exist), or -1 when the call is to be ignored.
int routineIndex (const float* data, int n)
{
    if (data == nullptr || n < SplitRadixFft::minSize || n > SplitRadixFft::maxSize || (n & (n - 1)) != 0)
        return -1;

    fftInitTwiddles();
    return __builtin_ctz ((unsigned int) n);
}
} // namespace

void fftDispatch (float* data, int n, int inverse)
{
    const int log2n = routineIndex (data, n);
    if (log2n < 0)
        return;

    const FftRoutines& r = routines();
    (inverse != 0 ? r.inverse[log2n] : r.forward[log2n]) (data);
}

void fftForwardZeroPadded (float* data, int n)
{
    const int log2n = routineIndex (data, n);
    if (log2n >= 0)
        routines().forwardZeroPadded[log2n](data);
}

unsigned int fftPermuteIndex (unsigned int i, unsigned int n)
{
    if (n < 3)
        return i;
    if (i < n / 2)
        return 2 * fftPermuteIndex (i, n / 2);
    if (i < 3 * n / 4)
        return 4 * fftPermuteIndex (i - n / 2, n / 4) + 1;
    return (4 * fftPermuteIndex (i - 3 * n / 4, n / 4) - 1) & (n - 1);
}

namespace SplitRadixFft
{
const float* twiddleTable (int n, int* entries)
{
    fftInitTwiddles();
    for (int t = 0; t < numTables; ++t)
    {
        if (tableSize (t) == n)
        {
            if (entries != nullptr)
                *entries = tableEntries (t);
            return tables[t];
        }
    }
    if (entries != nullptr)
        *entries = 0;
    return nullptr;
}

bool usesWideVectors()
{
    return &routines() != &fftRoutinesBaseline;
}
} // namespace SplitRadixFft
