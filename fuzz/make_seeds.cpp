// orvella-fuzz-seeds: writes the fuzzers' starting inputs into the build tree: whole metafiles
// for the document target, single records (taken from those files and made with the test
// builders) for the record target, and the data of comment records for the EMF+ target.
//
// usage: orvella-fuzz-seeds OUT_DIR [FILE_OR_FOLDER...]
// Files and the .emf files of folders are copied whole into OUT_DIR/document and split into
// their records in OUT_DIR/record, their comments' data in OUT_DIR/emfplus; the builders'
// records and files are added to all three.
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "document/metafile_document.h"
#include "tests/support/emf_builder.h"

namespace fs = std::filesystem;

namespace {

// Records of one type taken from the files, at most: enough variety for a start, few enough
// that a short run does not spend its time reading seeds.
constexpr int kRecordsPerType = 40;
// Comments' data kept at most, for the same reason.
constexpr int kCommentSeeds = 400;

using Bytes = std::vector<uint8_t>;

class SeedWriter {
  public:
    explicit SeedWriter(const fs::path& out)
        : document_(out / "document"), record_(out / "record"), emfplus_(out / "emfplus") {
        fs::create_directories(document_);
        fs::create_directories(record_);
        fs::create_directories(emfplus_);
    }

    void File(const std::string& name, const Bytes& bytes) { Write(document_ / name, bytes); }

    // Keeps a record unless the same bytes were kept already or its type has enough.
    void Record(const std::string& prefix, const Bytes& bytes) {
        const uint32_t type =
            RecordType(RecordView{bytes.data(), static_cast<uint32_t>(bytes.size())});
        if (!seen_.insert(bytes).second || per_type_[type] >= kRecordsPerType) {
            return;
        }
        const int n = ++per_type_[type];
        ++records_;
        Write(record_ / (prefix + "-" + std::to_string(type) + "-" + std::to_string(n)), bytes);
    }

    // Keeps the data of a comment record, as the EMF+ target takes it: a first byte of 0 (one
    // comment), then the data.
    void CommentData(const Bytes& record) {
        RecordView view{record.data(), static_cast<uint32_t>(record.size())};
        RecordReader reader(view);
        if (RecordType(view) != 70 || !reader.Has(8, 4)) {
            return;
        }
        const uint32_t size = reader.U32(8);
        if (!reader.Has(12, size) || size < 4 || comments_ >= kCommentSeeds) {
            return;
        }
        Bytes data = {0};
        data.insert(data.end(), record.begin() + 12, record.begin() + 12 + size);
        if (seen_comments_.insert(data).second) {
            Write(emfplus_ / ("comment-" + std::to_string(++comments_)), data);
        }
    }

    int records() const { return records_; }

  private:
    void Write(const fs::path& path, const Bytes& bytes) {
        std::FILE* file = std::fopen(path.string().c_str(), "wb");
        if (file == nullptr) {
            std::fprintf(stderr, "orvella-fuzz-seeds: cannot write %s\n", path.string().c_str());
            return;
        }
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }

    fs::path document_;
    fs::path record_;
    fs::path emfplus_;
    std::set<Bytes> seen_;
    std::set<Bytes> seen_comments_;
    int comments_ = 0;
    std::map<uint32_t, int> per_type_;
    int records_ = 0;
};

// Copies a metafile whole and splits what the document stores of it into records.
void AddMetafile(SeedWriter& seeds, const std::string& name, const Bytes& file) {
    seeds.File(name, file);
    MetafileDocument document;
    if (document.LoadBytes(file.data(), file.size(), u"seed") == 0) {
        return;
    }
    for (int32_t i = 0; i < document.Store().count(); ++i) {
        const RecordView record = document.RecordAt(i);
        seeds.Record("file", Bytes(record.data, record.data + record.size));
        seeds.CommentData(Bytes(record.data, record.data + record.size));
    }
}

void AddPath(SeedWriter& seeds, const fs::path& path, int* counter) {
    std::error_code error;
    if (fs::is_directory(path, error)) {
        for (const std::string& file : ListEmfFiles(path.string())) {
            AddPath(seeds, file, counter);
        }
        return;
    }
    const std::string name = std::to_string(++*counter) + "-" + path.filename().string();
    AddMetafile(seeds, name, ReadFileBytes(path.string()));
}

// A BITMAPINFOHEADER of a small bitmap at `offset`.
RecordBuilder& BitmapHeader(RecordBuilder& r, uint32_t offset, int32_t width, int32_t height,
                            uint16_t bits) {
    return r.U32(offset, 40)
        .I32(offset + 4, width)
        .I32(offset + 8, height)
        .U16(offset + 12, 1)
        .U16(offset + 14, bits);
}

// An RGNDATA of `count` rectangles at `offset`.
RecordBuilder& RegionData(RecordBuilder& r, uint32_t offset, uint32_t count) {
    r.U32(offset, 32).U32(offset + 4, 1).U32(offset + 8, count).U32(offset + 12, 16 * count);
    r.I32(offset + 16, 0).I32(offset + 20, 0).I32(offset + 24, 100).I32(offset + 28, 100);
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t at = offset + 32 + 16 * i;
        r.I32(at, 10 * i).I32(at + 4, 0).I32(at + 8, 10 * i + 5).I32(at + 12, 50);
    }
    return r;
}

