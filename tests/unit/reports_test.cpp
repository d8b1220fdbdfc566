// The texts of the three reports: header, record list with its dump, and call list.
#include <gtest/gtest.h>

#include <string>

#include "calls/call_text.h"
#include "document/emf_format.h"
#include "reports/call_list_report.h"
#include "reports/damage_notice.h"
#include "reports/header_report.h"
#include "reports/record_list_report.h"
#include "tests/support/corpus.h"
#include "tests/support/emf_builder.h"

namespace {

std::string Dump(const std::vector<uint8_t>& bytes) {
    FixedWideText<8192> out;
    if (!HexDump(bytes.data(), static_cast<uint32_t>(bytes.size()), out)) {
        return "(none)";
    }
    return ToUtf8(out.view());
}

std::vector<uint8_t> Counting(size_t count) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<uint8_t>(0x41 + i % 26);
    }
    return bytes;
}

// Loads `file` into `document`; returns the path it was written to.
std::string Load(MetafileDocument& document, const std::string& name,
                 const std::vector<uint8_t>& file) {
    const std::string path = WriteTempFile(name, file);
    EXPECT_EQ(document.LoadFile(ToU16(path).c_str()), 1);
    return path;
}

// The dash separates the eighth byte from the ninth: a row of eight bytes has none. (Rows of
// sixteen, the text column and the rows after the first are held by the record list's tests.)
TEST(HexDump, PutsTheDashOnlyBetweenTheEighthAndNinthByte) {
    EXPECT_EQ(Dump(Counting(8)),
              "\t41 42 43 44 45 46 47 48" + std::string(26, ' ') + "ABCDEFGH\r\n");
    EXPECT_EQ(Dump(Counting(9)),
              "\t41 42 43 44 45 46 47 48-49" + std::string(23, ' ') + "ABCDEFGHI\r\n");
    EXPECT_EQ(Dump({}), "(none)");
}

TEST(HexDump, ShowsControlBytesAsDotsAndHighBytesAsTheirCodePoints) {
    EXPECT_EQ(Dump({0x00, 0x1F, 0x20, 0x7F, 0x80, 0xE9, 0xFF}),
              "\t00 1F 20 7F 80 E9 FF" + std::string(29, ' ') + ".. \x7F\u0080\u00E9\u00FF\r\n");
}

TEST(HeaderReport, ListsTheFileNameAndEveryBaseHeaderField) {
    MetafileDocument document;
    const std::string path =
        Load(document, "header.emf",
             EmfBuilder().Bounds(-1, -1, 100, 50).Frame(0, 0, 2000, 1000).PalEntries(300).Build());
    ReportText report;
    ASSERT_EQ(BuildHeaderReportText(document, &report), 1);
    EXPECT_EQ(report.tab_stops, std::vector<int>{70});
    EXPECT_EQ(ToUtf8(JoinReport(report)),
              "\r\nEMF Header Info\r\n\r\nfilename:\t" + path +
                  "\r\n"
                  "iType:\t1\r\nnSize:\t108\r\nrclBounds:\t(-1, -1) - (100, 50)\r\n"
                  "rclFrame:\t(0, 0) - (2000, 1000)\r\ndSignature:\t0x464D4520\r\n"
                  "nVersion:\t0x00010000\r\nnBytes:\t128\r\nnRecords:\t2\r\nnHandles:\t1\r\n"
                  "sReserved:\t0\r\nnDescription:\t0\r\noffDescription:\t0\r\n"
                  "nPalEntries:\t300 (0x012C)\r\nszlDevice:\t1024, 768\r\n"
                  "szlMillimeters:\t271, 203\r\ncbPixelFormat:\t0\r\noffPixelFormat:\t0\r\n"
                  "bOpenGL:\t0\r\nszlMicrometers:\t271000, 203000\r\n");
}

