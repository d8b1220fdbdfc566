// Formatters of text output and fonts.
#include "calls/format_support.h"
#include "calls/symbols.h"
#include "text/codepage.h"
#include "text/utf16.h"

namespace {

// A record's text is shown as one formatted print would show it: at most 1,023 units.
constexpr size_t kTextPieceUnits = kWidePrintLimit - 1;
// Spacing values listed before the rest are only counted, as other long lists are.
constexpr uint32_t kSpacingListed = 32;
constexpr uint32_t kFaceNameUnits = 32;

constexpr uint32_t kEmrExtTextOutA = 83;
constexpr uint32_t kEtoNoRect = 0x0100;
constexpr uint32_t kEtoSmallChars = 0x0200;

// Appends up to `count` UTF-16 units read from `offset`, all of which must lie inside the
// record, to `out`, stopping at a NUL or where `out` would exceed `cap` units. A lone surrogate
// becomes U+FFFD and a pair is never split. Returns true when every unit was taken.
bool TakeWideUnits(RecordReader& r, uint32_t offset, uint32_t count, size_t cap, WideText& out) {
    uint32_t i = 0;
    while (i < count) {
        const char16_t unit = r.U16(offset + 2 * i);
        if (unit == 0) {
            return false;
        }
        if (IsHighSurrogate(unit) && i + 1 < count) {
            const char16_t low = r.U16(offset + 2 * i + 2);
            if (IsLowSurrogate(low)) {
                if (out.size() + 2 > cap) {
                    return false;
                }
                const char16_t pair[2] = {unit, low};
                out.Append(std::u16string_view(pair, 2));
                i += 2;
                continue;
            }
        }
        if (out.size() + 1 > cap) {
            return false;
        }
        const bool lone = IsSurrogate(unit);
        out.Append(lone ? char16_t{0xFFFD} : unit);
        ++i;
    }
    return true;
}

// The same for 8-bit text, converted from Windows-1252.
bool TakeAnsiBytes(RecordReader& r, uint32_t offset, uint32_t count, size_t cap, WideText& out) {
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t byte = r.U8(offset + i);
        if (byte == 0 || out.size() + 1 > cap) {
            return false;
        }
        out.Append(Windows1252ToUtf16(byte));
    }
    return true;
}

// Appends the record's text: `count` characters from `offset`, one byte or one UTF-16 unit
// each, up to its first NUL and at most 1,023 units. Only the characters inside the record are
// read. Returns how many characters the text would still show but that lie beyond the record.
uint32_t AppendTextPiece(WideText& args, RecordReader& r, uint32_t offset, uint32_t count,
                         bool eight_bit) {
    const uint32_t width = eight_bit ? 1 : 2;
    const uint32_t inside = r.CountInside(offset, count, width);
    FixedWideText<kTextPieceUnits + 1> piece;
    const bool took_all = eight_bit ? TakeAnsiBytes(r, offset, inside, kTextPieceUnits, piece)
                                    : TakeWideUnits(r, offset, inside, kTextPieceUnits, piece);
    args.Append(piece.view());
    // A text that ended at a NUL or at the length limit would not show the rest anyway.
    if (!took_all || piece.size() >= kTextPieceUnits) {
        return 0;
    }
    return count - inside;
}

void AppendCharactersBeyondNote(WideText& args, uint32_t beyond) {
    if (beyond != 0) {
        AppendBeyondRecordNote(args, beyond, u"character");
    }
}

// The option flags that have names, joined by " | ", or "0" when none is set.
void NameTextOptions(WideText& out, uint32_t options) {
    static constexpr struct {
        uint32_t bit;
        const char16_t* name;
    } kFlags[] = {
        {0x0002, u"ETO_OPAQUE"},         {0x0004, u"ETO_CLIPPED"},
        {0x0010, u"ETO_GLYPH_INDEX"},    {0x0080, u"ETO_RTLREADING"},
        {0x0400, u"ETO_NUMERICSLOCAL"},  {0x0800, u"ETO_NUMERICSLATIN"},
        {0x1000, u"ETO_IGNORELANGUAGE"}, {0x2000, u"ETO_PDY"},
    };
    out.Clear();
    for (const auto& flag : kFlags) {
        if ((options & flag.bit) == 0) {
            continue;
        }
        if (out.size() != 0) {
            out.Append(u" | ");
        }
        out.Append(flag.name);
    }
    if (out.size() == 0) {
        out.Append(u"0");
    }
}

// The spacing array: the first values inside the record, then how many were not listed.
void AppendSpacingBlock(WideText& args, RecordReader& r, uint32_t off_dx, int32_t n_chars) {
    args.Append(u"\r\n\t  // Parameter(s):\r\n\t  int* lpDx:");
    if (n_chars <= 0) {
        return;
    }
    const uint32_t count = static_cast<uint32_t>(n_chars);
    const uint32_t inside = r.CountInside(off_dx, count, 4);
    const uint32_t listed = inside < kSpacingListed ? inside : kSpacingListed;
    for (uint32_t i = 0; i < listed; ++i) {
        args.Print(u"\r\n\t  lpDx[%d] = %d;", i, r.I32(off_dx + 4 * i));
    }
    if (inside > listed) {
        args.Print(u"\r\n\t  // %d more lpDx value(s) is(are) bypassed...", inside - listed);
    }
    if (count > inside) {
        AppendBeyondRecordNote(args, count - inside, u"lpDx value");
    }
}

