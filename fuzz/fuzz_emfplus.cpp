// Fuzz target: the data of comment records through the EMF+ decoder and its report.
#include "fuzz/fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return ReportFinding(CheckEmfPlusInput(data, size));
}
