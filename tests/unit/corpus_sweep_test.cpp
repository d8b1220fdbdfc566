// Every real metafile of the shared corpus, good and damaged, loads or is refused cleanly,
// and every report of it builds.
#include <gtest/gtest.h>

#include <string>

#include "calls/call_text.h"
#include "calls/formatters.h"
#include "document/emf_format.h"
#include "document/metafile_document.h"
#include "emfplus/emfplus_report.h"
#include "reports/call_list_report.h"
#include "reports/header_report.h"
#include "reports/record_list_report.h"
#include "tests/support/emf_builder.h"

namespace {

uint32_t ReadU32(const std::vector<uint8_t>& bytes, size_t offset) {
    return static_cast<uint32_t>(bytes[offset]) | static_cast<uint32_t>(bytes[offset + 1]) << 8 |
           static_cast<uint32_t>(bytes[offset + 2]) << 16 |
           static_cast<uint32_t>(bytes[offset + 3]) << 24;
}

// The records a reader of the file should store, counted by walking the file here: records
// follow one another until the end-of-file record or a size that cannot be right, and only
// those that fit the header's byte and record counts (never more than the file holds) are
// kept. -1 when the file has no trustworthy header.
int32_t IndependentCount(const std::vector<uint8_t>& file) {
    const size_t size = file.size();
    if (size < kHeaderBaseBytes || ReadU32(file, 0) != kEmrHeader ||
        ReadU32(file, kHeaderSignatureOffset) != kEnhMetaSignature) {
        return -1;
    }
    const uint32_t header_size = ReadU32(file, 4);
    if (header_size < kHeaderBaseBytes || header_size % 4 != 0 || header_size > size) {
        return -1;
    }
    const uint64_t byte_room = std::min<uint64_t>(ReadU32(file, kHeaderBytesOffset), size);
    const uint64_t record_room = std::min<uint64_t>(ReadU32(file, kHeaderRecordsOffset), size / 8);
    uint64_t stored = 0;
    int32_t count = 0;
    for (size_t offset = 0; size - offset >= 8;) {
        const uint32_t record_size = ReadU32(file, offset + 4);
        if (record_size < 8 || record_size % 4 != 0 || record_size > size - offset) {
            break;
        }
        if (stored + record_size <= byte_room && static_cast<uint64_t>(count) < record_room) {
            stored += record_size;
            ++count;
        }
        const uint32_t type = ReadU32(file, offset);
        offset += record_size;
        if (type == kEmrEof) {
            break;
        }
    }
    return count;
}

// In a well-formed file every record of a translated type prints its full call text.
void ExpectNoPlaceholderForTranslatedTypes(const MetafileDocument& document) {
    FixedWideText<kCallTextUnits> text;
    for (int32_t i = 0; i < document.Store().count(); ++i) {
        const RecordView record = document.RecordAt(i);
        const CallFormatter formatter = LookupFormatter(RecordType(record));
        if (formatter == nullptr || formatter == FormatPlaceholder) {
            continue;
        }
        BuildCallText(record, text);
        EXPECT_EQ(text.view().find(u"(\u2588\u2588\u2588\u2588\u2588\u2588\u2588\u2588);"),
                  std::u16string_view::npos)
            << "record " << i << ": " << ToUtf8(text.view());
    }
}

void SweepFolder(const std::string& folder, bool well_formed, int* loaded, int* refused) {
    for (const std::string& path : ListEmfFiles(folder)) {
        SCOPED_TRACE(path);
        const std::vector<uint8_t> file = ReadFileBytes(path);
        MetafileDocument document;
        const std::u16string wide = ToU16(path);
        if (!document.LoadFileWith(DirectMetafileReader(), wide.c_str())) {
            EXPECT_EQ(IndependentCount(file), -1);
            ++*refused;
            continue;
        }
        ++*loaded;
        EXPECT_EQ(document.Store().count(), IndependentCount(file));
        if (well_formed) {
            ExpectNoPlaceholderForTranslatedTypes(document);
        }
        ReportText report;
        EXPECT_EQ(BuildHeaderReportText(document, &report), 1);
        EXPECT_EQ(BuildRecordListText(document, &report), 1);
        EXPECT_EQ(BuildCallListText(document, &report, 0), 1);
        EXPECT_EQ(BuildCallListText(document, &report, 1), 1);
        CollectReport(*OpenEmfPlusReport(document), &report);
        // The header and end-of-file records too, which the call list leaves out.
        FixedWideText<kCallTextUnits> text;
        for (int32_t i = 0; i < document.Store().count(); ++i) {
            BuildCallText(document.RecordAt(i), text);
            EXPECT_FALSE(text.cut());
        }
    }
}

TEST(CorpusSweep, EveryFileLoadsOrIsRefusedAndEveryReportBuilds) {
    const std::string corpus = CorpusDir();
    if (corpus.empty()) {
        GTEST_SKIP() << "no corpus folder beside the checkout (set ORVELLA_CORPUS to one)";
    }
    int loaded = 0;
    int refused = 0;
    SweepFolder(corpus + "/good", true, &loaded, &refused);
    EXPECT_EQ(refused, 0) << "every file of good/ is a well-formed metafile";
    EXPECT_GT(loaded, 0);
    SweepFolder(corpus + "/corrupted", false, &loaded, &refused);
    std::printf("corpus: %d files loaded, %d refused\n", loaded, refused);
}

TEST(CorpusSweep, ShippedSamplesLoadAndTranslate) {
    const std::vector<std::string> samples = ListEmfFiles(SamplesDir());
    EXPECT_GE(samples.size(), 3u);
    for (const std::string& path : samples) {
        SCOPED_TRACE(path);
        MetafileDocument document;
        ASSERT_EQ(document.LoadFile(ToU16(path).c_str()), 1);
        EXPECT_EQ(document.Store().count(), document.HeaderRecordCount());
        ExpectNoPlaceholderForTranslatedTypes(document);
        ReportText report;
        EXPECT_EQ(BuildCallListText(document, &report), 1);
    }
}

}  // namespace
