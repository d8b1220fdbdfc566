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

// `a` without any part of `b`. Stops once the list is longer than the cap, setting `cut`.
std::vector<RectL> Minus(const std::vector<RectL>& a, const std::vector<RectL>& b, bool& cut) {
    std::vector<RectL> left = a, next;
    for (const RectL& hole : b) {
        next.clear();
        for (const RectL& r : left) {
            Subtract(r, hole, next);
        }
        left.swap(next);
        if (left.size() > kRegionRectCap) {
            cut = true;
            break;
        }
    }
    return left;
}

std::vector<RectL> And(const std::vector<RectL>& a, const std::vector<RectL>& b, bool& cut) {
    std::vector<RectL> out;
    for (const RectL& x : a) {
        for (const RectL& y : b) {
            if (const RectL both = Intersect(x, y); !Empty(both)) {
                out.push_back(both);
            }
        }
        if (out.size() > kRegionRectCap) {
            cut = true;
            break;
        }
    }
    return out;
}

std::vector<RectL> Disjoint(const std::vector<RectL>& rects, bool& cut) {
    std::vector<RectL> out;
    for (const RectL& r : rects) {
        if (Empty(r)) {
            continue;
        }
        std::vector<RectL> part = Minus({r}, out, cut);
        out.insert(out.end(), part.begin(), part.end());
        if (out.size() > kRegionRectCap) {
            cut = true;
            break;
        }
    }
    return out;
}

RectL Union(const RectL& a, const RectL& b) {
    if (Empty(a) || Empty(b)) {
        return Empty(a) ? b : a;
    }
    return RectL{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                 std::max(a.bottom, b.bottom)};
}

RectL Bounds(const std::vector<RectL>& rects) {
    RectL b;
    for (const RectL& r : rects) {
        b = Union(b, r);
    }
    return b;
}

// A rectangle that holds the result of `op` on a region within `a` and one within `b`.
RectL BoundOf(RegionOp op, const RectL& a, const RectL& b) {
    switch (op) {
        case RegionOp::kAnd: {
            const RectL both = Intersect(a, b);
            return Empty(both) ? RectL{} : both;
        }
        case RegionOp::kDiff:
            return a;
        case RegionOp::kCopy:
            return b;
        default:
            return Union(a, b);
    }
}

}  // namespace

RectL Normalized(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    return RectL{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

bool CombineRegion(Region& region, const std::vector<RectL>& rects, RegionOp op,
                   const RectL& surface, bool rects_cut) {
    try {
        const std::vector<RectL> current = region.kind == RegionKind::kWhole
                                               ? std::vector<RectL>{surface}
                                           : region.rects != nullptr ? *region.rects
                                                                     : std::vector<RectL>{};
        // A copy replaces the region: what stood for the old one does not carry over.
        bool cut = rects_cut || (region.approximated && op != RegionOp::kCopy);
        const std::vector<RectL> given = Disjoint(rects, cut);
        std::vector<RectL> out;
        switch (op) {
            case RegionOp::kAnd:
                out = And(current, given, cut);
                break;
            case RegionOp::kOr:
                out = Minus(given, current, cut);
                out.insert(out.begin(), current.begin(), current.end());
                break;
            case RegionOp::kXor: {
                out = Minus(current, given, cut);
                const std::vector<RectL> other = Minus(given, current, cut);
                out.insert(out.end(), other.begin(), other.end());
                break;
            }
            case RegionOp::kDiff:
                out = Minus(current, given, cut);
                break;
            case RegionOp::kCopy:
                out = given;
                break;
        }
        // A list cut short stands for a rectangle sure to hold the whole result.
        region.approximated = cut || out.size() > kRegionRectCap;
        if (region.approximated) {
            const RectL bound = BoundOf(op, Bounds(current), Bounds(rects));
            out.clear();
            if (!Empty(bound)) {
                out.push_back(bound);
            }
        } else {
            region.from_path = false;
        }
        region.kind = RegionKind::kRects;
        region.rects = std::make_shared<const std::vector<RectL>>(std::move(out));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool EffectiveClip(const DcState& dc, const RectL& surface, Region* out) {
    const Region& clip = dc.clip.value;
    const Region& meta = dc.meta.value;
    if (meta.kind == RegionKind::kWhole) {
        *out = clip;
        return true;
    }
    *out = meta;
    if (clip.kind == RegionKind::kWhole) {
        return true;
    }
    const bool from_path = clip.from_path || meta.from_path;
    if (!CombineRegion(*out, clip.rects != nullptr ? *clip.rects : std::vector<RectL>{},
                       RegionOp::kAnd, surface, clip.approximated)) {
        return false;
    }
    out->from_path = out->approximated && from_path;
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
    return region.rects != nullptr ? Bounds(*region.rects) : RectL{};
}
