// The call list's text: every drawing record's call text, with parameter blocks (as the
// "GDI calls" view shows it) or in one-line form (as orvella-dump calls --brief prints it).
#include "bench/report_bench_support.h"
#include "calls/call_text.h"
#include "reports/call_list_report.h"

namespace {

void BM_CallListText(benchmark::State& state) {
    const int64_t file = state.range(0);
    const int verbose = static_cast<int>(state.range(1));
    const MetafileDocument* document = LoadedBenchFile(file, state);
    if (document == nullptr) {
        return;
    }
    for (auto _ : state) {
        ReportText report;
        benchmark::DoNotOptimize(BuildCallListText(*document, &report, verbose));
    }
    ReportText report;
    BuildCallListText(*document, &report, verbose);
    const int32_t count = document->Store().count();
    ReportThroughput(state, count >= 2 ? count - 2 : 0, report);
    LabelWithFile(state, file, verbose ? "verbose" : "brief");
}

}  // namespace

BENCHMARK(BM_CallListText)
    ->ArgNames({"file", "verbose"})
    ->ArgsProduct({{kGeneratedFile, kCorpusFile}, {1, 0}})
    ->Unit(benchmark::kMillisecond);