void AppendLogFontBlock(WideText& args, RecordReader& r, std::u16string_view face) {
    FixedWideText<64> weight;
    FixedWideText<64> charset;
    FixedWideText<64> out_precision;
    FixedWideText<64> clip_precision;
    FixedWideText<64> quality;
    FixedWideText<64> pitch;
    FixedWideText<64> family;
    LookupSymbol(kFontWeightSymbols, r.U32(28), u"%d", weight);
    LookupSymbol(kCharSetSymbols, r.U8(35), u"%d", charset);
    LookupSymbol(kOutPrecisionSymbols, r.U8(36), u"%d", out_precision);
    LookupSymbol(kClipPrecisionSymbols, r.U8(37), u"%d", clip_precision);
    LookupSymbol(kFontQualitySymbols, r.U8(38), u"%d", quality);
    const uint8_t pitch_and_family = r.U8(39);
    LookupSymbol(kPitchSymbols, pitch_and_family & 0x0F, u"__unknown pitch:%d__", pitch);
    LookupSymbol(kFontFamilySymbols, pitch_and_family & 0xF0, u"%d", family);
    auto truth = [&r](uint32_t offset) { return r.U8(offset) != 0 ? u"TRUE" : u"FALSE"; };

    args.Append(u"\t  // Parameter(s):\r\n\t  LOGFONT lf;\r\n");
    args.Print(u"\t  lf.lfHeight = %d;\r\n", r.I32(12));
    args.Print(u"\t  lf.lfWidth = %d;\r\n", r.I32(16));
    args.Print(u"\t  lf.lfEscapement = %d;\r\n", r.I32(20));
    args.Print(u"\t  lf.lfOrientation = %d;\r\n", r.I32(24));
    args.Print(u"\t  lf.lfWeight = %s;\r\n", weight.c_str());
    args.Print(u"\t  lf.lfItalic = %s;\r\n", truth(32));
    args.Print(u"\t  lf.lfUnderline = %s;\r\n", truth(33));
    args.Print(u"\t  lf.lfStrikeOut = %s;\r\n", truth(34));
    args.Print(u"\t  lf.lfCharSet = %s;\r\n", charset.c_str());
    args.Print(u"\t  lf.lfOutPrecision = %s;\r\n", out_precision.c_str());
    args.Print(u"\t  lf.lfClipPrecision = %s;\r\n", clip_precision.c_str());
    args.Print(u"\t  lf.lfQuality = %s;\r\n", quality.c_str());
    args.Print(u"\t  lf.lfPitchAndFamily = %s | %s;\r\n", pitch.c_str(), family.c_str());
    args.Append(u"\t  lstrcpy(lf.lfFaceName, _T(\"");
    args.Append(face);
    args.Append(u"\"));");
}

}  // namespace

int FormatSmallTextOut(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, 24)) {
        return FormatUntranslated(args);
    }
    const uint32_t count = r.U32(16);
    const uint32_t options = r.U32(20);
    const uint32_t text_offset = (options & kEtoNoRect) != 0 ? 36 : 52;
    args.Print(u"(hDC, %ld, %ld, _T(\"", r.I32(8), r.I32(12));
    const uint32_t beyond =
        AppendTextPiece(args, r, text_offset, count, (options & kEtoSmallChars) != 0);
    args.Print(u"\"), %ld);    // EMRSMALLTEXTOUT", count);
    AppendCharactersBeyondNote(args, beyond);
    return 1;
}

int FormatExtTextOut(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, 76)) {
        return FormatUntranslated(args);
    }
    const uint32_t n_chars = r.U32(44);
    FixedWideText<256> options;
    NameTextOptions(options, r.U32(52));
    args.Print(u"(hDC, %d, %d, %s, RECT(%d, %d, %d, %d), _T(\"", r.I32(36), r.I32(40),
               options.c_str(), r.I32(56), r.I32(60), r.I32(64), r.I32(68));
    const uint32_t beyond =
        AppendTextPiece(args, r, r.U32(48), n_chars, r.U32(0) == kEmrExtTextOutA);
    args.Print(u"\"), %d, lpDx);", n_chars);
    AppendCharactersBeyondNote(args, beyond);
    if (VerboseFlag() != 0) {
        AppendSpacingBlock(args, r, r.U32(72), static_cast<int32_t>(n_chars));
    }
    return 1;
}

int FormatCreateFont(RecordView record, WideText& args) {
    RecordReader r(record);
    // The whole LOGFONTW, face name included, must lie inside the record.
    if (!r.Has(0, 40 + 2 * kFaceNameUnits)) {
        return FormatUntranslated(args);
    }
    FixedWideText<2 * kFaceNameUnits + 1> face;
    TakeWideUnits(r, 40, kFaceNameUnits, kFaceNameUnits, face);
    args.Print(u"(&lf);    // %s, ihFont = %d\r\n", face.c_str(), r.U32(8));
    if (VerboseFlag() != 0) {
        AppendLogFontBlock(args, r, face.view());
    }
    return 1;
}
