// orvella-dump: prints the header report, the record list, the call list or one call text of
// a metafile, as UTF-8, exactly as the window program shows them, or as JSON lines.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "calls/call_text.h"
#include "cli/emfplus_mode.h"
#include "cli/json_text.h"
#include "document/emf_format.h"
#include "document/metafile_document.h"
#include "reports/call_list_report.h"
#include "reports/header_report.h"
#include "reports/record_list_report.h"
#include "reports/report_text.h"
#include "text/utf16.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include "document/gdi_reader_win.h"
// shellapi.h needs the types of windows.h.
#include <shellapi.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// The largest file Orvella reads: record offsets and sizes are 32-bit.
constexpr uint64_t kLargestFile = 0xFFFFFFFF;

// ---- Output -----------------------------------------------------------------------------

// One output stream. Redirected, it takes exact UTF-8. On a terminal, text from the file must
// not drive the terminal: control characters other than tab, CR and LF print as visible
// escapes (\x1B); a Windows console is given the characters themselves, as UTF-16.
class Output {
  public:
    explicit Output(FILE* file) : file_(file) {
#ifdef _WIN32
        _setmode(_fileno(file), _O_BINARY);
        console_ = GetStdHandle(file == stdout ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
        DWORD mode = 0;
        if (console_ == nullptr || console_ == INVALID_HANDLE_VALUE ||
            !GetConsoleMode(console_, &mode)) {
            console_ = nullptr;
        }
        terminal_ = console_ != nullptr;
#else
        terminal_ = isatty(fileno(file)) != 0;
#endif
    }

    void Write(std::u16string_view text) {
        while (!text.empty() && !failed_) {
            size_t slice = text.size() < kSliceUnits ? text.size() : kSliceUnits;
            if (slice < text.size() && IsHighSurrogate(text[slice - 1])) {
                --slice;
            }
            WriteSlice(text.substr(0, slice));
            text.remove_prefix(slice);
        }
    }

    void Write(std::string_view ascii) {
        std::u16string wide(ascii.begin(), ascii.end());
        Write(std::u16string_view(wide));
    }

    // Flushes; false when anything could not be written.
    bool Finish() {
        if (!failed_ && std::fflush(file_) != 0) {
            Failed();
        }
        return !failed_;
    }
    int error() const {
        return error_;
    }

  private:
    static constexpr size_t kSliceUnits = 16384;

    static bool IsControl(char16_t unit) {
        return (unit < 0x20 && unit != u'\t' && unit != u'\r' && unit != u'\n') ||
               (unit >= 0x7F && unit <= 0x9F);
    }

    void WriteSlice(std::u16string_view text) {
        if (terminal_) {
            escaped_.clear();
            for (char16_t unit : text) {
                if (IsControl(unit)) {
                    constexpr char16_t kHex[] = u"0123456789ABCDEF";
                    escaped_ += u"\\x";
                    escaped_ += kHex[(unit >> 4) & 0xF];
                    escaped_ += kHex[unit & 0xF];
                } else {
                    escaped_ += unit;
                }
            }
            text = escaped_;
        }
#ifdef _WIN32
        if (console_ != nullptr) {
            DWORD written = 0;
            if (!WriteConsoleW(console_, text.data(), static_cast<DWORD>(text.size()), &written,
                               nullptr)) {
                errno = EIO;
                Failed();
            }
            return;
        }
#endif
        bytes_.resize(3 * text.size());
        const size_t length = EncodeUtf8(text, bytes_.data());
        if (std::fwrite(bytes_.data(), 1, length, file_) != length) {
            Failed();
        }
    }

    // A reader that went away wants no more: the program ends at once and quietly. Any other
    // failure is reported when the program ends.
    void Failed() {
        if (ReaderWentAway()) {
            std::_Exit(1);
        }
        failed_ = true;
        error_ = errno;
    }

    static bool ReaderWentAway() {
#ifdef _WIN32
        const DWORD error = GetLastError();
        if (error == ERROR_BROKEN_PIPE || error == ERROR_NO_DATA ||
            error == ERROR_PIPE_NOT_CONNECTED) {
            return true;
        }
#endif
        return errno == EPIPE;
    }

    FILE* file_;
    bool terminal_ = false;
    bool failed_ = false;
    int error_ = 0;
    std::u16string escaped_;
    std::string bytes_;
#ifdef _WIN32
    HANDLE console_ = nullptr;
#endif
};

Output& Out() {
    static Output out(stdout);
    return out;
}

Output& Err() {
    static Output err(stderr);
    return err;
}

// ---- The file ------------------------------------------------------------------------------

// The FILE argument: the name as the system gave it, and the same as UTF-16 for display.
struct FileName {
#ifdef _WIN32
    std::u16string system;
#else
    std::string system;
#endif
    std::u16string shown;
};

// The file's bytes, or the reason they cannot be had.
struct FileBytes {
    std::vector<uint8_t> bytes;
    std::string failure;
};

// Reads everything `file` holds; `known` is its size when it is a regular file, else 0.
void ReadAll(FILE* file, uint64_t known, FileBytes* out) {
    if (known > kLargestFile) {
        out->failure = "larger than Orvella reads (4294967295 bytes at most)";
        return;
    }
    out->bytes.reserve(static_cast<size_t>(known));
    uint8_t block[65536];
    for (;;) {
        const size_t got = std::fread(block, 1, sizeof block, file);
        if (out->bytes.size() + got > kLargestFile) {
            out->failure = "larger than Orvella reads (4294967295 bytes at most)";
            return;
        }
        out->bytes.insert(out->bytes.end(), block, block + got);
        if (got < sizeof block) {
            break;
        }
    }
    if (std::ferror(file)) {
        out->failure = std::strerror(errno);
    }
}

FileBytes ReadFile(const FileName& name) {
    FileBytes file;
    if (name.shown == u"-") {
#ifdef _WIN32
        _setmode(_fileno(stdin), _O_BINARY);
#endif
        ReadAll(stdin, 0, &file);
        return file;
    }
#ifdef _WIN32
    std::u16string path = name.system;
    // Paths beyond the platform's usual limit are opened in their long form.
    if (path.size() >= MAX_PATH && path.rfind(u"\\\\", 0) != 0) {
        std::vector<wchar_t> full(32768);
        const DWORD length =
            GetFullPathNameW(reinterpret_cast<const wchar_t*>(path.c_str()),
                             static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length > 0 && length < full.size()) {
            path = u"\\\\?\\" + std::u16string(reinterpret_cast<char16_t*>(full.data()), length);
        }
    }
    const wchar_t* wide = reinterpret_cast<const wchar_t*>(path.c_str());
    const DWORD attributes = GetFileAttributesW(wide);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        file.failure = "it is a folder";
        return file;
    }
    FILE* handle = _wfopen(wide, L"rb");
    if (handle == nullptr) {
        file.failure = std::strerror(errno);
        return file;
    }
    struct _stati64 status;
    const bool regular = _fstati64(_fileno(handle), &status) == 0 && (status.st_mode & _S_IFREG);
#else
    FILE* handle = std::fopen(name.system.c_str(), "rb");
    if (handle == nullptr) {
        file.failure = std::strerror(errno);
        return file;
    }
    struct stat status;
    if (fstat(fileno(handle), &status) == 0 && S_ISDIR(status.st_mode)) {
        std::fclose(handle);
        file.failure = "it is a folder";
        return file;
    }
    const bool regular = S_ISREG(status.st_mode);
#endif
    ReadAll(handle, regular ? static_cast<uint64_t>(status.st_size) : 0, &file);
    std::fclose(handle);
    return file;
}

