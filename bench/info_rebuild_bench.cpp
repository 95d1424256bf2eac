// SPDX-License-Identifier: GPL-3.0-or-later
// One INFO edit rebuild on a real file image: the title (INAM) of the
// analysed file gets a longer text, so the rebuild moves the fields after it
// and takes the bytes from the JUNK that follows. Each operation copies the
// image into the work image first, as every edit does.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "riff/riff_layout.h"
#include "bench/analysed_file.h"
#include "info/info_rebuild.h"

namespace {

void BM_RebuildInfoTitleEdit(benchmark::State& state) {
    quibo::bench::AnalysedFile file;
    if (std::string error = file.Open(); !error.empty()) {
        state.SkipWithError(error.c_str());
        return;
    }
    const quibo::MainDialog& dialog = file.Dialog();
    const auto& rows = dialog.Report().rows;
    auto title = std::find_if(rows.begin(), rows.end(), [](const quibo::InfoRow& row) {
        return row.code == "INAM" && row.location.has_value();
    });
    if (title == rows.end()) {
        state.SkipWithError("the file has no INAM field");
        return;
    }
    quibo::InfoEditRequest request;
    request.kind = quibo::InfoEditKind::Edit;
    request.target = *title->location;
    std::memcpy(request.code, "INAM", 5);
    request.text = std::string(title->text) + " (edited by the benchmark)";

    auto source = std::make_unique<std::uint8_t[]>(quibo::kImageCapacity);
    auto work = std::make_unique<std::uint8_t[]>(quibo::kImageCapacity);
    std::memcpy(source.get(), dialog.FileImage(), quibo::kImageCapacity);
    const std::size_t loaded = dialog.LoadedLength();
    std::size_t written = 0;
    for (auto _ : state) {
        std::memcpy(work.get(), source.get(), quibo::kImageCapacity);
        quibo::RebuildResult result = quibo::RebuildInfoTree(source.get(), work.get(), loaded, request);
        if (result.outcome != quibo::RebuildOutcome::Committed) {
            state.SkipWithError("the rebuild did not commit");
            return;
        }
        written = result.highWaterMark;
        benchmark::DoNotOptimize(work.get());
    }
    state.counters["write_bytes"] = static_cast<double>(written);
}

}  // namespace

BENCHMARK(BM_RebuildInfoTitleEdit)->Unit(benchmark::kMicrosecond);
