// Finds the comment records that carry EMF+ records or public comments, and walks the EMF+
// records of one comment under the size rules.
#pragma once

#include <cstdint>

#include "document/emf_format.h"
#include "document/record_view.h"

// The first four data bytes of a comment: "EMF+" and "GDIC", read little-endian.
inline constexpr uint32_t kEmfPlusIdentifier = 0x2B464D45;
inline constexpr uint32_t kPublicCommentIdentifier = 0x43494447;
// Type, Flags, Size and DataSize.
inline constexpr uint32_t kEmfPlusRecordHeaderBytes = 12;
// The comment's data: cbData at 8, the data from 12.
inline constexpr uint32_t kCommentDataOffset = 12;

enum class CommentKind {
    kNotComment,  // another record type, or a comment too short for its cbData
    kEmfPlus,     // data begins with "EMF+"
    kPublic,      // data begins with "GDIC"
    kOther,       // any other data
};

CommentKind ClassifyComment(RecordView record);

// The end of the comment's data as far as the record holds it: 12 + cbData, clamped to the
// record's readable size.
uint32_t CommentDataEnd(RecordReader& record);

// One EMF+ record inside a comment.
struct EmfPlusRecordRef {
    uint32_t offset = 0;  // from the host record's first byte
    uint16_t type = 0;
    uint16_t flags = 0;
    uint32_t size = 0;       // the Size field: the whole record
    uint32_t data_size = 0;  // the DataSize field as stored
    RecordView view;         // exactly the record's Size bytes
};

// Why a walk ended.
enum class WalkEnd {
    kComplete,       // the records filled the comment's data exactly
    kShortHeader,    // fewer than 12 bytes were left
    kSizeTooSmall,   // a Size below 12
    kSizeUnaligned,  // a Size that is not a multiple of 4
    kSizePastData,   // a Size that runs past the comment's data
};

// Walks the EMF+ records of one "EMF+" comment in order. A record whose Size breaks the rules
// ends the walk; the records before it stand.
class EmfPlusWalker {
  public:
    explicit EmfPlusWalker(RecordView host);

    // The next record; false once the walk has ended.
    bool Next(EmfPlusRecordRef* record);

    // After Next returned false: why, where, and the Size field that broke the rules.
    WalkEnd end() const { return end_; }
    uint32_t end_offset() const { return offset_; }
    uint32_t bytes_left() const { return data_end_ - offset_; }
    uint32_t bad_size() const { return bad_size_; }

  private:
    RecordReader reader_;
    uint32_t offset_ = 0;
    uint32_t data_end_ = 0;
    uint32_t bad_size_ = 0;
    WalkEnd end_ = WalkEnd::kComplete;
    bool done_ = false;
};