// Why bytes the document would refuse are no enhanced metafile.
std::string Refusal(const std::vector<uint8_t>& bytes) {
    char text[200];
    const RecordView file{bytes.data(), static_cast<uint32_t>(bytes.size())};
    switch (CheckEnhancedMetafile(bytes.data(), bytes.size())) {
        case MetafileRefusal::kNone:
            return "";
        case MetafileRefusal::kTooShort:
            std::snprintf(text, sizeof text,
                          "too short for an enhanced metafile header (%zu bytes; it needs 88)",
                          bytes.size());
            return text;
        case MetafileRefusal::kNotHeader:
            std::snprintf(text, sizeof text,
                          "not an enhanced metafile: its first record is of type %u, not a "
                          "header record (type 1)",
                          RecordType(file));
            return text;
        case MetafileRefusal::kHeaderSize:
            std::snprintf(text, sizeof text,
                          "not an enhanced metafile: its header record's size %u is not a "
                          "multiple of 4 of at least 88 bytes inside the file (%zu bytes)",
                          RecordSizeField(file), bytes.size());
            return text;
        case MetafileRefusal::kSignature: {
            RecordReader header(file);
            std::snprintf(text, sizeof text,
                          "not an enhanced metafile: its signature is 0x%08X, not 0x464D4520 "
                          "(\" EMF\")",
                          header.U32(kHeaderSignatureOffset));
            return text;
        }
    }
    return "not an enhanced metafile";
}

