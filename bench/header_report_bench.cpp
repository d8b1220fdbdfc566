// The header report's text.
#include "bench/report_bench_support.h"
#include "reports/header_report.h"

namespace {

void BM_HeaderReportText(benchmark::State& state) {
    const int64_t file = state.range(0);
    const MetafileDocument* document = LoadedBenchFile(file, state);
    if (document == nullptr) {
        return;
    }
    ReportText report;
    for (auto _ : state) {
        benchmark::DoNotOptimize(BuildHeaderReportText(*document, &report));
    }
    ReportThroughput(state, 1, report);
    LabelWithFile(state, file);
}

}  // namespace

BENCHMARK(BM_HeaderReportText)->ArgName("file")->Arg(kGeneratedFile)->Arg(kCorpusFile);
