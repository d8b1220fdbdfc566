// The call list: every drawing record as its numbered call text, with parameter blocks.
#pragma once

#include <cstdint>
#include <memory>

#include "document/metafile_document.h"
#include "reports/report_text.h"

// The whole report for the loaded document, a chunk at a time; nullptr when nothing is loaded
// or the chunk buffer cannot be had. Sets the verbose flag to `verbose` (1 for the report the
// window shows) and leaves it there. The document must stay loaded while the stream is read.
std::unique_ptr<ReportStream> OpenCallList(const MetafileDocument& document, int verbose = 1);

// The report's entries for the loaded document, made on demand; nullptr when nothing is loaded
// or the entry buffer cannot be had. Sets the verbose flag as OpenCallList does; the document
// must stay loaded while they are read.
std::unique_ptr<WrittenEntries> OpenCallListEntries(const MetafileDocument& document,
                                                    int verbose = 1);

// The whole report for the loaded document; 0 when nothing is loaded. Sets the verbose flag
// as OpenCallList does.
int BuildCallListText(const MetafileDocument& document, ReportText* report, int verbose = 1);

// The call text of record `record` alone, in its verbose form with its parameter blocks, as one
// entry whose lines end in "\r\n"; nullptr when the document holds no such record or the memory
// cannot be had. The text is made here, whatever the verbose flag (which it leaves as it was),
// and the entry reads the document no more.
std::unique_ptr<ReportEntries> OpenCallTextEntries(const MetafileDocument& document,
                                                   int32_t record);
