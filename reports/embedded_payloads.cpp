// The pictures, documents and profiles a metafile carries inside its records.
#include "reports/embedded_payloads.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <new>

#include "document/emf_format.h"
#include "emfplus/emfplus_names.h"
#include "emfplus/emfplus_object_types.h"
#include "emfplus/emfplus_walk.h"

namespace {

constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kInfoHeaderBytes = 40;
constexpr uint32_t kV4HeaderBytes = 108;

// The records whose fields point at a device-independent bitmap: offBmi, cbBmi, offBits and
// cbBits follow one another from `fields`; `usage` is the iUsage field, 0 where there is none.
struct BitmapCarrier {
    uint32_t type;
    const char* carrier;
    uint32_t fields;
    uint32_t usage;
    uint32_t variant;
};
constexpr BitmapCarrier kBitmapCarriers[] = {
    {kEmrBitBlt, "EMR_BITBLT source", 84, 80, 0},
    {kEmrStretchBlt, "EMR_STRETCHBLT source", 84, 80, 0},
    {kEmrMaskBlt, "EMR_MASKBLT source", 84, 80, 0},
    {kEmrMaskBlt, "EMR_MASKBLT mask", 112, 108, kPayloadMask},
    {kEmrPlgBlt, "EMR_PLGBLT source", 96, 92, 0},
    {kEmrPlgBlt, "EMR_PLGBLT mask", 124, 120, kPayloadMask},
    {kEmrSetDiBitsToDevice, "EMR_SETDIBITSTODEVICE source", 48, 64, 0},
    {kEmrStretchDiBits, "EMR_STRETCHDIBITS source", 48, 64, 0},
    {kEmrAlphaBlend, "EMR_ALPHABLEND source", 84, 80, 0},
    {kEmrTransparentBlt, "EMR_TRANSPARENTBLT source", 84, 80, 0},
    {kEmrCreateMonoBrush, "EMR_CREATEMONOBRUSH pattern", 16, 12, 0},
    {kEmrCreateDibPatternBrushPt, "EMR_CREATEDIBPATTERNBRUSHPT pattern", 16, 12, 0},
    {kEmrExtCreatePen, "EMR_EXTCREATEPEN pattern", 12, 0, 0},
};

// The records that may hold a colour profile's data: cbName and cbData at `sizes` (no name
// where `has_name` is false), the name and then the data from `data`.
struct ProfileCarrier {
    uint32_t type;
    const char* carrier;
    uint32_t sizes;
    bool has_name;
    uint32_t data;
};
constexpr ProfileCarrier kProfileCarriers[] = {
    {kEmrSetIcmProfileA, "EMR_SETICMPROFILEA profile", 12, true, 20},
    {kEmrSetIcmProfileW, "EMR_SETICMPROFILEW profile", 12, true, 20},
    {kEmrColorMatchToTargetW, "EMR_COLORMATCHTOTARGETW profile", 16, true, 24},
    {kEmrCreateColorSpaceW, "EMR_CREATECOLORSPACEW profile", 604, false, 608},
};

// The public comments that carry files, after the "GDIC" identifier at 12.
constexpr uint32_t kPublicType = 16;
constexpr uint32_t kMultiFormats = 0x40000004;
constexpr uint32_t kWindowsMetafile = 0x80000001;
constexpr uint32_t kEpsSignature = 0x46535045;  // "EPSF"
constexpr uint32_t kPdfSignature = 0x50444620;  // " PDF", as PDF printers write it
// The PostScript of an EPS format follows its size, version and three points.
constexpr uint32_t kEpsDataHead = 32;

constexpr uint32_t kDibPalColors = 1;
constexpr uint32_t kBiJpeg = 4;
constexpr uint32_t kBiPng = 5;

// An EMF+ image object's kinds, and a texture brush's.
constexpr uint32_t kImageBitmap = 1;
constexpr uint32_t kImageMetafile = 2;
constexpr uint32_t kBitmapPixels = 0;
constexpr uint32_t kBitmapCompressed = 1;
constexpr uint32_t kTextureBrush = 2;
constexpr uint32_t kBrushHasTransform = 0x00000002;
constexpr uint32_t kPixelFormatIndexed = 0x00010000;
constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr uint32_t kPlaceableBytes = 22;

// The bitmap file a pixel format is written as: its header and, for bit fields, its masks.
struct PixelLayout {
    uint32_t pixel_format;
    uint32_t header;  // kInfoHeaderBytes, or kV4HeaderBytes with masks
    uint32_t compression;
    uint32_t masks[4];  // red, green, blue, alpha
};
constexpr PixelLayout kPixelLayouts[] = {
    {0x00030101, kInfoHeaderBytes, 0, {}},  // 1 bpp indexed
    {0x00030402, kInfoHeaderBytes, 0, {}},  // 4 bpp indexed
    {0x00030803, kInfoHeaderBytes, 0, {}},  // 8 bpp indexed
    {0x00021005, kInfoHeaderBytes, 0, {}},  // 16 bpp RGB 5-5-5, the bitmap default
    {0x00021006, kV4HeaderBytes, 3, {0xF800, 0x07E0, 0x001F, 0}},
    {0x00061007, kV4HeaderBytes, 3, {0x7C00, 0x03E0, 0x001F, 0x8000}},
    {0x00021808, kInfoHeaderBytes, 0, {}},  // 24 bpp RGB
    {0x00022009, kInfoHeaderBytes, 0, {}},  // 32 bpp RGB
    {0x0026200A, kV4HeaderBytes, 3, {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000}},
};

const PixelLayout* LayoutOf(uint32_t pixel_format) {
    for (const PixelLayout& layout : kPixelLayouts) {
        if (layout.pixel_format == pixel_format) {
            return &layout;
        }
    }
    return nullptr;
}

uint32_t BitsPerPixel(uint32_t pixel_format) {
    return (pixel_format >> 8) & 0xFF;
}

uint64_t BitmapStride(uint64_t width, uint32_t bits) {
    return (width * bits + 31) / 32 * 4;
}

// The part of `length` bytes from `offset` that lies inside `size` bytes.
uint32_t HeldLength(uint64_t offset, uint64_t length, uint32_t size) {
    if (offset >= size) {
        return 0;
    }
    return static_cast<uint32_t>(std::min<uint64_t>(length, size - offset));
}

void SetRange(EmbeddedPayload& payload, uint64_t offset, uint64_t length, uint32_t size) {
    payload.shape = PayloadShape::kRange;
    payload.offset = static_cast<uint32_t>(std::min<uint64_t>(offset, size));
    payload.length = HeldLength(offset, length, size);
    payload.claimed = length;
}

void SayProblem(EmbeddedPayload& payload, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(payload.problem, sizeof payload.problem, format, arguments);
    va_end(arguments);
}

void Put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void PutFileHeader(std::vector<uint8_t>& out, uint64_t size, uint64_t bits_at) {
    out.push_back('B');
    out.push_back('M');
    Put32(out, static_cast<uint32_t>(std::min<uint64_t>(size, UINT32_MAX)));
    Put32(out, 0);
    Put32(out, static_cast<uint32_t>(bits_at));
}

// The rows of pixel data a payload's bitmap file holds: the whole rows the record holds.
uint32_t RowsHeld(const EmbeddedPayload& payload) {
    const uint64_t rows = payload.length / static_cast<uint32_t>(payload.stride);
    return static_cast<uint32_t>(std::min<uint64_t>(rows, static_cast<uint32_t>(payload.height)));
}

// The size of the bitmap file made for pixel data of `rows` rows.
uint64_t PixelFileSize(const EmbeddedPayload& payload, const PixelLayout& layout, uint64_t rows) {
    const uint32_t bits = BitsPerPixel(payload.pixel_format);
    return kFileHeaderBytes + layout.header + 4 * uint64_t{payload.bits_length} +
           BitmapStride(static_cast<uint32_t>(payload.width), bits) * rows;
}

void MakePixelFile(RecordReader& container, const EmbeddedPayload& payload,
                   std::vector<uint8_t>& out) {
    const PixelLayout& layout = *LayoutOf(payload.pixel_format);
    const uint32_t bits = BitsPerPixel(payload.pixel_format);
    const uint32_t rows = RowsHeld(payload);
    const uint64_t stride = BitmapStride(static_cast<uint32_t>(payload.width), bits);
    const uint64_t bits_at = kFileHeaderBytes + layout.header + 4 * uint64_t{payload.bits_length};
    out.reserve(static_cast<size_t>(PixelFileSize(payload, layout, rows)));
    PutFileHeader(out, PixelFileSize(payload, layout, rows), bits_at);
    Put32(out, layout.header);
    Put32(out, static_cast<uint32_t>(payload.width));
    // A negative height: the rows run from the top, as EMF+ pixel data does.
    Put32(out, static_cast<uint32_t>(-static_cast<int32_t>(rows)));
    Put16(out, 1);
    Put16(out, bits);
    Put32(out, layout.compression);
    Put32(out, static_cast<uint32_t>(stride * rows));
    Put32(out, 2835);  // 72 dots per inch
    Put32(out, 2835);
    Put32(out, payload.bits_length);
    Put32(out, 0);
    if (layout.header == kV4HeaderBytes) {
        for (uint32_t mask : layout.masks) {
            Put32(out, mask);
        }
        Put32(out, 0x73524742);  // 'sRGB'
        out.resize(kFileHeaderBytes + kV4HeaderBytes, 0);
    }
    // The palette's ARGB entries are the file's blue, green, red, reserved bytes.
    for (uint32_t k = 0; k < payload.bits_length; ++k) {
        Put32(out, container.U32(payload.bits_offset + 4 * k) & 0x00FFFFFF);
    }
    const uint32_t row_bytes =
        static_cast<uint32_t>(std::min<uint64_t>(stride, static_cast<uint32_t>(payload.stride)));
    for (uint32_t y = 0; y < rows; ++y) {
        const uint8_t* row = container.data() + payload.offset + uint64_t{y} * payload.stride;
        out.insert(out.end(), row, row + row_bytes);
        out.resize(out.size() + static_cast<size_t>(stride - row_bytes), 0);
    }
}

}  // namespace

