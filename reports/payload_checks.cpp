// Whether the bytes of a payload make a whole file of their format.
#include "reports/payload_checks.h"

#include <array>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "document/emf_format.h"
#include "document/load_failure.h"
#include "document/metafile_reader.h"

namespace {

// A payload's bytes, read only through checked offsets. A payload is not a record: nothing in
// it gives its length but the bytes themselves, so RecordReader, which takes an nSize from
// bytes 4 to 7, is not the reader for it.
class Bytes {
  public:
    Bytes(const uint8_t* data, size_t size) : data_(data), size_(data == nullptr ? 0 : size) {}

    size_t size() const { return size_; }
    bool Has(size_t offset, size_t length) const {
        return offset <= size_ && length <= size_ - offset;
    }
    uint8_t U8(size_t at) const { return Has(at, 1) ? data_[at] : 0; }
    uint16_t Le16(size_t at) const {
        return Has(at, 2) ? static_cast<uint16_t>(data_[at] | data_[at + 1] << 8) : 0;
    }
    uint32_t Le32(size_t at) const {
        return Has(at, 4)
                   ? static_cast<uint32_t>(Le16(at) | static_cast<uint32_t>(Le16(at + 2)) << 16)
                   : 0;
    }
    uint16_t Be16(size_t at) const {
        return Has(at, 2) ? static_cast<uint16_t>(data_[at] << 8 | data_[at + 1]) : 0;
    }
    uint32_t Be32(size_t at) const {
        return Has(at, 4) ? static_cast<uint32_t>(Be16(at)) << 16 | Be16(at + 2) : 0;
    }
    bool Matches(size_t at, const char* text) const {
        const size_t length = std::strlen(text);
        return Has(at, length) && std::memcmp(data_ + at, text, length) == 0;
    }
    const uint8_t* data() const { return data_; }

    // The length without up to three trailing zero bytes: the padding of a record.
    size_t Unpadded() const {
        size_t end = size_;
        while (end > 0 && size_ - end < 3 && data_[end - 1] == 0) {
            --end;
        }
        return end;
    }

  private:
    const uint8_t* data_;
    size_t size_;
};

unsigned long long Count(size_t value) {
    return static_cast<unsigned long long>(value);
}

// The CRC-32 of PNG chunks (polynomial 0xEDB88320).
constexpr std::array<uint32_t, 256> kCrcTable = [] {
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) {
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
        table[n] = c;
    }
    return table;
}();

uint32_t Crc32(const uint8_t* bytes, size_t size) {
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        c = kCrcTable[(c ^ bytes[i]) & 0xFF] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFu;
}

// A chunk type as its four letters, or as hexadecimal when they are not letters (false then).
bool ChunkName(const Bytes& b, size_t at, char (&name)[16]) {
    bool letters = true;
    for (size_t k = 0; k < 4; ++k) {
        const uint8_t c = b.U8(at + k);
        letters = letters && ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'));
    }
    if (letters) {
        std::snprintf(name, sizeof name, "%c%c%c%c", b.U8(at), b.U8(at + 1), b.U8(at + 2),
                      b.U8(at + 3));
    } else {
        std::snprintf(name, sizeof name, "0x%08X", b.Be32(at));
    }
    return letters;
}

void CheckPng(const Bytes& b, PayloadCheck* out) {
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (!b.Has(0, 8) || std::memcmp(b.data(), kSignature, 8) != 0) {
        out->Say("no PNG signature");
        return;
    }
    // The first chunk whose CRC is wrong is the finding, wherever the chunks end.
    char name[16];
    char crc_name[16] = {};
    size_t crc_at = 0;
    auto finish = [&](PayloadCheck* check) {
        if (crc_name[0] != 0) {
            check->Say("%s chunk CRC wrong (the chunk at byte %llu)", crc_name, Count(crc_at));
        }
    };
    for (size_t at = 8;;) {
        if (!b.Has(at, 8)) {
            out->Say("ends before IEND");
            return finish(out);
        }
        const uint32_t length = b.Be32(at);
        if (!ChunkName(b, at + 4, name)) {
            out->Say("a damaged chunk type %s at byte %llu", name, Count(at));
            return finish(out);
        }
        if (!b.Has(at + 8, length) || !b.Has(at + 8 + length, 4)) {
            out->Say("ends inside its %s chunk at byte %llu, before IEND", name, Count(at));
            return finish(out);
        }
        if (at == 8) {
            if (std::strcmp(name, "IHDR") != 0 || length != 13) {
                out->Say("the first chunk is %s, not IHDR", name);
                return;
            }
            out->width = static_cast<int32_t>(b.Be32(at + 8));
            out->height = static_cast<int32_t>(b.Be32(at + 12));
        }
        if (crc_name[0] == 0 &&
            Crc32(b.data() + at + 4, 4 + size_t{length}) != b.Be32(at + 8 + length)) {
            std::memcpy(crc_name, name, sizeof name);
            crc_at = at;
        }
        at += 12 + static_cast<size_t>(length);
        if (std::strcmp(name, "IEND") == 0) {
            if (b.Unpadded() > at) {
                out->Say("%llu bytes after IEND", Count(b.size() - at));
            }
            return finish(out);
        }
    }
}

