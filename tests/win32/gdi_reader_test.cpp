// The platform's metafile functions and the direct reader agree on every file both accept.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "document/metafile_document.h"
#include "tests/support/emf_builder.h"

namespace {

struct Comparison {
    int both = 0;
    int gdi_only = 0;
    int direct_only = 0;
    int neither = 0;
};

// Loads `path` through both readers and, when both accept it, checks that the header copy,
// the record count and every record's bytes are the same.
void CompareReaders(const std::string& path, Comparison* comparison) {
    SCOPED_TRACE(path);
    const std::u16string wide = ToU16(path);
    MetafileDocument gdi;
    MetafileDocument direct;
    const int gdi_loaded = gdi.LoadFileWith(GdiMetafileReader(), wide.c_str());
    const int direct_loaded = direct.LoadFileWith(DirectMetafileReader(), wide.c_str());
    if (!gdi_loaded || !direct_loaded) {
        if (gdi_loaded) {
            ++comparison->gdi_only;
        } else if (direct_loaded) {
            ++comparison->direct_only;
        } else {
            ++comparison->neither;
        }
        return;
    }
    ++comparison->both;
    ASSERT_GE(gdi.HeaderSize(), 88u);
    const uint32_t common = gdi.HeaderSize() < direct.HeaderSize() ? gdi.HeaderSize() : direct.HeaderSize();
    EXPECT_EQ(0, std::memcmp(gdi.Header(), direct.Header(), common));
    ASSERT_EQ(gdi.Store().count(), direct.Store().count());
    EXPECT_EQ(gdi.Store().stored_bytes(), direct.Store().stored_bytes());
    EXPECT_EQ(0, std::memcmp(gdi.Store().bytes(), direct.Store().bytes(), gdi.Store().stored_bytes()));
}

TEST(GdiReader, AgreesWithTheDirectReaderOnEveryGoodCorpusFile) {
    const std::string corpus = CorpusDir();
    if (corpus.empty()) {
        GTEST_SKIP() << "no corpus folder beside the checkout";
    }
    Comparison comparison;
    for (const std::string& path : ListEmfFiles(corpus + "/good")) {
        CompareReaders(path, &comparison);
    }
    std::printf("good corpus: both readers %d, platform only %d, direct only %d, neither %d\n",
                comparison.both, comparison.gdi_only, comparison.direct_only, comparison.neither);
    EXPECT_GT(comparison.both, 0);
}

TEST(GdiReader, AgreesWithTheDirectReaderOnCorruptedFilesBothAccept) {
    const std::string corpus = CorpusDir();
    if (corpus.empty()) {
        GTEST_SKIP() << "no corpus folder beside the checkout";
    }
    Comparison comparison;
    for (const std::string& path : ListEmfFiles(corpus + "/corrupted")) {
        CompareReaders(path, &comparison);
    }
    std::printf("corrupted corpus: both readers %d, platform only %d, direct only %d, neither %d\n",
                comparison.both, comparison.gdi_only, comparison.direct_only, comparison.neither);
}

TEST(GdiReader, AgreesOnBuiltFiles) {
    Comparison comparison;
    RecordBuilder save_dc(33, 8);
    CompareReaders(WriteTempFile("plain.emf", EmfBuilder().Add(save_dc).Add(save_dc).Build()),
                   &comparison);
    EXPECT_EQ(comparison.both, 1);
}

}  // namespace
