// The copy of every record of the loaded file, back to back in file order, found by position,
// with each record's offset in the file.
#include "document/record_store.h"

#include <cstring>
#include <new>
#include <utility>

#include "document/emf_format.h"

int RecordStore::Reset(int32_t record_capacity, uint32_t byte_capacity) {
    Clear();
    buffer_ = new (std::nothrow) uint8_t[byte_capacity == 0 ? 1 : byte_capacity];
    if (buffer_ == nullptr) {
        return 0;
    }
    byte_capacity_ = byte_capacity;
    const int32_t entries = record_capacity < 0 ? 0 : record_capacity;
    index_ = new (std::nothrow) Entry[entries == 0 ? 1 : static_cast<size_t>(entries)];
    if (index_ == nullptr) {
        return 0;
    }
    index_capacity_ = entries;
    return 1;
}

void RecordStore::Append(const uint8_t* record, uint32_t available) {
    if (record == nullptr) {
        return;
    }
    const uint32_t size = RecordSizeField(RecordView{record, available});
    if (size < kRecordHeadBytes || size > available) {
        return;
    }
    const uint32_t file_offset = file_offset_;
    file_offset_ += size;
    if (size > byte_capacity_ - stored_bytes_ || count_ >= index_capacity_) {
        return;
    }
    std::memcpy(buffer_ + stored_bytes_, record, size);
    index_[count_++] = Entry{stored_bytes_, file_offset};
    stored_bytes_ += size;
}

RecordView RecordStore::RecordAt(int32_t index) const {
    if (index < 0 || index >= count_) {
        return RecordView{};
    }
    const uint8_t* record = buffer_ + index_[index].stored;
    return RecordView{record, RecordSizeField(RecordView{record, kRecordHeadBytes})};
}

uint32_t RecordStore::OffsetAt(int32_t index) const {
    return index < 0 || index >= count_ ? 0 : index_[index].file;
}

void RecordStore::Clear() {
    delete[] buffer_;
    delete[] index_;
    buffer_ = nullptr;
    byte_capacity_ = 0;
    stored_bytes_ = 0;
    index_ = nullptr;
    index_capacity_ = 0;
    count_ = 0;
    file_offset_ = 0;
}

void RecordStore::Swap(RecordStore& other) {
    std::swap(buffer_, other.buffer_);
    std::swap(byte_capacity_, other.byte_capacity_);
    std::swap(stored_bytes_, other.stored_bytes_);
    std::swap(index_, other.index_);
    std::swap(index_capacity_, other.index_capacity_);
    std::swap(count_, other.count_);
    std::swap(file_offset_, other.file_offset_);
}
