// orvella-dump emfplus: the EMF+ records and comments of a metafile, as text or JSON lines.
#include "cli/emfplus_mode.h"

#include <memory>

#include "cli/json_text.h"
#include "reports/emfplus_report.h"

namespace {

// Appends `,"key":value`, or `,"key":null` when the line has no such field.
void AppendField(std::u16string& out, const char16_t* key, int64_t value, bool null) {
    out += u",\"";
    out += key;
    out += u"\":";
    if (null) {
        out += u"null";
    } else {
        AppendJsonNumber(out, static_cast<uint64_t>(value));
    }
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
            AppendJsonNumber(line, static_cast<uint64_t>(info.record));
            AppendField(line, u"place", info.place, info.place < 0);
            AppendField(line, u"type", info.type, info.type < 0);
            line += u",\"name\":";
            AppendJsonString(line, name.view());
            AppendField(line, u"flags", info.flags, info.flags < 0);
            AppendField(line, u"size", info.size, info.type < 0);
            AppendField(line, u"dataSize", info.data_size, info.type < 0);
            line += u",\"text\":";
            AppendJsonString(line, fields.view());
            line += u"}\n";
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
        return -1;
    }
    for (std::u16string_view chunk = stream->NextChunk(); !chunk.empty();
         chunk = stream->NextChunk()) {
        write(chunk);
    }
    return 0;
}
