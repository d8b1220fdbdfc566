// Fuzz checks of a whole file: loading from bytes, the three reports and every call text.
#include <string>

#include "document/metafile_document.h"
#include "fuzz/fuzz_checks.h"
#include "reports/call_list_report.h"
#include "reports/header_report.h"
#include "reports/record_list_report.h"

namespace {

const char* CheckReport(const ReportText& report) {
    for (const std::u16string& chunk : report.chunks) {
        if (chunk.size() >= kReportChunkUnits) {
            return "report chunk beyond the control's limit";
        }
        if (HasLoneSurrogate(chunk)) {
            return "report holds a lone surrogate";
        }
    }
    return nullptr;
}

const char* CheckReports(const MetafileDocument& document) {
    ReportText report;
    if (BuildHeaderReportText(document, &report) != 1) {
        return "header report refused a loaded document";
    }
    if (const char* broken = CheckReport(report)) {
        return broken;
    }
    if (BuildRecordListText(document, &report) != 1) {
        return "record list refused a loaded document";
    }
    if (const char* broken = CheckReport(report)) {
        return broken;
    }
    for (int verbose = 0; verbose <= 1; ++verbose) {
        if (BuildCallListText(document, &report, verbose) != 1) {
            return "call list refused a loaded document";
        }
        if (const char* broken = CheckReport(report)) {
            return broken;
        }
    }
    return nullptr;
}

}  // namespace

const char* CheckDocumentInput(const uint8_t* data, size_t size) {
    MetafileDocument document;
    if (document.LoadBytes(data, size, u"fuzz.emf") == 0) {
        return nullptr;
    }
    const RecordStore& store = document.Store();
    if (store.stored_bytes() > size || store.count() > static_cast<int64_t>(size / 8)) {
        return "the store holds more than the file";
    }
    if (const char* broken = CheckReports(document)) {
        return broken;
    }
    if (const char* broken = CheckEmfPlusReport(document)) {
        return broken;
    }
    for (int32_t i = 0; i < store.count(); ++i) {
        if (const char* broken = CheckCallTextOf(document.RecordAt(i))) {
            return broken;
        }
    }
    return nullptr;
}
