// The decoded fields of one EMF+ record as one line of text.
#include "emfplus/emfplus_decode.h"

#include "emfplus/decode_support.h"
#include "emfplus/emfplus_names.h"

namespace {

constexpr uint32_t kD = kPlusData;

// Each decoder writes the fields of one record family; `r` reads the record's own bytes.
struct Decode {
    const EmfPlusRecordRef& rec;
    RecordReader& r;
    WideText& out;

    uint16_t flags() const { return rec.flags; }
    uint32_t object_id() const { return rec.flags & 0xFFu; }
    bool compressed() const { return (rec.flags & kFlagCompressed) != 0; }
    // False, with the too-short mark written, when the record ends before `bytes` data bytes.
    bool Need(uint32_t bytes) {
        if (r.Has(kD, bytes)) {
            return true;
        }
        AppendTooShort(out);
        return false;
    }
    void Float(uint32_t offset) { AppendFloat(out, r.F32(offset)); }
    void Rect(uint32_t offset, bool compressed_rect) {
        if (!AppendRect(out, r, offset, compressed_rect)) {
            AppendTooShort(out);
        }
    }
    void Angles(uint32_t offset) {
        out.Append(u"start ");
        Float(offset);
        out.Append(u", sweep ");
        Float(offset + 4);
    }
    void Order() {
        out.Append(u", ");
        AppendSymbol(out, kEmfPlusMatrixOrderSymbols, (rec.flags & 0x2000) ? 1 : 0);
    }
};

void DecodeHeader(Decode& d) {
    if (!d.Need(16)) {
        return;
    }
    const uint32_t version = d.r.U32(kD);
    d.out.Print(u"version 0x%08X (", version);
    AppendSymbol(d.out, kEmfPlusGraphicsVersionSymbols, version & 0xFFF, u"%d");
    if ((version >> 12) != 0xDBC01) {
        d.out.Append(u", not the EMF+ signature");
    }
    d.out.Append((d.flags() & 1) ? u"), dual" : u"), EMF+ only");
    d.out.Append((d.r.U32(kD + 4) & 1) ? u", video display" : u", printer");
    d.out.Print(u", DPI %u x %u", d.r.U32(kD + 8), d.r.U32(kD + 12));
}

void DecodeObject(Decode& d, const ObjectPart& part) {
    const uint32_t type = (d.flags() >> 8) & 0x7F;
    AppendSymbol(d.out, kEmfPlusObjectTypeSymbols, type);
    d.out.Print(u" #%u", d.object_id());
    uint32_t data = kD;
    if (d.flags() & 0x8000) {
        if (!d.r.Has(kD, 4)) {
            d.out.Append(u": ");
            AppendTooShort(d.out);
            return;
        }
        data = kD + 4;
    }
    if (part.part > 1) {
        d.out.Print(u" continued: part %u of %u, %u bytes", part.part, part.parts,
                    d.r.size() - data);
        return;
    }
    if (part.part == 1) {
        const uint32_t total = d.r.U32(kD);
        const uint32_t held =
            part.bytes < UINT32_MAX ? static_cast<uint32_t>(part.bytes) : UINT32_MAX;
        d.out.Print(
            part.parts == 1 ? u" in %u part, %u bytes in all" : u" in %u parts, %u bytes in all",
            part.parts, total);
        if (part.bytes < total) {
            d.out.Print(u", incomplete: its parts hold %u", held);
        } else if (part.bytes > total) {
            d.out.Print(u", inconsistent: its parts hold %u", held);
        } else if (!part.consistent) {
            d.out.Append(u", inconsistent: a part gives another total");
        }
        if (part.whole) {
            RecordReader whole(part.whole);
            d.out.Append(u": ");
            AppendObject(d.out, whole, kD, type);
            return;
        }
    }
    d.out.Append(u": ");
    AppendObject(d.out, d.r, data, type);
}

// FillRects, FillPolygon, FillEllipse, FillPie, FillRegion, FillPath, FillClosedCurve.
void DecodeFill(Decode& d) {
    if (!d.Need(4)) {
        return;
    }
    AppendBrush(d.out, d.r, d.flags(), kD);
    d.out.Append(u", ");
    switch (d.rec.type) {
        case kEmfPlusFillRects:
            if (d.Need(8)) {
                AppendRects(d.out, d.r, kD + 8, d.r.U32(kD + 4), d.compressed());
            }
            return;
        case kEmfPlusFillPolygon:
            if (d.Need(8)) {
                AppendPoints(d.out, d.r, kD + 8, d.r.U32(kD + 4), PointFormOf(d.flags()));
            }
            return;
        case kEmfPlusFillEllipse:
            d.Rect(kD + 4, d.compressed());
            return;
        case kEmfPlusFillPie:
            if (d.Need(12)) {
                d.Angles(kD + 4);
                d.out.Append(u", ");
                d.Rect(kD + 12, d.compressed());
            }
            return;
        case kEmfPlusFillRegion:
            d.out.Print(u"region #%u", d.object_id());
            return;
        case kEmfPlusFillPath:
            d.out.Print(u"path #%u", d.object_id());
            return;
        default:  // FillClosedCurve
            if (d.Need(12)) {
                d.out.Append((d.flags() & 0x2000) ? u"winding, tension " : u"alternate, tension ");
                d.Float(kD + 4);
                d.out.Append(u", ");
                AppendPoints(d.out, d.r, kD + 12, d.r.U32(kD + 8), PointFormOf(d.flags()));
            }
            return;
    }
}

// DrawRects, DrawLines, DrawEllipse, DrawPie, DrawArc, DrawPath, DrawClosedCurve, DrawCurve,
// DrawBeziers: the pen is the object id, but for DrawPath, whose object id is the path.
void DecodeDraw(Decode& d) {
    if (d.rec.type == kEmfPlusDrawPath) {
        if (d.Need(4)) {
            d.out.Print(u"pen #%u, path #%u", d.r.U32(kD), d.object_id());
        }
        return;
    }
    d.out.Print(u"pen #%u, ", d.object_id());
    switch (d.rec.type) {
        case kEmfPlusDrawRects:
            if (d.Need(4)) {
                AppendRects(d.out, d.r, kD + 4, d.r.U32(kD), d.compressed());
            }
            return;
        case kEmfPlusDrawLines:
        case kEmfPlusDrawBeziers:
            if (d.Need(4)) {
                if (d.rec.type == kEmfPlusDrawLines && (d.flags() & 0x2000)) {
                    d.out.Append(u"closed, ");
                }
                AppendPoints(d.out, d.r, kD + 4, d.r.U32(kD), PointFormOf(d.flags()));
            }
            return;
        case kEmfPlusDrawEllipse:
            d.Rect(kD, d.compressed());
            return;
        case kEmfPlusDrawPie:
        case kEmfPlusDrawArc:
            if (d.Need(8)) {
                d.Angles(kD);
                d.out.Append(u", ");
                d.Rect(kD + 8, d.compressed());
            }
            return;
        case kEmfPlusDrawClosedCurve:
            if (d.Need(8)) {
                d.out.Append(u"tension ");
                d.Float(kD);
                d.out.Append(u", ");
                AppendPoints(d.out, d.r, kD + 8, d.r.U32(kD + 4), PointFormOf(d.flags()));
            }
            return;
        default:  // DrawCurve: absolute points only
            if (d.Need(16)) {
                d.out.Append(u"tension ");
                d.Float(kD);
                d.out.Print(u", offset %u, %u segments, ", d.r.U32(kD + 4), d.r.U32(kD + 8));
                AppendPoints(d.out, d.r, kD + 16, d.r.U32(kD + 12),
                             d.compressed() ? PointForm::kInt16 : PointForm::kFloat);
            }
            return;
    }
}

void DecodeImage(Decode& d) {
    if (!d.Need(24)) {
        return;
    }
    d.out.Print(u"image #%u, attributes #%u, source ", d.object_id(), d.r.U32(kD));
    AppendSymbol(d.out, kEmfPlusUnitSymbols, d.r.U32(kD + 4));
    d.out.Append(u' ');
    d.Rect(kD + 8, false);
    if (d.rec.type == kEmfPlusDrawImage) {
        d.out.Append(u", destination ");
        d.Rect(kD + 24, d.compressed());
        return;
    }
    if (!d.Need(28)) {
        return;
    }
    if (d.flags() & 0x2000) {
        d.out.Append(u", effect");
    }
    d.out.Append(u", destination ");
    AppendPoints(d.out, d.r, kD + 28, d.r.U32(kD + 24), PointFormOf(d.flags()));
}

void DecodeString(Decode& d) {
    if (!d.Need(28)) {
        return;
    }
    d.out.Print(u"font #%u, ", d.object_id());
    AppendBrush(d.out, d.r, d.flags(), kD);
    d.out.Print(u", format #%u, layout ", d.r.U32(kD + 4));
    d.Rect(kD + 12, false);
    d.out.Append(u", ");
    AppendQuoted(d.out, d.r, kD + 28, d.r.U32(kD + 8));
}

void DecodeDriverString(Decode& d) {
    if (!d.Need(16)) {
        return;
    }
    const uint32_t options = d.r.U32(kD + 4);
    const uint32_t count = d.r.U32(kD + 12);
    d.out.Print(u"font #%u, ", d.object_id());
    AppendBrush(d.out, d.r, d.flags(), kD);
    d.out.Print(u", options 0x%08X", options);
    constexpr const char16_t* kOptions[] = {u"CmapLookup", u"Vertical", u"RealizedAdvance",
                                            u"LimitSubpixel"};
    for (uint32_t bit = 0; bit < 4; ++bit) {
        if (options & (1u << bit)) {
            d.out.Print(u" %s", kOptions[bit]);
        }
    }
    if (d.r.U32(kD + 8) != 0) {
        d.out.Append(u", with matrix");
    }
    const uint32_t glyphs = kD + 16;
    if (options & 1) {
        // With a character map look-up the glyphs are UTF-16 characters.
        d.out.Print(u", %u characters ", count);
        AppendQuoted(d.out, d.r, glyphs, count);
    } else {
        const uint32_t inside = d.r.CountInside(glyphs, count, 2);
        const uint32_t listed = inside < kEmfPlusListCap ? inside : kEmfPlusListCap;
        d.out.Print(u", %u glyphs", count);
        for (uint32_t k = 0; k < listed; ++k) {
            d.out.Print(k == 0 ? u": %u" : u", %u", d.r.U16(glyphs + 2 * k));
        }
        if (inside > listed) {
            d.out.Print(u" (%u more glyphs not listed)", inside - listed);
        }
        if (count > inside) {
            d.out.Print(u" (%u glyphs beyond the record)", count - inside);
        }
    }
    // The positions follow the glyphs; the first says where the text starts.
    if (count > 0 && d.r.HasArray(glyphs, count, 2)) {
        const uint64_t first = glyphs + 2ull * count;
        if (first <= d.r.size() && d.r.Has(static_cast<uint32_t>(first), 8)) {
            d.out.Append(u", at (");
            d.Float(static_cast<uint32_t>(first));
            d.out.Append(u", ");
            d.Float(static_cast<uint32_t>(first) + 4);
            d.out.Append(u')');
        }
    }
}

void DecodeMode(Decode& d, const SymbolTable& table, uint32_t value) {
    AppendSymbol(d.out, table, value, u"%d");
}

void DecodeContainer(Decode& d) {
    if (d.rec.type == kEmfPlusBeginContainer) {
        if (!d.Need(36)) {
            return;
        }
        AppendSymbol(d.out, kEmfPlusUnitSymbols, (d.flags() >> 8) & 0xFF);
        d.out.Append(u", destination ");
        d.Rect(kD, false);
        d.out.Append(u", source ");
        d.Rect(kD + 16, false);
        d.out.Print(u", stack index %u", d.r.U32(kD + 32));
        return;
    }
    if (d.Need(4)) {
        d.out.Print(u"stack index %u", d.r.U32(kD));
    }
}

void DecodeTransform(Decode& d) {
    switch (d.rec.type) {
        case kEmfPlusSetWorldTransform:
        case kEmfPlusMultiplyWorldTransform:
            if (!d.Need(24)) {
                return;
            }
            d.out.Append(u"matrix ");
            AppendMatrix(d.out, d.r, kD);
            if (d.rec.type == kEmfPlusMultiplyWorldTransform) {
                d.Order();
            }
            return;
        case kEmfPlusTranslateWorldTransform:
        case kEmfPlusScaleWorldTransform:
            if (!d.Need(8)) {
                return;
            }
            d.out.Append(d.rec.type == kEmfPlusTranslateWorldTransform ? u"dx " : u"sx ");
            d.Float(kD);
            d.out.Append(d.rec.type == kEmfPlusTranslateWorldTransform ? u", dy " : u", sy ");
            d.Float(kD + 4);
            d.Order();
            return;
        case kEmfPlusRotateWorldTransform:
            if (d.Need(4)) {
                d.out.Append(u"angle ");
                d.Float(kD);
                d.Order();
            }
            return;
        default:  // SetPageTransform
            if (d.Need(4)) {
                AppendSymbol(d.out, kEmfPlusUnitSymbols, d.flags() & 0xFF);
                d.out.Append(u", scale ");
                d.Float(kD);
            }
            return;
    }
}

void DecodeClip(Decode& d) {
    if (d.rec.type == kEmfPlusOffsetClip) {
        if (d.Need(8)) {
            d.out.Append(u"dx ");
            d.Float(kD);
            d.out.Append(u", dy ");
            d.Float(kD + 4);
        }
        return;
    }
    AppendSymbol(d.out, kEmfPlusCombineModeSymbols, (d.flags() >> 8) & 0xF, u"%d");
    if (d.rec.type == kEmfPlusSetClipRect) {
        d.out.Append(u", ");
        d.Rect(kD, false);
    } else if (d.rec.type == kEmfPlusSetClipPath) {
        d.out.Print(u", path #%u", d.object_id());
    } else {
        d.out.Print(u", region #%u", d.object_id());
    }
}

void DecodeTerminalServer(Decode& d) {
    if (d.rec.type == kEmfPlusSetTSClip) {
        const uint32_t count = d.flags() & 0x7FFF;
        if (d.flags() & 0x8000) {
            d.out.Print(u"%u rects (compressed), %u bytes", count, d.r.size() - kD);
            return;
        }
        const uint32_t inside = d.r.CountInside(kD, count, 8);
        const uint32_t listed = inside < kEmfPlusListCap ? inside : kEmfPlusListCap;
        d.out.Print(u"%u rects", count);
        for (uint32_t k = 0; k < listed; ++k) {
            const uint32_t at = kD + 8 * k;
            d.out.Print(k == 0 ? u": (%d, %d, %d, %d)" : u", (%d, %d, %d, %d)", d.r.I16(at),
                        d.r.I16(at + 2), d.r.I16(at + 4), d.r.I16(at + 6));
        }
        if (inside > listed) {
            d.out.Print(u" (%u more rects not listed)", inside - listed);
        }
        if (count > inside) {
            d.out.Print(u" (%u rects beyond the record)", count - inside);
        }
        return;
    }
    if (!d.Need(36)) {
        return;
    }
    AppendSymbol(d.out, kEmfPlusSmoothingModeSymbols, d.r.U8(kD), u"%d");
    d.out.Append(u", ");
    AppendSymbol(d.out, kEmfPlusTextRenderingHintSymbols, d.r.U8(kD + 1), u"%d");
    d.out.Append(u", ");
    AppendSymbol(d.out, kEmfPlusCompositingModeSymbols, d.r.U8(kD + 2), u"%d");
    d.out.Append(u", ");
    AppendSymbol(d.out, kEmfPlusCompositingQualitySymbols, d.r.U8(kD + 3), u"%d");
    d.out.Print(u", origin (%d, %d), contrast %u, filter %u, ", d.r.I16(kD + 4), d.r.I16(kD + 6),
                d.r.U16(kD + 8), d.r.U8(kD + 10));
    AppendSymbol(d.out, kEmfPlusPixelOffsetModeSymbols, d.r.U8(kD + 11), u"%d");
    d.out.Append(u", matrix ");
    AppendMatrix(d.out, d.r, kD + 12);
}

void DecodeSerializable(Decode& d) {
    if (!d.Need(20)) {
        return;
    }
    d.out.Print(u"{%08X-%04X-%04X-", d.r.U32(kD), d.r.U16(kD + 4), d.r.U16(kD + 6));
    for (uint32_t k = 0; k < 8; ++k) {
        d.out.Print(k == 2 ? u"-%02X" : u"%02X", d.r.U8(kD + 8 + k));
    }
    d.out.Print(u"}, %u bytes", d.r.U32(kD + 16));
}

}  // namespace

