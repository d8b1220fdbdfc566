// Decides whether one record is structurally sound enough to be handed to the platform's
// metafile player.
//
// The player reads a record as the platform's structure of its type and follows every count
// and offset in it without asking whether they stay inside the record, and it indexes its
// object table with whatever index the record names. So a record is sound when it is at
// least as long as the fixed structure of its type, every variable part it announces lies
// inside it after that structure, the parts that describe one another agree (counts and their
// sum, a bitmap header and its colour table and bits, a region header and its rectangles), and
// every object index lies inside the table. Values the player checks itself (a pen style, a
// bitmap's bit count, a region's iType) are left to it.
#include "document/record_guard.h"

#include <climits>

#include "document/emf_format.h"
#include "document/record_types.h"

namespace {

constexpr uint32_t kStockObject = 0x80000000;

// How a record uses an object index.
enum class IndexUse {
    // Creates an object in the table: a table slot, never a stock object.
    kCreate,
    // Selects an object: a table slot, or a stock object, which the player takes from the
    // platform rather than from its table.
    kSelect,
    // Uses or deletes the object in a table slot: the player looks the index up in its table
    // whatever its top bit says, so a stock object here would be read from outside the table.
    kTable,
};

// One record under examination: its fields, and the first fault found. Later checks after a
// fault do no harm and change nothing, so the family checks read straight through.
class Check {
  public:
    Check(RecordView record, uint32_t structure, uint32_t handles)
        : reader_(record), structure_(structure), handles_(handles) {}

    const GuardVerdict& verdict() const { return verdict_; }
    bool sound() const { return verdict_.sound(); }
    uint32_t size() const { return reader_.size(); }

    // Fields of the fixed structure (whose length was checked first) or of a part that was
    // checked to lie inside the record.
    uint32_t U32(uint32_t offset) { return reader_.U32(offset); }
    int32_t I32(uint32_t offset) { return reader_.I32(offset); }
    uint16_t U16(uint32_t offset) { return reader_.U16(offset); }

    bool Fail(GuardFault fault, const char* field) {
        if (verdict_.sound()) {
            verdict_ = GuardVerdict{fault, field};
        }
        return false;
    }

    // `count` elements of `width` bytes from `offset`, a place the structure fixes.
    bool Elements(uint32_t offset, uint64_t count, uint32_t width, const char* field) {
        if (offset > size() || count > (size() - offset) / width) {
            return Fail(GuardFault::kCountBeyondRecord, field);
        }
        return true;
    }

    // `length` bytes from `offset`, an offset the record gives: after the fixed structure and
    // inside the record. An empty part may stand anywhere, as it is never read.
    bool Part(uint32_t offset, uint64_t length, const char* field) {
        if (length == 0) {
            return true;
        }
        if (offset < structure_) {
            return Fail(GuardFault::kOffsetIntoStructure, field);
        }
        if (offset > size() || length > size() - offset) {
            return Fail(GuardFault::kOffsetBeyondRecord, field);
        }
        return true;
    }

    bool ObjectIndex(uint32_t offset, IndexUse use, const char* field) {
        const uint32_t index = U32(offset);
        if ((index & kStockObject) != 0) {
            return use == IndexUse::kSelect || Fail(GuardFault::kStockObjectNotAllowed, field);
        }
        if (index == 0 || index >= handles_) {
            return Fail(GuardFault::kObjectIndexOutsideTable, field);
        }
        return true;
    }

