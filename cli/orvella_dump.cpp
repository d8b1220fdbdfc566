// orvella-dump: prints the header report, the record list, the call list or one call text of
// a metafile, as UTF-8, exactly as the window program shows them.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "calls/call_text.h"
#include "cli/emfplus_mode.h"
#include "document/metafile_document.h"
#include "reports/call_list_report.h"
#include "reports/header_report.h"
#include "reports/record_list_report.h"
#include "reports/report_text.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// shellapi.h needs the types of windows.h.
#include <shellapi.h>
#endif

namespace {

constexpr char kUsage[] =
    "usage: orvella-dump header FILE\n"
    "       orvella-dump records FILE\n"
    "       orvella-dump calls FILE [--brief]\n"
    "       orvella-dump call FILE INDEX [--verbose]\n"
    "       orvella-dump emfplus FILE [--json]\n"
    "\n"
    "Prints a report of the enhanced metafile FILE as the Orvella window shows it, in UTF-8\n"
    "with its CR LF line ends: the header, every record with a hexadecimal dump, every\n"
    "drawing record as a GDI call (with parameter blocks, or one line each with --brief), or\n"
    "the call text of the record numbered INDEX (one line, or with parameter blocks with\n"
    "--verbose), or every EMF+ record and comment record decoded, one line each (as JSON\n"
    "lines with --json).\n";

// Writes the UTF-8 form of `text` into `out`, which has room for 3 bytes a unit; returns the
// bytes written. A lone surrogate has no UTF-8 form and becomes U+FFFD.
size_t EncodeUtf8(std::u16string_view text, char* out) {
    char* p = out;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = text[i];
        if (c < 0x80) {
            *p++ = static_cast<char>(c);
            continue;
        }
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x800) {
            *p++ = static_cast<char>(0xC0 | (c >> 6));
            *p++ = static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            *p++ = static_cast<char>(0xE0 | (c >> 12));
            *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *p++ = static_cast<char>(0x80 | (c & 0x3F));
        } else {
            *p++ = static_cast<char>(0xF0 | (c >> 18));
            *p++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *p++ = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return static_cast<size_t>(p - out);
}

std::string ToUtf8(std::u16string_view text) {
    std::string out(text.size() * 3, '\0');
    out.resize(EncodeUtf8(text, out.data()));
    return out;
}

std::u16string FromUtf8(const std::string& text) {
    std::u16string out;
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        uint32_t c = lead;
        size_t extra = 0;
        if (lead >= 0xF0) {
            c = lead & 0x07;
            extra = 3;
        } else if (lead >= 0xE0) {
            c = lead & 0x0F;
            extra = 2;
        } else if (lead >= 0xC0) {
            c = lead & 0x1F;
            extra = 1;
        }
        ++i;
        for (size_t k = 0; k < extra && i < text.size(); ++k, ++i) {
            c = (c << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
        }
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

// Writes text to standard output as UTF-8, a slice at a time through one small buffer; a
// slice never ends between the two units of a surrogate pair.
void Write(std::u16string_view text) {
    constexpr size_t kSliceUnits = 16384;
    static char buffer[3 * kSliceUnits];
    while (!text.empty()) {
        size_t slice = text.size() < kSliceUnits ? text.size() : kSliceUnits;
        if (slice < text.size() && text[slice - 1] >= 0xD800 && text[slice - 1] <= 0xDBFF) {
            --slice;
        }
        std::fwrite(buffer, 1, EncodeUtf8(text.substr(0, slice), buffer), stdout);
        text.remove_prefix(slice);
    }
}

int Usage(const char* problem) {
    if (problem != nullptr) {
        std::fprintf(stderr, "orvella-dump: %s\n", problem);
    }
    std::fputs(kUsage, stderr);
    return 2;
}

// Why the document refused the file, told as plainly as the file allows.
std::string LoadFailure(const std::u16string& path) {
    if (path.size() > static_cast<size_t>(kLongestPath)) {
        return "the path is longer than 258 characters";
    }
    MetafileDocument probe;
    if (probe.LoadFileWith(DirectMetafileReader(), path.c_str())) {
        return "the platform's metafile functions refuse it";
    }
#ifdef _WIN32
    FILE* file = _wfopen(reinterpret_cast<const wchar_t*>(path.c_str()), L"rb");
#else
    FILE* file = std::fopen(ToUtf8(path).c_str(), "rb");
#endif
    if (file == nullptr) {
        return std::strerror(errno);
    }
    unsigned char head[88];
    const size_t got = std::fread(head, 1, sizeof head, file);
    std::fclose(file);
    if (got < sizeof head) {
        return "too short for an enhanced metafile header (88 bytes)";
    }
    return "not an enhanced metafile (its first record is not a header record of at least 88 "
           "bytes, lying inside the file, with the signature \" EMF\")";
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

int Run(const std::string& command, const std::u16string& path, const std::string& option,
        const std::string& index_text) {
    MetafileDocument document;
    if (!document.LoadFile(path.c_str())) {
        std::fprintf(stderr, "orvella-dump: cannot load %s: %s\n", ToUtf8(path).c_str(),
                     LoadFailure(path).c_str());
        return 1;
    }
    if (command == "emfplus") {
        return RunEmfPlusMode(document, option == "--json", Write);
    }
    if (command == "header") {
        ReportText report;
        BuildHeaderReportText(document, &report);
        for (const std::u16string& chunk : report.chunks) {
            Write(chunk);
        }
        return 0;
    }
    if (command == "records" || command == "calls") {
        // Each chunk is written as soon as it is made: a long report is never held whole.
        std::unique_ptr<ReportStream> stream =
            command == "records" ? OpenRecordList(document)
                                 : OpenCallList(document, option == "--brief" ? 0 : 1);
        if (stream == nullptr) {
            std::fprintf(stderr, "orvella-dump: out of memory\n");
            return 1;
        }
        for (std::u16string_view chunk = stream->NextChunk(); !chunk.empty();
             chunk = stream->NextChunk()) {
            Write(chunk);
        }
        return 0;
    }
    int32_t index = 0;
    ParseIndex(index_text, &index);
    const RecordView record = document.RecordAt(index);
    if (!record) {
        std::fprintf(stderr, "orvella-dump: %s has no record %d (it holds records 0 to %d)\n",
                     ToUtf8(path).c_str(), index, document.Store().count() - 1);
        return 1;
    }
    SetVerboseFlag(option == "--verbose" ? 1 : 0);
    FixedWideText<kCallTextUnits> call;
    BuildCallText(record, call);
    Write(call.view());
    Write(u"\r\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
    int wide_count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &wide_count);
    auto argument = [&](int i) {
        return wide != nullptr && i < wide_count
                   ? std::u16string(reinterpret_cast<const char16_t*>(wide[i]))
                   : FromUtf8(argv[i]);
    };
#else
    auto argument = [&](int i) { return FromUtf8(argv[i]); };
#endif
    if (argc < 3) {
        return Usage(nullptr);
    }
    const std::string command = argv[1];
    const std::u16string path = argument(2);
    if (command == "header" || command == "records") {
        if (argc != 3) {
            return Usage("too many arguments");
        }
        return Run(command, path, "", "");
    }
    if (command == "calls") {
        if (argc > 4 || (argc == 4 && std::strcmp(argv[3], "--brief") != 0)) {
            return Usage("calls takes FILE and, optionally, --brief");
        }
        return Run(command, path, argc == 4 ? argv[3] : "", "");
    }
    if (command == "call") {
        int32_t index = 0;
        if (argc < 4 || !ParseIndex(argv[3], &index)) {
            return Usage("call takes FILE and a record number INDEX (0 or more)");
        }
        if (argc > 5 || (argc == 5 && std::strcmp(argv[4], "--verbose") != 0)) {
            return Usage("call takes FILE, INDEX and, optionally, --verbose");
        }
        return Run(command, path, argc == 5 ? argv[4] : "", argv[3]);
    }
    if (command == "emfplus") {
        if (argc > 4 || (argc == 4 && std::strcmp(argv[3], "--json") != 0)) {
            return Usage("emfplus takes FILE and, optionally, --json");
        }
        return Run(command, path, argc == 4 ? argv[3] : "", "");
    }
    return Usage("unknown report; use header, records, calls, call or emfplus");
}