EmbeddedPayloads::EmbeddedPayloads(const RecordStore& store, int32_t only) : store_(store) {
    for (int32_t i = 0; i < store.count(); ++i) {
        const RecordView record = store.RecordAt(i);
        const bool wanted = only < 0 || only == i;
        if (ClassifyComment(record) == CommentKind::kEmfPlus) {
            // Every object record goes into the split objects, wanted or not.
            FindInEmfPlus(i, record, wanted);
        } else if (wanted) {
            FindInRecord(i, record);
        }
    }
    // The objects split over several records are read once all their parts are in, and take
    // their place in file order.
    std::vector<EmbeddedPayload> pending;
    pending.swap(pending_);
    std::vector<uint8_t> whole;
    for (EmbeddedPayload& payload : pending) {
        const SplitObject* object = split_objects_.Find(static_cast<uint32_t>(payload.split));
        if (!split_objects_.Reassemble(static_cast<uint32_t>(payload.split), whole)) {
            SayProblem(payload, "out of memory");
            payloads_.push_back(payload);
            continue;
        }
        FindInObject(payload, RecordView{whole.data(), static_cast<uint32_t>(whole.size())},
                     kEmfPlusRecordHeaderBytes + uint64_t{object->total}, 0);
        if (!object->consistent && !payloads_.empty() && payloads_.back().split == payload.split) {
            SayProblem(payloads_.back(), "its parts disagree on the object's total size");
        }
    }
    std::stable_sort(payloads_.begin(), payloads_.end(),
                     [](const EmbeddedPayload& a, const EmbeddedPayload& b) {
                         return a.record != b.record ? a.record < b.record : a.place < b.place;
                     });
}