  private:
    RecordReader reader_;
    uint32_t structure_;
    uint32_t handles_;
    GuardVerdict verdict_;
};

uint64_t Magnitude(int32_t value) {
    return value < 0 ? static_cast<uint64_t>(-static_cast<int64_t>(value))
                     : static_cast<uint64_t>(value);
}

// Where a record keeps one device-independent bitmap: the field offsets of its four
// offset/size fields, and its colour usage.
struct BitmapFields {
    uint32_t off_bmi;
    uint32_t off_bits;
    uint32_t usage;
    // The scan lines the player reads at most; the whole image unless the record says fewer.
    uint64_t max_lines;
    const char* bmi_name;
    const char* bits_name;
};

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kBiAlphaBitfields = 6;
constexpr uint32_t kCoreHeaderBytes = 12;
constexpr uint32_t kInfoHeaderBytes = 40;

// The number of bytes of bits an uncompressed image of these dimensions needs, or more than
// any record can hold when it would not fit 64 bits.
uint64_t ImageBytes(uint64_t width, uint64_t height, uint32_t bit_count) {
    const uint64_t stride = (width * bit_count + 31) / 32 * 4;
    if (stride != 0 && height > UINT64_MAX / stride) {
        return UINT64_MAX;
    }
    return stride * height;
}

// A bitmap is absent when its header's size is 0 (writers then leave its offset at 0 or at the
// record's end). Otherwise the header, its colour table or masks and the bits the player
// derives from it must lie inside the record. The colour table is counted as the player counts
// it: biClrUsed entries (at most 256) when set, else one per colour of a bit count from 1 to 8
// (a bit count of 0 goes with JPEG or PNG bits, which have no table).
void CheckBitmap(Check& c, const BitmapFields& fields, uint32_t usage) {
    const uint32_t off_bmi = c.U32(fields.off_bmi);
    const uint32_t cb_bmi = c.U32(fields.off_bmi + 4);
    const uint32_t off_bits = c.U32(fields.off_bits);
    const uint32_t cb_bits = c.U32(fields.off_bits + 4);
    if (!c.Part(off_bits, cb_bits, fields.bits_name)) {
        return;
    }
    if (cb_bmi == 0) {
        if (off_bmi > c.size()) {
            c.Fail(GuardFault::kOffsetBeyondRecord, fields.bmi_name);
        }
        return;
    }
    if (!c.Part(off_bmi, cb_bmi, fields.bmi_name)) {
        return;
    }
    const uint32_t header_size = cb_bmi < 4 ? 0 : c.U32(off_bmi);
    if (header_size > cb_bmi ||
        (header_size != kCoreHeaderBytes && header_size < kInfoHeaderBytes)) {
        c.Fail(GuardFault::kPartsDisagree, "bmi.biSize");
        return;
    }
    const bool core = header_size == kCoreHeaderBytes;
    const uint64_t width = core ? c.U16(off_bmi + 4) : Magnitude(c.I32(off_bmi + 4));
    const uint64_t height = core ? c.U16(off_bmi + 6) : Magnitude(c.I32(off_bmi + 8));
    const uint32_t bit_count = core ? c.U16(off_bmi + 10) : c.U16(off_bmi + 14);
    const uint32_t compression = core ? kBiRgb : c.U32(off_bmi + 16);
    const uint32_t size_image = core ? 0 : c.U32(off_bmi + 20);
    const uint32_t clr_used = core ? 0 : c.U32(off_bmi + 32);

    uint64_t colors = bit_count >= 1 && bit_count <= 8 ? (uint64_t{1} << bit_count) : 0;
    if (clr_used != 0) {
        colors = clr_used < 256 ? clr_used : 256;
    }
    const uint32_t entry = usage == 0 ? (core ? 3 : 4) : 2;
    uint64_t info_size = header_size;
    if (!core && compression == kBiBitfields && info_size < kInfoHeaderBytes + 12) {
        info_size = kInfoHeaderBytes + 12;
    }
    if (!core && compression == kBiAlphaBitfields && info_size < kInfoHeaderBytes + 16) {
        info_size = kInfoHeaderBytes + 16;
    }
    if (info_size + colors * entry > cb_bmi) {
        c.Fail(GuardFault::kPartsDisagree, "bmi.bmiColors");
        return;
    }
    uint64_t needed = size_image;
    if (compression == kBiRgb || compression == kBiBitfields || compression == kBiAlphaBitfields) {
        needed =
            ImageBytes(width, height < fields.max_lines ? height : fields.max_lines, bit_count);
    }
    if (needed > cb_bits) {
        c.Fail(GuardFault::kPartsDisagree, fields.bits_name);
    }
}

void CheckBitmapWithUsageField(Check& c, const BitmapFields& fields) {
    CheckBitmap(c, fields, c.U32(fields.usage));
}

// Families of records, by the layout of their variable parts.

void CheckHeader(Check& c, RecordView record) {
    if (c.U32(kHeaderSignatureOffset) != kEnhMetaSignature) {
        c.Fail(GuardFault::kUnsafeValue, "dSignature");
    } else if (c.U16(kHeaderHandlesOffset) == 0) {
        c.Fail(GuardFault::kUnsafeValue, "nHandles");
    } else if (!HeaderDescriptionIsSound(record)) {
        c.Fail(GuardFault::kOffsetBeyondRecord, "offDescription");
    } else if (!HeaderPixelFormatIsSound(record)) {
        c.Fail(GuardFault::kOffsetBeyondRecord, "offPixelFormat");
    }
}

// EMR_EOF: the palette lies between offPalEntries and nSizeLast, the record's last field.
// Playback walks the records forwards, so what nSizeLast says is left alone: real writers put
// the file's size there.
void CheckEof(Check& c) {
    const uint32_t entries = c.U32(8);
    const uint32_t offset = c.U32(12);
    const uint32_t last = c.size() - 4;
    if (entries != 0 && offset < 16) {
        c.Fail(GuardFault::kOffsetIntoStructure, "offPalEntries");
    } else if (entries != 0 && (offset > last || entries > (last - offset) / 4)) {
        c.Fail(GuardFault::kCountBeyondRecord, "nPalEntries");
    }
}

void CheckPoints(Check& c, uint32_t width) {
    c.Elements(28, c.U32(24), width, "cptl");
}
void CheckPoints32(Check& c) {
    CheckPoints(c, 8);
}
void CheckPoints16(Check& c) {
    CheckPoints(c, 4);
}
// PolyDraw: the points, then one type byte per point.
void CheckPolyDraw32(Check& c) {
    CheckPoints(c, 9);
}
void CheckPolyDraw16(Check& c) {
    CheckPoints(c, 5);
}

// nPolys counts, then the points; the player walks the points by the counts.
void CheckPolyPoly(Check& c, uint32_t width) {
    const uint32_t polys = c.U32(24);
    const uint32_t points = c.U32(28);
    if (!c.Elements(32, polys, 4, "aPolyCounts") ||
        !c.Elements(32 + polys * 4, points, width, "cptl")) {
        return;
    }
    uint64_t sum = 0;
    for (uint32_t i = 0; i < polys; ++i) {
        sum += c.U32(32 + i * 4);
    }
    if (sum > points) {
        c.Fail(GuardFault::kPartsDisagree, "aPolyCounts");
    }
}
void CheckPolyPoly32(Check& c) {
    CheckPolyPoly(c, 8);
}
void CheckPolyPoly16(Check& c) {
    CheckPolyPoly(c, 4);
}

void CheckSelectObject(Check& c) {
    c.ObjectIndex(8, IndexUse::kSelect, "ihObject");
}
void CheckSelectPalette(Check& c) {
    c.ObjectIndex(8, IndexUse::kSelect, "ihPal");
}
void CheckDeleteObject(Check& c) {
    c.ObjectIndex(8, IndexUse::kTable, "ihObject");
}
void CheckUsePalette(Check& c) {
    c.ObjectIndex(8, IndexUse::kTable, "ihPal");
}
void CheckUseColorSpace(Check& c) {
    c.ObjectIndex(8, IndexUse::kTable, "ihCS");
}
void CheckCreatePen(Check& c) {
    c.ObjectIndex(8, IndexUse::kCreate, "ihPen");
}
void CheckCreateColorSpace(Check& c) {
    c.ObjectIndex(8, IndexUse::kCreate, "ihCS");
}

// The player builds the brush from the LOGBRUSH as it stands, and for the pattern styles the
// hatch field is a bitmap handle, a memory handle or a pointer: only the styles this record
// may carry (solid, null, hatched) are safe.
void CheckCreateBrushIndirect(Check& c) {
    if (c.ObjectIndex(8, IndexUse::kCreate, "ihBrush") && c.U32(12) > 2) {
        c.Fail(GuardFault::kUnsafeValue, "lb.lbStyle");
    }
}

void CheckCreatePalette(Check& c) {
    if (c.ObjectIndex(8, IndexUse::kCreate, "ihPal")) {
        c.Elements(16, c.U16(14), 4, "lgpl.palNumEntries");
    }
}

void CheckSetPaletteEntries(Check& c) {
    if (c.ObjectIndex(8, IndexUse::kTable, "ihPal")) {
        c.Elements(20, c.U32(16), 4, "cEntries");
    }
}

// The font is a LOGFONTW, a LogFontPanose (up to 320 bytes) or, when longer, an
// ENUMLOGFONTEXW followed by a design vector whose axes the player reads.
void CheckCreateFont(Check& c) {
    if (!c.ObjectIndex(8, IndexUse::kCreate, "ihFont")) {
        return;
    }
    constexpr uint32_t kPanoseBytes = 320;
    constexpr uint32_t kVectorOffset = 12 + 348;
    if (c.size() - 12 <= kPanoseBytes) {
        return;
    }
    if (!c.Elements(kVectorOffset, 2, 4, "elfw.elfDesignVector")) {
        return;
    }
    const uint32_t axes = c.U32(kVectorOffset + 4);
    if (axes > 16) {
        c.Fail(GuardFault::kCountBeyondRecord, "elfDesignVector.dvNumAxes");
        return;
    }
    c.Elements(kVectorOffset + 8, axes, 4, "elfDesignVector.dvNumAxes");
}

// EMRTEXT at `emrtext`: nChars characters at offString and, when offDx is set or the player
// always reads it, one spacing value per character (two with ETO_PDY) at offDx.
constexpr uint32_t kEtoPdy = 0x2000;

void CheckText(Check& c, uint32_t emrtext, uint32_t char_bytes, bool spacing_always) {
    const uint64_t chars = c.U32(emrtext + 8);
    if (!c.Part(c.U32(emrtext + 12), chars * char_bytes, "emrtext.offString")) {
        return;
    }
    const uint32_t off_dx = c.U32(emrtext + 36);
    const uint64_t dx_bytes = chars * ((c.U32(emrtext + 16) & kEtoPdy) != 0 ? 8 : 4);
    if (off_dx != 0) {
        c.Part(off_dx, dx_bytes, "emrtext.offDx");
    } else if (spacing_always && dx_bytes > c.size()) {
        c.Fail(GuardFault::kOffsetBeyondRecord, "emrtext.offDx");
    }
}
void CheckExtTextOutA(Check& c) {
    CheckText(c, 36, 1, false);
}
void CheckExtTextOutW(Check& c) {
    CheckText(c, 36, 2, false);
}

// cStrings EMRTEXTs; the player passes each one's spacing array on, set or not.
void CheckPolyTextOut(Check& c, uint32_t char_bytes) {
    const uint32_t strings = c.U32(36);
    if (!c.Elements(40, strings, 40, "cStrings")) {
        return;
    }
    for (uint32_t i = 0; i < strings && c.sound(); ++i) {
        CheckText(c, 40 + i * 40, char_bytes, true);
    }
}
void CheckPolyTextOutA(Check& c) {
    CheckPolyTextOut(c, 1);
}
void CheckPolyTextOutW(Check& c) {
    CheckPolyTextOut(c, 2);
}

// The clipping rectangle is there unless ETO_NO_RECT; the text is 8-bit with ETO_SMALL_CHARS.
void CheckSmallTextOut(Check& c) {
    const uint32_t options = c.U32(20);
    const uint32_t text = (options & 0x100) != 0 ? 36 : 52;
    if (text > c.size()) {
        c.Fail(GuardFault::kShorterThanStructure, "rclClip");
        return;
    }
    c.Elements(text, c.U32(16), (options & 0x200) != 0 ? 1 : 2, "cChars");
}

// RGNDATA of cbRgnData bytes at `data`: a 32-byte header whose nCount rectangles follow it
// inside those bytes.
constexpr uint32_t kRgnHeaderBytes = 32;

void CheckRegion(Check& c, uint32_t cb_offset, uint32_t data, bool may_be_empty) {
    const uint32_t bytes = c.U32(cb_offset);
    if (bytes == 0 && may_be_empty) {
        return;
    }
    if (!c.Elements(data, bytes, 1, "cbRgnData")) {
        return;
    }
    if (bytes < kRgnHeaderBytes || c.U32(data) != kRgnHeaderBytes) {
        c.Fail(GuardFault::kPartsDisagree, "RgnData.rdh.dwSize");
        return;
    }
    if (c.U32(data + 8) > (bytes - kRgnHeaderBytes) / 16) {
        c.Fail(GuardFault::kPartsDisagree, "RgnData.rdh.nCount");
    }
}
void CheckFillRgn(Check& c) {
    if (c.ObjectIndex(28, IndexUse::kTable, "ihBrush")) {
        CheckRegion(c, 24, 32, false);
    }
}
void CheckFrameRgn(Check& c) {
    if (c.ObjectIndex(28, IndexUse::kTable, "ihBrush")) {
        CheckRegion(c, 24, 40, false);
    }
}
void CheckPaintRgn(Check& c) {
    CheckRegion(c, 24, 28, false);
}
// With RGN_COPY and no region data the clipping region is reset.
void CheckExtSelectClipRgn(Check& c) {
    CheckRegion(c, 8, 16, true);
}

constexpr uint64_t kAllLines = UINT64_MAX;

void CheckBitBlt(Check& c) {
    CheckBitmapWithUsageField(c, {84, 92, 80, kAllLines, "offBmiSrc", "cbBitsSrc"});
}
void CheckMaskBlt(Check& c) {
    CheckBitmapWithUsageField(c, {84, 92, 80, kAllLines, "offBmiSrc", "cbBitsSrc"});
    CheckBitmapWithUsageField(c, {112, 120, 108, kAllLines, "offBmiMask", "cbBitsMask"});
}
void CheckPlgBlt(Check& c) {
    CheckBitmapWithUsageField(c, {96, 104, 92, kAllLines, "offBmiSrc", "cbBitsSrc"});
    CheckBitmapWithUsageField(c, {124, 132, 120, kAllLines, "offBmiMask", "cbBitsMask"});
}
// The player reads cScans lines of bits at most.
void CheckSetDIBitsToDevice(Check& c) {
    CheckBitmapWithUsageField(c, {48, 56, 64, c.U32(72), "offBmiSrc", "cbBitsSrc"});
}
void CheckStretchDIBits(Check& c) {
    CheckBitmapWithUsageField(c, {48, 56, 64, kAllLines, "offBmiSrc", "cbBitsSrc"});
}
void CheckCreateBrushFromBitmap(Check& c) {
    if (c.ObjectIndex(8, IndexUse::kCreate, "ihBrush")) {
        CheckBitmapWithUsageField(c, {16, 24, 12, kAllLines, "offBmi", "cbBits"});
    }
}

// The pen's style entries, and the bitmap of a DIB pattern brush, whose colour usage the
// record keeps in elpColor.
void CheckExtCreatePen(Check& c) {
    if (!c.ObjectIndex(8, IndexUse::kCreate, "ihPen") ||
        !c.Elements(52, c.U32(48), 4, "elp.elpNumEntries")) {
        return;
    }
    const uint32_t brush_style = c.U32(36);
    const bool dib_pattern = brush_style == 5 || brush_style == 6;
    CheckBitmap(c, {12, 20, 0, kAllLines, "offBmi", "cbBits"}, dib_pattern ? c.U32(40) : 0);
}

void CheckColorSpaceW(Check& c) {
    if (c.ObjectIndex(8, IndexUse::kCreate, "ihCS")) {
        c.Elements(608, c.U32(604), 1, "cbData");
    }
}

// Opaque data of a size the record gives, right after the fixed fields.
void CheckCommentData(Check& c) {
    c.Elements(12, c.U32(8), 1, "cbData");
}
void CheckBoundedGlsData(Check& c) {
    c.Elements(28, c.U32(24), 1, "cbData");
}
void CheckEscapeData(Check& c) {
    c.Elements(16, c.U32(12), 1, "cjIn");
}
void CheckNamedEscape(Check& c) {
    c.Elements(20, uint64_t{c.U32(12)} + c.U32(16), 1, "cbDriver");
}
void CheckIcmProfile(Check& c) {
    c.Elements(20, uint64_t{c.U32(12)} + c.U32(16), 1, "cbName");
}
void CheckColorMatchToTarget(Check& c) {
    c.Elements(24, uint64_t{c.U32(16)} + c.U32(20), 1, "cbName");
}
void CheckLinkedUfis(Check& c) {
    c.Elements(12, c.U32(8), 8, "uNumLinkedUFI");
}

// The player works out an arc's bounding box as the centre plus and minus the radius in 32-bit
// arithmetic; a box that does not fit wraps into a figure as wide as the whole plane, which
// the platform's player sets out to draw point by point until its memory runs out.
void CheckAngleArc(Check& c) {
    const int64_t radius = c.U32(16);
    for (uint32_t offset = 8; offset <= 12; offset += 4) {
        const int64_t centre = c.I32(offset);
        if (centre - radius < INT32_MIN || centre + radius > INT32_MAX) {
            c.Fail(GuardFault::kUnsafeValue, "nRadius");
        }
    }
}

// The player finds the state to restore from the magnitude of iRelative; the magnitude of the
// smallest integer does not fit 32 bits, and the player then walks off its list of saved states.
void CheckRestoreDc(Check& c) {
    if (c.I32(8) == INT32_MIN) {
        c.Fail(GuardFault::kUnsafeValue, "iRelative");
    }
}

// nVer vertices, then nTri triangles or rectangles whose vertex indices the player follows.
void CheckGradientFill(Check& c) {
    const uint32_t vertices = c.U32(24);
    const uint32_t shapes = c.U32(28);
    const uint32_t corners = c.U32(32) == 2 ? 3 : 2;
    if (!c.Elements(36, vertices, 16, "nVer")) {
        return;
    }
    const uint32_t mesh = 36 + vertices * 16;
    if (!c.Elements(mesh, shapes, corners * 4, "nTri")) {
        return;
    }
    for (uint32_t i = 0; i < shapes * corners; ++i) {
        if (c.U32(mesh + i * 4) >= vertices) {
            c.Fail(GuardFault::kPartsDisagree, "nTri");
            return;
        }
    }
}

struct GuardRule {
    // The fixed structure's length; 0 for a type the format does not define.
    uint32_t structure;
    void (*check)(Check&);
};

// Row n - 1 is type n: its structure's length from the list, and its check.
constexpr GuardRule kRules[] = {
#define EMR_TYPE(number, id, record_name, call_name, structure, family, formatter, check) \
    {structure, check},
#include "document/record_types.def"
#undef EMR_TYPE
};

}  // namespace

