// BuildCallText by record family: the records of one family of a file, each translated into
// its call text, with parameter blocks and in one-line form.
#include "bench/bench_files.h"
#include "calls/call_text.h"

namespace {

void BM_CallText(benchmark::State& state) {
    const int64_t file = state.range(0);
    const int64_t family = state.range(1);
    const int verbose = static_cast<int>(state.range(2));
    const MetafileDocument* document = LoadedBenchFile(file, state);
    if (document == nullptr) {
        return;
    }
    const std::vector<int32_t> records = RecordsOfFamily(*document, family);
    if (records.empty()) {
        state.SkipWithError("the file holds no record of this family");
        return;
    }
    SetVerboseFlag(verbose);
    FixedWideText<kCallTextUnits> call;
    int64_t units = 0;
    for (auto _ : state) {
        units = 0;
        for (const int32_t index : records) {
            BuildCallText(document->RecordAt(index), call);
            units += static_cast<int64_t>(call.size());
        }
        benchmark::DoNotOptimize(units);
    }
    const auto count = static_cast<int64_t>(records.size());
    state.SetItemsProcessed(state.iterations() * count);
    state.SetBytesProcessed(state.iterations() * units * 2);
    state.counters["records"] = static_cast<double>(count);
    LabelWithFile(state, file, std::string(FamilyName(family)) + (verbose ? " verbose" : " brief"));
}

void FamilyArguments(benchmark::internal::Benchmark* benchmark) {
    for (int64_t file : {kGeneratedFile, kCorpusFile}) {
        for (int64_t family = 0; family < kFamilyCount; ++family) {
            for (int64_t verbose : {1, 0}) {
                benchmark->Args({file, family, verbose});
            }
        }
    }
}

}  // namespace

BENCHMARK(BM_CallText)
    ->ArgNames({"file", "family", "verbose"})
    ->Apply(FamilyArguments)
    ->Unit(benchmark::kMicrosecond);
