// Reading a presets document through the store's reader, as every command that makes an instance
// does: a plain one, and ones of the same size whose single preset name is all character
// references, as the store writes a long name of accented letters or of ampersands. Each case times
// the plain document of its size in the same iterations and reports its time over the plain one's
// as "vs_plain", so that the ratio does not depend on how busy the machine was.

#include "PresetStore.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

namespace
{
std::string presetsDocument (size_t bytes, const std::string& unit)
{
    const std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n\n<PRESETS>\n"
                             "  <preset1 bypass=\"0.0\" presetName=\"";
    const std::string tail = "\"/>\n</PRESETS>\n";

    std::string document = head;
    while (document.size() + unit.size() + tail.size() <= bytes)
        document += unit;
    return document + tail;
}

double secondsToRead (const std::string& document)
{
    const auto start = std::chrono::steady_clock::now();
    const auto xml = PresetStore::parseDocument (document.data(), document.size());
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (xml == nullptr)
        throw std::runtime_error ("the benchmark's document was not read");
    return elapsed.count();
}

void readPresets (benchmark::State& state, const std::string& unit)
{
    const auto bytes = (size_t) state.range (0);
    const auto plain = presetsDocument (bytes, "e");
    const auto document = presetsDocument (bytes, unit);

    double plainSeconds = 0.0, seconds = 0.0;
    for (auto _ : state)
    {
        plainSeconds += secondsToRead (plain);
        const auto once = secondsToRead (document);
        seconds += once;
        state.SetIterationTime (once);
    }

    state.SetBytesProcessed ((int64_t) (document.size() * state.iterations()));
    state.counters["vs_plain"] = seconds / plainSeconds;
}
} // namespace

BENCHMARK_CAPTURE (readPresets, plain, std::string ("e"))
    ->RangeMultiplier (4)
    ->Range (64 << 10, 16 << 20)
    ->UseManualTime()
    ->Unit (benchmark::kMillisecond);
BENCHMARK_CAPTURE (readPresets, e_acute, std::string ("&#233;"))
    ->RangeMultiplier (4)
    ->Range (64 << 10, 16 << 20)
    ->UseManualTime()
    ->Unit (benchmark::kMillisecond);
BENCHMARK_CAPTURE (readPresets, ampersand, std::string ("&amp;"))
    ->RangeMultiplier (4)
    ->Range (64 << 10, 16 << 20)
    ->UseManualTime()
    ->Unit (benchmark::kMillisecond);

BENCHMARK_MAIN();