// ---- Arguments and modes -----------------------------------------------------------------

struct Options {
    bool brief = false;
    bool verbose = false;
    bool json = false;
    int32_t index = 0;
};

// What a mode is given: the loaded document, the file's bytes and its name.
struct Loaded {
    const MetafileDocument& document;
    const std::vector<uint8_t>& file;
    const FileName& name;
};

using ModeRun = int (*)(const Loaded& loaded, const Options& options);

struct Mode {
    const char* name;
    // The arguments after FILE, for the usage text.
    const char* usage;
    // Whether an INDEX follows FILE.
    bool takes_index;
    // The options it accepts, each at most once: flags of "bvj" (--brief, --verbose, --json).
    const char* options;
    ModeRun run;
};

void WriteChunks(ReportStream& stream) {
    // Each chunk is written as soon as it is made: a long report is never held whole.
    for (std::u16string_view chunk = stream.NextChunk(); !chunk.empty();
         chunk = stream.NextChunk()) {
        Out().Write(chunk);
    }
}

int OutOfMemory() {
    Err().Write("orvella-dump: out of memory\n");
    return 1;
}

int RunHeader(const Loaded& loaded, const Options&) {
    ReportText report;
    if (BuildHeaderReportText(loaded.document, loaded.name.shown, &report) == 0) {
        return OutOfMemory();
    }
    for (const std::u16string& chunk : report.chunks) {
        Out().Write(chunk);
    }
    return 0;
}

// Each stored record's offset in the file. The store holds the file's records in file order,
// but may have left out some that did not fit its capacity: each is found among the records
// of the file by its bytes, in order.
std::vector<uint32_t> RecordOffsets(const Loaded& loaded) {
    struct Walk {
        const uint8_t* base;
        std::vector<std::pair<const uint8_t*, uint32_t>> records;
    } walk{loaded.file.data(), {}};
    WalkMetafileBytes(
        loaded.file.data(), static_cast<uint32_t>(loaded.file.size()),
        [](void* context, const uint8_t* record, uint32_t size) {
            static_cast<Walk*>(context)->records.emplace_back(record, size);
            return 1;
        },
        &walk);
    const RecordStore& store = loaded.document.Store();
    std::vector<uint32_t> offsets(static_cast<size_t>(store.count()), 0);
    size_t next = 0;
    for (int32_t i = 0; i < store.count(); ++i) {
        const RecordView record = store.RecordAt(i);
        while (next < walk.records.size() &&
               (walk.records[next].second != record.size ||
                std::memcmp(walk.records[next].first, record.data, record.size) != 0)) {
            ++next;
        }
        if (next < walk.records.size()) {
            offsets[static_cast<size_t>(i)] =
                static_cast<uint32_t>(walk.records[next++].first - walk.base);
        }
    }
    return offsets;
}

// One JSON line per record from `first` up to `end`, the data as hex when `with_data`.
int WriteJsonLines(const Loaded& loaded, int32_t first, int32_t end, bool with_data) {
    const std::vector<uint32_t> offsets = RecordOffsets(loaded);
    std::u16string line;
    FixedWideText<kCallTextUnits> call;
    for (int32_t i = first; i < end; ++i) {
        const RecordView record = loaded.document.RecordAt(i);
        const uint32_t type = RecordType(record);
        line.clear();
        line += u"{\"index\":";
        AppendJsonNumber(line, static_cast<uint64_t>(i));
        line += u",\"offset\":";
        AppendJsonNumber(line, offsets[static_cast<size_t>(i)]);
        line += u",\"type\":";
        AppendJsonNumber(line, type);
        line += u",\"name\":";
        if (const char16_t* name = LookupRecordName(type)) {
            AppendJsonString(line, name);
        } else {
            line += u"null";
        }
        line += u",\"size\":";
        AppendJsonNumber(line, RecordSizeField(record));
        SetVerboseFlag(0);
        BuildCallText(record, call);
        line += u",\"call\":";
        AppendJsonString(line, call.view());
        SetVerboseFlag(1);
        BuildCallText(record, call);
        line += u",\"call_verbose\":";
        AppendJsonString(line, call.view());
        if (with_data) {
            line += u",\"data\":";
            AppendJsonHex(line, record.data, record.size);
        }
        line += u"}\n";
        Out().Write(line);
    }
    return 0;
}

