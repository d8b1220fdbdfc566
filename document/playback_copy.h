// The metafile the platform's player is given: a copy of the stored records in which every
// record that is not sound for playback stands replaced by a harmless one.
#pragma once

#include <cstdint>
#include <vector>

#include "document/record_guard.h"
#include "document/record_store.h"

// What the copy put in place of a stored record.
enum class PlaybackMend : uint8_t {
    // A comment record (EMR_GDICOMMENT with zero data) of the record's size, or of 12 bytes
    // when the record is shorter: a comment needs its cbData field, and the player reads it.
    kComment,
    // The header record with the parts that failed set right (see BuildPlaybackCopy).
    kHeader,
    // An end-of-file record without palette, of the record's size or at least 20 bytes.
    kEndOfFile,
    // No record: the store does not end with an end-of-file record, so the copy adds one
    // after the last record.
    kAddedEndOfFile,
};

struct PlaybackReplacement {
    // The record's position in the store; the store's count for an added end-of-file record.
    int32_t index;
    // The stored record's iType; 0 for an added end-of-file record.
    uint32_t type;
    GuardVerdict verdict;
    PlaybackMend mend;
};

struct PlaybackCopy {
    // A whole metafile: header record first, end-of-file record last.
    std::vector<uint8_t> bytes;
    // The records the copy does not hand on as stored, in store order.
    std::vector<PlaybackReplacement> replacements;
};

// Builds the copy of `store` for the player. Record i of the copy stands for record i of the
// store, so positions, the playback counter and the filter list line up; a sound record is
// copied byte for byte. Record 0 becomes a header whatever it was, with the signature set,
// nHandles at least 1, the description and pixel format dropped when they do not lie inside
// it, and nBytes, nRecords and nPalEntries describing the copy. A header or end-of-file record
// at any other place is replaced by a comment, since only the first and the last may be one.
// Object indices are checked against the copy's nHandles. An empty store gives a header of
// zeros and an end-of-file record, with no replacements. Returns 1, or 0 (and an empty copy)
// when the copy would reach 4 GiB or its memory cannot be had.
int BuildPlaybackCopy(const RecordStore& store, PlaybackCopy* copy);