bool IsFrameMarker(uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

void CheckJpeg(const Bytes& b, PayloadCheck* out) {
    if (b.U8(0) != 0xFF || b.U8(1) != 0xD8) {
        out->Say("no JPEG start-of-image marker");
        return;
    }
    // The segments up to the first scan; the frame header among them gives the size.
    bool frame = false;
    for (size_t at = 2;;) {
        if (!b.Has(at, 2)) {
            out->Say("ends at byte %llu, before its first scan", Count(at));
            return;
        }
        if (b.U8(at) != 0xFF) {
            out->Say("no marker at byte %llu where one is due", Count(at));
            return;
        }
        const uint8_t marker = b.U8(at + 1);
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += 2;
            continue;
        }
        if (marker == 0xD9) {
            out->Say("its end-of-image marker at byte %llu comes before any scan", Count(at));
            return;
        }
        const uint16_t length = b.Be16(at + 2);
        if (length < 2 || !b.Has(at + 2, length)) {
            out->Say("ends inside the segment at byte %llu", Count(at));
            return;
        }
        if (IsFrameMarker(marker) && length >= 7) {
            frame = true;
            out->height = b.Be16(at + 5);
            out->width = b.Be16(at + 7);
        }
        if (marker == 0xDA) {
            break;
        }
        at += 2 + static_cast<size_t>(length);
    }
    const size_t end = b.Unpadded();
    if (end < 4 || b.U8(end - 2) != 0xFF || b.U8(end - 1) != 0xD9) {
        out->Say("ends without its end-of-image marker");
    } else if (!frame) {
        out->Say("no frame header before its scan");
    }
}

void CheckGif(const Bytes& b, PayloadCheck* out) {
    if (!b.Matches(0, "GIF87a") && !b.Matches(0, "GIF89a")) {
        out->Say("no GIF header");
        return;
    }
    if (!b.Has(0, 13)) {
        out->Say("ends inside its screen descriptor");
        return;
    }
    out->width = b.Le16(6);
    out->height = b.Le16(8);
    const size_t end = b.Unpadded();
    if (b.U8(end - 1) != 0x3B) {
        out->Say("ends without its trailer");
    }
}

void CheckTiff(const Bytes& b, PayloadCheck* out) {
    const bool little = b.Matches(0, "II*");
    if (!(little && b.U8(3) == 0) && !(b.Matches(0, "MM") && b.Be16(2) == 42)) {
        out->Say("no TIFF byte-order header");
        return;
    }
    auto u16 = [&](size_t at) { return little ? b.Le16(at) : b.Be16(at); };
    auto u32 = [&](size_t at) { return little ? b.Le32(at) : b.Be32(at); };
    const size_t directory = u32(4);
    const size_t entries = u16(directory);
    if (!b.Has(directory, 2) || !b.Has(directory + 2, entries * 12)) {
        out->Say("its first directory at byte %llu runs past the end", Count(directory));
        return;
    }
    for (size_t k = 0; k < entries; ++k) {
        const size_t entry = directory + 2 + 12 * k;
        const uint16_t tag = u16(entry);
        const uint16_t type = u16(entry + 2);
        const int32_t value = static_cast<int32_t>(type == 3   ? u16(entry + 8)
                                                   : type == 4 ? u32(entry + 8)
                                                               : 0);
        if (tag == 256) {
            out->width = value;
        } else if (tag == 257) {
            out->height = value;
        }
    }
}

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kBiJpeg = 4;
constexpr uint32_t kBiPng = 5;
constexpr uint32_t kBiAlphaBitfields = 6;