int RunRecords(const Loaded& loaded, const Options& options) {
    if (options.json) {
        return WriteJsonLines(loaded, 0, loaded.document.Store().count(), true);
    }
    std::unique_ptr<ReportStream> stream = OpenRecordList(loaded.document);
    if (stream == nullptr) {
        return OutOfMemory();
    }
    WriteChunks(*stream);
    return 0;
}

int RunCalls(const Loaded& loaded, const Options& options) {
    if (options.json) {
        // The call list's records: all but the header and the end-of-file record.
        return WriteJsonLines(loaded, 1, loaded.document.Store().count() - 1, false);
    }
    std::unique_ptr<ReportStream> stream = OpenCallList(loaded.document, options.brief ? 0 : 1);
    if (stream == nullptr) {
        return OutOfMemory();
    }
    WriteChunks(*stream);
    return 0;
}

int RunCall(const Loaded& loaded, const Options& options) {
    const RecordView record = loaded.document.RecordAt(options.index);
    if (!record) {
        char text[120];
        std::snprintf(text, sizeof text, " has no record %d (it holds records 0 to %d)\n",
                      options.index, loaded.document.Store().count() - 1);
        Err().Write(u"orvella-dump: ");
        Err().Write(loaded.name.shown);
        Err().Write(text);
        return 1;
    }
    SetVerboseFlag(options.verbose ? 1 : 0);
    FixedWideText<kCallTextUnits> call;
    BuildCallText(record, call);
    Out().Write(call.view());
    Out().Write(u"\r\n");
    return 0;
}

int RunEmfPlus(const Loaded& loaded, const Options& options) {
    const int status = RunEmfPlusMode(loaded.document, options.json,
                                      [](std::u16string_view text) { Out().Write(text); });
    return status < 0 ? OutOfMemory() : status;
}

constexpr Mode kModes[] = {
    {"header", "", false, "", RunHeader},
    {"records", " [--json]", false, "j", RunRecords},
    {"calls", " [--brief | --json]", false, "bj", RunCalls},
    {"call", " INDEX [--verbose]", true, "v", RunCall},
    {"emfplus", " [--json]", false, "j", RunEmfPlus},
};

constexpr char kDescription[] =
    "\n"
    "Prints a report of the enhanced metafile FILE (- for standard input) as the Orvella\n"
    "window shows it, in UTF-8 with its CR LF line ends: the header, every record with a\n"
    "hexadecimal dump, every drawing record as a GDI call (with parameter blocks, or one line\n"
    "each with --brief), or the call text of the record numbered INDEX (one line, or with\n"
    "parameter blocks with --verbose), or every EMF+ record and comment record decoded, one\n"
    "line each. With --json, one JSON object per line and record.\n"
    "\n"
    "       orvella-dump --help | --version\n";

void WriteUsage(Output& out) {
    bool first = true;
    for (const Mode& mode : kModes) {
        out.Write(first ? "usage: orvella-dump " : "       orvella-dump ");
        out.Write(mode.name);
        out.Write(" FILE");
        out.Write(mode.usage);
        out.Write("\n");
        first = false;
    }
    out.Write(kDescription);
}

int Usage(const char* problem) {
    if (problem != nullptr) {
        Err().Write("orvella-dump: ");
        Err().Write(problem);
        Err().Write("\n");
    }
    WriteUsage(Err());
    return 2;
}

bool ParseIndex(const std::string& text, int32_t* index) {
    if (text.empty() || text.size() > 10) {
        return false;
    }
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    if (value > INT32_MAX) {
        return false;
    }
    *index = static_cast<int32_t>(value);
    return true;
}