void EmbeddedPayloads::FindInRecord(int32_t index, RecordView record) {
    const uint32_t type = RecordType(record);
    RecordReader r(record);
    for (const BitmapCarrier& carrier : kBitmapCarriers) {
        // A record without a bitmap of this kind has a cbBmi of 0.
        if (carrier.type != type || r.U32(carrier.fields + 4) == 0) {
            continue;
        }
        EmbeddedPayload payload;
        payload.record = index;
        payload.carrier = carrier.carrier;
        payload.variant = carrier.variant;
        const uint32_t info = r.U32(carrier.fields);
        const uint32_t info_size = r.U32(carrier.fields + 4);
        const uint32_t bits = r.U32(carrier.fields + 8);
        const uint32_t bits_size = r.U32(carrier.fields + 12);
        const uint32_t compression =
            r.Has(info, 20) && r.U32(info) >= kInfoHeaderBytes ? r.U32(info + 16) : 0;
        if (compression == kBiJpeg || compression == kBiPng) {
            // The bits are a whole JPEG or PNG file.
            payload.format = compression == kBiJpeg ? PayloadFormat::kJpeg : PayloadFormat::kPng;
            SetRange(payload, bits, bits_size, r.size());
        } else {
            payload.format = PayloadFormat::kBmp;
            payload.shape = PayloadShape::kDib;
            payload.offset = std::min(info, r.size());
            payload.length = HeldLength(info, info_size, r.size());
            payload.bits_offset = std::min(bits, r.size());
            payload.bits_length = HeldLength(bits, bits_size, r.size());
            payload.claimed = uint64_t{kFileHeaderBytes} + info_size + bits_size;
            if (carrier.usage != 0 && r.U32(carrier.usage) == kDibPalColors && r.Has(info, 16) &&
                r.U16(info + 14) <= 8) {
                SayProblem(payload, "its colour table holds palette indices, not colours");
            }
        }
        payloads_.push_back(payload);
    }
    for (const ProfileCarrier& carrier : kProfileCarriers) {
        if (carrier.type != type) {
            continue;
        }
        const uint32_t name = carrier.has_name ? r.U32(carrier.sizes) : 0;
        const uint32_t data = r.U32(carrier.sizes + (carrier.has_name ? 4 : 0));
        if (data == 0) {
            continue;
        }
        EmbeddedPayload payload;
        payload.record = index;
        payload.carrier = carrier.carrier;
        payload.format = PayloadFormat::kIcc;
        SetRange(payload, uint64_t{carrier.data} + name, data, r.size());
        payloads_.push_back(payload);
    }
    if (ClassifyComment(record) != CommentKind::kPublic) {
        return;
    }
    // Reads stop at the end of the comment's data.
    RecordReader c(RecordView{record.data, CommentDataEnd(r)});
    const uint32_t public_type = c.U32(kPublicType);
    if (public_type == kWindowsMetafile && c.Has(kPublicType, 20)) {
        EmbeddedPayload payload;
        payload.record = index;
        payload.carrier = "GDICOMMENT_WINDOWS_METAFILE";
        payload.format = PayloadFormat::kWmf;
        SetRange(payload, 36, c.U32(32), c.size());
        payloads_.push_back(payload);
    }
    if (public_type != kMultiFormats) {
        return;
    }
    const uint32_t formats = c.CountInside(40, c.U32(36), 16);
    for (uint32_t k = 0; k < formats; ++k) {
        const uint32_t at = 40 + 16 * k;
        const uint32_t signature = c.U32(at);
        const uint32_t size = c.U32(at + 8);
        // The offset counts from the comment's identifier.
        const uint64_t start = uint64_t{kCommentDataOffset} + c.U32(at + 12);
        EmbeddedPayload payload;
        payload.record = index;
        payload.carrier = "GDICOMMENT_MULTIFORMATS";
        payload.variant = k == 0 ? 0 : k + 1;
        SetRange(payload, start, size, c.size());
        const uint8_t* first = record.data + payload.offset;
        const bool pdf = payload.length >= 5 && std::equal(first, first + 5, "%PDF-");
        if (signature == kEnhMetaSignature) {
            payload.format = PayloadFormat::kEmf;
        } else if (signature == kEpsSignature) {
            payload.format = PayloadFormat::kEps;
            if (size < kEpsDataHead) {
                SayProblem(payload, "its EPS data (%u bytes) is shorter than its head", size);
            } else {
                SetRange(payload, start + kEpsDataHead, size - kEpsDataHead, c.size());
            }
        } else if (signature == kPdfSignature || pdf) {
            payload.format = PayloadFormat::kPdf;
        } else {
            SayProblem(payload, "a format of signature 0x%08X", signature);
        }
        payloads_.push_back(payload);
    }
}

