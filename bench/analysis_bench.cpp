// SPDX-License-Identifier: GPL-3.0-or-later
// One full analysis of a real AVI file held in memory, through the road an
// opened file takes: MainDialog opens it, reads it into its image, analyses
// it and shows every field; and the analysis alone, bytes to report.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/analyse.h"
#include "riff/riff_layout.h"

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

void BM_AnalyseImage(benchmark::State& state) {
    quibo::bench::AnalysedFile file;
    if (std::string error = file.Open(); !error.empty()) {
        state.SkipWithError(error.c_str());
        return;
    }
    quibo::MainDialog& dialog = file.Dialog();
    std::vector<std::uint8_t> room(quibo::kImageCapacity);
    quibo::AudioSampleBuffer samples(room.data(), room.size());
    quibo::AviReport report;
    const quibo::PastImage past;
    const quibo::AnalysisInput input{dialog.FileImage(), dialog.LoadedLength(), dialog.Report().size,
                                     dialog.Report().lastWrite, past, dialog.Codecs(), dialog.InstalledFourCCs()};
    for (auto _ : state) {
        quibo::Analyse(input, samples, report);
        benchmark::DoNotOptimize(report.walked);
    }
}

}  // namespace

BENCHMARK(BM_AnalyseFileInMemory)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AnalyseImage)->Unit(benchmark::kMicrosecond);
