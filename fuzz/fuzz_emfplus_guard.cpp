// Fuzz target: the data of comment records, wrapped into a metafile, through the playback copy
// and the guard of its EMF+ records.
#include "fuzz/fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return ReportFinding(CheckEmfPlusGuardInput(data, size));
}
