// The kind and fields of a comment record whose data is not EMF+: the public comments by
// their identifier, any other comment by its first four bytes.
#include "emfplus/decode_support.h"
#include "emfplus/emfplus_decode.h"
#include "emfplus/emfplus_names.h"

namespace {

constexpr uint32_t kIdentifier = kCommentDataOffset;  // "GDIC"
constexpr uint32_t kPublicType = kIdentifier + 4;
constexpr uint32_t kPublicData = kPublicType + 4;

constexpr uint32_t kBeginGroup = 0x00000002;
constexpr uint32_t kMultiFormats = 0x40000004;
constexpr uint32_t kWindowsMetafile = 0x80000001;
constexpr uint32_t kEpsSignature = 0x46535045;  // "EPSF"

void AppendRectl(WideText& out, RecordReader& r, uint32_t offset) {
    out.Print(u"(%d, %d, %d, %d)", r.I32(offset), r.I32(offset + 4), r.I32(offset + 8),
              r.I32(offset + 12));
}

// Four bytes as characters, those outside printable ASCII as '.'.
void AppendFourBytes(WideText& out, RecordReader& r, uint32_t offset) {
    for (uint32_t k = 0; k < 4; ++k) {
        const uint8_t byte = r.U8(offset + k);
        out.Append(byte >= 0x20 && byte < 0x7F ? static_cast<char16_t>(byte) : u'.');
    }
}

// The bounds and the count that open a group and a multi-format comment; false, with the
// too-short note written, when the record ends before them.
bool AppendBoundsAndCount(RecordReader& r, WideText& out, uint32_t* count) {
    if (!r.Has(kPublicData, 20)) {
        AppendTooShort(out);
        return false;
    }
    out.Append(u"bounds ");
    AppendRectl(out, r, kPublicData);
    *count = r.U32(kPublicData + 16);
    return true;
}

void DecodeBeginGroup(RecordReader& r, WideText& out) {
    uint32_t count = 0;
    if (!AppendBoundsAndCount(r, out, &count)) {
        return;
    }
    out.Append(u", description ");
    // The count includes the terminator, which is not shown.
    uint32_t shown = count;
    if (count > 0 && r.HasArray(kPublicData + 20, count, 2) &&
        r.U16(kPublicData + 20 + 2 * (count - 1)) == 0) {
        --shown;
    }
    AppendQuoted(out, r, kPublicData + 20, shown);
}

void DecodeMultiFormats(RecordReader& r, WideText& out) {
    uint32_t count = 0;
    if (!AppendBoundsAndCount(r, out, &count)) {
        return;
    }
    const uint32_t formats = kPublicData + 20;
    const uint32_t inside = r.CountInside(formats, count, 16);
    const uint32_t listed = inside < kEmfPlusListCap ? inside : kEmfPlusListCap;
    out.Print(u", %u formats", count);
    for (uint32_t k = 0; k < listed; ++k) {
        const uint32_t at = formats + 16 * k;
        const uint32_t signature = r.U32(at);
        const uint32_t size = r.U32(at + 8);
        const uint32_t offset = r.U32(at + 12);
        out.Append(k == 0 ? u": " : u"; ");
        if (signature == kEnhMetaSignature) {
            out.Append(u"ENHMETA");
        } else if (signature == kEpsSignature) {
            out.Append(u"EPS");
        } else {
            out.Print(u"signature 0x%08X", signature);
        }
        out.Print(u" version %u, %u bytes at %u", r.U32(at + 4), size, offset);
        // The offset counts from the comment's identifier.
        const uint64_t end = uint64_t{kIdentifier} + offset + size;
        if (end > r.size()) {
            out.Append(u" (outside the record)");
        }
    }
    if (inside > listed) {
        out.Print(u" (%u more formats not listed)", inside - listed);
    }
    if (count > inside) {
        out.Print(u" (%u formats beyond the record)", count - inside);
    }
}

void DecodeWindowsMetafile(RecordReader& r, WideText& out) {
    if (!r.Has(kPublicData, 16)) {
        AppendTooShort(out);
        return;
    }
    const uint32_t size = r.U32(kPublicData + 12);
    out.Print(u"version 0x%04X, checksum 0x%04X, flags 0x%08X, %u bytes", r.U16(kPublicData),
              r.U32(kPublicData + 4) & 0xFFFF, r.U32(kPublicData + 8), size);
    if (!r.Has(kPublicData + 16, size)) {
        out.Append(u" (outside the record)");
    }
}

}  // namespace

void DecodeCommentFields(RecordView host, WideText& name, WideText& out) {
    name.Clear();
    out.Clear();
    RecordReader whole(host);
    // Reads stop at the end of the comment's data.
    RecordReader r(RecordView{host.data, CommentDataEnd(whole)});
    if (ClassifyComment(host) != CommentKind::kPublic) {
        name.Append(u"GdiComment");
        const uint32_t bytes = r.size() > kIdentifier ? r.size() - kIdentifier : 0;
        if (bytes < 4) {
            out.Print(u"%u bytes", bytes);
            return;
        }
        out.Append(u"identifier \"");
        AppendFourBytes(out, r, kIdentifier);
        out.Print(u"\" (0x%08X), %u bytes", r.U32(kIdentifier), bytes);
        return;
    }
    if (!r.Has(kPublicType, 4)) {
        name.Append(u"GDICOMMENT");
        AppendTooShort(out);
        return;
    }
    const uint32_t type = r.U32(kPublicType);
    if (!LookupSymbol(kPublicCommentSymbols, type, u"GDICOMMENT", name)) {
        out.Print(u"identifier 0x%08X, %u bytes", type, r.size() - kIdentifier);
        return;
    }
    switch (type) {
        case kBeginGroup:
            DecodeBeginGroup(r, out);
            return;
        case kMultiFormats:
            DecodeMultiFormats(r, out);
            return;
        case kWindowsMetafile:
            DecodeWindowsMetafile(r, out);
            return;
        default:
            if (r.size() > kPublicData) {
                out.Print(u"%u bytes", r.size() - kPublicData);
            }
            return;
    }
}
