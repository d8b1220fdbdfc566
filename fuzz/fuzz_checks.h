// The checks behind the fuzz targets, shared by the fuzzers and by the unit test that replays
// every input they ever found.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "document/playback_copy.h"
#include "document/record_view.h"

class MetafileDocument;

// Each check runs one input through the code under test and returns nullptr when every
// invariant held, or a description of the first that broke. A crash, an out-of-bounds read, an
// overflow or a leak is caught by the sanitizers instead.

// A whole file: loaded from the bytes through the direct reader, then the three reports,
// every record's call text in both verbose forms, the embedded payloads and the playback copy.
const char* CheckDocumentInput(const uint8_t* data, size_t size);

// What the platform's player needs of a playback copy: a header first whose counts describe
// the copy, an end-of-file record last and nowhere else, and every record sound for the copy's
// object table.
const char* CheckPlayable(const PlaybackCopy& copy);

// One record: the bytes are the record, its type folded into the listed types and one past
// them; the call text in both verbose forms, which a second build must repeat.
const char* CheckRecordInput(const uint8_t* data, size_t size);

// Comment data: the bytes, parted into two comments by their first byte, are wrapped into a
// metafile whose EMF+ report is made as a stream and line by line, which must agree.
const char* CheckEmfPlusInput(const uint8_t* data, size_t size);

// The EMF+ guard over a playback copy: the copy keeps its size, every record the guard keeps is
// the stored one, every other a zeroed EmfPlusComment of its size, the replacements come in file
// order, and a second pass over the guarded copy replaces nothing.
const char* CheckEmfPlusGuard(const std::vector<uint8_t>& metafile);

// Comment data wrapped as for CheckEmfPlusInput, its playback copy through the EMF+ guard.
const char* CheckEmfPlusGuardInput(const uint8_t* data, size_t size);

// The canvas arithmetic: the bytes choose client sizes, a frame, a record count and a sequence
// of fits, zooms, resizes, panel drags, pans and record scrolls.
const char* CheckCanvasInput(const uint8_t* data, size_t size);

// The call text of one record in both verbose forms: terminated, within its buffer, never cut,
// without a lone surrogate, the verbose form beginning with the brief one, and the same in
// both forms for every formatter that has no parameter blocks. Leaves the verbose flag at 1.
const char* CheckCallTextOf(RecordView record);

// The EMF+ report of a loaded document: within the chunk limits, without lone surrogates or
// line breaks inside a line, and a line made alone the same as in the stream.
const char* CheckEmfPlusReport(const MetafileDocument& document);

// Whether a UTF-16 text holds a surrogate that is not half of a pair.
bool HasLoneSurrogate(std::u16string_view text);

// For the fuzzers' entry points: a broken invariant ends the run as a finding.
inline int ReportFinding(const char* broken) {
    if (broken != nullptr) {
        std::fprintf(stderr, "invariant broken: %s\n", broken);
        std::abort();
    }
    return 0;
}
