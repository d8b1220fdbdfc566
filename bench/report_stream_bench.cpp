// The record list and the call list made a chunk at a time, as the report control and
// orvella-dump take them: each chunk is handed out and the buffer reused for the next.
#include "bench/bench_files.h"
#include "reports/call_list_report.h"
#include "reports/record_list_report.h"

namespace {

int64_t ReadWholeStream(ReportStream& stream) {
    int64_t units = 0;
    for (std::u16string_view chunk = stream.NextChunk(); !chunk.empty();
         chunk = stream.NextChunk()) {
        benchmark::DoNotOptimize(chunk.data());
        units += static_cast<int64_t>(chunk.size());
    }
    return units;
}

void ReportStreamThroughput(benchmark::State& state, int64_t records, int64_t units) {
    state.SetItemsProcessed(state.iterations() * records);
    state.SetBytesProcessed(state.iterations() * units * 2);
    state.counters["text_units"] = static_cast<double>(units);
}

void BM_RecordListStream(benchmark::State& state) {
    const int64_t file = state.range(0);
    const MetafileDocument* document = LoadedBenchFile(file, state);
    if (document == nullptr) {
        return;
    }
    int64_t units = 0;
    for (auto _ : state) {
        units = ReadWholeStream(*OpenRecordList(*document));
    }
    ReportStreamThroughput(state, document->Store().count(), units);
    LabelWithFile(state, file);
}

void BM_CallListStream(benchmark::State& state) {
    const int64_t file = state.range(0);
    const int verbose = static_cast<int>(state.range(1));
    const MetafileDocument* document = LoadedBenchFile(file, state);
    if (document == nullptr) {
        return;
    }
    int64_t units = 0;
    for (auto _ : state) {
        units = ReadWholeStream(*OpenCallList(*document, verbose));
    }
    const int32_t count = document->Store().count();
    ReportStreamThroughput(state, count >= 2 ? count - 2 : 0, units);
    LabelWithFile(state, file, verbose ? "verbose" : "brief");
}

}  // namespace

BENCHMARK(BM_RecordListStream)
    ->ArgName("file")
    ->Arg(kGeneratedFile)
    ->Arg(kCorpusFile)
    ->Unit(benchmark::kMillisecond);

BENCHMARK(BM_CallListStream)
    ->ArgNames({"file", "verbose"})
    ->ArgsProduct({{kGeneratedFile, kCorpusFile}, {1, 0}})
    ->Unit(benchmark::kMillisecond);
