// The graphics state: the first walk over a whole file with its checkpoints, the state at
// records spread over the file after it, and a step of one record forward and back.
#include <vector>

#include "bench/bench_files.h"
#include "bench/heap_counter.h"
#include "state/state_tracker.h"

namespace {

void BM_StateFirstWalk(benchmark::State& state) {
    const int64_t file = state.range(0);
    const MetafileDocument* document = LoadedBenchFile(file, state);
    if (document == nullptr) {
        return;
    }
    size_t held = 0;
    for (auto _ : state) {
        const size_t before = HeapBytesHeld();
        StateTracker tracker;
        tracker.Reset(*document, nullptr);
        benchmark::DoNotOptimize(tracker.StateAt(document->Store().count() - 1));
        held = HeapBytesHeld() - before;
    }
    // What the checkpoints hold, with the tracker's own state.
    state.counters["held_MB"] = double(held) / (1024.0 * 1024.0);
    LabelWithFile(state, file);
}

// After one first walk: the state at records spread over the file, each on its own.
void BM_StateAtAnyRecord(benchmark::State& state) {
    const int64_t file = state.range(0);
    const MetafileDocument* document = LoadedBenchFile(file, state);
    if (document == nullptr) {
        return;
    }
    StateTracker tracker;
    tracker.Reset(*document, nullptr);
    const int32_t count = document->Store().count();
    tracker.StateAt(count - 1);
    // Going backwards, so that every request starts from a checkpoint.
    int32_t at = count - 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tracker.StateAt(at));
        at = at > 997 ? at - 997 : count - 1;
    }
    LabelWithFile(state, file);
}

// A step of one record, forward (range 1 = 1) or back (0), after one first walk.
void BM_StateStep(benchmark::State& state) {
    const int64_t file = state.range(0);
    const bool forward = state.range(1) != 0;
    const MetafileDocument* document = LoadedBenchFile(file, state);
    if (document == nullptr) {
        return;
    }
    StateTracker tracker;
    tracker.Reset(*document, nullptr);
    const int32_t count = document->Store().count();
    int32_t at = forward ? 0 : count - 1;
    tracker.StateAt(at);
    for (auto _ : state) {
        at = forward ? (at + 1 < count ? at + 1 : 0) : (at > 0 ? at - 1 : count - 1);
        benchmark::DoNotOptimize(tracker.StateAt(at));
    }
    LabelWithFile(state, file, forward ? "forward" : "back");
}

}  // namespace

BENCHMARK(BM_StateFirstWalk)
    ->ArgName("file")
    ->Arg(kGeneratedFile)
    ->Arg(kCorpusFile)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StateAtAnyRecord)->ArgName("file")->Arg(kGeneratedFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StateStep)
    ->ArgNames({"file", "forward"})
    ->Args({kGeneratedFile, 1})
    ->Args({kGeneratedFile, 0})
    ->Unit(benchmark::kMicrosecond);
