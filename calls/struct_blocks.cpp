// Fixed-point numbers and the parameter blocks that list a transform, a bitmap header or a
// region.
#include "calls/struct_blocks.h"

#include <cmath>
#include <cstring>

#include "calls/format_support.h"

namespace {

constexpr uint32_t kRectsListed = 9;

// The integer part of a finite float of 2^31 or more, all of whose digits are exact: such a
// float is a whole number, its 24-bit mantissa times a power of two.
void AppendWholeFloat(WideText& out, float magnitude) {
    uint32_t bits;
    std::memcpy(&bits, &magnitude, 4);
    const int exponent = static_cast<int>((bits >> 23) & 0xFF) - 127 - 23;
    uint32_t mantissa = (bits & 0x7FFFFF) | 0x800000;
    // Decimal digits, least significant first; a float stays below 10^39.
    uint8_t digits[48] = {};
    int count = 0;
    while (mantissa != 0) {
        digits[count++] = static_cast<uint8_t>(mantissa % 10);
        mantissa /= 10;
    }
    for (int step = 0; step < exponent; ++step) {
        int carry = 0;
        for (int d = 0; d < count; ++d) {
            const int doubled = digits[d] * 2 + carry;
            digits[d] = static_cast<uint8_t>(doubled % 10);
            carry = doubled / 10;
        }
        if (carry != 0) {
            digits[count++] = static_cast<uint8_t>(carry);
        }
    }
    while (count > 0) {
        out.Append(static_cast<char16_t>(u'0' + digits[--count]));
    }
}

}  // namespace

bool ReadXform(RecordReader& record, uint32_t offset, Xform* xform) {
    if (!record.Has(offset, kXformBytes)) {
        return false;
    }
    xform->m11 = record.F32(offset);
    xform->m12 = record.F32(offset + 4);
    xform->m21 = record.F32(offset + 8);
    xform->m22 = record.F32(offset + 12);
    xform->dx = record.F32(offset + 16);
    xform->dy = record.F32(offset + 20);
    return true;
}

bool ReadBitmapInfoHeader(RecordReader& record, uint32_t offset, BitmapInfoHeader* header) {
    if (!record.Has(offset, kBitmapInfoHeaderBytes)) {
        return false;
    }
    header->size = record.U32(offset);
    header->width = record.I32(offset + 4);
    header->height = record.I32(offset + 8);
    header->planes = record.U16(offset + 12);
    header->bit_count = record.U16(offset + 14);
    header->compression = record.U32(offset + 16);
    header->size_image = record.U32(offset + 20);
    header->x_pels_per_meter = record.I32(offset + 24);
    header->y_pels_per_meter = record.I32(offset + 28);
    header->clr_used = record.U32(offset + 32);
    header->clr_important = record.U32(offset + 36);
    return true;
}

bool ReadRgnDataHeader(RecordReader& record, uint32_t offset, RgnDataHeader* header) {
    if (!record.Has(offset, kRgnDataHeaderBytes)) {
        return false;
    }
    header->size = record.U32(offset);
    header->type = record.U32(offset + 4);
    header->count = record.U32(offset + 8);
    header->rgn_size = record.U32(offset + 12);
    header->left = record.I32(offset + 16);
    header->top = record.I32(offset + 20);
    header->right = record.I32(offset + 24);
    header->bottom = record.I32(offset + 28);
    return true;
}

size_t FormatFixed6(WideText& out, float value) {
    out.Clear();
    if (std::isnan(value)) {
        out.Append(u"NAN");
        return out.size();
    }
    if (value < 0) {
        out.Append(u'-');
    }
    const float magnitude = std::fabs(value);
    if (std::isinf(magnitude)) {
        out.Append(u"INFINITY");
        return out.size();
    }
    if (magnitude >= 2147483648.0f) {
        // No fraction: a float this large is a whole number.
        AppendWholeFloat(out, magnitude);
        out.Append(u".000000");
        return out.size();
    }
    // The subtraction and the product are exact in double precision for every float, so the
    // fraction is the first six decimals of the float's exact value.
    const double m = magnitude;
    const double whole = std::trunc(m);
    const double fraction = std::trunc((m - whole) * 1000000.0);
    out.Print(u"%d.%06d", static_cast<int32_t>(whole), static_cast<int32_t>(fraction));
    return out.size();
}