void CheckBmp(const Bytes& b, PayloadCheck* out) {
    if (!b.Matches(0, "BM")) {
        out->Say("no BM signature");
        return;
    }
    const uint32_t header = b.Le32(14);
    const bool core = header == 12;
    if (!b.Has(0, 14 + 4) || (!core && header < 40) || !b.Has(14, header)) {
        out->Say("its bitmap header (%u bytes) does not fit in the %llu bytes", header,
                 Count(b.size()));
        return;
    }
    const int64_t width = core ? b.Le16(18) : static_cast<int32_t>(b.Le32(18));
    const int64_t height = core ? b.Le16(20) : static_cast<int32_t>(b.Le32(22));
    const uint16_t planes = b.Le16(core ? 22 : 26);
    const uint16_t bits = b.Le16(core ? 24 : 28);
    const uint32_t compression = core ? kBiRgb : b.Le32(30);
    const uint32_t image_size = core ? 0 : b.Le32(34);
    const uint32_t used = core ? 0 : b.Le32(46);
    out->width = static_cast<int32_t>(width);
    out->height = static_cast<int32_t>(height < 0 ? -height : height);
    if (b.Le32(2) > b.size()) {
        out->Say("its file header says %u bytes, it holds %llu", b.Le32(2), Count(b.size()));
        return;
    }
    if (planes != 1) {
        out->Say("%u planes, not 1", planes);
        return;
    }
    const bool embedded = compression == kBiJpeg || compression == kBiPng;
    if (embedded ? bits != 0
                 : bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
        out->Say("a bit count of %u", bits);
        return;
    }
    if (width <= 0 || height == 0) {
        out->Say("a size of %lld x %lld", static_cast<long long>(width),
                 static_cast<long long>(height));
        return;
    }
    const uint64_t colours = bits <= 8 && bits > 0 ? (used != 0 ? used : 1u << bits) : used;
    const uint64_t masks = header != 40                       ? 0
                           : compression == kBiBitfields      ? 12
                           : compression == kBiAlphaBitfields ? 16
                                                              : 0;
    const uint64_t table = 14 + uint64_t{header} + masks + colours * (core ? 3 : 4);
    const uint32_t bits_at = b.Le32(10);
    if (bits_at < table) {
        out->Say("its colour table needs %llu bytes, the headers leave %lld",
                 static_cast<unsigned long long>(colours * (core ? 3 : 4)),
                 static_cast<long long>(bits_at) - 14 - header - static_cast<long long>(masks));
        return;
    }
    if (bits_at > b.size()) {
        out->Say("its bits begin at byte %u, past its end", bits_at);
        return;
    }
    const uint64_t held = b.size() - bits_at;
    uint64_t needed = image_size;
    if (compression == kBiRgb || compression == kBiBitfields || compression == kBiAlphaBitfields) {
        const uint64_t rows = static_cast<uint64_t>(height < 0 ? -height : height);
        needed = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4 * rows;
    } else if (compression != kBiRle8 && compression != kBiRle4 && !embedded) {
        out->Say("compression %u, which few readers know", compression);
        return;
    }
    if (held < needed) {
        out->Say("its bits are cut short: %llu of %llu bytes",
                 static_cast<unsigned long long>(held), static_cast<unsigned long long>(needed));
    }
}

int CountRecord(void* context, const uint8_t*, uint32_t) {
    ++*static_cast<uint32_t*>(context);
    return 1;
}

void CheckEmf(const Bytes& b, PayloadCheck* out) {
    LoadFailure refusal;
    ExplainRefusal(b.data(), b.size(), &refusal);
    if (refusal.text[0] != 0) {
        out->Say("%s", refusal.text);
        return;
    }
    uint32_t records = 0;
    const uint32_t size = b.size() > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(b.size());
    const ReadingStop stop = WalkMetafileBytes(b.data(), size, CountRecord, &records);
    switch (stop.reason) {
        case ReadingStopReason::kNone:
            return;
        case ReadingStopReason::kSizeBelowEight:
            out->Say("its records end at byte %u, at a record size of %u", stop.offset,
                     stop.size_field);
            return;
        case ReadingStopReason::kSizePastEnd:
            out->Say("its records end at byte %u: a record size of %u runs past its end",
                     stop.offset, stop.size_field);
            return;
        case ReadingStopReason::kFileEnds:
        case ReadingStopReason::kNoRoom:
            out->Say("its records end without an end-of-file record (%u read)", records);
            return;
    }
}

void CheckWmf(const Bytes& b, PayloadCheck* out) {
    // A placeable header of 22 bytes may come first.
    const size_t at = b.Le32(0) == 0x9AC6CDD7u ? 22 : 0;
    if (!b.Has(at, 18)) {
        out->Say("too short for a Windows metafile header");
        return;
    }
    const uint16_t type = b.Le16(at);
    const uint16_t words = b.Le16(at + 2);
    if ((type != 1 && type != 2) || words != 9) {
        out->Say("not a Windows metafile header (type %u, header size %u words)", type, words);
        return;
    }
    const uint64_t claimed = uint64_t{b.Le32(at + 6)} * 2;
    if (claimed > b.size() - at) {
        out->Say("its header says %llu bytes, it holds %llu",
                 static_cast<unsigned long long>(claimed), Count(b.size() - at));
    }
}

