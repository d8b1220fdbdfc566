// One EMF+ record's line, as the EMF+ report shows it, for the call pane of a sub-step.
#pragma once

#include <cstdint>
#include <memory>

#include "document/metafile_document.h"
#include "reports/report_text.h"

// The line of EMF+ record `place` (0-based) of comment record `record` as one entry ending in
// "\r\n", whose record is `record`; nullptr when the record holds no such EMF+ record or the
// memory cannot be had. The index of the document's comments that it needs is made once per
// load and kept.
std::unique_ptr<ReportEntries> OpenEmfPlusLineEntries(const MetafileDocument& document,
                                                      int32_t record, int32_t place);