// The description's two parts apart, escaped; one that is not wholly inside the header record
// is not read. A description right after the base header leaves no room for extension fields.
TEST(HeaderReport, ShowsTheDescriptionApartAndEscapedWhereTheHeaderHoldsIt) {
    const std::string extension =
        "cbPixelFormat:\t0\r\noffPixelFormat:\t0\r\nbOpenGL:\t0\r\n"
        "szlMicrometers:\t271000, 203000\r\n";
    const struct {
        EmfBuilder file;
        std::string tail;
    } cases[] = {
        {EmfBuilder().Description(std::u16string(u"Orvella\0Bitmaps\0\0", 17)),
         extension + "description (application):\tOrvella\r\ndescription (title):\tBitmaps\r\n"},
        {EmfBuilder().Description(std::u16string(u"A\0B\0C\0\0", 8)),
         extension + "description (application):\tA\r\ndescription (title):\tB\\x00C\r\n"},
        {EmfBuilder().Description(u"\x1B\x7F\\\t\xD800\"" + std::u16string(600, u'x')),
         extension + "description:\t\\x1B\\x7F\\\\\\t\uFFFD\"" + std::string(506, 'x') +
             " (94 more characters not listed)\r\n"},
        {EmfBuilder().Description(u"ab").HeaderU32(60, 3),
         extension + "description:\t(3 characters at offset 108, beyond the header record)\r\n"},
        {EmfBuilder().Description(u"ab").HeaderU32(64, 88),
         "description (application):\t\r\ndescription (title):\t\r\n"},
    };
    for (const auto& c : cases) {
        MetafileDocument document;
        Load(document, "description.emf", c.file.Build());
        ReportText report;
        ASSERT_EQ(BuildHeaderReportText(document, &report), 1);
        const std::string text = ToUtf8(JoinReport(report));
        const std::string last = "szlMillimeters:\t271, 203\r\n";
        EXPECT_EQ(text.substr(text.find(last) + last.size()), c.tail);
    }
}

TEST(HeaderReport, NeedsALoadedDocumentAndAWholeBaseHeader) {
    MetafileDocument empty;
    ReportText report;
    EXPECT_EQ(BuildHeaderReportText(empty, &report), 0);
    FixedWideText<1024> fields;
    const std::vector<uint8_t> header = EmfBuilder().Build();
    EXPECT_EQ(FormatHeaderFields(header.data(), 87, fields), 0);
    EXPECT_EQ(FormatHeaderFields(nullptr, 108, fields), 0);
    EXPECT_EQ(FormatHeaderFields(header.data(), 88, fields), 1);
}

// Where and why reading stopped short of the end-of-file record, the same through every reader;
// a file read to that record is whole whatever its header counts (even where the store, sized
// by them, left its last records out), and a later whole file clears the notice.
TEST(DamageNotice, SaysWhereAndWhyReadingStopped) {
    RecordBuilder size0 = RecordBuilder(33, 8).NSize(0);
    RecordBuilder past_end = RecordBuilder(33, 8).NSize(123456);
    std::vector<uint8_t> four_left = EmfBuilder().Add(RecordBuilder(33, 8)).NoEof().Build();
    four_left.resize(four_left.size() + 4);
    const struct {
        std::vector<uint8_t> file;
        ReadingStop stop;
        const char16_t* notice;
    } cases[] = {
        {EmfBuilder().Add(size0).HeaderU32(kHeaderRecordsOffset, 3000000000).Build(),
         {ReadingStopReason::kSizeBelowEight, 108, 0, 28},
         u"Damaged: 1 of 3,000,000,000 records read; reading stopped at byte 108 (a record size "
         u"of 0)"},
        {EmfBuilder().Add(RecordBuilder(33, 8)).Add(past_end).Build(),
         {ReadingStopReason::kSizePastEnd, 116, 123456, 28},
         u"Damaged: 2 of 4 records read; reading stopped at byte 116 (a record size of 123,456 "
         u"runs past the end of the file)"},
        {four_left,
         {ReadingStopReason::kFileEnds, 116, 0, 4},
         u"Damaged: 2 of 2 records read; reading stopped at byte 116 (the file ends 4 bytes "
         u"later)"},
        {EmfBuilder().NoEof().Build(),
         {ReadingStopReason::kFileEnds, 108, 0, 0},
         u"Damaged: 1 of 1 records read; reading stopped at byte 108 (the file ends there, "
         u"without an end-of-file record)"},
        {EmfBuilder()
             .Add(RecordBuilder(33, 8))
             .Add(RecordBuilder(34, 12))
             .Add(size0)
             .HeaderU32(kHeaderRecordsOffset, 2)
             .Build(),
         {ReadingStopReason::kNoRoom, 116, 12, 40},
         u"Damaged: 2 of 2 records read; reading stopped at byte 116 (no room for more "
         u"records)"},
        {EmfBuilder().HeaderU32(kHeaderRecordsOffset, 9).Build(), {}, u""},
        {EmfBuilder().Add(RecordBuilder(33, 8)).HeaderU32(kHeaderRecordsOffset, 2).Build(),
         {},
         u""},
    };
    const std::vector<uint8_t> whole = EmfBuilder().Build();
    for (const auto& c : cases) {
        MetafileDocument document;
        Load(document, "damaged.emf", c.file);
        SCOPED_TRACE(ToUtf8(c.notice));
        EXPECT_EQ(document.Stop().reason, c.stop.reason);
        EXPECT_EQ(document.Stop().offset, c.stop.offset);
        EXPECT_EQ(document.Stop().size_field, c.stop.size_field);
        EXPECT_EQ(document.Stop().bytes_left, c.stop.bytes_left);
        EXPECT_EQ(DamageNotice(document), c.notice);
        ASSERT_EQ(document.LoadBytes(c.file.data(), c.file.size(), u"in memory"), 1);
        EXPECT_EQ(DamageNotice(document), c.notice);
        ASSERT_EQ(document.LoadBytes(whole.data(), whole.size(), u"whole"), 1);
        EXPECT_EQ(DamageNotice(document), u"");
    }
    EXPECT_EQ(DamageNotice(MetafileDocument()), u"");
}

