// SPDX-License-Identifier: GPL-3.0-or-later
// The codec database load: open, read whole and parse res/Quibo.dat, once
// from memory (the parse alone, near enough) and once from the file system
// (as start-up does, the page cache warm).
#include <benchmark/benchmark.h>

#include <string>

#include "codecs/codec_database.h"
#include "tests/memory_files.h"
#include "platform/posix_file_access.h"

namespace {

const std::string kDatabasePath = QUIBO_SOURCE_DIR "/res/Quibo.dat";

void LoadRepeatedly(benchmark::State& state, quibo::FileAccess& files) {
    const std::vector<std::string> places{kDatabasePath};
    std::size_t records = 0;
    for (auto _ : state) {
        quibo::CodecDatabase database;
        quibo::CodecLoadResult result = quibo::LoadCodecDatabase(files, places, database);
        if (!result.complete) {
            state.SkipWithError(("cannot load " + kDatabasePath).c_str());
            return;
        }
        records = database.RecordCount();
        benchmark::DoNotOptimize(records);
    }
    state.counters["records"] = static_cast<double>(records);
}

void BM_LoadCodecDatabaseFromMemory(benchmark::State& state) {
    quibo::test::MemoryFiles files(false);
    if (!files.AddFromDisk(kDatabasePath)) {
        state.SkipWithError(("cannot read " + kDatabasePath).c_str());
        return;
    }
    LoadRepeatedly(state, files);
}

void BM_LoadCodecDatabaseFromDisk(benchmark::State& state) {
    quibo::PosixFileAccess files;
    LoadRepeatedly(state, files);
}

}  // namespace

BENCHMARK(BM_LoadCodecDatabaseFromMemory)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadCodecDatabaseFromDisk)->Unit(benchmark::kMicrosecond);