// Records of the translated families, laid out as the format has them, with counts and offsets
// that hold: the mutations start from records the formatters read in full.
std::vector<RecordBuilder> BuilderRecords() {
    std::vector<RecordBuilder> records;
    // Every type, with room for the largest fixed part.
    for (uint32_t type = 0; type <= 122; ++type) {
        RecordBuilder r(type, 8);
        for (uint32_t offset = 8; offset < 64; offset += 4) {
            r.U32(offset, offset / 4);
        }
        records.push_back(r);
    }
    records.push_back(RecordBuilder(84, 8)
                          .I32(24, 1)
                          .F32(28, 1.0f)
                          .F32(32, 1.0f)
                          .I32(36, 10)
                          .I32(40, 20)
                          .U32(44, 5)
                          .U32(48, 76)
                          .U32(52, 0)
                          .I32(64, 100)
                          .I32(68, 40)
                          .U32(72, 88)
                          .Utf16(76, u"H\xD83D\xDE00llo")
                          .U32(88, 7)
                          .U32(92, 7)
                          .U32(96, 7)
                          .U32(100, 7)
                          .U32(104, 7));
    records.push_back(RecordBuilder(83, 8)
                          .I32(24, 1)
                          .U32(44, 4)
                          .U32(48, 76)
                          .U32(72, 80)
                          .Ansi(76, "Te\x80t")
                          .U32(80, 6)
                          .U32(84, 6)
                          .U32(88, 6)
                          .U32(92, 6));
    records.push_back(RecordBuilder(82, 8)
                          .U32(8, 1)
                          .I32(12, -16)
                          .U32(28, 400)
                          .U8(35, 0)
                          .Utf16(40, u"Arial")
                          .Resize(332));
    records.push_back(RecordBuilder(108, 8)
                          .I32(8, 5)
                          .I32(12, 6)
                          .U32(16, 3)
                          .U32(20, 0x200)
                          .U32(24, 1)
                          .Ansi(52, "abc")
                          .Resize(56));
    RecordBuilder bitblt(76, 100);
    bitblt.U32(84, 100).U32(88, 40).U32(92, 140).U32(96, 16);
    BitmapHeader(bitblt, 100, 2, 2, 24).Resize(156);
    records.push_back(bitblt);
    RecordBuilder stretch(81, 80);
    stretch.U32(48, 80).U32(52, 40).U32(56, 120).U32(60, 8).U32(64, 0).U32(68, 0x00CC0020);
    BitmapHeader(stretch, 80, 1, 1, 32).Resize(128);
    records.push_back(stretch);
    RecordBuilder pattern(94, 32);
    pattern.U32(8, 1).U32(12, 0).U32(16, 32).U32(20, 40).U32(24, 72).U32(28, 32);
    BitmapHeader(pattern, 32, 8, 8, 1).Resize(104);
    records.push_back(pattern);
    records.push_back(RecordBuilder(86, 28)
                          .U32(24, 3)
                          .I16(28, 1)
                          .I16(30, 2)
                          .I16(32, -3)
                          .I16(34, 4)
                          .I16(36, 5)
                          .I16(38, 6));
    records.push_back(RecordBuilder(91, 32)
                          .U32(24, 2)
                          .U32(28, 5)
                          .U32(32, 2)
                          .U32(36, 3)
                          .I16(40, 1)
                          .I16(42, 1)
                          .I16(44, 2)
                          .I16(46, 2)
                          .I16(48, 3)
                          .I16(50, 3)
                          .I16(52, 4)
                          .I16(54, 4)
                          .I16(56, 5)
                          .I16(58, 5));
    records.push_back(RecordBuilder(3, 28).U32(24, 2).I32(28, -1).I32(32, 2).I32(36, 3).I32(40, 4));
    RecordBuilder clip(75, 16);
    clip.U32(8, 64).U32(12, 1);
    records.push_back(RegionData(clip, 16, 2));
    RecordBuilder fill(71, 32);
    fill.U32(24, 48).U32(28, 1);
    records.push_back(RegionData(fill, 32, 1));
    records.push_back(RecordBuilder(95, 52)
                          .U32(8, 1)
                          .U32(28, 0x00010000 | 0x7)
                          .U32(32, 3)
                          .U32(36, 0)
                          .U32(40, 0xFF)
                          .U32(48, 2)
                          .U32(52, 4)
                          .U32(56, 2));
    records.push_back(RecordBuilder(49, 16)
                          .U32(8, 1)
                          .U16(12, 0x300)
                          .U16(14, 2)
                          .U32(16, 0x00FF0000)
                          .U32(20, 0x0000FF00));
    records.push_back(RecordBuilder(35, 32).F32(8, 1.0f).F32(20, 1.0f).F32(24, 10.0f));
    records.push_back(RecordBuilder(36, 36).F32(8, 2.0f).F32(20, 2.0f).U32(32, 4));
    records.push_back(RecordBuilder(39, 24).U32(8, 1).U32(12, 2).U32(16, 0xFF).U32(20, 3));
    records.push_back(RecordBuilder(38, 28).U32(8, 1).U32(12, 0).I32(16, 2).U32(24, 0xFF));
    // EMF+ comments: a header, a solid brush, a compressed fill and a split image's first part;
    // a group's begin and a multi-format comment.
    records.push_back(RecordBuilder(70, 16)
                          .U32(8, 4 + 28 + 24 + 28 + 32)
                          .U32(12, 0x2B464D45)
                          .U32(16, 0x00014001)
                          .U32(20, 28)
                          .U32(24, 16)
                          .U32(28, 0xDBC01002)
                          .U32(32, 1)
                          .U32(36, 96)
                          .U32(40, 96)
                          .U32(44, 0x01014008)
                          .U32(48, 24)
                          .U32(52, 12)
                          .U32(56, 0xDBC01002)
                          .U32(60, 0)
                          .U32(64, 0xFF00FF00)
                          .U32(68, 0xC001400A)
                          .U32(72, 28)
                          .U32(76, 16)
                          .U32(80, 0xFF000000)
                          .U32(84, 1)
                          .U32(88, 0x00020001)
                          .U32(92, 0x00040003)
                          .U32(96, 0x85054008)
                          .U32(100, 32)
                          .U32(104, 20)
                          .U32(108, 64)
                          .U32(112, 0xDBC01002)
                          .U32(116, 1)
                          .U32(120, 2)
                          .U32(124, 2));
    records.push_back(RecordBuilder(70, 16)
                          .U32(8, 40)
                          .U32(12, 0x43494447)
                          .U32(16, 2)
                          .U32(32, 10)
                          .U32(36, 10)
                          .U32(40, 3)
                          .Utf16(44, u"ab"));
    records.push_back(RecordBuilder(70, 16)
                          .U32(8, 52)
                          .U32(12, 0x43494447)
                          .U32(16, 0x40000004)
                          .U32(36, 1)
                          .U32(40, 0x464D4520)
                          .U32(44, 0x10000)
                          .U32(48, 8)
                          .U32(52, 44));
    return records;
}

