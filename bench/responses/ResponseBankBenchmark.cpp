// Loading the whole bank, as every preparation of the processor does.

#include "ResponseBank.h"

#include <benchmark/benchmark.h>

static void loadBank (benchmark::State& state)
{
    const auto hostRate = (double) state.range (0);
    for (auto _ : state)
    {
        ResponseBank bank (96000.0, hostRate);
        bank.load();
        benchmark::DoNotOptimize (bank.bands.size());
    }
}
BENCHMARK (loadBank)->Arg (48000)->Arg (44100)->Arg (96000)->Arg (192000)->Unit (benchmark::kMillisecond);

BENCHMARK_MAIN();