void DecodeEmfPlusFields(const EmfPlusRecordRef& record, const ObjectPart& part, WideText& out) {
    out.Clear();
    RecordReader reader(record.view);
    Decode d{record, reader, out};
    const uint16_t low = record.flags & 0xFF;
    switch (record.type) {
        case kEmfPlusHeader:
            DecodeHeader(d);
            return;
        case kEmfPlusEndOfFile:
        case kEmfPlusGetDC:
        case kEmfPlusResetWorldTransform:
        case kEmfPlusResetClip:
        case kEmfPlusStrokeFillPath:
            return;
        case kEmfPlusObject:
            DecodeObject(d, part);
            return;
        case kEmfPlusClear:
            if (d.Need(4)) {
                AppendColor(out, reader.U32(kD));
            }
            return;
        case kEmfPlusFillRects:
        case kEmfPlusFillPolygon:
        case kEmfPlusFillEllipse:
        case kEmfPlusFillPie:
        case kEmfPlusFillRegion:
        case kEmfPlusFillPath:
        case kEmfPlusFillClosedCurve:
            DecodeFill(d);
            return;
        case kEmfPlusDrawRects:
        case kEmfPlusDrawLines:
        case kEmfPlusDrawEllipse:
        case kEmfPlusDrawPie:
        case kEmfPlusDrawArc:
        case kEmfPlusDrawPath:
        case kEmfPlusDrawClosedCurve:
        case kEmfPlusDrawCurve:
        case kEmfPlusDrawBeziers:
            DecodeDraw(d);
            return;
        case kEmfPlusDrawImage:
        case kEmfPlusDrawImagePoints:
            DecodeImage(d);
            return;
        case kEmfPlusDrawString:
            DecodeString(d);
            return;
        case kEmfPlusDrawDriverString:
            DecodeDriverString(d);
            return;
        case kEmfPlusSetRenderingOrigin:
            if (d.Need(8)) {
                out.Print(u"(%d, %d)", reader.I32(kD), reader.I32(kD + 4));
            }
            return;
        case kEmfPlusSetAntiAliasMode:
            DecodeMode(d, kEmfPlusSmoothingModeSymbols, (record.flags >> 1) & 0x7F);
            out.Append((record.flags & 1) ? u", anti-aliased" : u", not anti-aliased");
            return;
        case kEmfPlusSetTextRenderingHint:
            DecodeMode(d, kEmfPlusTextRenderingHintSymbols, low);
            return;
        case kEmfPlusSetTextContrast:
            out.Print(u"%u", record.flags & 0xFFF);
            return;
        case kEmfPlusSetInterpolationMode:
            DecodeMode(d, kEmfPlusInterpolationModeSymbols, low);
            return;
        case kEmfPlusSetPixelOffsetMode:
            DecodeMode(d, kEmfPlusPixelOffsetModeSymbols, low);
            return;
        case kEmfPlusSetCompositingMode:
            DecodeMode(d, kEmfPlusCompositingModeSymbols, low);
            return;
        case kEmfPlusSetCompositingQuality:
            DecodeMode(d, kEmfPlusCompositingQualitySymbols, low);
            return;
        case kEmfPlusSave:
        case kEmfPlusRestore:
        case kEmfPlusBeginContainer:
        case kEmfPlusBeginContainerNoParams:
        case kEmfPlusEndContainer:
            DecodeContainer(d);
            return;
        case kEmfPlusSetWorldTransform:
        case kEmfPlusMultiplyWorldTransform:
        case kEmfPlusTranslateWorldTransform:
        case kEmfPlusScaleWorldTransform:
        case kEmfPlusRotateWorldTransform:
        case kEmfPlusSetPageTransform:
            DecodeTransform(d);
            return;
        case kEmfPlusSetClipRect:
        case kEmfPlusSetClipPath:
        case kEmfPlusSetClipRegion:
        case kEmfPlusOffsetClip:
            DecodeClip(d);
            return;
        case kEmfPlusSetTSGraphics:
        case kEmfPlusSetTSClip:
            DecodeTerminalServer(d);
            return;
        case kEmfPlusSerializableObject:
            DecodeSerializable(d);
            return;
        default:  // Comment, the reserved multi-format records and unknown types
            out.Print(u"%u data bytes", reader.size() - kD);
            return;
    }
}
