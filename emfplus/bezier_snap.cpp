#include "emfplus/bezier_snap.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "emfplus/emfplus_walk.h"

namespace {

constexpr uint16_t kEmfPlusObject = 0x4008;
constexpr uint16_t kEmfPlusDrawBeziers = 0x4019;
constexpr uint32_t kObjectTypePath = 3;
// Point forms other than plain floats: compressed integers, relative, run-length types.
constexpr uint32_t kCompressed = 0x4000;
constexpr uint32_t kRelative = 0x0800;
constexpr uint32_t kRunLength = 0x1000;
constexpr uint32_t kContinued = 0x8000;
constexpr uint8_t kBezierType = 3;

struct Point {
    float x;
    float y;
};

Point ReadPoint(const uint8_t* at) {
    Point p;
    std::memcpy(&p.x, at, 4);
    std::memcpy(&p.y, at + 4, 4);
    return p;
}

// Whether the Bézier from `points[0]` through `points[3]` lies within a box of float rounding.
bool Tiny(const Point (&points)[4]) {
    float low_x = points[0].x, high_x = low_x, low_y = points[0].y, high_y = low_y, scale = 1;
    for (const Point& p : points) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) {
            return false;
        }
        low_x = std::min(low_x, p.x);
        high_x = std::max(high_x, p.x);
        low_y = std::min(low_y, p.y);
        high_y = std::max(high_y, p.y);
        scale = std::max({scale, std::fabs(p.x), std::fabs(p.y)});
    }
    const float extent = std::max(high_x - low_x, high_y - low_y);
    return extent > 0 && extent <= kSnappedBezierExtent * scale;
}

// Snaps the Bézier whose start point is at `start` and whose three more points follow at
// `next`, 8 bytes apart each.
uint32_t SnapOne(uint8_t* start, uint8_t* next) {
    const Point points[4] = {ReadPoint(start), ReadPoint(next), ReadPoint(next + 8),
                             ReadPoint(next + 16)};
    if (!Tiny(points)) {
        return 0;
    }
    for (int i = 0; i < 3; ++i) {
        std::memcpy(next + 8 * i, start, 8);
    }
    return 1;
}

uint32_t ReadU32(const uint8_t* at) {
    uint32_t v;
    std::memcpy(&v, at, 4);
    return v;
}

// A path object's data at `data`, `length` bytes: version, count, flags, points, types.
uint32_t SnapPath(uint8_t* data, uint64_t length) {
    if (length < 12) {
        return 0;
    }
    const uint64_t count = ReadU32(data + 4);
    const uint32_t flags = ReadU32(data + 8);
    if ((flags & (kCompressed | kRelative | kRunLength)) != 0 || count > (length - 12) / 9) {
        return 0;
    }
    uint8_t* points = data + 12;
    const uint8_t* types = points + 8 * count;
    uint32_t snapped = 0;
    for (uint64_t i = 1; i + 2 < count; ++i) {
        if ((types[i] & 7) == kBezierType && (types[i + 1] & 7) == kBezierType &&
            (types[i + 2] & 7) == kBezierType) {
            snapped += SnapOne(points + 8 * (i - 1), points + 8 * i);
            i += 2;
        }
    }
    return snapped;
}

// A DrawBeziers record's data: count, then a start point and three points a Bézier.
uint32_t SnapBeziers(uint16_t flags, uint8_t* data, uint64_t length) {
    if (length < 4 || (flags & (kCompressed | kRelative)) != 0) {
        return 0;
    }
    const uint64_t count = std::min<uint64_t>(ReadU32(data), (length - 4) / 8);
    uint8_t* points = data + 4;
    uint32_t snapped = 0;
    for (uint64_t i = 1; i + 2 < count; i += 3) {
        snapped += SnapOne(points + 8 * (i - 1), points + 8 * i);
    }
    return snapped;
}

}  // namespace

uint32_t SnapTinyBeziers(std::vector<uint8_t>& metafile) {
    uint32_t snapped = 0;
    for (size_t offset = 0; offset + 8 <= metafile.size();) {
        const uint32_t size = ReadU32(&metafile[offset + 4]);
        if (size < 8 || size > metafile.size() - offset) {
            break;
        }
        uint8_t* host = &metafile[offset];
        const RecordView view{host, size};
        if (ClassifyComment(view) == CommentKind::kEmfPlus) {
            EmfPlusWalker walker(view);
            EmfPlusRecordRef plus;
            while (walker.Next(&plus)) {
                uint8_t* data = host + plus.offset + kEmfPlusRecordHeaderBytes;
                const uint64_t length = std::min(plus.data_size, plus.size - 12);
                if (plus.type == kEmfPlusObject && ((plus.flags >> 8) & 0x7F) == kObjectTypePath &&
                    (plus.flags & kContinued) == 0) {
                    snapped += SnapPath(data, length);
                } else if (plus.type == kEmfPlusDrawBeziers) {
                    snapped += SnapBeziers(plus.flags, data, length);
                }
            }
        }
        offset += size;
    }
    return snapped;
}
