// The text view's line index of the record list and the call list, built from their entries,
// and a search through every line of the call list for a text it does not hold.
#include "bench/bench_files.h"
#include "reports/call_list_report.h"
#include "reports/record_list_report.h"
#include "textview/line_model.h"

namespace {

std::unique_ptr<ReportEntries> OpenList(const MetafileDocument& document, int64_t list) {
    if (list == 2) {
        return OpenRecordListEntries(document);
    }
    return OpenCallListEntries(document, 1);
}

void BM_LineIndex(benchmark::State& state) {
    const int64_t file = state.range(0);
    const int64_t list = state.range(1);
    const MetafileDocument* document = LoadedBenchFile(file, state);
    if (document == nullptr) {
        return;
    }
    // The text view measures each line's width on the way, as it does here.
    const TabLayout layout{7, {60, 300, 410}, 48};
    int32_t lines = 0;
    for (auto _ : state) {
        LineModel model;
        model.Build(OpenList(*document, list), &layout);
        lines = model.line_count();
    }
    state.SetItemsProcessed(state.iterations() * document->Store().count());
    state.counters["lines"] = static_cast<double>(lines);
    LabelWithFile(state, file, list == 2 ? "records" : "calls");
}

void BM_FindInCallList(benchmark::State& state) {
    const int64_t file = state.range(0);
    const MetafileDocument* document = LoadedBenchFile(file, state);
    if (document == nullptr) {
        return;
    }
    LineModel model;
    model.Build(OpenCallListEntries(*document, 1));
    for (auto _ : state) {
        TextPos start;
        TextPos end;
        benchmark::DoNotOptimize(model.Find(u"no such call", {}, {}, &start, &end));
    }
    state.SetItemsProcessed(state.iterations() * document->Store().count());
    LabelWithFile(state, file);
}

}  // namespace

BENCHMARK(BM_LineIndex)
    ->ArgNames({"file", "list"})
    ->ArgsProduct({{kGeneratedFile, kCorpusFile}, {2, 3}})
    ->Unit(benchmark::kMillisecond);

BENCHMARK(BM_FindInCallList)
    ->ArgName("file")
    ->Arg(kGeneratedFile)
    ->Arg(kCorpusFile)
    ->Unit(benchmark::kMillisecond);
