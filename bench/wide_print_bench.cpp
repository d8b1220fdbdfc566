// The wide formatted print, the primitive under every text: the conversions the call texts
// use most.
#include <benchmark/benchmark.h>

#include "text/wide_text.h"

namespace {

void BM_WidePrint(benchmark::State& state) {
    FixedWideText<8192> text;
    int32_t value = 0;
    int64_t units = 0;
    for (auto _ : state) {
        text.Clear();
        for (int32_t i = 0; i < 32; ++i) {
            text.Print(u"\r\n\t  lppt[%d] = (%d, %d);", i, value + i * 37, -value - i * 53);
        }
        text.Print(u"%d\t%s\t0x%04X(%d)", value, u"EMR_POLYLINE16", value * 4, value * 4);
        text.Print(u"(hDC, %ld, %ld, 0x%08X);", value, -value, 0x00CC0020);
        units += static_cast<int64_t>(text.size());
        ++value;
    }
    state.SetItemsProcessed(state.iterations() * 34);
    state.SetBytesProcessed(units * 2);
}

}  // namespace

BENCHMARK(BM_WidePrint);
