// orvella-dump: its reports as UTF-8 with CR LF kept, its errors and its exit codes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "document/load_failure.h"
#include "document/metafile_document.h"
#include "emfplus/emfplus_names.h"
#include "reports/call_list_report.h"
#include "reports/embedded_payloads.h"
#include "reports/record_list_report.h"
#include "tests/support/corpus.h"
#include "tests/support/emf_builder.h"
#include "tests/support/payload_builder.h"

#ifdef ORVELLA_DUMP_PATH

#include <sys/wait.h>

namespace {

struct DumpRun {
    int exit_code;
    std::string out;
    std::string err;
};

// Runs orvella-dump (or `program`) with `arguments` through the shell.
DumpRun RunDump(const std::string& arguments, const std::string& program = ORVELLA_DUMP_PATH) {
    const std::string err_path = WriteTempFile("dump-stderr.txt", {});
    const std::string command = program + " " + arguments + " 2>" + err_path;
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
// beyond the 16-bit range, comes out whole and exactly as the report's text in UTF-8. The text
// is converted in slices of 16,384 units: the character is placed so that its two units
// straddle a slice's end.
TEST(OrvellaDump, PrintsLongListsWholeInUtf8AcrossItsSlices) {
    std::vector<uint8_t> bytes(256);
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<uint8_t>(i);
    }
    auto file_with = [&](size_t padding) {
        EmfBuilder builder;
        for (int i = 0; i < 600; ++i) {
            builder.Add(RecordBuilder(70, 8 + 256).Bytes(8, bytes));
        }
        const std::u16string text = std::u16string(padding, u'x') + u"\U0001F600";
        const uint32_t units = static_cast<uint32_t>(text.size());
        RecordBuilder record(84, 76 + ((2 * units + 3) & ~3u));
        record.U32(44, units).U32(48, 76).Utf16(76, text);
        return WriteTempFile("slices.emf", builder.Add(record).Build());
    };
    MetafileDocument document;
    ReportText calls;
    ASSERT_EQ(document.LoadFile(ToU16(file_with(0)).c_str()), 1);
    ASSERT_EQ(BuildCallListText(document, &calls, 0), 1);
    const size_t unpadded = JoinReport(calls).find(u"\U0001F600");
    ASSERT_LT(unpadded, 16383u);
    ASSERT_GT(unpadded + 1000, 16383u);
    const std::string path = file_with(16383 - unpadded);
    ASSERT_EQ(document.LoadFile(ToU16(path).c_str()), 1);
    ASSERT_EQ(BuildCallListText(document, &calls, 0), 1);
    ASSERT_EQ(JoinReport(calls).find(u"\U0001F600"), 16383u);
    ReportText records;
    ASSERT_EQ(BuildRecordListText(document, &records), 1);
    ASSERT_GT(records.chunks.size(), 1u);
    EXPECT_TRUE(RunDump("records " + path).out == ToUtf8(JoinReport(records)));
    const std::string calls_out = RunDump("calls " + path + " --brief").out;
    EXPECT_TRUE(calls_out == ToUtf8(JoinReport(calls)));
    EXPECT_NE(calls_out.find(std::string(100, 'x') + "\xF0\x9F\x98\x80\"), "), std::string::npos);
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
                               "call " + path + " 1 --brief",
                               "state " + path + " 1 --changes",
                               "state " + path + " --changes --json --json"};
    for (const std::string& arguments : bad) {
        SCOPED_TRACE(arguments);
        const DumpRun run = RunDump(arguments);
        EXPECT_EQ(run.exit_code, 2);
        EXPECT_NE(run.err.find("usage: orvella-dump"), std::string::npos);
        EXPECT_TRUE(run.out.empty());
    }
}

