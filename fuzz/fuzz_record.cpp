// Fuzz target: one record of any type and bytes through the call-text dispatch.
#include "fuzz/fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return ReportFinding(CheckRecordInput(data, size));
}
