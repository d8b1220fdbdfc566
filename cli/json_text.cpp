// JSON text for the command-line reports: strings escaped so that a line stays one line and
// prints as itself on a terminal; the record lines of records and calls.
#include "cli/json_text.h"

#include "calls/call_text.h"
#include "document/emf_format.h"
#include "text/utf16.h"

namespace {

constexpr char16_t kHexDigits[] = u"0123456789abcdef";

void AppendUnitEscape(std::u16string& out, char16_t unit) {
    out += u"\\u";
    for (int shift = 12; shift >= 0; shift -= 4) {
        out += kHexDigits[(unit >> shift) & 0xF];
    }
}

}  // namespace

void AppendJsonString(std::u16string& out, std::u16string_view text) {
    out += u'"';
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit == u'"' || unit == u'\\') {
            out += u'\\';
            out += unit;
        } else if (unit == u'\t') {
            out += u"\\t";
        } else if (unit == u'\r') {
            out += u"\\r";
        } else if (unit == u'\n') {
            out += u"\\n";
        } else if (unit < 0x20 || (unit >= 0x7F && unit <= 0x9F)) {
            AppendUnitEscape(out, unit);
        } else if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            out += unit;
            out += text[++i];
        } else if (IsSurrogate(unit)) {
            AppendUnitEscape(out, unit);
        } else {
            out += unit;
        }
    }
    out += u'"';
}

void AppendJsonNumber(std::u16string& out, uint64_t value) {
    char16_t digits[20];
    size_t count = 0;
    do {
        digits[count++] = static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (count > 0) {
        out += digits[--count];
    }
}

void AppendJsonHex(std::u16string& out, const uint8_t* bytes, uint32_t length) {
    out += u'"';
    for (uint32_t i = 0; i < length; ++i) {
        out += kHexDigits[bytes[i] >> 4];
        out += kHexDigits[bytes[i] & 0xF];
    }
    out += u'"';
}

void WriteRecordJsonLines(const RecordStore& store, int32_t first, int32_t end, bool with_data,
                          void (*write)(std::u16string_view text)) {
    std::u16string line;
    FixedWideText<kCallTextUnits> call;
    for (int32_t i = first; i < end; ++i) {
        const RecordView record = store.RecordAt(i);
        const uint32_t type = RecordType(record);
        line.clear();
        line += u"{\"index\":";
        AppendJsonNumber(line, static_cast<uint64_t>(i));
        line += u",\"offset\":";
        AppendJsonNumber(line, store.OffsetAt(i));
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
        write(line);
    }
}