// diff: nothing and 0 for the same drawing, a unified diff or JSON hunks and 1 for another, 2
// for trouble.
TEST(OrvellaDump, ComparesTwoFilesWithTheDiffCommandsExitCodes) {
    const auto file = [](const std::string& name, uint32_t mode) {
        return WriteTempFile(name, EmfBuilder().Add(RecordBuilder(18, 12).U32(8, mode)).Build());
    };
    const std::string a = file("diff-a.emf", 1), b = file("diff-b.emf", 2);
    const DumpRun same = RunDump("diff " + a + " " + file("diff-c.emf", 1));
    EXPECT_EQ(same.exit_code, 0);
    EXPECT_EQ(same.out, "");
    const DumpRun text = RunDump("diff -U 0 " + a + " " + b);
    EXPECT_EQ(text.exit_code, 1);
    EXPECT_EQ(text.out,
              "--- " + a + "\n+++ " + b +
                  "\n@@ -1,1 +1,1 @@\n-1\tSetBkMode(hDC, TRANSPARENT);\n+1\tSetBkMode(hDC, "
                  "OPAQUE);\n  field iMode: 1 -> 2\n");
    const DumpRun json = RunDump("diff " + a + " " + b + " --json");
    EXPECT_EQ(json.exit_code, 1);
    EXPECT_EQ(std::count(json.out.begin(), json.out.end(), '\n'), 1);
    EXPECT_NE(json.out.find("\"fields\":[{\"name\":\"iMode\",\"first\":\"1\",\"second\":\"2\"}]"),
              std::string::npos);
    for (const std::string& arguments : {a, a + " " + b + " --bogus", "-U x " + a + " " + b,
                                         a + " " + b + " " + a, std::string("- -")}) {
        SCOPED_TRACE(arguments);
        EXPECT_EQ(RunDump("diff " + arguments).exit_code, 2);
    }
    const DumpRun missing = RunDump("diff " + a + " " + a + ".missing");
    EXPECT_EQ(missing.exit_code, 2);
    EXPECT_NE(missing.err.find("cannot load " + a + ".missing: "), std::string::npos);
}

// The state after a record as the view's lines or one JSON object, and every record's changes.
TEST(OrvellaDump, PrintsTheStateAfterARecordAndEachRecordsChanges) {
    const std::string path = Sample();
    const DumpRun text = RunDump("state " + path + " 1");
    EXPECT_EQ(text.exit_code, 0);
    EXPECT_NE(text.out.find("\r\nAttributes\r\n  Background mode: TRANSPARENT  (record 1)\r\n"),
              std::string::npos);
    const std::string json = RunDump("state " + path + " 2 --json").out;
    EXPECT_EQ(json.substr(0, 41), "{\"record\":2,\"sections\":[{\"name\":\"Mapping\"");
    EXPECT_NE(json.find("{\"text\":\"Background mode: TRANSPARENT\",\"setBy\":1}"),
              std::string::npos);
    EXPECT_EQ(std::count(json.begin(), json.end(), '\n'), 1);
    const std::string changes = RunDump("state " + path + " --changes").out;
    EXPECT_NE(changes.find("\r\n1\tEMR_SETBKMODE\tAttributes/Background mode: OPAQUE -> "
                           "TRANSPARENT\r\n2\tEMR_RESTOREDC\tDiagnostics: (none) -> Record 2 "
                           "restores level -1, beyond the saved states; ignored\r\n"),
              std::string::npos)
        << changes;
    EXPECT_EQ(RunDump("state " + path + " 9").exit_code, 1);
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

    const struct {
        std::string arguments;
        const char* reason;
    } refused[] = {
        {"header " + std::filesystem::temp_directory_path().string(), ": it is a folder\n"},
        {"header " + WriteTempFile("short.emf", std::vector<uint8_t>(60, 0)),
         ": too short for an enhanced metafile header (60 bytes; it needs 88)\n"},
        {"header " + WriteTempFile("type-2.emf", EmfBuilder().HeaderU32(0, 2).Build()),
         "its first record is of type 2, not a header record (type 1)\n"},
        {"header " + WriteTempFile("size-90.emf", EmfBuilder().HeaderU32(4, 90).Build()),
         "its header record's size 90 is not a multiple of 4"},
        {"header " + WriteTempFile("sig.emf", EmfBuilder().HeaderU32(40, 0x20464D45).Build()),
         "its signature is 0x20464D45, not 0x464D4520"},
    };
    for (const auto& file : refused) {
        SCOPED_TRACE(file.arguments);
        const DumpRun run = RunDump(file.arguments);
        EXPECT_EQ(run.exit_code, 1);
        EXPECT_NE(run.err.find(file.reason), std::string::npos) << run.err;
    }
}

TEST(OrvellaDump, AnswersHelpAndVersionOnStandardOutput) {
    const DumpRun help = RunDump("--help");
    EXPECT_EQ(help.exit_code, 0);
    EXPECT_EQ(help.out.rfind("usage: orvella-dump header FILE\n", 0), 0u);
    EXPECT_TRUE(help.err.empty());
    const DumpRun version = RunDump("--version");
    EXPECT_EQ(version.exit_code, 0);
    EXPECT_EQ(version.out.rfind("orvella-dump ", 0), 0u);
    EXPECT_EQ(version.out.back(), '\n');
}

