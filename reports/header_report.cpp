// The header report: the file name and one line per field of the metafile's header.
#include "reports/header_report.h"

#include <new>

#include "document/emf_format.h"

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
