// Fuzz target: the canvas arithmetic under random sizes, frames, zooms, drags, pans and record
// scrolls.
#include "fuzz/fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return ReportFinding(CheckCanvasInput(data, size));
}
