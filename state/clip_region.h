// Regions as lists of disjoint rectangles, in device units, with the operations clipping
// records make: a hostile region cannot make them slow or large, since a list longer than
// kRegionRectCap stands for its bounding box.
#pragma once

#include <cstdint>
#include <vector>

#include "state/graphics_state.h"

inline constexpr size_t kRegionRectCap = 512;

// The RGN_ modes of a region combination.
enum class RegionOp : uint32_t { kAnd = 1, kOr = 2, kXor = 3, kDiff = 4, kCopy = 5 };

// `surface` is the reference device's surface, which the whole surface stands for where a
// rectangle is cut from it. Each returns false when memory ran out (the region is then left).
// `rects_cut`: `rects` stands for more rectangles than it holds, within the same bounds.
// Where a list had to be cut, the result is a rectangle that holds the whole region, marked
// approximated.
bool CombineRegion(Region& region, const std::vector<RectL>& rects, RegionOp op,
                   const RectL& surface, bool rects_cut = false);
void OffsetRegion(Region& region, int32_t dx, int32_t dy);
// The smallest rectangle holding the region; the surface for the whole one; all zero for an
// empty one.
RectL RegionBounds(const Region& region, const RectL& surface);
// The region drawing is clipped to: the clip region within the meta region. False when
// memory ran out.
bool EffectiveClip(const DcState& dc, const RectL& surface, Region* out);
// A rectangle with left <= right and top <= bottom, from two corners.
RectL Normalized(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
