// The fuzz targets' checks: they hold on sound inputs and tell what they are there to find.
#include <gtest/gtest.h>

#include "calls/call_text.h"
#include "document/metafile_document.h"
#include "fuzz/fuzz_checks.h"
#include "tests/support/emf_builder.h"

namespace {

TEST(FuzzChecks, HoldOnTheShippedSamplesAndTheirRecords) {
    for (const std::string& path : ListEmfFiles(SamplesDir())) {
        SCOPED_TRACE(path);
        const std::vector<uint8_t> file = ReadFileBytes(path);
        EXPECT_EQ(CheckDocumentInput(file.data(), file.size()), nullptr);
        MetafileDocument document;
        ASSERT_EQ(document.LoadBytes(file.data(), file.size(), u"sample"), 1);
        for (int32_t i = 0; i < document.Store().count(); ++i) {
            const RecordView record = document.RecordAt(i);
            EXPECT_EQ(CheckRecordInput(record.data, record.size), nullptr) << "record " << i;
        }
    }
}

TEST(FuzzChecks, RecordInputsOfEveryShapeAreChecked) {
    EXPECT_EQ(CheckRecordInput(nullptr, 0), nullptr);
    const uint8_t short_head[3] = {84, 0, 0};
    EXPECT_EQ(CheckRecordInput(short_head, sizeof short_head), nullptr);
    // A type far beyond the table folds into it: 84 + 122 is ExtTextOutW.
    const RecordBuilder folded = RecordBuilder(84 + 122, 8).U32(44, 0xFFFFFFFF);
    EXPECT_EQ(CheckRecordInput(folded.bytes().data(), folded.bytes().size()), nullptr);
    EXPECT_EQ(CheckCanvasInput(nullptr, 0), nullptr);
    EXPECT_EQ(CheckEmfPlusInput(nullptr, 0), nullptr);
}

TEST(FuzzChecks, TellLoneSurrogatesFromPairs) {
    EXPECT_FALSE(HasLoneSurrogate(u"plain \U0001F600 pair"));
    EXPECT_TRUE(HasLoneSurrogate(std::u16string_view(u"\xD83D", 1)));
    EXPECT_TRUE(HasLoneSurrogate(std::u16string_view(u"a\xDE00z", 3)));
    EXPECT_TRUE(HasLoneSurrogate(std::u16string_view(u"\xD83D\xD83D\xDE00", 3)));
}

}  // namespace
