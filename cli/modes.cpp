// orvella-dump's modes, one table that runs them and makes the usage text, and the parsing of
// the command line by that table.
#include "cli/modes.h"

#include <cstdio>
#include <memory>

#include "calls/call_text.h"
#include "cli/diff_mode.h"
#include "cli/emfplus_mode.h"
#include "cli/extract_mode.h"
#include "cli/json_text.h"
#include "cli/output.h"
#include "cli/state_mode.h"
#include "reports/call_list_report.h"
#include "reports/header_report.h"
#include "reports/record_list_report.h"
#include "reports/report_text.h"

namespace {

// The options a mode may accept, in the order the usage text names them.
enum Option : unsigned { kBrief = 1, kVerbose = 2, kJson = 4, kChanges = 8 };
constexpr struct {
    const char* text;
    Option option;
} kOptions[] = {
    {"--brief", kBrief}, {"--verbose", kVerbose}, {"--json", kJson}, {"--changes", kChanges}};

struct Options {
    unsigned given = 0;
    int32_t index = 0;
    bool Has(Option option) const { return (given & option) != 0; }
};

using ModeRun = int (*)(const MetafileDocument& document, const FileName& name,
                        const Options& options);

// One mode. Its usage line is `orvella-dump NAME FILE`, then ` INDEX` when it takes a record
// number, then its options as alternatives, ` [--brief | --json]`: each is given at most once,
// and no two of them together.
struct Mode {
    const char* name;
    bool takes_index;
    unsigned options;
    ModeRun run;
    // An option that stands in the place of INDEX, with a usage line of its own, and goes
    // with the others; 0 for none.
    unsigned instead_of_index;
};

void WriteOut(std::u16string_view text) {
    Write(Out(), text);
}

int WriteStream(std::unique_ptr<ReportStream> stream) {
    if (stream == nullptr) {
        return OutOfMemory();
    }
    // Each chunk is written as soon as it is made: a long report is never held whole.
    for (std::u16string_view chunk = stream->NextChunk(); !chunk.empty();
         chunk = stream->NextChunk()) {
        WriteOut(chunk);
    }
    return 0;
}

int RunHeader(const MetafileDocument& document, const FileName& name, const Options&) {
    ReportText report;
    if (BuildHeaderReportText(document, name.shown, &report) == 0) {
        return OutOfMemory();
    }
    for (const std::u16string& chunk : report.chunks) {
        Write(Out(), chunk);
    }
    return 0;
}

int RunRecords(const MetafileDocument& document, const FileName&, const Options& options) {
    if (options.Has(kJson)) {
        WriteRecordJsonLines(document.Store(), 0, document.Store().count(), true, WriteOut);
        return 0;
    }
    return WriteStream(OpenRecordList(document));
}

int RunCalls(const MetafileDocument& document, const FileName&, const Options& options) {
    if (options.Has(kJson)) {
        // The call list's records: all but the header and the end-of-file record.
        WriteRecordJsonLines(document.Store(), 1, document.Store().count() - 1, false, WriteOut);
        return 0;
    }
    return WriteStream(OpenCallList(document, options.Has(kBrief) ? 0 : 1));
}

int NoSuchRecord(const MetafileDocument& document, const FileName& name, int32_t index) {
    char text[120];
    std::snprintf(text, sizeof text, " has no record %d (it holds records 0 to %d)\n", index,
                  document.Store().count() - 1);
    Write(Err(), u"orvella-dump: ");
    Write(Err(), name.shown);
    Write(Err(), text);
    return 1;
}

int RunCall(const MetafileDocument& document, const FileName& name, const Options& options) {
    const RecordView record = document.RecordAt(options.index);
    if (!record) {
        return NoSuchRecord(document, name, options.index);
    }
    SetVerboseFlag(options.Has(kVerbose) ? 1 : 0);
    FixedWideText<kCallTextUnits> call;
    BuildCallText(record, call);
    Write(Out(), call.view());
    Write(Out(), u"\r\n");
    return 0;
}

int RunEmfPlus(const MetafileDocument& document, const FileName&, const Options& options) {
    const int status = RunEmfPlusMode(document, options.Has(kJson), WriteOut);
    return status < 0 ? OutOfMemory() : status;
}

int RunState(const MetafileDocument& document, const FileName& name, const Options& options) {
    if (!options.Has(kChanges) && document.RecordAt(options.index).data == nullptr) {
        return NoSuchRecord(document, name, options.index);
    }
    const int status = options.Has(kChanges)
                           ? RunStateChangesMode(document, options.Has(kJson), WriteOut)
                           : RunStateMode(document, options.index, options.Has(kJson), WriteOut);
    return status < 0 ? OutOfMemory() : status;
}

constexpr Mode kModes[] = {
    {"header", false, 0, RunHeader, 0},
    {"records", false, kJson, RunRecords, 0},
    {"calls", false, kBrief | kJson, RunCalls, 0},
    {"call", true, kVerbose, RunCall, 0},
    {"emfplus", false, kJson, RunEmfPlus, 0},
    {"state", true, kJson | kChanges, RunState, kChanges},
};

constexpr char kDescription[] =
    "\n"
    "Prints a report of the enhanced metafile FILE (- for standard input) as the Orvella\n"
    "window shows it, in UTF-8 with its CR LF line ends: the header, every record with a\n"
    "hexadecimal dump, every drawing record as a GDI call (with parameter blocks, or one line\n"
    "each with --brief), or the call text of the record numbered INDEX (one line, or with\n"
    "parameter blocks with --verbose), or every EMF+ record and comment record decoded, one\n"
    "line each, or the graphics state after the record numbered INDEX (the items in sections,\n"
    "each with the record that set it), or for every record the state items it changed, one\n"
    "line each. With --json, one JSON object per line and record.\n"
    "\n"
    "diff compares FILE1 with FILE2 as a unified diff of their records (-U N records of\n"
    "context, 3 unless given) and of their EMF+ records, naming the fields that differ in\n"
    "each changed pair; with --json, one JSON object per hunk. Differences that do not change\n"
    "the drawing are left out unless named: the header's bounds, sizes, counts and\n"
    "description (--header), each record's rclBounds (--bounds), exScale and eyScale\n"
    "(--scale), the bytes after a record's fields and the offsets of its parts (--trailing),\n"
    "and object-table numbers (--numbering); --all shows them all. Exits with 0 when the\n"
    "files are the same, 1 when they differ, 2 on trouble.\n"
    "\n"
    "extract writes the pictures, documents and colour profiles the records carry into DIR\n"
    "(the current folder by default) as new files NAME-R.ext, never over a file that exists,\n"
    "and lists the files written; with --list it prints one line per payload instead: where\n"
    "it is, what carries it, its format, size and an integrity verdict.\n"
    "\n"
    "       orvella-dump --help | --version\n";

// What follows FILE on the mode's usage line.
std::string Arguments(const Mode& mode, bool instead_of_index = false) {
    std::string text = !mode.takes_index ? "" : !instead_of_index ? " INDEX" : "";
    for (const auto& known : kOptions) {
        if (instead_of_index && known.option == mode.instead_of_index) {
            text += std::string(" ") + known.text;
        }
    }
    const char* separator = " [";
    for (const auto& known : kOptions) {
        if ((mode.options & known.option) != 0 && known.option != mode.instead_of_index) {
            text += separator;
            text += known.text;
            separator = " | ";
        }
    }
    return mode.options != 0 ? text + "]" : text;
}

void WriteUsage(Output& out) {
    for (const Mode& mode : kModes) {
        Write(out, &mode == kModes ? "usage: orvella-dump " : "       orvella-dump ");
        Write(out, mode.name + (" FILE" + Arguments(mode)) + "\n");
        if (mode.instead_of_index != 0) {
            Write(out,
                  "       orvella-dump " + (mode.name + (" FILE" + Arguments(mode, true))) + "\n");
        }
    }
    Write(out, std::string("       ") + kDiffUsage);
    Write(out, std::string("       orvella-dump ") + kExtractUsage + "\n");
    Write(out, kDescription);
}

int Usage(const std::string& problem) {
    if (!problem.empty()) {
        Write(Err(), "orvella-dump: " + problem + "\n");
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
    for (const auto& known : kOptions) {
        if (text == known.text && (mode.options & known.option) != 0 &&
            !options->Has(known.option)) {
            options->given |= known.option;
            return true;
        }
    }
    return false;
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& arguments, const std::vector<FileName>& names) {
    const size_t count = arguments.size();
    if (count == 2 && (arguments[1] == "--help" || arguments[1] == "-h")) {
        WriteUsage(Out());
        return 0;
    }
    if (count >= 2 && arguments[1] == "diff") {
        return RunDiffCommandLine(arguments, names);
    }
    if (count == 2 && arguments[1] == "--version") {
        Write(Out(), "orvella-dump " ORVELLA_VERSION_TEXT "\n");
        return 0;
    }
    if (count >= 2 && arguments[1] == "extract") {
        return RunExtractCommandLine(arguments, names);
    }
    if (count < 3) {
        return Usage("");
    }
    const Mode* mode = nullptr;
    std::string listed;
    for (const Mode& candidate : kModes) {
        mode = arguments[1] == candidate.name ? &candidate : mode;
        listed += std::string(&candidate == kModes ? " " : ", ") + candidate.name;
    }
    if (mode == nullptr) {
        return Usage("unknown report; use" + listed + ", diff, extract");
    }
    Options options;
    size_t next = 3;
    bool instead_of_index = false;
    if (mode->takes_index && count >= 4 && mode->instead_of_index != 0 &&
        TakeOption(*mode, arguments[3], &options) && options.Has(Option(mode->instead_of_index))) {
        next = 4;
        instead_of_index = true;
    } else if (mode->takes_index) {
        if (count < 4 || !ParseIndex(arguments[3], &options.index)) {
            return Usage(std::string(mode->name) +
                         " takes FILE and a record number INDEX (0 or more)");
        }
        next = 4;
    }
    for (; next < count; ++next) {
        if (!TakeOption(*mode, arguments[next], &options)) {
            return Usage(mode->name + (" takes FILE" + Arguments(*mode)));
        }
    }
    if (mode->instead_of_index != 0 && !instead_of_index &&
        options.Has(Option(mode->instead_of_index))) {
        return Usage(mode->name + (" takes FILE" + Arguments(*mode, true)));
    }
    std::string given;
    for (const auto& known : kOptions) {
        if (options.Has(known.option) && known.option != mode->instead_of_index) {
            given += (given.empty() ? "" : " and ") + std::string(known.text);
        }
    }
    if (given.find(" and ") != std::string::npos) {
        return Usage(given + " do not go together");
    }
    MetafileDocument document;
    if (const std::string failure = LoadNamedFile(names[2], &document); !failure.empty()) {
        Write(Err(), u"orvella-dump: cannot load ");
        Write(Err(), names[2].shown);
        Write(Err(), ": " + failure + "\n");
        return 1;
    }
    return mode->run(document, names[2], options);
}