TEST(DamageNotice, CorruptedCorpusFiles) {
    ORVELLA_CORPUS_OR_SKIP(corpus);
    const std::pair<const char*, const char16_t*> files[] = {
        {"bad_corrupted_2017-02-11-230400.emf",
         u"Damaged: 30 of 2,035 records read; reading stopped at byte 2,776 (a record size of "
         u"4,587,520 runs past the end of the file)"},
        {"bad_corrupted_2016-02-02-225639.emf",
         u"Damaged: 604 of 1,954 records read; reading stopped at byte 63,752 (a record size of "
         u"2,863,267,840 runs past the end of the file)"},
        // Its end-of-file record ends the file: the header's count alone is wrong.
        {"bad_corrupted_2014-12-02-215339.emf", u""},
    };
    for (const auto& [name, notice] : files) {
        MetafileDocument document;
        ASSERT_EQ(document.LoadFile(ToU16(corpus + "/corrupted/" + name).c_str()), 1) << name;
        EXPECT_EQ(DamageNotice(document), notice) << name;
    }
}

TEST(RecordList, NumbersEveryRecordWithItsNameSizeAndDump) {
    MetafileDocument document;
    RecordBuilder unlisted(130, 16);
    unlisted.U32(8, 0x04030201);
    Load(document, "records.emf", EmfBuilder().Add(RecordBuilder(33, 8)).Add(unlisted).Build());
    ReportText report;
    ASSERT_EQ(BuildRecordListText(document, &report), 1);
    EXPECT_EQ(report.tab_stops, (std::vector<int>{30, 150, 205}));
    const std::string text = ToUtf8(JoinReport(report));
    const std::string heading =
        "\r\nEMF Records List\r\n\r\nNumber of Records: 4\r\n\r\n\tiType\tnSize\tData\r\n"
        "----------------------------\r\n0\tEMR_HEADER\t0x006C(108)\t01 00 00 00 6C 00 00 00-";
    EXPECT_EQ(text.substr(0, heading.size()), heading);
    EXPECT_NE(text.find("\r\n\r\n1\tEMR_SAVEDC\t0x0008(8)\t21 00 00 00 08 00 00 00" +
                        std::string(26, ' ') + "!.......\r\n\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("\r\n\r\n2\t130\t0x0010(16)\t82 00 00 00 10 00 00 00-01 02 03 04 00 00 "
                        "00 00  \u0082...............\r\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\r\n\r\n3\tEMR_EOF\t0x0014(20)\t0E 00 00 00 14 00 00 00-00 00 00 00 10 "
                        "00 00 00  ................\r\n\t\t\t14 00 00 00"),
              std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 4), "\r\n\r\n");
}

TEST(RecordList, DumpsAtMost819BytesOfARecord) {
    MetafileDocument document;
    Load(document, "big-record.emf", EmfBuilder().Add(RecordBuilder(70, 1000)).Build());
    ReportText report;
    ASSERT_EQ(BuildRecordListText(document, &report), 1);
    const std::string text = ToUtf8(JoinReport(report));
    const size_t start = text.find("1\tEMR_GDICOMMENT\t0x03E8(1000)\t");
    const size_t end = text.find("2\tEMR_EOF");
    ASSERT_NE(start, std::string::npos);
    const std::string entry = text.substr(start, end - start);
    size_t rows = 0;
    for (size_t at = entry.find("\r\n"); at != std::string::npos; at = entry.find("\r\n", at + 2)) {
        ++rows;
    }
    EXPECT_EQ(rows, 53u);  // 51 full rows, a row of 3 bytes, and the empty line
    EXPECT_NE(entry.find("\t\t\t00 00 00" + std::string(41, ' ') + "...\r\n\r\n"),
              std::string::npos);
}

