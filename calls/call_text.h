// Turning one stored record into its call text: the dispatch and the verbose flag.
#pragma once

#include <cstddef>
#include <cstdint>

#include "document/record_view.h"
#include "text/wide_text.h"

// Call texts are built in buffers of this many UTF-16 units, terminator included.
inline constexpr size_t kCallTextUnits = 8192;

// Writes a record's argument text: it appends to `args`, which holds the call name already.
// Every formatter returns 1.
using CallFormatter = int (*)(RecordView record, WideText& args);

// The process-wide verbose flag: while it is non-zero the formatters that have parameter
// blocks append them. 0 at start.
int VerboseFlag();
void SetVerboseFlag(int verbose);

// Builds the call text of `record` into `out` (replacing what it held): the call name and the
// argument text, or "--unknown--" for an unlisted type. Returns 0 for a missing record (the
// text is then empty), otherwise 1.
int BuildCallText(RecordView record, WideText& out);

// The call name and the record name of a type, or nullptr when `type` is 0 or above 120.
const char16_t* LookupCallName(uint32_t type);
const char16_t* LookupRecordName(uint32_t type);

// The formatter of a listed type, or nullptr.
CallFormatter LookupFormatter(uint32_t type);
