// orvella-dump emfplus: the EMF+ records and comments of a metafile, as text or JSON lines.
#include "cli/emfplus_mode.h"

#include <cstdio>
#include <memory>

#include "emfplus/emfplus_report.h"

namespace {

// Appends `text` as a JSON string body: quotes, backslashes and control characters escaped.
// Lone surrogates stay as they are; the UTF-8 writer turns them into U+FFFD.
void AppendJsonString(std::u16string& out, std::u16string_view text) {
    constexpr char16_t kHex[] = u"0123456789abcdef";
    for (char16_t unit : text) {
        if (unit == u'"' || unit == u'\\') {
            out += u'\\';
            out += unit;
        } else if (unit < 0x20) {
            out += u"\\u00";
            out += kHex[unit >> 4];
            out += kHex[unit & 0xF];
        } else {
            out += unit;
        }
    }
}

void AppendJsonNumber(std::u16string& out, const char16_t* key, int64_t value, bool null) {
    out += u",\"";
    out += key;
    out += u"\":";
    if (null) {
        out += u"null";
        return;
    }
    char16_t digits[24];
    WideText text(digits, 24);
    text.Print(u"%u", static_cast<uint32_t>(value));
    out += text.view();
}

void WriteJsonLines(const EmfPlusIndex& index, void (*write)(std::u16string_view)) {
    FixedWideText<64> name;
    FixedWideText<kReportLineUnits> fields;
    std::u16string line;
    EmfPlusLineInfo info;
    for (size_t host = 0; host < index.hosts().size(); ++host) {
        EmfPlusCursor cursor(index, host);
        while (cursor.Next(&info, &name, &fields)) {
            line.clear();
            line += u"{\"record\":";
            char16_t digits[24];
            WideText number(digits, 24);
            number.Print(u"%d", info.record);
            line += number.view();
            AppendJsonNumber(line, u"place", info.place, info.place < 0);
            AppendJsonNumber(line, u"type", info.type, info.type < 0);
            line += u",\"name\":\"";
            AppendJsonString(line, name.view());
            line += u'"';
            AppendJsonNumber(line, u"flags", info.flags, info.flags < 0);
            AppendJsonNumber(line, u"size", info.size, info.type < 0);
            AppendJsonNumber(line, u"dataSize", info.data_size, info.type < 0);
            line += u",\"text\":\"";
            AppendJsonString(line, fields.view());
            line += u"\"}\n";
            write(line);
        }
    }
}

}  // namespace

int RunEmfPlusMode(const MetafileDocument& document, bool json,
                   void (*write)(std::u16string_view text)) {
    if (json) {
        const EmfPlusIndex index(document.Store());
        WriteJsonLines(index, write);
        return 0;
    }
    std::unique_ptr<ReportStream> stream = OpenEmfPlusReport(document);
    if (stream == nullptr) {
        std::fprintf(stderr, "orvella-dump: out of memory\n");
        return 1;
    }
    for (std::u16string_view chunk = stream->NextChunk(); !chunk.empty();
         chunk = stream->NextChunk()) {
        write(chunk);
    }
    return 0;
}
