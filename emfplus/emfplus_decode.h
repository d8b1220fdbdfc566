// The decoded fields of one EMF+ record, and of the comments that carry other data, as one
// line of text.
#pragma once

#include <cstdint>

#include "emfplus/emfplus_walk.h"
#include "text/wide_text.h"

// At most this many points, rectangles or glyphs of one list are shown.
inline constexpr uint32_t kEmfPlusListCap = 32;
// At most this many units of one string are shown.
inline constexpr uint32_t kEmfPlusStringCap = 512;

// Where an object record stands in an object split over several records: part 1 of `parts`,
// and so on. `part` is 0 for an object held whole in its record.
struct ObjectPart {
    uint32_t part = 0;
    uint32_t parts = 0;
    uint64_t bytes = 0;  // the object bytes all its parts hold
    bool consistent = true;
    // For the first part: the whole object put back together as one record, which is decoded
    // in place of the part's own bytes. Without data the part's own bytes are decoded.
    RecordView whole;
};

// Replaces `out` with the fields of `record`. Every field is read from the record's own bytes;
// what the record does not hold is said, never read.
void DecodeEmfPlusFields(const EmfPlusRecordRef& record, const ObjectPart& part, WideText& out);

// Replaces `name` and `out` with the kind and fields of a comment whose data does not begin
// with "EMF+": a public comment by its identifier, any other by its first four bytes.
void DecodeCommentFields(RecordView host, WideText& name, WideText& out);
