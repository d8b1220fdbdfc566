// Counts the bytes the benchmark process holds on the heap, so that a benchmark can report the
// most a load or a report ever held at once.
#pragma once

#include <cstddef>

// Bytes held now, and the most held since the last ResetHeapPeak().
size_t HeapBytesHeld();
size_t HeapPeakBytes();
// Starts a new peak from what is held now.
void ResetHeapPeak();
