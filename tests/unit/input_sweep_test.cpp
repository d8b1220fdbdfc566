// One sweep over every input file the tests know: the generated hostile files, the shipped
// samples, the corpus's good and corrupted files and every input the fuzzers ever found. Each
// goes through the checks of its fuzz target (reports, call texts, playback copy), and the
// records and EMF+ records a file holds are counted by an independent walk of its bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "calls/call_text.h"
#include "calls/formatters.h"
#include "document/emf_format.h"
#include "document/metafile_document.h"
#include "emfplus/emfplus_guard.h"
#include "emfplus/emfplus_names.h"
#include "emfplus/emfplus_walk.h"
#include "fuzz/fuzz_checks.h"
#include "reports/emfplus_report.h"
#include "tests/support/corpus.h"
#include "tests/support/emf_builder.h"
#include "tests/support/hostile_metafiles.h"

namespace {

uint32_t ReadU32(const std::vector<uint8_t>& bytes, size_t offset) {
    return LoadLe32(bytes.data() + offset);
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
        // A record of an odd size is kept; the next one starts at the byte after it.
        if (record_size < 8 || record_size > size - offset) {
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

// The EMF+ records of a loaded file, counted by walking its "EMF+" comments under the size
// rules: a record head needs 12 bytes, and a Size below 12, not a multiple of 4 or past the
// comment's data ends the comment.
int64_t IndependentEmfPlusCount(const MetafileDocument& document) {
    int64_t count = 0;
    for (int32_t i = 0; i < document.Store().count(); ++i) {
        const RecordView record = document.RecordAt(i);
        std::vector<uint8_t> bytes(record.data, record.data + record.size);
        if (record.size < 16 || ReadU32(bytes, 0) != kEmrGdiComment ||
            ReadU32(bytes, 12) != kEmfPlusIdentifier) {
            continue;
        }
        const uint64_t end = std::min<uint64_t>(12 + uint64_t{ReadU32(bytes, 8)}, record.size);
        for (uint64_t at = 16; at + 12 <= end; ++count) {
            const uint32_t size = ReadU32(bytes, static_cast<size_t>(at) + 4);
            if (size < 12 || size % 4 != 0 || size > end - at) {
                break;
            }
            at += size;
        }
    }
    return count;
}

struct SweepCount {
    int loaded = 0;
    int refused = 0;
};

// Runs one file through the document checks and the independent count; a well-formed file
// must also print the full call text of every record of a translated type. The document is
// left loaded (or empty) for the caller.
void SweepFile(const std::string& name, const std::vector<uint8_t>& file, bool well_formed,
               MetafileDocument* document, SweepCount* count) {
    SCOPED_TRACE(name);
    const char* broken = CheckDocumentInput(file.data(), file.size());
    EXPECT_EQ(broken, nullptr) << broken;
    if (document->LoadBytes(file.data(), file.size(), u"sweep.emf") != 1) {
        // Only a file without a header to trust is refused, on every platform.
        EXPECT_LT(IndependentCount(file), 0);
        EXPECT_EQ(document->Store().count(), 0);
        ++count->refused;
        return;
    }
    ++count->loaded;
    EXPECT_EQ(document->Store().count(), IndependentCount(file));
    const EmfPlusIndex emfplus(document->Store());
    EXPECT_EQ(emfplus.emfplus_records(), IndependentEmfPlusCount(*document));
    if (well_formed && emfplus.emfplus_records() > 0) {
        ReportText report;
        CollectReport(*OpenEmfPlusReport(*document), &report);
        EXPECT_EQ(JoinReport(report).find(u"(unreadable)"), std::u16string::npos);
    }
    FixedWideText<kCallTextUnits> text;
    for (int32_t i = 0; well_formed && i < document->Store().count(); ++i) {
        const RecordView record = document->RecordAt(i);
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

std::string SourceFolder(std::string folder) {
#ifdef _WIN32
    // A Unix path handed to a Windows program under Wine: its root is drive Z.
    if (!folder.empty() && folder[0] == '/') {
        folder = "Z:" + folder;
    }
#endif
    return folder;
}

// The files of a folder other than its notes, sorted; a folder that is not there has none.
std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.is_regular_file() && entry.path().extension() != ".md") {
            files.push_back(entry.path().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(InputSweep, GeneratedHostileFiles) {
    SweepCount count;
    for (auto files : {MalformedMetafiles(), HostileMetafiles(), EveryTypeMetafiles()}) {
        for (const HostileMetafile& file : files) {
            MetafileDocument document;
            SweepFile(file.name, file.bytes, false, &document, &count);
        }
    }
    // The sound base file and most damaged ones are held; those cut in their header are not.
    EXPECT_GT(count.loaded, count.refused);
    EXPECT_GT(count.refused, 0);
    // The guard replaces a record of every file of damaged records; an empty frame is damage
    // for the player's arithmetic only.
    for (const HostileMetafile& file : HostileMetafiles()) {
        MetafileDocument document;
        ASSERT_EQ(document.LoadBytes(file.bytes.data(), file.bytes.size(), u"hostile.emf"), 1);
        PlaybackCopy copy;
        ASSERT_EQ(BuildPlaybackCopy(document.Store(), &copy), 1);
        EXPECT_EQ(copy.replacements.empty(), file.name == "empty-frame") << file.name;
    }
}

TEST(InputSweep, ShippedSamplesLoadWholeAndTranslate) {
    const std::vector<std::string> samples = ListEmfFiles(SamplesDir());
    EXPECT_GE(samples.size(), 3u);
    SweepCount count;
    for (const std::string& path : samples) {
        MetafileDocument document;
        SweepFile(path, ReadFileBytes(path), true, &document, &count);
        EXPECT_EQ(document.Store().count(), document.HeaderRecordCount()) << path;
    }
    EXPECT_EQ(count.refused, 0);
}

// The only records of the good corpus the guard rejects are 8-bit bitmaps of two files whose
// headers say 256 colours (biClrUsed 0) while only 100 are there: the player would read the
// rest of the table from beyond the record.
TEST(InputSweep, GoodCorpus) {
    ORVELLA_CORPUS_OR_SKIP(corpus);
    SweepCount count;
    int plus_replaced = 0;
    for (const std::string& path : ListEmfFiles(corpus + "/good")) {
        MetafileDocument document;
        SweepFile(path, ReadFileBytes(path), true, &document, &count);
        EXPECT_EQ(document.Stop().reason, ReadingStopReason::kNone) << path;
        PlaybackCopy copy;
        BuildPlaybackCopy(document.Store(), &copy);
        const std::string name = path.substr(path.find_last_of("/\\") + 1);
        for (const PlaybackReplacement& r : copy.replacements) {
            if (r.mend == PlaybackMend::kAddedEndOfFile) {
                continue;
            }
            const std::string field = r.verdict.field != nullptr ? r.verdict.field : "";
            const bool known_file = name == "test-039.emf" || name == "test-040.emf";
            EXPECT_TRUE(known_file && field == "bmi.bmiColors")
                << name << " #" << r.index << " type " << r.type << ": "
                << GuardFaultText(r.verdict.fault) << " (" << field << ")";
        }
        // Of the EMF+ records the guard replaces only the images that hold a metafile, and the
        // records that draw them.
        for (const EmfPlusReplacement& r : GuardEmfPlusRecords(copy.bytes)) {
            const bool metafile_image = r.verdict.fault == EmfPlusGuardFault::kNestedMetafile;
            const bool draws_it = r.type == kEmfPlusDrawImagePoints &&
                                  r.verdict.fault == EmfPlusGuardFault::kObjectNotDefined;
            EXPECT_TRUE(metafile_image || draws_it)
                << name << " " << r.index << "." << r.k << " type " << r.type << ": "
                << EmfPlusGuardFaultText(r.verdict.fault) << " (" << r.verdict.field << ")";
            ++plus_replaced;
        }
    }
    EXPECT_EQ(count.refused, 0) << "every file of good/ is a well-formed metafile";
    EXPECT_GT(count.loaded, 0);
    std::printf("good corpus: %d files swept, %d EMF+ records replaced for the player\n",
                count.loaded, plus_replaced);
}

TEST(InputSweep, CorruptedCorpus) {
    ORVELLA_CORPUS_OR_SKIP(corpus);
    SweepCount count;
    for (const std::string& path : ListEmfFiles(corpus + "/corrupted")) {
        MetafileDocument document;
        SweepFile(path, ReadFileBytes(path), false, &document, &count);
    }
    EXPECT_GT(count.loaded + count.refused, 0);
    std::printf("corrupted corpus: %d files loaded, %d refused\n", count.loaded, count.refused);
}

// Every input the fuzzers ever found, through the checks of its target, and the files that
// once broke the window program, through the document checks.
TEST(InputSweep, KeptRegressions) {
    const std::string folder = SourceFolder(ORVELLA_REGRESSIONS_DIR);
    ASSERT_TRUE(std::filesystem::exists(folder + "/README.md")) << folder;
    const struct {
        const char* target;
        const char* (*check)(const uint8_t*, size_t);
    } targets[] = {{"document", CheckDocumentInput}, {"record", CheckRecordInput},
                   {"emfplus", CheckEmfPlusInput},   {"emfplus", CheckEmfPlusGuardInput},
                   {"canvas", CheckCanvasInput},     {"window", CheckDocumentInput}};
    size_t replayed = 0;
    for (const auto& [target, check] : targets) {
        for (const std::string& path : FilesIn(folder + "/" + target)) {
            const std::vector<uint8_t> bytes = ReadFileBytes(path);
            const char* broken = check(bytes.data(), bytes.size());
            EXPECT_EQ(broken, nullptr) << path << ": " << broken;
            ++replayed;
        }
    }
    EXPECT_GT(replayed, 0u);
}

// The canvas and record checks over inputs from a fixed generator: the fuzzers' invariants on
// every run, without the fuzzer.
TEST(InputSweep, GeneratedFuzzInputs) {
    uint32_t state = 12345;
    for (int i = 0; i < 4000; ++i) {
        std::vector<uint8_t> input(1 + i % 96);
        for (uint8_t& byte : input) {
            state = state * 1664525u + 1013904223u;
            byte = static_cast<uint8_t>(state >> 24);
        }
        const char* canvas = CheckCanvasInput(input.data(), input.size());
        ASSERT_EQ(canvas, nullptr) << "input " << i << ": " << canvas;
        const char* record = CheckRecordInput(input.data(), input.size());
        ASSERT_EQ(record, nullptr) << "input " << i << ": " << record;
    }
}

// The checks themselves hold on inputs of every shape and tell a lone surrogate from a pair.
TEST(InputSweep, ChecksTakeInputsOfEveryShape) {
    EXPECT_EQ(CheckRecordInput(nullptr, 0), nullptr);
    const uint8_t short_head[3] = {84, 0, 0};
    EXPECT_EQ(CheckRecordInput(short_head, sizeof short_head), nullptr);
    // A type far beyond the table folds into it: 84 + 122 is ExtTextOutW.
    const RecordBuilder folded = RecordBuilder(84 + 122, 8).U32(44, 0xFFFFFFFF);
    EXPECT_EQ(CheckRecordInput(folded.bytes().data(), folded.bytes().size()), nullptr);
    EXPECT_EQ(CheckCanvasInput(nullptr, 0), nullptr);
    EXPECT_FALSE(HasLoneSurrogate(u"plain \U0001F600 pair"));
    EXPECT_TRUE(HasLoneSurrogate(std::u16string_view(u"a\xDE00z", 3)));
    EXPECT_TRUE(HasLoneSurrogate(std::u16string_view(u"\xD83D\xD83D\xDE00", 3)));
}

}  // namespace
