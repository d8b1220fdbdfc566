// Béziers too small to draw, made exactly degenerate in the copy handed to the platform's EMF+
// player: a Bézier whose four points differ only by the float rounding of their coordinates
// sends the platform's flattening into endless subdivision (under Wine, a stack overflow at some
// destination rectangles), while four equal points end it at once. The picture is the same: such
// a Bézier is far below a pixel at any size the canvas draws.
#pragma once

#include <cstdint>
#include <vector>

// The largest extent of a Bézier snapped, against the largest magnitude of its coordinates (and
// at least against 1).
inline constexpr float kSnappedBezierExtent = 1e-5f;

// Snaps in place every such Bézier of the float-point paths (path objects held whole in their
// record) and EmfPlusDrawBeziers records inside the comment records of `metafile`, a whole
// metafile whose records' nSize lie inside it: its control and end points become its start
// point. Returns how many Béziers were snapped.
uint32_t SnapTinyBeziers(std::vector<uint8_t>& metafile);
