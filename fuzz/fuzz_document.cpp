// Fuzz target: a whole metafile from bytes: loaded through the direct reader, the three reports and
// every record's call text.
#include "fuzz/fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return ReportFinding(CheckDocumentInput(data, size));
}