void EmbeddedPayloads::FindInEmfPlus(int32_t index, RecordView record, bool wanted) {
    EmfPlusWalker walker(record);
    EmfPlusRecordRef plus;
    for (int32_t place = 0; walker.Next(&plus); ++place) {
        if (plus.type != kEmfPlusObject) {
            continue;
        }
        const ObjectPartPlace part = split_objects_.Add(plus);
        if (!wanted || part.part > 1) {
            continue;
        }
        EmbeddedPayload payload;
        payload.record = index;
        payload.place = place;
        if (part.part == 1) {
            payload.split = static_cast<int32_t>(part.slot);
            pending_.push_back(payload);
        } else {
            FindInObject(payload, plus.view, plus.size, plus.offset);
        }
    }
}

void EmbeddedPayloads::FindInObject(EmbeddedPayload payload, RecordView object,
                                    uint64_t claimed_end, uint32_t base) {
    using namespace emfplus_object_types;
    RecordReader r(object);
    const uint32_t kind = (r.U16(2) >> 8) & 0x7F;
    uint32_t image = kEmfPlusRecordHeaderBytes;
    payload.carrier = "EmfPlusObject image";
    if (kind == kBrush && r.U32(image + 4) == kTextureBrush) {
        payload.carrier = "EmfPlusObject texture brush";
        image += 16 + ((r.U32(image + 8) & kBrushHasTransform) != 0 ? 24 : 0);
    } else if (kind != kImage) {
        return;
    }
    if (!r.Has(image, 8)) {
        return;
    }
    const uint32_t type = r.U32(image + 4);
    const uint32_t data = image + 8;
    if (type == kImageMetafile) {
        const uint32_t metafile = r.U32(data);
        payload.format = metafile == 1 || metafile == 2   ? PayloadFormat::kWmf
                         : metafile >= 3 && metafile <= 5 ? PayloadFormat::kEmf
                                                          : PayloadFormat::kUnknown;
        const uint32_t start = data + 8;
        SetRange(payload, start, r.U32(data + 4), r.size());
        if (metafile == 2 && r.U32(start) == kPlaceableKey) {
            // The size given is the Windows metafile's; its placeable header comes before it,
            // written by some as the 24 bytes of the platform's structure, with two bytes of
            // padding that the file leaves out.
            const bool padded = r.U16(start + kPlaceableBytes) == 0 &&
                                (r.U16(start + 24) == 1 || r.U16(start + 24) == 2) &&
                                r.U16(start + 26) == 9;
            const uint32_t head = kPlaceableBytes + (padded ? 2 : 0);
            SetRange(payload, start, head + uint64_t{r.U32(data + 4)}, r.size());
            payload.gap = padded ? 2 : 0;
            payload.claimed -= payload.gap;
        }
        if (!r.Has(data, 8)) {
            SayProblem(payload, "its metafile head is cut short");
        } else if (payload.format == PayloadFormat::kUnknown) {
            SayProblem(payload, "a metafile of type %u", metafile);
        }
    } else if (type != kImageBitmap) {
        return;
    } else if (!r.Has(data, 20)) {
        SetRange(payload, r.size(), 0, r.size());
        SayProblem(payload, "its bitmap head is cut short");
    } else if (r.U32(data + 16) == kBitmapCompressed) {
        const uint64_t start = uint64_t{data} + 20;
        SetRange(payload, start, claimed_end > start ? claimed_end - start : 0, r.size());
        payload.format = ImageFormatBySignature(object.data + payload.offset, payload.length);
        if (payload.format == PayloadFormat::kUnknown) {
            SayProblem(payload, "compressed data of no image format Orvella knows");
        }
    } else if (r.U32(data + 16) != kBitmapPixels) {
        SetRange(payload, r.size(), 0, r.size());
        SayProblem(payload, "a bitmap of data type %u", r.U32(data + 16));
    } else {
        payload.shape = PayloadShape::kPixels;
        payload.width = r.I32(data);
        payload.height = r.I32(data + 4);
        payload.stride = r.I32(data + 8);
        payload.pixel_format = r.U32(data + 12);
        uint64_t pixels = uint64_t{data} + 20;
        if ((payload.pixel_format & kPixelFormatIndexed) != 0) {
            // The palette: its flags, its count and its ARGB entries.
            payload.bits_offset = static_cast<uint32_t>(pixels + 8);
            payload.bits_length = r.U32(static_cast<uint32_t>(pixels) + 4);
            pixels += 8 + 4 * uint64_t{payload.bits_length};
        }
        const PixelLayout* layout = LayoutOf(payload.pixel_format);
        const uint32_t bits = BitsPerPixel(payload.pixel_format);
        const uint64_t row =
            (uint64_t{static_cast<uint32_t>(std::max(payload.width, 0))} * bits + 7) / 8;
        payload.format = layout != nullptr ? PayloadFormat::kBmp : PayloadFormat::kPixels;
        payload.offset = static_cast<uint32_t>(std::min<uint64_t>(pixels, r.size()));
        if (layout == nullptr) {
            SayProblem(payload, "pixel format 0x%08X, which no bitmap file holds as it is",
                       payload.pixel_format);
        } else if (payload.width <= 0 || payload.height <= 0 || payload.stride <= 0) {
            SayProblem(payload, "a size of %d x %d and a stride of %d", payload.width,
                       payload.height, payload.stride);
        } else if (static_cast<uint64_t>(payload.stride) < row) {
            SayProblem(payload, "a stride of %d, less than a row's %llu bytes", payload.stride,
                       static_cast<unsigned long long>(row));
        } else if ((payload.pixel_format & kPixelFormatIndexed) != 0 &&
                   (payload.bits_length > (1u << bits) ||
                    !r.HasArray(payload.bits_offset, payload.bits_length, 4))) {
            SayProblem(payload, "a palette of %u colours", payload.bits_length);
        } else {
            payload.length = HeldLength(pixels,
                                        uint64_t{static_cast<uint32_t>(payload.stride)} *
                                            static_cast<uint32_t>(payload.height),
                                        r.size());
            payload.claimed =
                PixelFileSize(payload, *layout, static_cast<uint32_t>(payload.height));
        }
        if (payload.problem[0] != 0) {
            payload.length = 0;
            payload.bits_length = 0;
        }
    }
    if (payload.split < 0) {
        payload.offset += base;
        payload.bits_offset += base;
    }
    payloads_.push_back(payload);
}

