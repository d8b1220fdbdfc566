// The record-type constants, kEmr<id> for every type of document/record_types.def.
#pragma once

#include <cstdint>

#define EMR_TYPE(number, id, ...) inline constexpr uint32_t kEmr##id = number;
#include "document/record_types.def"
#undef EMR_TYPE

// The highest type of the list: a table made from it has a row for every type 1 to this.
inline constexpr uint32_t kEmrLastType = 122;

namespace record_types_detail {

inline constexpr uint32_t kNumbers[] = {
#define EMR_TYPE(number, ...) number,
#include "document/record_types.def"
#undef EMR_TYPE
};

constexpr bool RowsAreInTypeOrder() {
    uint32_t expected = 1;
    for (const uint32_t number : kNumbers) {
        if (number != expected++) {
            return false;
        }
    }
    return expected == kEmrLastType + 1;
}
static_assert(RowsAreInTypeOrder(), "one row per type 1 to kEmrLastType, in order");

}  // namespace record_types_detail
