// The header report: the file name and one line per field of the metafile's header.
#include "reports/header_report.h"

#include <new>

#include "document/emf_format.h"
#include "emfplus/decode_support.h"
#include "emfplus/emfplus_decode.h"
#include "text/utf16.h"

namespace {

// The description's units from `first` to `end`, escaped, at most kEmfPlusStringCap of them,
// never parting a surrogate pair; a NUL inside shows as \x00.
void AppendDescriptionPart(WideText& out, RecordReader& h, uint32_t offset, uint32_t first,
                           uint32_t end) {
    uint32_t shown = end - first < kEmfPlusStringCap ? end - first : kEmfPlusStringCap;
    if (shown < end - first && IsHighSurrogate(h.U16(offset + 2 * (first + shown - 1)))) {
        --shown;
    }
    for (uint32_t k = first; k < first + shown; ++k) {
        const char16_t previous = k > first ? h.U16(offset + 2 * (k - 1)) : 0;
        const char16_t next = k + 1 < end ? h.U16(offset + 2 * (k + 1)) : 0;
        AppendEscapedUnit(out, h.U16(offset + 2 * k), previous, next);
    }
    if (shown < end - first) {
        out.Print(u" (%u more characters not listed)", end - first - shown);
    }
    out.Append(u"\r\n");
}

// The lines after the base header's: the extension fields the header record holds before its
// description, then the description, read only where it lies wholly inside the header record. The
// description holds the producing application and the picture's title, each ending in a NUL.
void AppendHeaderExtension(const uint8_t* header, uint32_t header_size, ReportWriter& writer) {
    RecordReader h(RecordView{header, header_size});
    const uint32_t count = h.U32(60);
    const uint32_t offset = h.U32(64);
    // Old producers put the description right after the base header: the fields end where it
    // starts.
    const uint32_t fields_end =
        count != 0 && offset >= kHeaderBaseBytes && offset < h.size() ? offset : h.size();
    FixedWideText<kReportLineUnits> line;
    if (fields_end >= 100) {
        line.Print(u"cbPixelFormat:\t%d\r\n", h.U32(88));
        line.Print(u"offPixelFormat:\t%d\r\n", h.U32(92));
        line.Print(u"bOpenGL:\t%d\r\n", h.U32(96));
    }
    if (fields_end >= 108) {
        line.Print(u"szlMicrometers:\t%d, %d\r\n", h.I32(100), h.I32(104));
    }
    writer.Append(line.view());
    if (count == 0) {
        return;
    }
    line.Clear();
    if (!h.HasArray(offset, count, 2)) {
        line.Print(u"description:\t(%u characters at offset %u, beyond the header record)\r\n",
                   count, offset);
        writer.Append(line.view());
        return;
    }
    uint32_t nul = 0;
    while (nul < count && h.U16(offset + 2 * nul) != 0) {
        ++nul;
    }
    // The NULs that end the title are not shown; one inside it is.
    uint32_t end = count;
    while (end > nul + 1 && h.U16(offset + 2 * (end - 1)) == 0) {
        --end;
    }
    if (nul == count) {
        line.Append(u"description:\t");
        AppendDescriptionPart(line, h, offset, 0, count);
        writer.Append(line.view());
        return;
    }
    line.Append(u"description (application):\t");
    AppendDescriptionPart(line, h, offset, 0, nul);
    writer.Append(line.view());
    line.Clear();
    line.Append(u"description (title):\t");
    AppendDescriptionPart(line, h, offset, nul + 1, end);
    writer.Append(line.view());
}

}  // namespace

int FormatHeaderFields(const uint8_t* header, uint32_t header_size, WideText& out) {
    if (header == nullptr) {
        return 0;
    }
    RecordReader h(RecordView{header, header_size});
    if (!h.Has(0, kHeaderBaseBytes)) {
        return 0;
    }
    out.Clear();
    out.Print(u"iType:\t%d\r\n", h.U32(0));
    out.Print(u"nSize:\t%d\r\n", h.U32(4));
    out.Print(u"rclBounds:\t(%d, %d) - (%d, %d)\r\n", h.I32(8), h.I32(12), h.I32(16), h.I32(20));
    out.Print(u"rclFrame:\t(%d, %d) - (%d, %d)\r\n", h.I32(24), h.I32(28), h.I32(32), h.I32(36));
    out.Print(u"dSignature:\t0x%08X\r\n", h.U32(40));
    out.Print(u"nVersion:\t0x%08X\r\n", h.U32(44));
    out.Print(u"nBytes:\t%d\r\n", h.U32(48));
    out.Print(u"nRecords:\t%d\r\n", h.U32(52));
    out.Print(u"nHandles:\t%d\r\n", h.U16(56));
    out.Print(u"sReserved:\t%d\r\n", h.U16(58));
    out.Print(u"nDescription:\t%d\r\n", h.U32(60));
    out.Print(u"offDescription:\t%d\r\n", h.U32(64));
    out.Print(u"nPalEntries:\t%d (0x%04X)\r\n", h.U32(68), h.U32(68));
    out.Print(u"szlDevice:\t%d, %d\r\n", h.I32(72), h.I32(76));
    out.Print(u"szlMillimeters:\t%d, %d\r\n", h.I32(80), h.I32(84));
    return 1;
}

int BuildHeaderReportText(const MetafileDocument& document, ReportText* report) {
    return BuildHeaderReportText(document, document.Path(), report);
}

int BuildHeaderReportText(const MetafileDocument& document, std::u16string_view shown_name,
                          ReportText* report) {
    if (!document.IsLoaded()) {
        return 0;
    }
    FixedWideText<1024> fields;
    if (!FormatHeaderFields(document.Header(), document.HeaderSize(), fields)) {
        return 0;
    }
    try {
        report->tab_stops = {70};
        report->chunks.clear();
        ReportWriter writer(report);
        writer.Append(u"\r\nEMF Header Info\r\n\r\n");
        writer.Append(u"filename:\t");
        writer.Append(shown_name);
        writer.Append(u"\r\n");
        writer.Append(fields.view());
        AppendHeaderExtension(document.Header(), document.HeaderSize(), writer);
        return 1;
    } catch (const std::bad_alloc&) {
        report->tab_stops = {};
        report->chunks = {};
        return 0;
    }
}

std::unique_ptr<ReportEntries> OpenHeaderEntries(const MetafileDocument& document) {
    ReportText report;
    if (!BuildHeaderReportText(document, &report)) {
        return nullptr;
    }
    try {
        return std::make_unique<HeldEntries>(report);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
