// The files the benchmarks run on: a generated metafile of 250,000 mixed records, and the
// largest real file of the shared corpus when it is there.
#include "bench/bench_files.h"

#include <filesystem>
#include <map>
#include <memory>

#include "document/record_types.h"
#include "tests/support/emf_builder.h"

namespace {

constexpr float kIdentity[6] = {1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f};

RecordBuilder ExtTextOutW(uint32_t n, int32_t x, int32_t y) {
    static const std::u16string kWords = u"Quarterly report, page 12: totals by region and month ";
    const uint32_t chars = 10 + n % 30;
    std::u16string text;
    for (uint32_t i = 0; i < chars; ++i) {
        text += kWords[(n + i) % kWords.size()];
    }
    const uint32_t off_dx = 76 + ((chars * 2 + 3) & ~3u);
    RecordBuilder r(84, off_dx + 4 * chars);
    r.I32(8, x).I32(12, y - 12).I32(16, x + 7 * static_cast<int32_t>(chars)).I32(20, y + 3);
    r.U32(24, 1).F32(28, 0.0f).F32(32, 0.0f);
    r.I32(36, x).I32(40, y).U32(44, chars).U32(48, 76).U32(52, n % 3 == 0 ? 0x0004 : 0);
    r.I32(56, x).I32(60, y - 12).I32(64, x + 7 * static_cast<int32_t>(chars)).I32(68, y + 3);
    r.U32(72, off_dx).Utf16(76, text);
    for (uint32_t i = 0; i < chars; ++i) {
        r.I32(off_dx + 4 * i, 6 + static_cast<int32_t>((n + i) % 3));
    }
    return r;
}

RecordBuilder ExtCreateFontIndirectW(uint32_t n) {
    static const char16_t* const kFaces[] = {u"Arial", u"Times New Roman", u"Courier New",
                                             u"Segoe UI"};
    RecordBuilder r(82, 368);
    r.U32(8, 1 + n % 31).I32(12, -11 - static_cast<int32_t>(n % 9)).U32(28, n % 2 ? 700 : 400);
    r.U8(32, n % 5 == 0).U8(35, 0).U8(36, 7).U8(37, 0).U8(38, 5).U8(39, 0x22);
    r.Utf16(40, kFaces[n % 4]);
    return r;
}

RecordBuilder Poly16(uint32_t type, uint32_t points, uint32_t n) {
    RecordBuilder r(type, 28 + 4 * points);
    r.I32(8, 10).I32(12, 10).I32(16, 900).I32(20, 700).U32(24, points);
    for (uint32_t i = 0; i < points; ++i) {
        r.I16(28 + 4 * i, static_cast<int16_t>(10 + (n * 13 + i * 37) % 890));
        r.I16(30 + 4 * i, static_cast<int16_t>(10 + (n * 7 + i * 53) % 690));
    }
    return r;
}

RecordBuilder Polygon(uint32_t n) {
    const uint32_t points = 5;
    RecordBuilder r(3, 28 + 8 * points);
    r.I32(8, 100).I32(12, 100).I32(16, 400).I32(20, 300).U32(24, points);
    for (uint32_t i = 0; i < points; ++i) {
        r.I32(28 + 8 * i, static_cast<int32_t>(100 + (n + i * 61) % 300));
        r.I32(32 + 8 * i, static_cast<int32_t>(100 + (n + i * 43) % 200));
    }
    return r;
}

RecordBuilder PolyPolygon16(uint32_t n) {
    const uint32_t counts[2] = {4, 6};
    RecordBuilder r(91, 32 + 8 + 4 * 10);
    r.I32(8, 0).I32(12, 0).I32(16, 500).I32(20, 500).U32(24, 2).U32(28, 10);
    r.U32(32, counts[0]).U32(36, counts[1]);
    for (uint32_t i = 0; i < 10; ++i) {
        r.I16(40 + 4 * i, static_cast<int16_t>((n + i * 29) % 500));
        r.I16(42 + 4 * i, static_cast<int16_t>((n + i * 31) % 500));
    }
    return r;
}

RecordBuilder StretchDIBits(uint32_t n) {
    RecordBuilder r(81, 312);
    r.I32(8, 20).I32(12, 20).I32(16, 35).I32(20, 35);
    r.I32(24, 20).I32(28, 20).I32(32, 0).I32(36, 0).I32(40, 8).I32(44, 8);
    r.U32(48, 80).U32(52, 40).U32(56, 120).U32(60, 192).U32(64, 0).U32(68, 0x00CC0020);
    r.I32(72, 16).I32(76, 16);
    r.U32(80, 40).I32(84, 8).I32(88, 8).U16(92, 1).U16(94, 24).U32(96, 0).U32(100, 192);
    for (uint32_t i = 0; i < 192; ++i) {
        r.U8(120 + i, static_cast<uint8_t>(n + i * 5));
    }
    return r;
}

RecordBuilder BitBlt(uint32_t n) {
    RecordBuilder r(76, 100);
    r.I32(8, 0).I32(12, 0).I32(16, 99).I32(20, 99);
    r.I32(24, static_cast<int32_t>(n % 50)).I32(28, 5).I32(32, 40).I32(36, 30);
    r.U32(40, 0x00F00021);
    for (int i = 0; i < 6; ++i) {
        r.F32(52 + 4 * i, kIdentity[i]);
    }
    return r;
}

void PutRegion(RecordBuilder& r, uint32_t at, uint32_t rects, uint32_t n) {
    r.U32(at, 32).U32(at + 4, 1).U32(at + 8, rects).U32(at + 12, 16 * rects);
    r.I32(at + 16, 0).I32(at + 20, 0).I32(at + 24, 600).I32(at + 28, 400);
    for (uint32_t i = 0; i < rects; ++i) {
        const int32_t top = static_cast<int32_t>((n + 40 * i) % 360);
        r.I32(at + 32 + 16 * i, 0).I32(at + 36 + 16 * i, top);
        r.I32(at + 40 + 16 * i, 600).I32(at + 44 + 16 * i, top + 40);
    }
}

RecordBuilder ExtSelectClipRgn(uint32_t n) {
    const uint32_t rects = 3;
    RecordBuilder r(75, 16 + 32 + 16 * rects);
    r.U32(8, 32 + 16 * rects).U32(12, n % 2 ? 1 : 5);
    PutRegion(r, 16, rects, n);
    return r;
}

RecordBuilder FillRgn(uint32_t n) {
    const uint32_t rects = 2;
    RecordBuilder r(71, 32 + 32 + 16 * rects);
    r.I32(8, 0).I32(12, 0).I32(16, 600).I32(20, 400).U32(24, 32 + 16 * rects).U32(28, 1 + n % 31);
    PutRegion(r, 32, rects, n);
    return r;
}

RecordBuilder Transform(uint32_t n) {
    const bool modify = n % 2 != 0;
    RecordBuilder r(modify ? 36 : 35, modify ? 36 : 32);
    const float xform[6] = {1.0f, 0.0f, 0.0f, 1.0f, static_cast<float>(n % 100), 12.5f};
    for (int i = 0; i < 6; ++i) {
        r.F32(8 + 4 * i, xform[i]);
    }
    if (modify) {
        r.U32(32, 2);
    }
    return r;
}

// One record of the mix: the share of each kind follows what long printouts and drawings
// hold, where selecting and deleting objects and short line runs dominate.
RecordBuilder MixedRecord(uint32_t n) {
    const uint32_t slot = n % 55;
    const int32_t x = static_cast<int32_t>(n * 7 % 900);
    const int32_t y = static_cast<int32_t>(n * 11 % 700);
    const uint32_t object = 1 + n % 31;
    if (slot < 14) {
        return RecordBuilder(37, 12).U32(8, slot % 4 == 0 ? 0x80000000u | (n % 20) : object);
    }
    if (slot < 19) {
        return RecordBuilder(40, 12).U32(8, object);
    }
    if (slot < 23) {
        return RecordBuilder(39, 24).U32(8, object).U32(12, 0).U32(16, n * 2654435761u >> 8);
    }
    if (slot < 25) {
        return RecordBuilder(38, 28).U32(8, object).U32(12, n % 3).I32(16, 1).U32(24, n & 0xFFFFFF);
    }
    if (slot < 26) {
        return RecordBuilder(95, 52).U32(8, object).U32(28, 0x00010000).U32(32, 3).U32(40, n);
    }
    if (slot < 30) {
        return RecordBuilder(27, 16).I32(8, x).I32(12, y);
    }
    if (slot < 34) {
        return RecordBuilder(54, 16).I32(8, x + 40).I32(12, y + 25);
    }
    if (slot < 39) {
        return Poly16(87, 6 + n % 15, n);
    }
    switch (slot) {
        case 39:
            return Poly16(88, 3 * (1 + n % 4), n);
        case 40:
            return PolyPolygon16(n);
        case 41:
            return Polygon(n);
        case 42:
        case 43:
        case 44:
            return ExtTextOutW(n, x, y);
        case 45:
            return ExtCreateFontIndirectW(n);
        case 46:
            return RecordBuilder(24, 12).U32(8, n & 0xFFFFFF);
        case 47:
            return RecordBuilder(18, 12).U32(8, 1 + n % 2);
        case 48:
            return RecordBuilder(22, 12).U32(8, 24);
        case 49:
            return RecordBuilder(43, 24).I32(8, x).I32(12, y).I32(16, x + 80).I32(20, y + 40);
        case 50:
            return n % 2 ? RecordBuilder(33, 8) : RecordBuilder(34, 12).I32(8, -1);
        case 51:
            return n % 2 ? StretchDIBits(n) : BitBlt(n);
        case 52:
            return n % 2 ? ExtSelectClipRgn(n) : FillRgn(n);
        case 53:
            return Transform(n);
        default:
            return RecordBuilder(70, 28).U32(8, 16);
    }
}

std::string MakeGeneratedFile() {
    EmfBuilder file;
    file.Handles(32).Bounds(0, 0, 999, 799).Frame(0, 0, 26458, 21166);
    for (int32_t n = 0; n < kGeneratedRecords - 2; ++n) {
        file.Add(MixedRecord(static_cast<uint32_t>(n)));
    }
    return WriteTempFile("bench-250000-records.emf", file.Build());
}

std::string CorpusFile() {
    const std::string corpus = CorpusDir();
    if (corpus.empty()) {
        return "";
    }
    const std::string path = corpus + "/good/test-031.emf";
    return std::filesystem::exists(path) ? path : "";
}

}  // namespace