TEST(CallList, ListsTheDrawingRecordsVerboseBetweenHeaderAndEndOfFile) {
    MetafileDocument document;
    Load(document, "calls.emf",
         EmfBuilder()
             .Add(RecordBuilder(33, 8))
             .Add(RecordBuilder(70, 16).U32(8, 4))
             .Add(RecordBuilder(34, 12).I32(8, -1))
             .Build());
    ReportText report;
    SetVerboseFlag(0);
    ASSERT_EQ(BuildCallListText(document, &report), 1);
    EXPECT_EQ(VerboseFlag(), 1);
    EXPECT_EQ(report.tab_stops, (std::vector<int>{30, 160, 200}));
    EXPECT_EQ(ToUtf8(JoinReport(report)),
              "\r\nEMF GDI Calls \r\n\r\nNumber of Calls: 3\r\n\r\n1\tSaveDC(hDC);\r\n"
              "2\tGdiComment(████████);\r\n3\tRestoreDC(hDC, -1);\r\n");
}

TEST(CallList, ReportsNoCallsForAHeaderAndEndOfFileAloneAndNeverANegativeCount) {
    MetafileDocument document;
    Load(document, "empty.emf", EmfBuilder().Build());
    ReportText report;
    ASSERT_EQ(BuildCallListText(document, &report), 1);
    EXPECT_EQ(ToUtf8(JoinReport(report)), "\r\nEMF GDI Calls \r\n\r\nNumber of Calls: 0\r\n\r\n");

    // The header says one record: the store holds the header alone.
    Load(document, "header-only.emf", EmfBuilder().HeaderU32(kHeaderRecordsOffset, 1).Build());
    ASSERT_EQ(document.Store().count(), 1);
    ASSERT_EQ(BuildCallListText(document, &report), 1);
    EXPECT_EQ(ToUtf8(JoinReport(report)), "\r\nEMF GDI Calls \r\n\r\nNumber of Calls: 0\r\n\r\n");
}

// Each report's entry of a record leads back to that record, and every record entry is found;
// the header and the end-of-file record have none in the call list.
TEST(ReportEntries, TheEntryOfEachRecordLeadsBackToIt) {
    MetafileDocument document;
    Load(document, "entries.emf",
         EmfBuilder().Add(RecordBuilder(33, 8)).Add(RecordBuilder(34, 12).I32(8, -1)).Build());
    const int32_t records = document.Store().count();
    for (const auto& entries : {std::unique_ptr<ReportEntries>(OpenRecordListEntries(document)),
                                std::unique_ptr<ReportEntries>(OpenCallListEntries(document))}) {
        ASSERT_NE(entries, nullptr);
        int32_t found = 0;
        for (int32_t record = -1; record <= records; ++record) {
            const int32_t entry = entries->EntryOfRecord(record);
            if (entry >= 0) {
                EXPECT_EQ(entries->RecordOf(entry), record);
                ++found;
            }
        }
        int32_t listed = 0;
        for (int32_t entry = 0; entry < entries->count(); ++entry) {
            listed += entries->RecordOf(entry) >= 0 ? 1 : 0;
        }
        EXPECT_EQ(found, listed);
    }
    EXPECT_EQ(OpenCallListEntries(document)->EntryOfRecord(0), -1);
    EXPECT_EQ(OpenCallListEntries(document)->EntryOfRecord(records - 1), -1);
}

// One record's call text is its verbose text, made whatever the verbose flag, which it leaves.
TEST(CallText, OneRecordsEntryIsItsVerboseTextAndLeavesTheFlag) {
    MetafileDocument document;
    Load(document, "one-call.emf",
         EmfBuilder().Add(RecordBuilder(35, 32).F32(8, 1.0f).F32(20, 1.0f)).Build());
    SetVerboseFlag(1);
    FixedWideText<kCallTextUnits> verbose;
    BuildCallText(document.RecordAt(1), verbose);
    SetVerboseFlag(0);
    std::unique_ptr<ReportEntries> entry = OpenCallTextEntries(document, 1);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(VerboseFlag(), 0);
    ASSERT_EQ(entry->count(), 1);
    EXPECT_NE(verbose.view().find(u"\r\n"), std::u16string_view::npos);
    EXPECT_EQ(entry->Entry(0), std::u16string(verbose.view()) + u"\r\n");
    EXPECT_EQ(entry->RecordOf(0), 1);
    EXPECT_EQ(entry->EntryOfRecord(1), 0);
    EXPECT_EQ(OpenCallTextEntries(document, document.Store().count()), nullptr);
}

}  // namespace