bool EmbeddedPayloads::Bytes(size_t index, std::vector<uint8_t>* out) const {
    out->clear();
    if (index >= payloads_.size()) {
        return false;
    }
    const EmbeddedPayload& payload = payloads_[index];
    std::vector<uint8_t> whole;
    RecordView container = store_.RecordAt(payload.record);
    if (payload.split >= 0) {
        if (!split_objects_.Reassemble(static_cast<uint32_t>(payload.split), whole)) {
            return false;
        }
        container = RecordView{whole.data(), static_cast<uint32_t>(whole.size())};
    }
    RecordReader r(container);
    try {
        switch (payload.shape) {
            case PayloadShape::kRange:
                if (payload.length == 0 || !r.Has(payload.offset, payload.length)) {
                    return false;
                }
                if (payload.gap != 0 && payload.length >= kPlaceableBytes + payload.gap) {
                    const uint8_t* from = r.data() + payload.offset;
                    out->reserve(payload.length - payload.gap);
                    out->assign(from, from + kPlaceableBytes);
                    out->insert(out->end(), from + kPlaceableBytes + payload.gap,
                                from + payload.length);
                    return true;
                }
                out->assign(r.data() + payload.offset, r.data() + payload.offset + payload.length);
                return true;
            case PayloadShape::kDib: {
                if (payload.length == 0 || !r.Has(payload.offset, payload.length) ||
                    !r.Has(payload.bits_offset, payload.bits_length)) {
                    return false;
                }
                const uint64_t size =
                    uint64_t{kFileHeaderBytes} + payload.length + payload.bits_length;
                out->reserve(static_cast<size_t>(size));
                PutFileHeader(*out, size, kFileHeaderBytes + payload.length);
                out->insert(out->end(), r.data() + payload.offset,
                            r.data() + payload.offset + payload.length);
                out->insert(out->end(), r.data() + payload.bits_offset,
                            r.data() + payload.bits_offset + payload.bits_length);
                return true;
            }
            case PayloadShape::kPixels:
                if (payload.length == 0 || LayoutOf(payload.pixel_format) == nullptr ||
                    !r.Has(payload.offset, payload.length) ||
                    !r.HasArray(payload.bits_offset, payload.bits_length, 4)) {
                    return false;
                }
                MakePixelFile(r, payload, *out);
                return true;
        }
    } catch (const std::bad_alloc&) {
        out->clear();
        out->shrink_to_fit();
    }
    return false;
}

