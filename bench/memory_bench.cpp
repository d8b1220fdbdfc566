// The most the program holds on the heap at once while it loads a file and builds one report,
// made a chunk at a time as the window and orvella-dump make it, or held whole: the figure to
// hold against three times the file's size plus the size of the text built (UTF-16).
#include <filesystem>

#include "bench/heap_counter.h"
#include "bench/report_bench_support.h"
#include "reports/call_list_report.h"
#include "reports/header_report.h"
#include "reports/record_list_report.h"
#include "reports/report_text.h"
#include "tests/support/emf_builder.h"

namespace {

enum Report : int64_t { kHeaderReport = 1, kRecordList = 2, kCallList = 3 };

// Builds the report whole, as a ReportText; returns its length in UTF-16 units.
int64_t BuildWhole(int64_t which, const MetafileDocument& document) {
    ReportText report;
    if (which == kHeaderReport) {
        BuildHeaderReportText(document, &report);
    } else if (which == kRecordList) {
        BuildRecordListText(document, &report);
    } else {
        BuildCallListText(document, &report, 1);
    }
    return ReportUnits(report);
}

// Makes the report a chunk at a time, as the report control and orvella-dump take it; returns
// its length in UTF-16 units.
int64_t BuildStreamed(int64_t which, const MetafileDocument& document) {
    if (which == kHeaderReport) {
        return BuildWhole(which, document);
    }
    std::unique_ptr<ReportStream> stream =
        which == kRecordList ? OpenRecordList(document) : OpenCallList(document, 1);
    int64_t units = 0;
    for (std::u16string_view chunk = stream->NextChunk(); !chunk.empty();
         chunk = stream->NextChunk()) {
        units += static_cast<int64_t>(chunk.size());
    }
    return units;
}

void BM_PeakHeap(benchmark::State& state) {
    const int64_t file = state.range(0);
    const int64_t which = state.range(1);
    const bool streamed = state.range(2) != 0;
    if (LoadedBenchFile(file, state) == nullptr) {
        return;
    }
    const std::u16string path = ToU16(BenchFilePath(file));
    size_t peak = 0;
    int64_t text_bytes = 0;
    for (auto _ : state) {
        const size_t before = HeapBytesHeld();
        ResetHeapPeak();
        {
            MetafileDocument document;
            document.LoadFile(path.c_str());
            text_bytes =
                2 * (streamed ? BuildStreamed(which, document) : BuildWhole(which, document));
        }
        peak = HeapPeakBytes() - before;
    }
    const auto file_bytes = static_cast<double>(std::filesystem::file_size(BenchFilePath(file)));
    const double budget = 3 * file_bytes + static_cast<double>(text_bytes);
    state.counters["file_MB"] = file_bytes / 1e6;
    state.counters["text_MB"] = static_cast<double>(text_bytes) / 1e6;
    state.counters["peak_MB"] = static_cast<double>(peak) / 1e6;
    // Below 1 when the peak stays within three times the file plus the text.
    state.counters["peak/budget"] = static_cast<double>(peak) / budget;
    static const char* const kNames[] = {"", "header", "records", "calls"};
    LabelWithFile(state, file, std::string(kNames[which]) + (streamed ? " streamed" : " whole"));
}

}  // namespace

BENCHMARK(BM_PeakHeap)
    ->ArgNames({"file", "report", "streamed"})
    ->ArgsProduct({{kGeneratedFile, kCorpusFile}, {kHeaderReport, kRecordList, kCallList}, {1, 0}})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
