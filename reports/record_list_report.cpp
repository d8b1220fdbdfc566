// The record list: every record with its number, name, size and a hexadecimal dump.
#include "reports/record_list_report.h"

#include "calls/call_text.h"

namespace {

constexpr uint32_t kRowBytes = 16;
constexpr size_t kTextColumn = 49;
constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

}  // namespace

int HexDump(const uint8_t* bytes, uint32_t length, WideText& out) {
    if (bytes == nullptr || length == 0) {
        return 0;
    }
    out.Clear();
    for (uint32_t start = 0; start < length; start += kRowBytes) {
        const uint32_t in_row = length - start < kRowBytes ? length - start : kRowBytes;
        char16_t row[kTextColumn + kRowBytes + 2];
        for (size_t c = 0; c < kTextColumn; ++c) {
            row[c] = u' ';
        }
        for (uint32_t k = 0; k < in_row; ++k) {
            const uint8_t byte = bytes[start + k];
            row[3 * k] = kHexDigits[byte >> 4];
            row[3 * k + 1] = kHexDigits[byte & 0xF];
            row[kTextColumn + k] = byte < 0x20 ? u'.' : static_cast<char16_t>(byte);
        }
        // The dash separates the eighth byte from the ninth.
        if (in_row > 8) {
            row[23] = u'-';
        }
        row[kTextColumn + in_row] = u'\r';
        row[kTextColumn + in_row + 1] = u'\n';
        out.Append(start == 0 ? u"\t" : u"\t\t\t");
        out.Append(std::u16string_view(row, kTextColumn + in_row + 2));
    }
    return 1;
}

int BuildRecordListText(const MetafileDocument& document, ReportText* report) {
    if (!document.IsLoaded()) {
        return 0;
    }
    const RecordStore& store = document.Store();
    report->tab_stops = {30, 150, 205};
    report->chunks.clear();
    ReportWriter writer(report);
    writer.Append(u"\r\nEMF Records List\r\n\r\n");
    FixedWideText<kWidePrintLimit> heading;
    heading.Print(u"Number of Records: %d\r\n\r\n", store.count());
    writer.Append(heading.view());
    writer.Append(u"\tiType\tnSize\tData\r\n----------------------------\r\n");

    FixedWideText<8192> line;
    FixedWideText<8192> dump;
    for (int32_t i = 0; i < store.count(); ++i) {
        const RecordView record = store.RecordAt(i);
        const uint32_t type = RecordType(record);
        const uint32_t size = RecordSizeField(record);
        line.Clear();
        const char16_t* name = LookupRecordName(type);
        if (name != nullptr) {
            line.Print(u"%d\t%s\t0x%04X(%d)", i, name, size, size);
        } else {
            line.Print(u"%d\t%d\t0x%04X(%d)", i, type, size, size);
        }
        const uint32_t dumped = size < kDumpCapBytes ? size : kDumpCapBytes;
        if (HexDump(record.data, dumped < record.size ? dumped : record.size, dump)) {
            line.Append(dump.view());
        }
        line.Append(u"\r\n");
        writer.Append(line.view());
    }
    return 1;
}
