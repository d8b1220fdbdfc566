// A report made a chunk at a time: where its chunks break, when it ends, and the lists made
// that way.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calls/call_text.h"
#include "document/record_types.h"
#include "reports/call_list_report.h"
#include "reports/record_list_report.h"
#include "reports/report_text.h"
#include "tests/support/emf_builder.h"

namespace {

// A report of the given lines, each a run of one letter.
class LinesStream : public ReportStream {
  public:
    explicit LinesStream(std::vector<size_t> lengths) : ReportStream({10}), lengths_(lengths) {}

  protected:
    size_t WriteLine(char16_t* out) override {
        if (next_ == lengths_.size()) {
            return 0;
        }
        const size_t length = lengths_[next_];
        for (size_t i = 0; i < length; ++i) {
            out[i] = static_cast<char16_t>(u'a' + next_ % 26);
        }
        ++next_;
        return length;
    }

  private:
    std::vector<size_t> lengths_;
    size_t next_ = 0;
};

std::vector<std::u16string> AllChunks(ReportStream& stream) {
    std::vector<std::u16string> chunks;
    for (std::u16string_view chunk = stream.NextChunk(); !chunk.empty();
         chunk = stream.NextChunk()) {
        chunks.emplace_back(chunk);
    }
    return chunks;
}

// 65 lines of 8,000 units make 520,000; the 66th would reach 0x7FFFF and opens the next
// chunk, whole.
TEST(ReportStream, StartsANewChunkWithTheLineThatWouldReachTheLimit) {
    LinesStream stream(std::vector<size_t>(70, 8000));
    ASSERT_TRUE(stream.ok());
    const std::vector<std::u16string> chunks = AllChunks(stream);
    ASSERT_EQ(chunks.size(), 2u);
    EXPECT_EQ(chunks[0].size(), 65u * 8000);
    EXPECT_EQ(chunks[1].size(), 5u * 8000);
    EXPECT_EQ(chunks[0].back(), u'a' + 64 % 26);
    EXPECT_EQ(chunks[1].front(), u'a' + 65 % 26);
    EXPECT_EQ(chunks[1].back(), u'a' + 69 % 26);
}

TEST(ReportStream, GivesNothingMoreOnceItEndedAndCollectsWithItsTabStops) {
    LinesStream empty({});
    EXPECT_TRUE(empty.NextChunk().empty());
    LinesStream one({3, 4});
    EXPECT_EQ(one.NextChunk(), u"aaabbbb");
    EXPECT_TRUE(one.NextChunk().empty());
    EXPECT_TRUE(one.NextChunk().empty());
    LinesStream stream({2, 1});
    ReportText report;
    report.chunks = {u"old"};
    CollectReport(stream, &report);
    EXPECT_EQ(report.tab_stops, std::vector<int>{10});
    EXPECT_EQ(report.chunks, std::vector<std::u16string>{u"aab"});
}

TEST(ReportStream, ListsNeedALoadedDocumentAndTheCallListSetsTheVerboseFlag) {
    MetafileDocument document;
    SetVerboseFlag(0);
    EXPECT_EQ(OpenRecordList(document), nullptr);
    EXPECT_EQ(OpenCallList(document, 1), nullptr);
    EXPECT_EQ(VerboseFlag(), 0);

    const std::string path = WriteTempFile("stream.emf", EmfBuilder().Build());
    ASSERT_EQ(document.LoadFile(ToU16(path).c_str()), 1);
    std::unique_ptr<ReportStream> calls = OpenCallList(document, 1);
    ASSERT_NE(calls, nullptr);
    EXPECT_EQ(VerboseFlag(), 1);
    EXPECT_EQ(calls->tab_stops(), (std::vector<int>{30, 160, 200}));
    EXPECT_EQ(OpenCallList(document, 0)->NextChunk(),
              u"\r\nEMF GDI Calls \r\n\r\nNumber of Calls: 0\r\n\r\n");
    EXPECT_EQ(VerboseFlag(), 0);
    EXPECT_EQ(OpenRecordList(document)->tab_stops(), (std::vector<int>{30, 150, 205}));
}

// The longest call text there is (nine polygons of 40 points at the most negative
// coordinates, the longest numbers in the first line) fits a call-text buffer uncut, and
// stands in the list, where it is made in place after its number, exactly as there.
TEST(ReportStream, PutsTheLongestCallTextInTheListWhole) {
    RecordBuilder longest(kEmrPolyPolyline16, 68 + 360 * 4);
    longest.U32(24, 9).U32(28, 0x80000000);
    for (uint32_t polygon = 0; polygon < 9; ++polygon) {
        longest.U32(32 + 4 * polygon, 40);
    }
    for (uint32_t p = 0; p < 360; ++p) {
        longest.I16(68 + 4 * p, -32768).I16(70 + 4 * p, -32768);
    }
    MetafileDocument document;
    const std::string path = WriteTempFile("longest.emf", EmfBuilder().Add(longest).Build());
    ASSERT_EQ(document.LoadFile(ToU16(path).c_str()), 1);
    SetVerboseFlag(1);
    FixedWideText<kCallTextUnits> call;
    BuildCallText(document.RecordAt(1), call);
    EXPECT_GT(call.size(), kCallTextUnits / 2);
    EXPECT_FALSE(call.cut());
    EXPECT_TRUE(ToUtf8(call.view()).ends_with("// 1 more polygon(s) is(are) bypassed..."));
    ReportText report;
    ASSERT_EQ(BuildCallListText(document, &report, 1), 1);
    const std::u16string joined = JoinReport(report);
    const std::u16string entry = u"1\t" + std::u16string(call.view()) + u"\r\n";
    ASSERT_GE(joined.size(), entry.size());
    EXPECT_TRUE(joined.substr(joined.size() - entry.size()) == entry);
}

}  // namespace
