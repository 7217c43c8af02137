// Loading and writing the shipped Stops Table.

#include "stops_table/DatFile.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

const std::string kShipped = std::string(KAVEL_PROGRAM_DIR) + "/kavel.DAT";

void BM_ReadDat(benchmark::State& state) {
    for (auto _ : state) {
        auto r = kavel::readDat(kShipped);
        if (!r.table) state.SkipWithError("cannot read the shipped table");
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_ReadDat)->Unit(benchmark::kMicrosecond);

void BM_WriteDat(benchmark::State& state) {
    const auto table = *kavel::readDat(kShipped).table;
    const auto path = std::filesystem::temp_directory_path() / "kavel-bench-write.DAT";
    for (auto _ : state) {
        if (kavel::writeDat(path.string(), table)) state.SkipWithError("cannot write");
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_WriteDat)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
