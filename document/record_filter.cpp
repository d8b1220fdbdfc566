// Which records the canvas leaves out, as a bit vector with a count of the bits set.
#include "document/record_filter.h"

#include "document/record_store.h"
#include "document/record_view.h"

namespace {

constexpr int32_t kWordBits = 64;

uint64_t BitOf(int32_t index) {
    return uint64_t{1} << (index % kWordBits);
}

}  // namespace

void RecordFilter::Reset(int32_t record_count) {
    record_count_ = record_count > 0 ? record_count : 0;
    off_count_ = 0;
    ++changes_;
    words_.assign(static_cast<size_t>((record_count_ + kWordBits - 1) / kWordBits), 0);
}

bool RecordFilter::IsOff(int32_t index) const {
    if (index < 0 || index >= record_count_) {
        return false;
    }
    return (words_[static_cast<size_t>(index / kWordBits)] & BitOf(index)) != 0;
}

void RecordFilter::Set(int32_t index, bool off) {
    if (!IsDrawingRecord(index) || IsOff(index) == off) {
        return;
    }
    words_[static_cast<size_t>(index / kWordBits)] ^= BitOf(index);
    off_count_ += off ? 1 : -1;
    ++changes_;
}

void RecordFilter::SetAll(bool off) {
    for (int32_t index = 1; index < record_count_ - 1; ++index) {
        Set(index, off);
    }
}

int32_t RecordFilter::SetType(const RecordStore& store, uint32_t type, bool off) {
    int32_t matches = 0;
    const int32_t end = store.count() < record_count_ ? store.count() : record_count_;
    for (int32_t index = 1; index < end - 1; ++index) {
        if (RecordTypeOf(store, index) == type) {
            Set(index, off);
            ++matches;
        }
    }
    return matches;
}

uint32_t RecordTypeOf(const RecordStore& store, int32_t index) {
    RecordReader record(store.RecordAt(index));
    const uint32_t type = record.U32(0);
    return record.ok() ? type : 0;
}
