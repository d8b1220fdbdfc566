// The copy of every record of the loaded file, back to back in file order, found by position.
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
    write_cursor_ = buffer_;
    stored_bytes_ = 0;
    const int32_t entries = record_capacity < 0 ? 0 : record_capacity;
    index_ = new (std::nothrow) const uint8_t*[entries == 0 ? 1 : static_cast<size_t>(entries)];
    if (index_ == nullptr) {
        return 0;
    }
    index_capacity_ = entries;
    count_ = 0;
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
    if (size > byte_capacity_ - stored_bytes_) {
        return;
    }
    if (count_ >= index_capacity_) {
        return;
    }
    std::memcpy(write_cursor_, record, size);
    index_[count_++] = write_cursor_;
    write_cursor_ += size;
    stored_bytes_ += size;
}

RecordView RecordStore::RecordAt(int32_t index) const {
    if (index < 0 || index >= count_) {
        return RecordView{};
    }
    const uint8_t* record = index_[index];
    return RecordView{record, RecordSizeField(RecordView{record, kRecordHeadBytes})};
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
    write_cursor_ = nullptr;
}

void RecordStore::Swap(RecordStore& other) {
    std::swap(buffer_, other.buffer_);
    std::swap(byte_capacity_, other.byte_capacity_);
    std::swap(stored_bytes_, other.stored_bytes_);
    std::swap(index_, other.index_);
    std::swap(index_capacity_, other.index_capacity_);
    std::swap(count_, other.count_);
    std::swap(write_cursor_, other.write_cursor_);
}