PayloadReport EmbeddedPayloads::Report(size_t index) const {
    PayloadReport report;
    if (index >= payloads_.size()) {
        return report;
    }
    const EmbeddedPayload& payload = payloads_[index];
    std::vector<uint8_t> bytes;
    const bool made = Bytes(index, &bytes);
    report.bytes = bytes.size();
    report.check = CheckPayload(payload.format, bytes.data(), bytes.size());
    if (payload.shape == PayloadShape::kPixels && report.check.width < 0) {
        report.check.width = payload.width;
        report.check.height = payload.height;
    }
    if (payload.problem[0] != 0) {
        report.check.Say("%s", payload.problem);
    } else if (!made && payload.length > 0) {
        report.check.Say("out of memory");
    } else if (!made) {
        report.check.Say("its bytes lie outside the record");
    } else if (report.bytes < payload.claimed) {
        report.check.Say("cut short: the record holds %llu of its %llu bytes",
                         static_cast<unsigned long long>(report.bytes),
                         static_cast<unsigned long long>(payload.claimed));
    }
    return report;
}

std::string PayloadLine(const EmbeddedPayload& payload, const PayloadReport& report) {
    char text[400];
    char place[32];
    if (payload.place >= 0) {
        std::snprintf(place, sizeof place, "%d.%d", payload.record, payload.place);
    } else {
        std::snprintf(place, sizeof place, "%d", payload.record);
    }
    char carrier[96];
    if (payload.variant >= 2) {
        std::snprintf(carrier, sizeof carrier, "%s (format %u)", payload.carrier, payload.variant);
    } else {
        std::snprintf(carrier, sizeof carrier, "%s", payload.carrier);
    }
    char format[64];
    if (report.check.width >= 0 && report.check.height >= 0) {
        std::snprintf(format, sizeof format, "%s %d x %d", PayloadFormatName(payload.format),
                      report.check.width, report.check.height);
    } else {
        std::snprintf(format, sizeof format, "%s", PayloadFormatName(payload.format));
    }
    std::snprintf(text, sizeof text, "%s\t%s\t%s\t%llu bytes\t%s", place, carrier, format,
                  static_cast<unsigned long long>(report.bytes), report.check.verdict);
    return text;
}

std::u16string PayloadFileName(std::u16string_view name, const EmbeddedPayload& payload) {
    const char* extension = PayloadExtension(payload.format);
    if (extension == nullptr) {
        return u"";
    }
    char tail[64];
    char place[24] = {};
    if (payload.place >= 0) {
        std::snprintf(place, sizeof place, ".%d", payload.place);
    }
    char variant[24] = {};
    if (payload.variant == kPayloadMask) {
        std::snprintf(variant, sizeof variant, "-mask");
    } else if (payload.variant >= 2) {
        std::snprintf(variant, sizeof variant, "-%u", payload.variant);
    }
    std::snprintf(tail, sizeof tail, "-%d%s%s.%s", payload.record, place, variant, extension);
    std::u16string file(name);
    for (const char* unit = tail; *unit != 0; ++unit) {
        file += static_cast<char16_t>(*unit);
    }
    return file;
}
