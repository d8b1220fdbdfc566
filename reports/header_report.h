// The header report: the file name and one line per field of the metafile's header.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "document/metafile_document.h"
#include "reports/report_text.h"
#include "text/wide_text.h"

// Replaces `out` with one line per field of the base header, up to szlMillimeters. 0, and
// nothing written, when the header is missing or shorter than the base header; else 1.
int FormatHeaderFields(const uint8_t* header, uint32_t header_size, WideText& out);

// The whole report for the loaded document. 0 when nothing is loaded, the header's fields
// cannot be formatted or the memory for the text cannot be had.
int BuildHeaderReportText(const MetafileDocument& document, ReportText* report);
// The same with `shown_name` on the filename line in place of the document's path, which may
// hold no more than 258 units.
int BuildHeaderReportText(const MetafileDocument& document, std::u16string_view shown_name,
                          ReportText* report);

// The report's entries, a line each; nullptr when BuildHeaderReportText gives no report.
std::unique_ptr<ReportEntries> OpenHeaderEntries(const MetafileDocument& document);