// Standard input as FILE, a name that is no UTF-8 and a path beyond the window's 258 units.
TEST(OrvellaDump, ReadsStandardInputAndAnyNameTheSystemGives) {
    const std::string path = Sample();
    const std::string expected = RunDump("records " + path).out;
    EXPECT_EQ(RunDump("records - < " + path).out, expected);
    EXPECT_EQ(RunDump("header - < " + path).out.find("filename:\t-\r\n"), 21u);

    const std::filesystem::path folder =
        std::filesystem::path(path).parent_path() / std::string(150, 'd') / std::string(150, 'e');
    std::filesystem::create_directories(folder);
    const std::filesystem::path odd = folder / "latin1-\xE9.emf";
    std::filesystem::copy_file(path, odd, std::filesystem::copy_options::overwrite_existing);
    const DumpRun run = RunDump("header '" + odd.string() + "'");
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_NE(run.out.find("latin1-\xEF\xBF\xBD.emf\r\n"), std::string::npos);
}

TEST(OrvellaDump, PrintsOneJsonObjectPerRecord) {
    const std::string path = Sample();
    const std::string records = RunDump("records " + path + " --json").out;
    EXPECT_NE(
        records.find("\n{\"index\":1,\"offset\":108,\"type\":18,\"name\":\"EMR_SETBKMODE\","
                     "\"size\":12,\"call\":\"SetBkMode(hDC, TRANSPARENT);\",\"call_verbose\":"
                     "\"SetBkMode(hDC, TRANSPARENT);\",\"data\":\"120000000c00000001000000\"}\n"),
        std::string::npos)
        << records;
    EXPECT_EQ(std::count(records.begin(), records.end(), '\n'), 4);
    // The call list's records only, without data; text is escaped so that a line stays one.
    RecordBuilder text(84, 88);
    text.U32(44, 6).U32(48, 76).Utf16(76, u"q\"\\\x1B\x7F\u009B");
    const std::string calls =
        RunDump("calls " + WriteTempFile("json.emf", EmfBuilder().Add(text).Build()) + " --json")
            .out;
    EXPECT_EQ(
        calls.rfind("{\"index\":1,\"offset\":108,\"type\":84,\"name\":\"EMR_EXTTEXTOUTW\"", 0), 0u);
    EXPECT_NE(calls.find("q\\\"\\\\\\u001b\\u007f\\u009b"), std::string::npos) << calls;
    EXPECT_EQ(calls.find("\"data\""), std::string::npos);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), '\n'), 1);
}

// The EMF+ report: text lines, JSON lines, and the exit codes of a bad option and a missing file.
TEST(OrvellaDump, PrintsTheEmfPlusReportAsTextAndJsonLines) {
    // One EmfPlusClear record in an "EMF+" comment.
    RecordBuilder plus(70, 32);
    plus.U32(8, 20).U32(12, 0x2B464D45).U16(16, 0x4009).U32(20, 16).U32(24, 4).U32(28, 0xFF000000);
    const std::string path = WriteTempFile("emfplus.emf", EmfBuilder().Add(plus).Build());
    const DumpRun text = RunDump("emfplus " + path);
    EXPECT_EQ(text.out, "1.0\tEmfPlusClear\tARGB(255, 0, 0, 0)\r\n");
    EXPECT_EQ(text.exit_code, 0);
    EXPECT_EQ(RunDump("emfplus " + path + " --json").out,
              "{\"record\":1,\"place\":0,\"type\":16393,\"name\":\"EmfPlusClear\",\"flags\":0,"
              "\"size\":16,\"dataSize\":4,\"text\":\"ARGB(255, 0, 0, 0)\"}\n");
    EXPECT_EQ(RunDump("emfplus " + path + " --xml").exit_code, 2);
    EXPECT_EQ(RunDump("emfplus /nonexistent.emf").exit_code, 1);
}

// On a terminal, text from the file cannot drive it; redirected, the bytes are exact.
TEST(OrvellaDump, EscapesControlCharactersOnlyOnATerminal) {
    RecordBuilder text(84, 80);
    text.U32(44, 2).U32(48, 76).Utf16(76, u"\x1B\u009B");
    const std::string path = WriteTempFile("escape.emf", EmfBuilder().Add(text).Build());
    const std::string exact = RunDump("calls " + path + " --brief").out;
    EXPECT_NE(exact.find("\x1B\xC2\x9B"), std::string::npos);
    const std::string terminal = RunDump("-c 'script -qec \"" + std::string(ORVELLA_DUMP_PATH) +
                                             " calls " + path + " --brief\" /dev/null'",
                                         "bash")
                                     .out;
    EXPECT_NE(terminal.find("\\x1B\\x9B"), std::string::npos) << terminal;
    EXPECT_EQ(terminal.find('\x1B'), std::string::npos);
}

