// The platform's metafile functions and the direct reader agree on every file both accept.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "document/gdi_reader_win.h"
#include "document/metafile_document.h"
#include "tests/support/corpus.h"
#include "tests/support/emf_builder.h"

namespace {

struct Comparison {
    int both = 0, gdi_only = 0, direct_only = 0, neither = 0;
};

bool IsWellFormed(const std::u16string& path) {
    void* metafile = DirectMetafileReader().open(path.c_str(), nullptr);
    const bool well_formed = metafile != nullptr && DirectMetafileIsWellFormed(metafile);
    if (metafile != nullptr) {
        DirectMetafileReader().close(metafile);
    }
    return well_formed;
}

// Loads `path` through both readers and, when both accept it, checks that the header copy,
// the record count and every record's bytes are the same. The platform's functions are given
// only files that are well formed: they trust the record sizes.
void CompareReaders(const std::string& path, Comparison* comparison) {
    SCOPED_TRACE(path);
    const std::u16string wide = ToU16(path);
    MetafileDocument gdi;
    MetafileDocument direct;
    const int gdi_loaded =
        IsWellFormed(wide) ? gdi.LoadFileWith(GdiMetafileReader(), wide.c_str()) : 0;
    const int direct_loaded = direct.LoadFileWith(DirectMetafileReader(), wide.c_str());
    ++(gdi_loaded ? (direct_loaded ? comparison->both : comparison->gdi_only)
                  : (direct_loaded ? comparison->direct_only : comparison->neither));
    if (!gdi_loaded || !direct_loaded) {
        return;
    }
    ASSERT_GE(gdi.HeaderSize(), 88u);
    const uint32_t common =
        gdi.HeaderSize() < direct.HeaderSize() ? gdi.HeaderSize() : direct.HeaderSize();
    EXPECT_EQ(0, std::memcmp(gdi.Header(), direct.Header(), common));
    ASSERT_EQ(gdi.Store().count(), direct.Store().count());
    EXPECT_EQ(gdi.Store().stored_bytes(), direct.Store().stored_bytes());
    EXPECT_EQ(0,
              std::memcmp(gdi.Store().bytes(), direct.Store().bytes(), gdi.Store().stored_bytes()));
}

// Every good file, and the corrupted files both readers accept.
TEST(GdiReader, AgreesWithTheDirectReaderOnTheCorpus) {
    ORVELLA_CORPUS_OR_SKIP(corpus);
    for (const char* folder : {"good", "corrupted"}) {
        Comparison comparison;
        for (const std::string& path : ListEmfFiles(corpus + "/" + folder)) {
            CompareReaders(path, &comparison);
        }
        std::printf("%s corpus: both readers %d, platform only %d, direct only %d, neither %d\n",
                    folder, comparison.both, comparison.gdi_only, comparison.direct_only,
                    comparison.neither);
        EXPECT_GT(comparison.both, 0) << folder;
    }
}

TEST(GdiReader, AgreesOnBuiltFilesWithOddHeaderCounts) {
    Comparison comparison;
    RecordBuilder save_dc(33, 8);
    CompareReaders(WriteTempFile("plain.emf", EmfBuilder().Add(save_dc).Add(save_dc).Build()),
                   &comparison);
    std::vector<uint8_t> after_eof = EmfBuilder().Add(save_dc).Build();
    after_eof.insert(after_eof.end(), save_dc.bytes().begin(), save_dc.bytes().end());
    CompareReaders(WriteTempFile("after-eof.emf", after_eof), &comparison);
    CompareReaders(WriteTempFile("few-records.emf",
                                 EmfBuilder().Add(save_dc).Add(save_dc).HeaderU32(52, 2).Build()),
                   &comparison);
    EXPECT_EQ(comparison.both, 3);
}

// A byte count that ends before the end-of-file record: the platform would stop enumerating
// there, while the file holds more records; such a file is read directly.
TEST(PlatformReader, ReadsPastAByteCountThatEndsBeforeTheEndOfFileRecord) {
    RecordBuilder save_dc(33, 8);
    RecordBuilder big(70, 200);
    const std::u16string path = ToU16(WriteTempFile(
        "few-bytes.emf", EmfBuilder().Add(big).Add(save_dc).HeaderU32(48, 136).Build()));
    MetafileDocument document;
    ASSERT_EQ(document.LoadFileWith(PlatformMetafileReader(), path.c_str()), 1);
    EXPECT_EQ(document.Store().count(), 3);
}

// Files on which the platform's own functions would loop forever (a record of size 0), read
// past the file (a header longer than the file) or refuse the whole file (a size that is not
// a multiple of 4): the program's reader gives them to the direct reader instead. A file whose
// store ends up empty loads all the same.
TEST(PlatformReader, ReadsDamagedFilesWithoutTheirDangers) {
    RecordBuilder save_dc(33, 8);
    RecordBuilder zero(33, 8);
    zero.NSize(0);
    RecordBuilder odd(70, 16);
    odd.NSize(14);
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        int32_t count;
    } files[] = {
        {"size-zero.emf", EmfBuilder().Add(save_dc).Add(zero).Add(save_dc).Build(), 2},
        {"odd-size.emf", EmfBuilder().Add(save_dc).Add(odd).Add(save_dc).Build(), 3},
        {"no-records.emf", EmfBuilder().Add(save_dc).HeaderU32(52, 0).Build(), 0},
        {"nbytes-4.emf", EmfBuilder().Add(save_dc).HeaderU32(48, 4).Build(), 0},
        {"long-header.emf", EmfBuilder().Add(save_dc).HeaderU32(4, 100000).Build(), -1},
        {"big-nbytes.emf", EmfBuilder().Add(save_dc).HeaderU32(48, 0x7FFFFFFF).Build(), 3},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        const std::u16string path = ToU16(WriteTempFile(file.name, file.bytes));
        MetafileDocument document;
        const int loaded = document.LoadFileWith(PlatformMetafileReader(), path.c_str());
        EXPECT_EQ(loaded, file.count >= 0 ? 1 : 0);
        if (loaded) {
            EXPECT_EQ(document.Store().count(), file.count);
        }
    }
}

// The platform is handed the bytes that were read and checked: the file can be replaced at
// once, and the metafile still holds what was read.
TEST(PlatformReader, HoldsTheBytesItCheckedNotTheFile) {
    RecordBuilder save_dc(33, 8);
    const std::string path = WriteTempFile("replaced.emf", EmfBuilder().Add(save_dc).Build());
    const MetafileReader& reader = PlatformMetafileReader();
    void* metafile = reader.open(ToU16(path).c_str(), nullptr);
    ASSERT_NE(metafile, nullptr);
    const std::vector<uint8_t> other = EmfBuilder().Add(save_dc).Add(save_dc).Build();
    WriteTempFile("replaced.emf", other);
    EXPECT_EQ(ReadFileBytes(path), other);
    int count = 0;
    reader.enumerate(
        metafile,
        [](void* context, const uint8_t*, uint32_t) { return ++*static_cast<int*>(context); },
        &count);
    reader.close(metafile);
    EXPECT_EQ(count, 3);
}

}  // namespace
