// Comparing two metafiles of 250,000 records that differ in a few: the keys, the alignment and
// the hunks with their call texts and fields.
#include <cstring>
#include <vector>

#include "bench/bench_files.h"
#include "reports/metafile_diff.h"
#include "tests/support/emf_builder.h"

namespace {

// The generated file with three records changed and one record put in.
std::vector<uint8_t> ChangedCopy(const std::vector<uint8_t>& bytes) {
    std::vector<uint8_t> out;
    out.reserve(bytes.size() + 64);
    uint32_t offset = 0;
    for (int32_t index = 0; offset + 8 <= bytes.size(); ++index) {
        uint32_t size;
        std::memcpy(&size, &bytes[offset + 4], 4);
        if (size < 8 || size > bytes.size() - offset) {
            break;
        }
        if (index == 50000) {
            const RecordBuilder line = RecordBuilder(54, 16).I32(8, 5).I32(12, 7);
            out.insert(out.end(), line.bytes().begin(), line.bytes().end());
        }
        const size_t start = out.size();
        out.insert(out.end(), bytes.begin() + offset, bytes.begin() + offset + size);
        if ((index == 1000 || index == 120000 || index == 240000) && size > 8) {
            out[start + size - 1] ^= 0x5A;
        }
        offset += size;
    }
    return out;
}

void BM_DiffFewChanges(benchmark::State& state) {
    const MetafileDocument* first = LoadedBenchFile(kGeneratedFile, state);
    if (first == nullptr) {
        return;
    }
    const std::vector<uint8_t> changed = ChangedCopy(ReadFileBytes(BenchFilePath(kGeneratedFile)));
    MetafileDocument second;
    if (!second.LoadBytes(changed.data(), changed.size(), u"changed.emf")) {
        state.SkipWithError("the changed copy did not load");
        return;
    }
    size_t hunks = 0;
    for (auto _ : state) {
        std::vector<DiffHunk> result;
        benchmark::DoNotOptimize(CompareMetafiles(*first, second, DiffOptions(), &result));
        hunks = result.size();
    }
    state.SetItemsProcessed(state.iterations() * first->Store().count());
    state.counters["hunks"] = static_cast<double>(hunks);
    LabelWithFile(state, kGeneratedFile);
}

}  // namespace

BENCHMARK(BM_DiffFewChanges)->Unit(benchmark::kMillisecond);
