// The record list: every record with its number, name, size and a hexadecimal dump.
#pragma once

#include <cstdint>
#include <memory>

#include "document/metafile_document.h"
#include "reports/report_text.h"
#include "text/wide_text.h"

// At most this many bytes of a record are dumped.
inline constexpr uint32_t kDumpCapBytes = 819;

// Replaces `out` with the dump rows of `length` bytes: up to 16 bytes a row as hexadecimal
// pairs, then from column 49 the bytes as characters. 0, and nothing written, when there are
// no bytes; else 1.
int HexDump(const uint8_t* bytes, uint32_t length, WideText& out);

// The whole report for the loaded document, a chunk at a time; nullptr when nothing is loaded
// or the chunk buffer cannot be had. The document must stay loaded while the stream is read.
std::unique_ptr<ReportStream> OpenRecordList(const MetafileDocument& document);

// The report's entries for the loaded document, made on demand; nullptr when nothing is loaded
// or the entry buffer cannot be had. The document must stay loaded while they are read.
std::unique_ptr<WrittenEntries> OpenRecordListEntries(const MetafileDocument& document);

// The whole report for the loaded document; 0 when nothing is loaded.
int BuildRecordListText(const MetafileDocument& document, ReportText* report);