uint32_t RecordStructureBytes(uint32_t type) {
    return type == 0 || type > kEmrLastType ? 0 : kRules[type - 1].structure;
}

GuardVerdict CheckRecordForPlayback(RecordView record, uint32_t object_handles) {
    if (record.data == nullptr || record.size < kRecordHeadBytes) {
        return GuardVerdict{GuardFault::kShorterThanStructure, "nSize"};
    }
    const uint32_t size = RecordSizeField(record);
    if (size > record.size) {
        return GuardVerdict{GuardFault::kSizeBeyondBytes, "nSize"};
    }
    const uint32_t type = RecordType(record);
    if (RecordStructureBytes(type) == 0) {
        return GuardVerdict{GuardFault::kUnknownType, "iType"};
    }
    const GuardRule& rule = kRules[type - 1];
    if (size < rule.structure) {
        return GuardVerdict{GuardFault::kShorterThanStructure, "nSize"};
    }
    if (size % 4 != 0) {
        return GuardVerdict{GuardFault::kSizeUnaligned, "nSize"};
    }
    Check check(record, rule.structure, object_handles);
    if (type == kEmrHeader) {
        CheckHeader(check, record);
    } else if (rule.check != nullptr) {
        rule.check(check);
    }
    return check.verdict();
}

bool HeaderDescriptionIsSound(RecordView header) {
    RecordReader reader(header);
    if (!reader.Has(60, 8)) {
        return false;
    }
    const uint64_t length = uint64_t{reader.U32(60)} * 2;
    const uint32_t offset = reader.U32(64);
    return length == 0 || (offset >= kHeaderBaseBytes && offset <= reader.size() &&
                           length <= reader.size() - offset);
}

