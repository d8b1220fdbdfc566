// The copy of every record of the loaded file, back to back in file order, found by position,
// with each record's offset in the file.
#pragma once

#include <cstdint>

#include "document/record_view.h"

class RecordStore {
  public:
    RecordStore() = default;
    ~RecordStore() { Clear(); }
    RecordStore(const RecordStore&) = delete;
    RecordStore& operator=(const RecordStore&) = delete;

    // Empties the store and allocates room for `record_capacity` records of `byte_capacity`
    // bytes in all. 1 on success, 0 when an allocation failed.
    int Reset(int32_t record_capacity, uint32_t byte_capacity);

    // Stores one record, whose `nSize` bytes the caller vouches for up to `available` bytes,
    // or refuses it: no record, a size below 8 or beyond `available`, no room left in the
    // buffer, or the index full. A refused record is simply not stored. The records are
    // handed over in file order and lie back to back from the header at offset 0, so each one
    // starts where the one before it ended, stored or not.
    void Append(const uint8_t* record, uint32_t available);

    // The record at `index`, or a view without data when the index is outside 0 .. count - 1.
    RecordView RecordAt(int32_t index) const;
    // The offset in the file of the record at `index`, or 0 outside 0 .. count - 1.
    uint32_t OffsetAt(int32_t index) const;

    // Frees buffer and index and sets every field to zero.
    void Clear();
    // Exchanges the contents of two stores.
    void Swap(RecordStore& other);

    int32_t count() const { return count_; }
    uint32_t stored_bytes() const { return stored_bytes_; }
    uint32_t byte_capacity() const { return byte_capacity_; }
    int32_t index_capacity() const { return index_capacity_; }
    // All stored records back to back (stored_bytes() bytes), or nullptr when empty.
    const uint8_t* bytes() const { return buffer_; }

  private:
    uint8_t* buffer_ = nullptr;
    uint32_t byte_capacity_ = 0;
    uint32_t stored_bytes_ = 0;
    // Where each stored record lies in the buffer and in the file.
    struct Entry {
        uint32_t stored;
        uint32_t file;
    };
    Entry* index_ = nullptr;
    int32_t index_capacity_ = 0;
    int32_t count_ = 0;
    // Where the next record handed over starts in the file.
    uint32_t file_offset_ = 0;
};
