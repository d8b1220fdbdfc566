// Fixed-point numbers and the parameter blocks that list a transform, a bitmap header or a
// region.
#pragma once

#include <cstddef>
#include <cstdint>

#include "document/record_view.h"
#include "text/wide_text.h"

struct Xform {
    float m11, m12, m21, m22, dx, dy;
};

struct BitmapInfoHeader {
    uint32_t size;
    int32_t width;
    int32_t height;
    uint16_t planes;
    uint16_t bit_count;
    uint32_t compression;
    uint32_t size_image;
    int32_t x_pels_per_meter;
    int32_t y_pels_per_meter;
    uint32_t clr_used;
    uint32_t clr_important;
};

struct RgnDataHeader {
    uint32_t size;
    uint32_t type;
    uint32_t count;
    uint32_t rgn_size;
    int32_t left, top, right, bottom;
};

inline constexpr uint32_t kXformBytes = 24;
inline constexpr uint32_t kBitmapInfoHeaderBytes = 40;
inline constexpr uint32_t kRgnDataHeaderBytes = 32;
inline constexpr uint32_t kRectBytes = 16;

// Each reads its structure at `offset` of the record; false, and nothing read, when the
// structure does not lie wholly inside the record.
bool ReadXform(RecordReader& record, uint32_t offset, Xform* xform);
bool ReadBitmapInfoHeader(RecordReader& record, uint32_t offset, BitmapInfoHeader* header);
bool ReadRgnDataHeader(RecordReader& record, uint32_t offset, RgnDataHeader* header);

// Each operation below replaces `out` and returns the length written, in UTF-16 units.

// The value with six decimals, truncated, never rounded: "-1.500000". Exact for every float:
// values of 2^31 or more print all digits of their integer part; infinities print as
// "INFINITY" or "-INFINITY" and NaNs as "NAN", as a C source line would spell them.
size_t FormatFixed6(WideText& out, float value);

// The longest texts of the two operations above, reached by -FLT_MAX: a buffer of one more
// unit never cuts them. Values below 2^31 need at most 18 and 281 units.
inline constexpr size_t kFixed6MaxUnits = 47;
inline constexpr size_t kXformBlockMaxUnits = 455;

// "// Parameter(s):", the declaration of lpXform and its six members, one line each.
size_t FormatXformBlock(WideText& out, const Xform& xform);

// The eleven members of a BITMAPINFOHEADER, one "lpBMIH->..." line each.
size_t FormatBitmapInfoHeaderBlock(WideText& out, const BitmapInfoHeader& header);

// The members of a RGNDATAHEADER, one "pRDH->..." line each.
size_t FormatRgnDataHeaderBlock(WideText& out, const RgnDataHeader& header);

// The region's rectangles as comment lines, at most 9 of `count`, read from `first_rect`
// onwards; rectangles that the count claims but the record does not hold are not read, and a
// line says how many of them there are.
size_t FormatRgnRectList(WideText& out, uint32_t count, RecordReader& record, uint32_t first_rect);

// The RGNDATA at `offset`: the header block and the rectangle list. A header that does not lie
// inside the record is not read; a comment line says so.
size_t FormatRgnDataBlock(WideText& out, RecordReader& record, uint32_t offset);
