// Where reading a file stopped before its end-of-file record, and why: what a damaged file
// lost.
#pragma once

#include <cstdint>

enum class ReadingStopReason {
    // Reading reached the end-of-file record: nothing was lost.
    kNone,
    // Fewer than 8 bytes were left for the next record's type and size.
    kFileEnds,
    // The next record's size is below 8.
    kSizeBelowEight,
    // The next record's size runs past the end of the file.
    kSizePastEnd,
    // The records ran out of the room the header's counts and the file's size allow.
    kNoRoom,
};

struct ReadingStop {
    ReadingStopReason reason = ReadingStopReason::kNone;
    // The byte at which the record that could not be read starts.
    uint32_t offset = 0;
    // That record's nSize, where the file holds it.
    uint32_t size_field = 0;
    // The bytes of the file from `offset` to its end.
    uint32_t bytes_left = 0;
};