// A failed write is an error; a reader that went away ends the program at once and quietly,
// even when the caller ignores the signal that says so.
TEST(OrvellaDump, ReportsAFailedWriteAndStopsQuietlyAtAClosedPipe) {
    const std::string path = Sample();
    const DumpRun full = RunDump("records " + path + " >/dev/full");
    EXPECT_EQ(full.exit_code, 1);
    EXPECT_EQ(full.err, "orvella-dump: cannot write the report: No space left on device\n");

    EmfBuilder builder;
    for (int i = 0; i < 3000; ++i) {
        builder.Add(RecordBuilder(70, 8 + 256));
    }
    const std::string big = WriteTempFile("pipe.emf", builder.Build());
    const DumpRun piped =
        RunDump("-c \"trap '' PIPE; " + std::string(ORVELLA_DUMP_PATH) + " records " + big +
                    " | head -c 10 >/dev/null; echo \\${PIPESTATUS[0]}\"",
                "bash");
    EXPECT_EQ(piped.out, "141\n");
    EXPECT_TRUE(piped.err.empty()) << piped.err;
}

// A bitmap, a JPEG in a bitmap and an EMF+ PNG, written as new files of their own into a
// folder, named after the metafile, and never over a file that exists.
TEST(OrvellaDump, ExtractWritesEachPayloadAsANewFileAndNeverOverwrites) {
    const std::vector<uint8_t> rows(16, 9);
    // Pixels of 16-bit grey, which no bitmap file holds: listed, never written.
    Data grey;
    grey.U32(0xDBC01002).U32(1).U32(2).U32(2).U32(4).U32(0x00101004).U32(0).U32(0).U32(0);
    const std::string path = WriteTempFile(
        "extract.emf",
        EmfBuilder()
            .Add(StretchDib(DibHeader(2, 2, 24), rows))
            .Add(StretchDib(DibHeader(8, 8, 0, 4), Jpeg(8, 8)))
            .Add(PlusComment({Plus(kEmfPlusObject, 0x0500, CompressedImage(Png(3, 2), 3, 2)),
                              Plus(kEmfPlusObject, 0x0501, grey)}))
            .Build());
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "extracted";
    std::filesystem::remove_all(folder);
    const std::string dir = folder.string();
    const DumpRun run = RunDump("extract " + path + " --out " + dir);
    EXPECT_EQ(run.exit_code, 0) << run.err;
    EXPECT_NE(run.err.find("not written: 3.1 EmfPlusObject image: pixel format 0x00101004"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(run.out,
              dir + "/extract-1.bmp\n" + dir + "/extract-2.jpg\n" + dir + "/extract-3.0.png\n");
    const std::vector<uint8_t> bmp = ReadFileBytes(dir + "/extract-1.bmp");
    ASSERT_EQ(bmp.size(), 14u + 40 + 16);
    EXPECT_EQ(std::string(bmp.begin(), bmp.begin() + 2), "BM");
    EXPECT_EQ(LoadLe32(bmp.data() + 2), bmp.size());
    EXPECT_EQ(LoadLe32(bmp.data() + 10), 54u);
    EXPECT_EQ(ReadFileBytes(dir + "/extract-2.jpg"), Jpeg(8, 8));
    std::vector<uint8_t> png = Png(3, 2);
    png.push_back(0);  // the padding of the EMF+ record
    EXPECT_EQ(ReadFileBytes(dir + "/extract-3.0.png"), png);
    EXPECT_EQ(RunDump("extract " + path + " --list").out,
              "1\tEMR_STRETCHDIBITS source\tBMP 2 x 2\t70 bytes\tok\n"
              "2\tEMR_STRETCHDIBITS source\tJPEG 8 x 8\t29 bytes\tok\n"
              "3.0\tEmfPlusObject image\tPNG 3 x 2\t68 bytes\tok\n"
              "3.1\tEmfPlusObject image\tpixels 2 x 2\t0 bytes\tpixel format 0x00101004, which "
              "no bitmap file holds as it is\n");

    std::filesystem::remove(dir + "/extract-1.bmp");
    const DumpRun again = RunDump("extract " + path + " --out " + dir);
    EXPECT_EQ(again.exit_code, 1);
    EXPECT_NE(again.err.find(dir + "/extract-2.jpg exists\n"), std::string::npos) << again.err;
    EXPECT_NE(again.err.find("nothing was written"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir + "/extract-1.bmp"));
    EXPECT_EQ(RunDump("extract - --out " + dir + " < " + path).out.substr(0, dir.size() + 13),
              dir + "/stdin-1.bmp\n");

    for (const std::string& bad :
         {std::string("extract"), "extract " + path + " --out",
          "extract " + path + " --list --out " + dir, "extract " + path + " --list --list",
          "extract " + path + " -x"}) {
        SCOPED_TRACE(bad);
        const DumpRun refused = RunDump(bad);
        EXPECT_EQ(refused.exit_code, 2);
        EXPECT_NE(refused.err.find("usage: orvella-dump extract FILE [--list] [--out DIR]"),
                  std::string::npos);
    }
}

// The EMF+ PNG of a corpus file, its nested EMF and a placeable WMF split over two records come
// out as whole files of their headers' sizes.
TEST(OrvellaDump, ExtractTakesOutTheCorpusPngAndNestedMetafiles) {
    ORVELLA_CORPUS_OR_SKIP(corpus);
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "corpus-out";
    std::filesystem::remove_all(folder);
    const std::string dir = folder.string();
    for (const char* file : {"/good/test-000.emf", "/good/test-179.emf", "/good/test-109.emf"}) {
        EXPECT_EQ(RunDump("extract " + corpus + file + " --out " + dir).exit_code, 0);
    }
    const std::vector<uint8_t> png = ReadFileBytes(dir + "/test-000-43.30.png");
    ASSERT_EQ(png.size(), 3052u);
    EXPECT_EQ(LoadLe32(png.data()), 0x474E5089u);
    EXPECT_EQ(png[16] << 24 | png[17] << 16 | png[18] << 8 | png[19], 288);  // IHDR's width
    const std::vector<uint8_t> emf = ReadFileBytes(dir + "/test-179-12.2.emf");
    LoadFailure refusal;
    ExplainRefusal(emf.data(), emf.size(), &refusal);
    EXPECT_STREQ(refusal.text, "");
    EXPECT_EQ(LoadLe32(emf.data() + 48), emf.size());
    // The placeable header of 22 bytes, then the metafile header whose size in words is the
    // rest.
    const std::vector<uint8_t> wmf = ReadFileBytes(dir + "/test-109-19.0.wmf");
    ASSERT_EQ(wmf.size(), 122088u);
    EXPECT_EQ(LoadLe32(wmf.data()), 0x9AC6CDD7u);
    EXPECT_EQ(LoadLe32(wmf.data() + 22), 0x00090001u);
    EXPECT_EQ(LoadLe32(wmf.data() + 28) * 2, wmf.size() - 22);
}

// Both modes on every corpus file: a line for each payload, and a file for each payload that
// has a file form and bytes, every one of them new.
TEST(OrvellaDump, ExtractListsAndWritesEveryCorpusFile) {
    ORVELLA_CORPUS_OR_SKIP(corpus);
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "corpus-all";
    std::filesystem::remove_all(folder);
    for (const char* part : {"/good", "/corrupted"}) {
        for (const std::string& path : ListEmfFiles(corpus + part)) {
            SCOPED_TRACE(path);
            const DumpRun list = RunDump("extract " + path + " --list");
            const DumpRun write = RunDump("extract " + path + " --out " + folder.string());
            MetafileDocument document;
            if (document.LoadFile(ToU16(path).c_str()) != 1) {
                EXPECT_EQ(list.exit_code, 1);
                continue;
            }
            EXPECT_EQ(list.exit_code, 0);
            EXPECT_EQ(write.exit_code, 0) << write.err;
            const EmbeddedPayloads found(document.Store());
            size_t writable = 0;
            std::vector<uint8_t> bytes;
            for (size_t i = 0; i < found.payloads().size(); ++i) {
                writable +=
                    !PayloadFileName(u"n", found.payloads()[i]).empty() && found.Bytes(i, &bytes);
            }
            EXPECT_EQ(std::count(list.out.begin(), list.out.end(), '\n'),
                      static_cast<ptrdiff_t>(found.payloads().size()));
            EXPECT_EQ(std::count(write.out.begin(), write.out.end(), '\n'),
                      static_cast<ptrdiff_t>(writable));
        }
    }
}

}  // namespace

#endif