// The fields after the base header (cbPixelFormat, offPixelFormat, bOpenGL) are there only
// when the header's fixed part reaches past them: writers that put the description right
// after the base header leave them out. A pixel format block that is there holds a whole
// PIXELFORMATDESCRIPTOR (40 bytes), which is what the player copies.
bool HeaderPixelFormatIsSound(RecordView header) {
    RecordReader reader(header);
    uint32_t fixed_end = reader.size();
    if (reader.U32(60) != 0 && reader.U32(64) < fixed_end) {
        fixed_end = reader.U32(64);
    }
    if (fixed_end < 100) {
        return true;
    }
    const uint32_t length = reader.U32(88);
    const uint32_t offset = reader.U32(92);
    return length == 0 ||
           (length >= 40 && offset >= kHeaderBaseBytes && reader.Has(offset, length));
}

const char* GuardFaultText(GuardFault fault) {
    switch (fault) {
        case GuardFault::kNone:
            return "sound";
        case GuardFault::kUnknownType:
            return "type the format does not define";
        case GuardFault::kSizeBeyondBytes:
            return "nSize beyond the bytes held";
        case GuardFault::kSizeUnaligned:
            return "nSize not a multiple of 4";
        case GuardFault::kShorterThanStructure:
            return "shorter than its fixed structure";
        case GuardFault::kCountBeyondRecord:
            return "count reaches beyond the record";
        case GuardFault::kOffsetBeyondRecord:
            return "offset and length reach beyond the record";
        case GuardFault::kOffsetIntoStructure:
            return "offset points into the fixed structure";
        case GuardFault::kPartsDisagree:
            return "parts disagree so that the player would read beyond one";
        case GuardFault::kObjectIndexOutsideTable:
            return "object index outside the object table";
        case GuardFault::kStockObjectNotAllowed:
            return "stock object where the player needs a table entry";
        case GuardFault::kUnsafeValue:
            return "value the player would act on unsafely";
    }
    return "unknown fault";
}