// Sets the option `text` names when `mode` accepts it and it was not given before.
bool TakeOption(const Mode& mode, const std::string& text, Options* options) {
    const struct {
        const char* text;
        char flag;
        bool Options::*field;
    } kKnown[] = {{"--brief", 'b', &Options::brief},
                  {"--verbose", 'v', &Options::verbose},
                  {"--json", 'j', &Options::json}};
    for (const auto& known : kKnown) {
        if (text == known.text && std::strchr(mode.options, known.flag) != nullptr &&
            !(options->*known.field)) {
            options->*known.field = true;
            return true;
        }
    }
    return false;
}

// Loads the file and runs the mode on it.
int Run(const Mode& mode, const FileName& name, const Options& options) {
    FileBytes file = ReadFile(name);
    std::string failure = file.failure;
    if (failure.empty()) {
        failure = Refusal(file.bytes);
    }
    MetafileDocument document;
    if (failure.empty()) {
        // The document's path holds at most 258 units; the header report shows the name as
        // given all the same.
        const std::u16string path = name.shown.size() <= static_cast<size_t>(kLongestPath)
                                        ? name.shown
                                        : std::u16string(u"-");
        if (!document.LoadBytes(file.bytes.data(), file.bytes.size(), path.c_str())) {
            failure = InstalledDocumentPlatform().create_playback != nullptr
                          ? "out of memory, or the platform refused its playback copy"
                          : "out of memory";
        }
    }
    if (!failure.empty()) {
        Err().Write(u"orvella-dump: cannot load ");
        Err().Write(name.shown);
        Err().Write(": " + failure + "\n");
        return 1;
    }
    return mode.run(Loaded{document, file.bytes, name}, options);
}

int Main(const std::vector<std::string>& arguments, const std::vector<FileName>& names) {
    const size_t count = arguments.size();
    if (count == 2 && (arguments[1] == "--help" || arguments[1] == "-h")) {
        WriteUsage(Out());
        return 0;
    }
    if (count == 2 && arguments[1] == "--version") {
        Out().Write("orvella-dump " ORVELLA_VERSION_TEXT "\n");
        return 0;
    }
    if (count < 3) {
        return Usage(nullptr);
    }
    const Mode* mode = nullptr;
    for (const Mode& candidate : kModes) {
        if (arguments[1] == candidate.name) {
            mode = &candidate;
        }
    }
    if (mode == nullptr) {
        std::string problem = "unknown report; use";
        for (const Mode& candidate : kModes) {
            problem += std::string(&candidate == kModes ? " " : ", ") + candidate.name;
        }
        return Usage(problem.c_str());
    }
    Options options;
    size_t next = 3;
    if (mode->takes_index) {
        if (count < 4 || !ParseIndex(arguments[3], &options.index)) {
            return Usage("call takes FILE and a record number INDEX (0 or more)");
        }
        next = 4;
    }
    for (; next < count; ++next) {
        if (!TakeOption(*mode, arguments[next], &options)) {
            std::string problem = std::string(mode->name) + " takes FILE" + mode->usage;
            return Usage(problem.c_str());
        }
    }
    if (options.brief && options.json) {
        return Usage("--brief and --json do not go together");
    }
    return Run(*mode, names[2], options);
}

}  // namespace

int main(int argc, char** argv) {
#ifndef _WIN32
    // A closed pipe ends the program at once, even when the caller ignored the signal.
    std::signal(SIGPIPE, SIG_DFL);
#endif
    std::vector<std::string> arguments(argv, argv + argc);
    std::vector<FileName> names(static_cast<size_t>(argc));
#ifdef _WIN32
    UseWindowsDocumentPlatform();
    int wide_count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &wide_count);
    for (int i = 0; i < argc; ++i) {
        names[i].system = wide != nullptr && i < wide_count
                              ? std::u16string(reinterpret_cast<const char16_t*>(wide[i]))
                              : FromUtf8(argv[i]);
        names[i].shown = names[i].system;
    }
#else
    for (int i = 0; i < argc; ++i) {
        names[i].system = argv[i];
        names[i].shown = FromUtf8(argv[i]);
    }
#endif
    int status = 0;
    try {
        status = Main(arguments, names);
    } catch (const std::bad_alloc&) {
        status = OutOfMemory();
    }
    if (!Out().Finish()) {
        char text[200];
        std::snprintf(text, sizeof text, "orvella-dump: cannot write the report: %s\n",
                      std::strerror(Out().error()));
        Err().Write(text);
        status = 1;
    }
    Err().Finish();
    return status;
}
