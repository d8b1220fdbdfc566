// The kinds of object an EmfPlusObject record defines, as its flags' object type numbers them.
#pragma once

#include <cstdint>

namespace emfplus_object_types {

enum EmfPlusObjectType : uint8_t {
    kBrush = 1,
    kPen = 2,
    kPath = 3,
    kRegion = 4,
    kImage = 5,
    kFont = 6,
    kStringFormat = 7,
    kImageAttributes = 8,
    kCustomLineCap = 9,
};

}  // namespace emfplus_object_types
