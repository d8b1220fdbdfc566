// Builders of EMF+ records and of the comment records that carry them.
#pragma once

#include <bit>
#include <cstdint>
#include <string_view>
#include <vector>

#include "emfplus/emfplus_walk.h"
#include "tests/support/emf_builder.h"

// Little-endian data bytes of one EMF+ record.
struct Data {
    std::vector<uint8_t> bytes;
    Data& U8(uint8_t v) {
        bytes.push_back(v);
        return *this;
    }
    Data& U16(uint16_t v) { return U8(static_cast<uint8_t>(v)).U8(static_cast<uint8_t>(v >> 8)); }
    Data& U32(uint32_t v) {
        return U16(static_cast<uint16_t>(v)).U16(static_cast<uint16_t>(v >> 16));
    }
    Data& F32(float f) { return U32(std::bit_cast<uint32_t>(f)); }
    Data& Text(std::u16string_view text) {
        for (char16_t c : text) {
            U16(c);
        }
        return *this;
    }
};

// One EMF+ record: its head with a correct Size and DataSize, then the data padded to 4 bytes.
inline std::vector<uint8_t> Plus(uint16_t type, uint16_t flags, Data data = {}) {
    while (data.bytes.size() % 4 != 0) {
        data.bytes.push_back(0);
    }
    Data head;
    head.U16(type).U16(flags).U32(12 + data.bytes.size()).U32(data.bytes.size());
    head.bytes.insert(head.bytes.end(), data.bytes.begin(), data.bytes.end());
    return head.bytes;
}

// A comment record whose data is `identifier` followed by `body`.
inline RecordBuilder Comment(uint32_t identifier, const std::vector<uint8_t>& body) {
    RecordBuilder comment(70, 16);
    comment.U32(8, 4 + body.size()).U32(12, identifier).Bytes(16, body);
    comment.Resize((16 + body.size() + 3) / 4 * 4);
    return comment;
}

inline RecordBuilder PlusComment(const std::vector<std::vector<uint8_t>>& records) {
    std::vector<uint8_t> body;
    for (const auto& record : records) {
        body.insert(body.end(), record.begin(), record.end());
    }
    return Comment(kEmfPlusIdentifier, body);
}