size_t FormatXformBlock(WideText& out, const Xform& xform) {
    out.Clear();
    out.Append(u"\r\n\t  // Parameter(s):\r\n\t  const XFORM* lpXform;");
    const float members[6] = {xform.m11, xform.m12, xform.m21, xform.m22, xform.dx, xform.dy};
    const char16_t* const labels[6] = {u"M11", u"M12", u"M21", u"M22", u"Dx ", u"Dy "};
    for (int i = 0; i < 6; ++i) {
        FixedWideText<kFixed6MaxUnits + 1> number;
        FormatFixed6(number, members[i]);
        out.Print(u"\r\n\t  lpXform->e%s = %s", labels[i], number.c_str());
    }
    return out.size();
}

size_t FormatBitmapInfoHeaderBlock(WideText& out, const BitmapInfoHeader& header) {
    out.Clear();
    out.Print(
        u"\r\n\t  lpBMIH->biSize = %d;\r\n\t  lpBMIH->biWidth = %d;\r\n\t  lpBMIH->biHeight = "
        u"%d;\r\n\t  lpBMIH->biPlanes = %d;\r\n\t  lpBMIH->biBitCount = %d;\r\n\t  "
        u"lpBMIH->biCompression = %d;\r\n\t  lpBMIH->biSizeImage = %d;\r\n\t  "
        u"lpBMIH->biXPelsPerMeter = %d;\r\n\t  lpBMIH->biYPelsPerMeter = %d;\r\n\t  "
        u"lpBMIH->biClrUsed = %d;\r\n\t  lpBMIH->biClrImportant = %d;",
        header.size, header.width, header.height, header.planes, header.bit_count,
        header.compression, header.size_image, header.x_pels_per_meter, header.y_pels_per_meter,
        header.clr_used, header.clr_important);
    return out.size();
}

size_t FormatRgnDataHeaderBlock(WideText& out, const RgnDataHeader& header) {
    out.Clear();
    out.Print(
        u"\r\n\t  pRDH->dwSize = %d;\r\n\t  pRDH->iType = RDH_RECTANGLES;\r\n\t  pRDH->nCount = "
        u"%d;\r\n\t  pRDH->nRgnSize = %d;\r\n\t  pRDH->rcBound = RECT(%d, %d, %d, %d);",
        header.size, header.count, header.rgn_size, header.left, header.top, header.right,
        header.bottom);
    return out.size();
}

size_t FormatRgnRectList(WideText& out, uint32_t count, RecordReader& record, uint32_t first_rect) {
    out.Clear();
    out.Append(u"\r\n\t  // the region is made up by the following rect(s);");
    out.Print(u"\r\n\t  // number of rect(s) (pRDH->nCount): %d", count);
    for (uint32_t k = 0; k < count; ++k) {
        if (k == kRectsListed) {
            out.Print(u"\r\n\t  // %d more rect(s) is(are) bypassed...", count - kRectsListed);
            break;
        }
        const uint32_t offset = first_rect + k * kRectBytes;
        if (first_rect > UINT32_MAX - k * kRectBytes || !record.Has(offset, kRectBytes)) {
            AppendBeyondRecordNote(out, count - k, u"rect");
            break;
        }
        out.Print(u"\r\n\t  //   %d. (%d, %d, %d, %d)", k + 1, record.I32(offset),
                  record.I32(offset + 4), record.I32(offset + 8), record.I32(offset + 12));
    }
    return out.size();
}

size_t FormatRgnDataBlock(WideText& out, RecordReader& record, uint32_t offset) {
    out.Clear();
    out.Append(u"\r\n\t  const RGNDATAHEADER* pRDH = &(pRgnData->rdh);");
    RgnDataHeader header;
    if (!ReadRgnDataHeader(record, offset, &header)) {
        AppendStructureBeyondRecordNote(out, u"RGNDATAHEADER");
        return out.size();
    }
    FixedWideText<512> header_block;
    FormatRgnDataHeaderBlock(header_block, header);
    out.Append(header_block.view());
    FixedWideText<1024> rect_list;
    FormatRgnRectList(rect_list, header.count, record, offset + kRgnDataHeaderBytes);
    out.Append(rect_list.view());
    return out.size();
}
