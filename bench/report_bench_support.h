// What the report benchmarks share: the text of a report, measured as the benchmarks report
// it.
#pragma once

#include <cstdint>

#include "bench/bench_files.h"
#include "reports/report_text.h"

// The report's length in UTF-16 units.
inline int64_t ReportUnits(const ReportText& report) {
    int64_t units = 0;
    for (const std::u16string& chunk : report.chunks) {
        units += static_cast<int64_t>(chunk.size());
    }
    return units;
}

// Records per second over `records` records a build, and bytes of text (UTF-16) per second.
inline void ReportThroughput(benchmark::State& state, int64_t records, const ReportText& report) {
    const int64_t units = ReportUnits(report);
    state.SetItemsProcessed(state.iterations() * records);
    state.SetBytesProcessed(state.iterations() * units * 2);
    state.counters["text_units"] = static_cast<double>(units);
}