const std::string& BenchFilePath(int64_t file) {
    if (file == kGeneratedFile) {
        static const std::string generated = MakeGeneratedFile();
        return generated;
    }
    static const std::string corpus = CorpusFile();
    return corpus;
}

const MetafileDocument* LoadedBenchFile(int64_t file, benchmark::State& state) {
    static std::map<int64_t, std::unique_ptr<MetafileDocument>> loaded;
    auto found = loaded.find(file);
    if (found == loaded.end()) {
        auto document = std::make_unique<MetafileDocument>();
        const std::string& path = BenchFilePath(file);
        if (path.empty() || !document->LoadFile(ToU16(path).c_str())) {
            document.reset();
        }
        found = loaded.emplace(file, std::move(document)).first;
    }
    if (found->second == nullptr) {
        state.SkipWithError("the file is not there: no corpus beside the checkout");
    }
    return found->second.get();
}

RecordFamily FamilyOfType(uint32_t type) {
    static constexpr RecordFamily kFamilies[] = {
#define EMR_TYPE(number, id, record_name, call_name, structure, family, ...) kFamily##family,
#include "document/record_types.def"
#undef EMR_TYPE
    };
    return type == 0 || type > kEmrLastType ? kFamilyUntranslated : kFamilies[type - 1];
}

const char* FamilyName(int64_t family) {
    static const char* const kNames[kFamilyCount] = {
        "text", "font", "point_list", "bitmap", "region", "object", "shape", "state", "other"};
    return family >= 0 && family < kFamilyCount ? kNames[family] : "?";
}

std::vector<int32_t> RecordsOfFamily(const MetafileDocument& document, int64_t family) {
    std::vector<int32_t> records;
    const int32_t count = document.Store().count();
    for (int32_t i = 1; i < count - 1; ++i) {
        if (FamilyOfType(RecordType(document.RecordAt(i))) == family) {
            records.push_back(i);
        }
    }
    return records;
}

void LabelWithFile(benchmark::State& state, int64_t file, const std::string& extra) {
    std::string label = file == kGeneratedFile ? "generated-250000" : "test-031";
    if (!extra.empty()) {
        label += " " + extra;
    }
    state.SetLabel(label);
}
