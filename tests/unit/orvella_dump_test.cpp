// orvella-dump: its reports as UTF-8 with CR LF kept, its errors and its exit codes.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "document/metafile_document.h"
#include "reports/call_list_report.h"
#include "reports/record_list_report.h"
#include "tests/support/emf_builder.h"

#ifdef ORVELLA_DUMP_PATH

#include <sys/wait.h>

namespace {

struct DumpRun {
    int exit_code;
    std::string out;
    std::string err;
};

DumpRun RunDump(const std::string& arguments) {
    const std::string err_path = WriteTempFile("dump-stderr.txt", {});
    const std::string command = std::string(ORVELLA_DUMP_PATH) + " " + arguments + " 2>" + err_path;
    FILE* pipe = popen(command.c_str(), "r");
    DumpRun run{-1, "", ""};
    char buffer[4096];
    for (size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        run.out.append(buffer, got);
    }
    const int status = pclose(pipe);
    run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    const std::vector<uint8_t> err = ReadFileBytes(err_path);
    run.err.assign(err.begin(), err.end());
    return run;
}

std::string Sample() {
    return WriteTempFile("dump.emf", EmfBuilder()
                                         .Add(RecordBuilder(18, 12).U32(8, 1))
                                         .Add(RecordBuilder(34, 12).I32(8, -1))
                                         .Build());
}

TEST(OrvellaDump, PrintsEachReportAsTheWindowShowsIt) {
    const std::string path = Sample();
    const DumpRun header = RunDump("header " + path);
    EXPECT_EQ(header.exit_code, 0);
    const std::string start = "\r\nEMF Header Info\r\n\r\nfilename:\t" + path + "\r\niType:\t1\r\n";
    EXPECT_EQ(header.out.substr(0, start.size()), start);
    EXPECT_EQ(RunDump("calls " + path).out,
              "\r\nEMF GDI Calls \r\n\r\nNumber of Calls: 2\r\n\r\n1\tSetBkMode(hDC, "
              "TRANSPARENT);\r\n2\tRestoreDC(hDC, -1);\r\n");
    EXPECT_EQ(RunDump("calls " + path + " --brief").exit_code, 0);
    EXPECT_NE(RunDump("records " + path).out.find("1\tEMR_SETBKMODE\t0x000C(12)\t12 00 00 00"),
              std::string::npos);
    EXPECT_EQ(RunDump("call " + path + " 0").out, "EMR_HEADER(████████);\r\n");
    EXPECT_EQ(RunDump("call " + path + " 1 --verbose").out, "SetBkMode(hDC, TRANSPARENT);\r\n");
}

// A list of many chunks, with the dump's characters 0x80 to 0xFF and a text of a character
// beyond the 16-bit range, comes out whole and exactly as the report's text in UTF-8.
TEST(OrvellaDump, PrintsALongListWholeInUtf8) {
    std::vector<uint8_t> bytes(256);
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<uint8_t>(i);
    }
    EmfBuilder builder;
    for (int i = 0; i < 3000; ++i) {
        builder.Add(RecordBuilder(70, 8 + 256).Bytes(8, bytes));
    }
    RecordBuilder text(84, 80);
    text.U32(44, 2).U32(48, 76).Utf16(76, u"\U0001F600");
    builder.Add(text);
    const std::string path = WriteTempFile("long-dump.emf", builder.Build());
    MetafileDocument document;
    ASSERT_EQ(document.LoadFile(ToU16(path).c_str()), 1);
    ReportText records;
    ASSERT_EQ(BuildRecordListText(document, &records), 1);
    ASSERT_GT(records.chunks.size(), 1u);
    ReportText calls;
    ASSERT_EQ(BuildCallListText(document, &calls, 1), 1);
    EXPECT_TRUE(RunDump("records " + path).out == ToUtf8(JoinReport(records)));
    const std::string calls_out = RunDump("calls " + path).out;
    EXPECT_TRUE(calls_out == ToUtf8(JoinReport(calls)));
    EXPECT_NE(calls_out.find("\xF0\x9F\x98\x80"), std::string::npos);
}

// orvella-dump converts its text to UTF-8 in slices of 16,384 units: a character beyond the
// 16-bit range whose two units straddle a slice's end comes out whole.
TEST(OrvellaDump, KeepsACharacterWholeWhereItsUnitsStraddleTwoSlices) {
    auto file_with = [](size_t padding) {
        EmfBuilder builder;
        for (int i = 0; i < 600; ++i) {
            builder.Add(RecordBuilder(70, 16));
        }
        const std::u16string text = std::u16string(padding, u'x') + u"\U0001F600";
        const uint32_t units = static_cast<uint32_t>(text.size());
        RecordBuilder record(84, 76 + ((2 * units + 3) & ~3u));
        record.U32(44, units).U32(48, 76).Utf16(76, text);
        return builder.Add(record).Build();
    };
    auto position = [](const std::vector<uint8_t>& file) {
        MetafileDocument document;
        const std::string path = WriteTempFile("slices.emf", file);
        document.LoadFile(ToU16(path).c_str());
        ReportText report;
        BuildCallListText(document, &report, 0);
        return JoinReport(report).find(u"\U0001F600");
    };
    const size_t unpadded = position(file_with(0));
    ASSERT_LT(unpadded, 16383u);
    ASSERT_GT(unpadded + 1000, 16383u);
    const std::vector<uint8_t> file = file_with(16383 - unpadded);
    ASSERT_EQ(position(file), 16383u);
    const std::string out =
        RunDump("calls " + WriteTempFile("straddle.emf", file) + " --brief").out;
    EXPECT_NE(out.find(std::string(100, 'x') + "\xF0\x9F\x98\x80\"), "), std::string::npos);
}

TEST(OrvellaDump, ExplainsBadArgumentsWithUsageAndExitCode2) {
    const std::string path = Sample();
    const std::string bad[] = {"",
                               "header",
                               "draw " + path,
                               "header " + path + " extra",
                               "calls " + path + " --verbose",
                               "call " + path,
                               "call " + path + " -1",
                               "call " + path + " 1 --brief"};
    for (const std::string& arguments : bad) {
        SCOPED_TRACE(arguments);
        const DumpRun run = RunDump(arguments);
        EXPECT_EQ(run.exit_code, 2);
        EXPECT_NE(run.err.find("usage: orvella-dump"), std::string::npos);
        EXPECT_TRUE(run.out.empty());
    }
}

TEST(OrvellaDump, SaysWhyAFileCannotBeLoadedAndExits1) {
    const DumpRun missing = RunDump("header /nonexistent/file.emf");
    EXPECT_EQ(missing.exit_code, 1);
    EXPECT_EQ(missing.err,
              "orvella-dump: cannot load /nonexistent/file.emf: No such file or directory\n");
    const std::string text = WriteTempFile("text.emf", std::vector<uint8_t>(200, 'x'));
    const DumpRun not_emf = RunDump("records " + text);
    EXPECT_EQ(not_emf.exit_code, 1);
    EXPECT_NE(not_emf.err.find("not an enhanced metafile"), std::string::npos);
    const DumpRun beyond = RunDump("call " + Sample() + " 4");
    EXPECT_EQ(beyond.exit_code, 1);
    EXPECT_NE(beyond.err.find("has no record 4 (it holds records 0 to 3)"), std::string::npos);
}

}  // namespace

#endif
