// A read-only view of one stored record, and the bounds-checked reader of its fields.
#pragma once

#include <cstdint>
#include <cstring>

// One record: its first byte and the number of bytes that may be read from there. A view
// without data stands for a record that does not exist.
struct RecordView {
    const uint8_t* data = nullptr;
    uint32_t size = 0;

    explicit operator bool() const { return data != nullptr; }
};

// The little-endian words at `at`, which the caller has made sure are there to be read: the
// RecordReader below checks every field before it loads it with these.
inline uint16_t LoadLe16(const uint8_t* at) {
    return static_cast<uint16_t>(at[0] | at[1] << 8);
}
inline uint32_t LoadLe32(const uint8_t* at) {
    return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 |
           static_cast<uint32_t>(at[2]) << 16 | static_cast<uint32_t>(at[3]) << 24;
}

// Reads little-endian fields of one record at their byte offsets from the record's first
// byte, never outside the record: the readable length is the record's own `nSize`, clamped to
// the bytes the view holds. A read outside that length gives 0 and marks the reader failed,
// and the failure sticks, so a caller can read a group of fields and check once.
class RecordReader {
  public:
    explicit RecordReader(RecordView record) : data_(record.data) {
        if (record.data == nullptr || record.size < 8) {
            size_ = record.data == nullptr ? 0 : record.size;
            return;
        }
        const uint32_t n_size = LoadLe32(record.data + 4);
        size_ = n_size < record.size ? n_size : record.size;
    }

    // The number of bytes that may be read.
    uint32_t size() const { return size_; }
    bool ok() const { return ok_; }

    // Whether `length` bytes from `offset` lie inside the record (no overflow).
    bool Has(uint32_t offset, uint32_t length) const {
        return offset <= size_ && length <= size_ - offset;
    }
    // Whether `count` elements of `width` bytes from `offset` lie inside the record.
    bool HasArray(uint32_t offset, uint32_t count, uint32_t width) const {
        return offset <= size_ && (width == 0 || count <= (size_ - offset) / width);
    }
    // How many of `count` elements of `width` bytes from `offset` lie inside the record.
    uint32_t CountInside(uint32_t offset, uint32_t count, uint32_t width) const {
        if (offset > size_ || width == 0) {
            return 0;
        }
        const uint32_t fit = (size_ - offset) / width;
        return count < fit ? count : fit;
    }

    uint32_t U32(uint32_t offset) { return Inside(offset, 4) ? LoadLe32(data_ + offset) : 0; }
    int32_t I32(uint32_t offset) { return static_cast<int32_t>(U32(offset)); }
    uint16_t U16(uint32_t offset) { return Inside(offset, 2) ? LoadLe16(data_ + offset) : 0; }
    int16_t I16(uint32_t offset) { return static_cast<int16_t>(U16(offset)); }
    uint8_t U8(uint32_t offset) { return Inside(offset, 1) ? data_[offset] : 0; }
    float F32(uint32_t offset) {
        const uint32_t bits = U32(offset);
        float value;
        std::memcpy(&value, &bits, 4);
        return value;
    }

    // The record's first byte; only for passing on together with a range checked by Has.
    const uint8_t* data() const { return data_; }

  private:
    // Whether the field lies inside the record; marks the reader failed when not.
    bool Inside(uint32_t offset, uint32_t length) {
        const bool inside = Has(offset, length);
        ok_ = ok_ && inside;
        return inside;
    }

    const uint8_t* data_;
    uint32_t size_ = 0;
    bool ok_ = true;
};

// The record's `iType`, or 0 when the view holds fewer than 4 bytes.
inline uint32_t RecordType(RecordView record) {
    RecordReader reader(record);
    return reader.Has(0, 4) ? reader.U32(0) : 0;
}

// The record's `nSize` field as stored, or 0 when the view holds fewer than 8 bytes.
inline uint32_t RecordSizeField(RecordView record) {
    if (record.data == nullptr || record.size < 8) {
        return 0;
    }
    return LoadLe32(record.data + 4);
}
