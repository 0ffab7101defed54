// Runs alone in its own process, so the twiddle tables are still unbuilt when the threads start.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "ConvolutionEngine.h"
#include "EngineTestHelpers.h"
#include "SplitRadixFft.h"

using namespace enginetest;

namespace
{
struct Results
{
    std::vector<Signal> spectra; // one forward transform per size
    std::vector<Signal> convolved;
};

Results compute (const ImpulseBuffer& impulse, const Signal& input)
{
    Results r;
    ConvolutionEngine engine;
    engine.setImpulse (impulse); // the first FFT work of the process happens in here
    r.convolved = runEngine (engine, { input, input }, [] { return 256; });
    for (int n = 2; n <= 32768; n *= 2)
    {
        Signal x (input.begin(), input.begin() + 2 * n);
        fftDispatch (x.data(), n, 0);
        r.spectra.push_back (std::move (x));
    }
    return r;
}
} // namespace

TEST (ConcurrentInit, EightThreadsBuildingEnginesAtOnceGetTheSingleThreadResults)
{
    const Signal h = randomSignal (20000, 1, 0.01f);
    const ImpulseBuffer impulse = makeImpulse ({ h });
    const Signal input = randomSignal (65536, 2);

    constexpr int numThreads = 8;
    std::vector<Results> results (numThreads);
    std::atomic<int> waiting{ numThreads };
    std::vector<std::thread> threads;
    for (int t = 0; t < numThreads; ++t)
        threads.emplace_back (
            [&, t]
            {
                waiting.fetch_sub (1);
                while (waiting.load() > 0)
                    std::this_thread::yield();
                results[(size_t) t] = compute (impulse, input);
            });
    for (auto& thread : threads)
        thread.join();

    const Results reference = compute (impulse, input);
    for (int t = 0; t < numThreads; ++t)
    {
        EXPECT_EQ (results[(size_t) t].spectra, reference.spectra) << "thread " << t;
        EXPECT_EQ (results[(size_t) t].convolved, reference.convolved) << "thread " << t;
    }
    const Signal start (reference.convolved[0].begin(), reference.convolved[0].begin() + 4096);
    EXPECT_LT (relativeError (start, directConvolution (input, h, 4096)), 2e-5);
}
