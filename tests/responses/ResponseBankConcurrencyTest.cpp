#include "ResponseDocumentSupport.h"

#include <gtest/gtest.h>

#include <thread>

using namespace responses_test;

namespace
{
bool sameContents (const ResponseBank& a, const ResponseBank& b)
{
    if (a.bands.size() != b.bands.size())
        return false;
    for (auto& [band, frequencies] : a.bands)
        for (auto& [frequency, types] : frequencies)
            for (auto& [type, gains] : types)
                for (auto& [gain, buffer] : gains)
                {
                    auto* other = find (b, band, frequency, type, gain);
                    if (other == nullptr || other->getNumSamples() != buffer->getNumSamples())
                        return false;
                    for (int n = 0; n < buffer->getNumSamples(); ++n)
                        if (other->getSample (0, n) != buffer->getSample (0, n))
                            return false;
                }
    return true;
}
} // namespace

// Preparations of several processor instances build their banks at the same time.
TEST (ResponseBankConcurrency, BanksLoadedOnSeveralThreadsAtOnceEqualOnesLoadedAlone)
{
    const std::array<double, 4> rates{ 44100.0, 48000.0, 44100.0, 192000.0 };
    std::array<std::unique_ptr<ResponseBank>, 4> banks;
    std::vector<std::thread> threads;
    for (size_t i = 0; i < rates.size(); ++i)
        threads.emplace_back ([&banks, &rates, i] { banks[i] = loadedBank (rates[i]); });
    for (auto& thread : threads)
        thread.join();

    for (size_t i = 0; i < rates.size(); ++i)
    {
        SCOPED_TRACE (rates[i]);
        ASSERT_NE (banks[i], nullptr);
        EXPECT_TRUE (sameContents (*banks[i], *loadedBank (rates[i])));
    }
}
