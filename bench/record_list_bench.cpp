// The record list's text: every record's line with its hexadecimal dump.
#include "bench/report_bench_support.h"
#include "reports/record_list_report.h"

namespace {

void BM_RecordListText(benchmark::State& state) {
    const int64_t file = state.range(0);
    const MetafileDocument* document = LoadedBenchFile(file, state);
    if (document == nullptr) {
        return;
    }
    // A fresh report each time, as the window builds one for each showing of the view.
    for (auto _ : state) {
        ReportText report;
        benchmark::DoNotOptimize(BuildRecordListText(*document, &report));
    }
    ReportText report;
    BuildRecordListText(*document, &report);
    ReportThroughput(state, document->Store().count(), report);
    LabelWithFile(state, file);
}

}  // namespace

BENCHMARK(BM_RecordListText)
    ->ArgName("file")
    ->Arg(kGeneratedFile)
    ->Arg(kCorpusFile)
    ->Unit(benchmark::kMillisecond);
