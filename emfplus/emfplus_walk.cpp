// Finds the comment records that carry EMF+ records or public comments, and walks the EMF+
// records of one comment under the size rules.
#include "emfplus/emfplus_walk.h"

CommentKind ClassifyComment(RecordView record) {
    RecordReader reader(record);
    if (!reader.Has(0, kCommentDataOffset) || reader.U32(0) != kEmrGdiComment) {
        return CommentKind::kNotComment;
    }
    if (CommentDataEnd(reader) - kCommentDataOffset < 4) {
        return CommentKind::kOther;
    }
    const uint32_t identifier = reader.U32(kCommentDataOffset);
    if (identifier == kEmfPlusIdentifier) {
        return CommentKind::kEmfPlus;
    }
    if (identifier == kPublicCommentIdentifier) {
        return CommentKind::kPublic;
    }
    return CommentKind::kOther;
}

uint32_t CommentDataEnd(RecordReader& record) {
    if (!record.Has(0, kCommentDataOffset)) {
        return record.size();
    }
    const uint32_t cb_data = record.U32(8);
    const uint32_t room = record.size() - kCommentDataOffset;
    return kCommentDataOffset + (cb_data < room ? cb_data : room);
}

EmfPlusWalker::EmfPlusWalker(RecordView host) : reader_(host) {
    data_end_ = CommentDataEnd(reader_);
    // The records follow the four identifier bytes.
    offset_ = kCommentDataOffset + 4;
    if (offset_ > data_end_) {
        offset_ = data_end_;
    }
}

bool EmfPlusWalker::Next(EmfPlusRecordRef* record) {
    if (done_) {
        return false;
    }
    const uint32_t left = data_end_ - offset_;
    if (left == 0) {
        done_ = true;
        end_ = WalkEnd::kComplete;
        return false;
    }
    if (left < kEmfPlusRecordHeaderBytes) {
        done_ = true;
        end_ = WalkEnd::kShortHeader;
        return false;
    }
    const uint32_t size = reader_.U32(offset_ + 4);
    if (size < kEmfPlusRecordHeaderBytes || size % 4 != 0 || size > left) {
        done_ = true;
        bad_size_ = size;
        end_ = size < kEmfPlusRecordHeaderBytes ? WalkEnd::kSizeTooSmall
               : size % 4 != 0                  ? WalkEnd::kSizeUnaligned
                                                : WalkEnd::kSizePastData;
        return false;
    }
    record->offset = offset_;
    record->type = reader_.U16(offset_);
    record->flags = reader_.U16(offset_ + 2);
    record->size = size;
    record->data_size = reader_.U32(offset_ + 8);
    record->view = RecordView{reader_.data() + offset_, size};
    offset_ += size;
    return true;
}
