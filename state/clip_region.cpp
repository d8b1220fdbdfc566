// Region operations on small lists of disjoint rectangles: each operation splits rectangles by
// others, which is quadratic, so the lists are kept short.
#include "state/clip_region.h"

#include <algorithm>
#include <new>

namespace {

bool Empty(const RectL& r) {
    return r.left >= r.right || r.top >= r.bottom;
}

RectL Intersect(const RectL& a, const RectL& b) {
    return RectL{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                 std::min(a.bottom, b.bottom)};
}

// Appends the parts of `a` outside `b`: up to four rectangles.
void Subtract(const RectL& a, const RectL& b, std::vector<RectL>& out) {
    const RectL cut = Intersect(a, b);
    if (Empty(cut)) {
        out.push_back(a);
        return;
    }
    if (a.top < cut.top) {
        out.push_back(RectL{a.left, a.top, a.right, cut.top});
    }
    if (cut.bottom < a.bottom) {
        out.push_back(RectL{a.left, cut.bottom, a.right, a.bottom});
    }
    if (a.left < cut.left) {
        out.push_back(RectL{a.left, cut.top, cut.left, cut.bottom});
    }
    if (cut.right < a.right) {
        out.push_back(RectL{cut.right, cut.top, a.right, cut.bottom});
    }
}

// `a` without any part of `b`. Stops once the list is longer than the cap.
std::vector<RectL> Minus(const std::vector<RectL>& a, const std::vector<RectL>& b) {
    std::vector<RectL> left = a, next;
    for (const RectL& cut : b) {
        next.clear();
        for (const RectL& r : left) {
            Subtract(r, cut, next);
        }
        left.swap(next);
        if (left.size() > kRegionRectCap) {
            break;
        }
    }
    return left;
}

std::vector<RectL> And(const std::vector<RectL>& a, const std::vector<RectL>& b) {
    std::vector<RectL> out;
    for (const RectL& x : a) {
        for (const RectL& y : b) {
            if (const RectL cut = Intersect(x, y); !Empty(cut)) {
                out.push_back(cut);
            }
        }
        if (out.size() > kRegionRectCap) {
            break;
        }
    }
    return out;
}

std::vector<RectL> Disjoint(const std::vector<RectL>& rects) {
    std::vector<RectL> out;
    for (const RectL& r : rects) {
        if (Empty(r)) {
            continue;
        }
        std::vector<RectL> part = Minus({r}, out);
        out.insert(out.end(), part.begin(), part.end());
        if (out.size() > kRegionRectCap) {
            break;
        }
    }
    return out;
}

RectL Bounds(const std::vector<RectL>& rects) {
    if (rects.empty()) {
        return RectL{};
    }
    RectL b = rects.front();
    for (const RectL& r : rects) {
        b = RectL{std::min(b.left, r.left), std::min(b.top, r.top), std::max(b.right, r.right),
                  std::max(b.bottom, r.bottom)};
    }
    return b;
}

}  // namespace

RectL Normalized(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    return RectL{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

bool CombineRegion(Region& region, const std::vector<RectL>& rects, RegionOp op,
                   const RectL& surface) {
    try {
        const std::vector<RectL> current =
            region.kind == RegionKind::kRects && region.rects != nullptr ? *region.rects
            : region.kind == RegionKind::kWhole ? std::vector<RectL>{surface}
                                                : std::vector<RectL>{};
        const std::vector<RectL> given = Disjoint(rects);
        std::vector<RectL> out;
        switch (op) {
            case RegionOp::kAnd:
                out = And(current, given);
                break;
            case RegionOp::kOr:
                out = current, out = Minus(given, current);
                out.insert(out.begin(), current.begin(), current.end());
                break;
            case RegionOp::kXor:
                out = Minus(current, given);
                {
                    const std::vector<RectL> other = Minus(given, current);
                    out.insert(out.end(), other.begin(), other.end());
                }
                break;
            case RegionOp::kDiff:
                out = Minus(current, given);
                break;
            case RegionOp::kCopy:
                out = given;
                break;
        }
        region.approximated = out.size() > kRegionRectCap;
        if (region.approximated) {
            out = {Bounds(out)};
        }
        region.kind = RegionKind::kRects;
        region.rects = std::make_shared<const std::vector<RectL>>(std::move(out));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void OffsetRegion(Region& region, int32_t dx, int32_t dy) {
    if (region.kind != RegionKind::kRects || region.rects == nullptr) {
        return;
    }
    try {
        std::vector<RectL> moved = *region.rects;
        for (RectL& r : moved) {
            r = RectL{int32_t(int64_t(r.left) + dx), int32_t(int64_t(r.top) + dy),
                      int32_t(int64_t(r.right) + dx), int32_t(int64_t(r.bottom) + dy)};
        }
        region.rects = std::make_shared<const std::vector<RectL>>(std::move(moved));
    } catch (const std::bad_alloc&) {
    }
}

RectL RegionBounds(const Region& region, const RectL& surface) {
    if (region.kind == RegionKind::kWhole) {
        return surface;
    }
    return region.kind == RegionKind::kRects && region.rects != nullptr ? Bounds(*region.rects)
                                                                        : RectL{};
}
