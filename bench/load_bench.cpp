// Loading a metafile into the document: reading the file and copying every record into the
// store.
#include <filesystem>

#include "bench/bench_files.h"
#include "document/playback_copy.h"
#include "tests/support/emf_builder.h"

namespace {

void BM_LoadFile(benchmark::State& state) {
    const int64_t file = state.range(0);
    const MetafileDocument* probe = LoadedBenchFile(file, state);
    if (probe == nullptr) {
        return;
    }
    const std::u16string path = ToU16(BenchFilePath(file));
    int32_t records = 0;
    for (auto _ : state) {
        MetafileDocument document;
        benchmark::DoNotOptimize(document.LoadFile(path.c_str()));
        records = document.Store().count();
    }
    const auto bytes = static_cast<int64_t>(std::filesystem::file_size(BenchFilePath(file)));
    state.SetItemsProcessed(state.iterations() * records);
    state.SetBytesProcessed(state.iterations() * bytes);
    LabelWithFile(state, file);
}

// On Windows the load also makes the guarded copy of the records that the platform's player
// is given.
void BM_PlaybackCopy(benchmark::State& state) {
    const int64_t file = state.range(0);
    const MetafileDocument* document = LoadedBenchFile(file, state);
    if (document == nullptr) {
        return;
    }
    for (auto _ : state) {
        PlaybackCopy copy;
        benchmark::DoNotOptimize(BuildPlaybackCopy(document->Store(), &copy));
    }
    state.SetItemsProcessed(state.iterations() * document->Store().count());
    state.SetBytesProcessed(state.iterations() * document->Store().stored_bytes());
    LabelWithFile(state, file);
}

}  // namespace

BENCHMARK(BM_PlaybackCopy)
    ->ArgName("file")
    ->Arg(kGeneratedFile)
    ->Arg(kCorpusFile)
    ->Unit(benchmark::kMillisecond);

BENCHMARK(BM_LoadFile)
    ->ArgName("file")
    ->Arg(kGeneratedFile)
    ->Arg(kCorpusFile)
    ->Unit(benchmark::kMillisecond);
