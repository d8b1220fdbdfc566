// The record list: every record with its number, name, size and a hexadecimal dump.
#include "reports/record_list_report.h"

#include <new>

#include "calls/call_text.h"

namespace {

constexpr uint32_t kRowBytes = 16;
constexpr size_t kTextColumn = 49;
// A row: its prefix of up to three tabs, the hexadecimal and text columns, and "\r\n".
constexpr size_t kLongestRow = 3 + kTextColumn + kRowBytes + 2;
constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

// Writes the dump row of `count` bytes (1 to 16) at `out`, after its prefix: "\t" for the
// first row of a dump, "\t\t\t" for the others. Returns its length.
size_t WriteDumpRow(const uint8_t* bytes, uint32_t count, bool first, char16_t* out) {
    size_t prefix = 1;
    out[0] = u'\t';
    if (!first) {
        out[1] = u'\t';
        out[2] = u'\t';
        prefix = 3;
    }
    char16_t* row = out + prefix;
    for (size_t c = 0; c < kTextColumn; ++c) {
        row[c] = u' ';
    }
    for (uint32_t k = 0; k < count; ++k) {
        const uint8_t byte = bytes[k];
        row[3 * k] = kHexDigits[byte >> 4];
        row[3 * k + 1] = kHexDigits[byte & 0xF];
        row[kTextColumn + k] = byte < 0x20 ? u'.' : static_cast<char16_t>(byte);
    }
    // The dash separates the eighth byte from the ninth.
    if (count > 8) {
        row[23] = u'-';
    }
    row[kTextColumn + count] = u'\r';
    row[kTextColumn + count + 1] = u'\n';
    return prefix + kTextColumn + count + 2;
}

// Calls `row(start, count)` for each dump row of `length` bytes: its first byte's offset and
// its byte count.
template <typename Row>
void ForEachDumpRow(uint32_t length, Row row) {
    for (uint32_t start = 0; start < length; start += kRowBytes) {
        row(start, length - start < kRowBytes ? length - start : kRowBytes);
    }
}

// Writes every dump row of `length` bytes at `out`; returns their length.
size_t WriteDump(const uint8_t* bytes, uint32_t length, char16_t* out) {
    size_t written = 0;
    ForEachDumpRow(length, [&](uint32_t start, uint32_t count) {
        written += WriteDumpRow(bytes + start, count, start == 0, out + written);
    });
    return written;
}

// The heading's three entries, then one entry per record: its number, name and size, its
// dump, and an empty line. A dump of at most 819 bytes has 52 rows: an entry stays far below
// kReportLineUnits.
class RecordListEntries : public WrittenEntries {
  public:
    explicit RecordListEntries(const RecordStore& store)
        : WrittenEntries({30, 150, 205}), store_(store) {}

    int32_t count() const override { return kHeadingLines + store_.count(); }
    int32_t RecordOf(int32_t index) const override {
        return index >= kHeadingLines && index < count() ? index - kHeadingLines : -1;
    }
    int32_t EntryOfRecord(int32_t record) const override {
        return record >= 0 && record < store_.count() ? record + kHeadingLines : -1;
    }

  protected:
    size_t WriteEntry(int32_t index, char16_t* out) const override {
        WideText text(out, kReportLineUnits);
        if (index == 0) {
            text.Append(u"\r\nEMF Records List\r\n\r\n");
        } else if (index == 1) {
            text.Print(u"Number of Records: %d\r\n\r\n", store_.count());
        } else if (index == 2) {
            text.Append(u"\tiType\tnSize\tData\r\n----------------------------\r\n");
        } else if (index - kHeadingLines < store_.count()) {
            return WriteRecordEntry(index - kHeadingLines, out);
        }
        return text.size();
    }

  private:
    static constexpr int32_t kHeadingLines = 3;

    size_t WriteRecordEntry(int32_t index, char16_t* out) const {
        const RecordView record = store_.RecordAt(index);
        const uint32_t type = RecordType(record);
        const uint32_t size = RecordSizeField(record);
        WideText head(out, kReportLineUnits);
        const char16_t* name = LookupRecordName(type);
        if (name != nullptr) {
            head.Print(u"%d\t%s\t0x%04X(%d)", index, name, size, size);
        } else {
            head.Print(u"%d\t%d\t0x%04X(%d)", index, type, size, size);
        }
        const uint32_t capped = size < kDumpCapBytes ? size : kDumpCapBytes;
        const uint32_t dumped = capped < record.size ? capped : record.size;
        size_t length = head.size();
        length += WriteDump(record.data, dumped, out + length);
        out[length++] = u'\r';
        out[length++] = u'\n';
        return length;
    }

    const RecordStore& store_;
};

}  // namespace

int HexDump(const uint8_t* bytes, uint32_t length, WideText& out) {
    if (bytes == nullptr || length == 0) {
        return 0;
    }
    out.Clear();
    char16_t row[kLongestRow];
    ForEachDumpRow(length, [&](uint32_t start, uint32_t count) {
        out.Append(std::u16string_view(row, WriteDumpRow(bytes + start, count, start == 0, row)));
    });
    return 1;
}

std::unique_ptr<ReportStream> OpenRecordList(const MetafileDocument& document) {
    return StreamEntries(OpenRecordListEntries(document));
}

std::unique_ptr<WrittenEntries> OpenRecordListEntries(const MetafileDocument& document) {
    if (!document.IsLoaded()) {
        return nullptr;
    }
    std::unique_ptr<RecordListEntries> entries;
    try {
        entries = std::make_unique<RecordListEntries>(document.Store());
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    if (!entries->ok()) {
        return nullptr;
    }
    return entries;
}

int BuildRecordListText(const MetafileDocument& document, ReportText* report) {
    std::unique_ptr<ReportStream> stream = OpenRecordList(document);
    if (stream == nullptr) {
        return 0;
    }
    return CollectReport(*stream, report);
}