void CheckPdf(const Bytes& b, PayloadCheck* out) {
    if (!b.Matches(0, "%PDF-")) {
        out->Say("no %%PDF- header");
        return;
    }
    // The trailer's %%EOF, followed by at most line ends and padding, within the last 1 KiB.
    const size_t from = b.size() > 1024 ? b.size() - 1024 : 0;
    for (size_t at = b.size() >= 5 ? b.size() - 5 : 0;; --at) {
        if (b.Matches(at, "%%EOF")) {
            return;
        }
        if (at == from) {
            break;
        }
    }
    out->Say("no %%%%EOF at its end");
}

void CheckEps(const Bytes& b, PayloadCheck* out) {
    // A PostScript header, or the binary header of an EPS with a preview.
    if (!b.Matches(0, "%!PS") && b.Le32(0) != 0xC6D3D0C5u) {
        out->Say("no %%!PS header");
    }
}

void CheckIcc(const Bytes& b, PayloadCheck* out) {
    if (!b.Has(0, 128)) {
        out->Say("too short for a colour profile header (%llu bytes of 128)", Count(b.size()));
        return;
    }
    if (!b.Matches(36, "acsp")) {
        out->Say("no 'acsp' profile signature");
        return;
    }
    const uint32_t claimed = b.Be32(0);
    if (claimed > b.size() || claimed < b.Unpadded()) {
        out->Say("its header says %u bytes, it holds %llu", claimed, Count(b.size()));
    }
}

}  // namespace

bool PayloadCheck::ok() const {
    return std::strcmp(verdict, "ok") == 0;
}

void PayloadCheck::Say(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(verdict, sizeof verdict, format, arguments);
    va_end(arguments);
}

const char* PayloadFormatName(PayloadFormat format) {
    constexpr const char* kNames[] = {"BMP", "PNG", "JPEG", "GIF", "TIFF",   "EMF",
                                      "WMF", "EPS", "PDF",  "ICC", "pixels", "data"};
    return kNames[static_cast<size_t>(format)];
}

const char* PayloadExtension(PayloadFormat format) {
    constexpr const char* kExtensions[] = {"bmp", "png", "jpg", "gif", "tif",   "emf",
                                           "wmf", "eps", "pdf", "icc", nullptr, nullptr};
    return kExtensions[static_cast<size_t>(format)];
}

PayloadFormat ImageFormatBySignature(const uint8_t* bytes, size_t size) {
    const Bytes b(bytes, size);
    if (b.Be32(0) == 0x89504E47u) {
        return PayloadFormat::kPng;
    }
    if (b.Be16(0) == 0xFFD8) {
        return PayloadFormat::kJpeg;
    }
    if (b.Matches(0, "GIF8")) {
        return PayloadFormat::kGif;
    }
    if (b.Matches(0, "BM")) {
        return PayloadFormat::kBmp;
    }
    if (b.Matches(0, "II*") || b.Matches(0, "MM")) {
        return PayloadFormat::kTiff;
    }
    return PayloadFormat::kUnknown;
}

PayloadCheck CheckPayload(PayloadFormat format, const uint8_t* bytes, size_t size) {
    PayloadCheck check;
    const Bytes b(bytes, size);
    switch (format) {
        case PayloadFormat::kBmp:
            CheckBmp(b, &check);
            break;
        case PayloadFormat::kPng:
            CheckPng(b, &check);
            break;
        case PayloadFormat::kJpeg:
            CheckJpeg(b, &check);
            break;
        case PayloadFormat::kGif:
            CheckGif(b, &check);
            break;
        case PayloadFormat::kTiff:
            CheckTiff(b, &check);
            break;
        case PayloadFormat::kEmf:
            CheckEmf(b, &check);
            break;
        case PayloadFormat::kWmf:
            CheckWmf(b, &check);
            break;
        case PayloadFormat::kEps:
            CheckEps(b, &check);
            break;
        case PayloadFormat::kPdf:
            CheckPdf(b, &check);
            break;
        case PayloadFormat::kIcc:
            CheckIcc(b, &check);
            break;
        case PayloadFormat::kPixels:
        case PayloadFormat::kUnknown:
            check.Say("not written: no file format for it");
            break;
    }
    return check;
}
