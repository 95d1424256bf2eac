// One full analysis of a real AVI file held in memory, through the road an
// opened file takes: MainDialog opens it, reads it into its image, identifies
// it, walks it and fills every field.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "bench/analysed_file.h"

namespace {

void BM_AnalyseFileInMemory(benchmark::State& state) {
    quibo::bench::AnalysedFile file;
    if (std::string error = file.Open(); !error.empty()) {
        state.SkipWithError(error.c_str());
        return;
    }
    for (auto _ : state) {
        file.Reopen();
        benchmark::DoNotOptimize(file.Dialog().FileAnalysed());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(file.Dialog().LoadedLength()));
}

}  // namespace

BENCHMARK(BM_AnalyseFileInMemory)->Unit(benchmark::kMicrosecond);
