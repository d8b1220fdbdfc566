// The call list: every drawing record as its numbered call text, with parameter blocks.
#pragma once

#include "document/metafile_document.h"
#include "reports/report_text.h"

// The whole report for the loaded document; 0 when nothing is loaded. Sets the verbose flag
// to `verbose` (1 for the report the window shows) and leaves it there.
int BuildCallListText(const MetafileDocument& document, ReportText* report, int verbose = 1);