void AddBuilderSeeds(SeedWriter& seeds) {
    const std::vector<RecordBuilder> records = BuilderRecords();
    EmfBuilder all;
    all.Frame(0, 0, 21000, 29700).Description(std::u16string_view(u"Orvella\0seeds\0", 14));
    for (const RecordBuilder& record : records) {
        seeds.Record("builder", record.bytes());
        seeds.CommentData(record.bytes());
        const uint32_t type = RecordType(record.view());
        if (type != 1 && type != 14) {
            all.Add(record);
        }
    }
    AddMetafile(seeds, "builder-all.emf", all.Build());
    AddMetafile(seeds, "builder-empty.emf", EmfBuilder().Build());
    AddMetafile(seeds, "builder-absurd-counts.emf",
                EmfBuilder()
                    .Add(records.back())
                    .HeaderU32(48, 0xFFFFFFF0)
                    .HeaderU32(52, 0x7FFFFFFF)
                    .Build());
    AddMetafile(seeds, "builder-no-eof.emf", EmfBuilder().Add(records.back()).NoEof().Build());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: orvella-fuzz-seeds OUT_DIR [FILE_OR_FOLDER...]\n");
        return 2;
    }
    SeedWriter seeds(argv[1]);
    AddBuilderSeeds(seeds);
    int counter = 0;
    for (int i = 2; i < argc; ++i) {
        AddPath(seeds, argv[i], &counter);
    }
    std::printf("orvella-fuzz-seeds: %d metafiles, %d records\n", counter, seeds.records());
    return 0;
}
