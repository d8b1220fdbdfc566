// Metafiles built to break a player that trusts their records.
#include "tests/support/hostile_metafiles.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <initializer_list>
#include <utility>

#include "document/record_guard.h"
#include "tests/support/emf_builder.h"

namespace {

constexpr uint16_t kHandles = 4;

RecordBuilder Rec(uint32_t type, uint32_t size) {
    return RecordBuilder(type, size);
}

// `file` with header fields overridden, each {offset, value}.
std::vector<uint8_t> WithHeader(EmfBuilder file,
                                std::initializer_list<std::pair<uint32_t, uint32_t>> fields) {
    for (const auto& [offset, value] : fields) {
        file.HeaderU32(offset, value);
    }
    return file.Build();
}

// A DIB block at `at`: 8 x 4 pixels of 8 bits with two colours, header and table 48 bytes,
// then 32 bytes of bits.
void PutDib(RecordBuilder& r, uint32_t off_bmi_field, uint32_t off_bits_field, uint32_t at) {
    r.U32(at, 40).I32(at + 4, 8).I32(at + 8, 4).U16(at + 12, 1).U16(at + 14, 8).U32(at + 32, 2);
    r.U32(off_bmi_field, at).U32(off_bmi_field + 4, 48);
    r.U32(off_bits_field, at + 48).U32(off_bits_field + 4, 32);
    r.Resize(at + 80);
}

RecordBuilder StretchDIBits() {
    RecordBuilder r(81, 80);
    r.I32(40, 8).I32(44, 4).U32(68, 0x00CC0020).I32(72, 80).I32(76, 40);
    PutDib(r, 48, 56, 80);
    return r;
}

RecordBuilder BitBlt(uint32_t type) {
    const uint32_t structure = type == 76 ? 100 : 108;
    RecordBuilder r(type, structure);
    r.I32(32, 8).I32(36, 4).U32(40, 0x00CC0020).F32(52, 1.0f).F32(64, 1.0f);
    if (type != 76) {
        r.I32(100, 8).I32(104, 4);
    }
    if (type == 114) {
        r.U32(40, 0x00FF0000);  // BLENDFUNCTION: source constant alpha 255
    }
    PutDib(r, 84, 92, structure);
    return r;
}

RecordBuilder Region(uint32_t type, uint32_t cb_field, uint32_t data, uint32_t count) {
    RecordBuilder r(type, data + 48);
    r.U32(cb_field, 48).U32(data, 32).U32(data + 4, 1).U32(data + 8, count).U32(data + 12, 16);
    r.I32(data + 32, 1).I32(data + 36, 1).I32(data + 40, 50).I32(data + 44, 50);
    return r;
}

// The other kinds of damage the guard knows, one record each: point and polygon counts of the
// remaining list types, objects made or used outside the table, pattern brushes, the second
// bitmap of a mask or parallelogram blit, core and compressed bitmap headers, opaque data of
// the remaining types, and the undefined types.
void AddMoreDamagedRecords(std::vector<RecordBuilder>& records) {
    records.push_back(Rec(2, 36).U32(24, 0xFFFFFFFF));
    records.push_back(Rec(6, 36).U32(24, 0x20000001));  // 8 bytes a point: wraps to 8
    records.push_back(Rec(85, 32).U32(24, 0x40000001));
    records.push_back(Rec(89, 32).U32(24, 0xFFFFFFFF));
    records.push_back(Rec(92, 36).U32(24, 0x33333334));  // 5 bytes a point: wraps to 4
    records.push_back(Rec(8, 48).U32(24, 2).U32(28, 2).U32(32, 0xFFFFFFFF).U32(36, 3));
    records.push_back(Rec(7, 40).U32(24, 0x40000001).U32(28, 1));
    records.push_back(Rec(49, 24).U32(8, kHandles).U16(12, 0x300).U16(14, 1));
    records.push_back(Rec(82, 368).U32(8, 0));
    records.push_back(Rec(99, 340).U32(8, 0x80000001));
    records.push_back(Rec(122, 612).U32(8, kHandles));
    records.push_back(Rec(95, 52).U32(8, 0xFFFFFFFF));
    records.push_back(Rec(37, 12).U32(8, 0));
    records.push_back(Rec(48, 12).U32(8, kHandles));
    records.push_back(Rec(51, 16).U32(8, 0x80000002));
    records.push_back(Rec(111, 24).U32(8, 9));
    for (uint32_t style : {3u, 5u, 9u, 0xFFFFFFFFu}) {
        records.push_back(Rec(39, 24).U32(8, 3).U32(12, style).U32(20, 0xDEADBEEF));
    }
    RecordBuilder plg(79, 140);
    plg.I32(56, 8).I32(60, 4);
    PutDib(plg, 96, 104, 140);
    plg.U32(124, 140).U32(128, 48).U32(132, 188).U32(136, 33);
    records.push_back(plg);
    RecordBuilder mask(78, 128);
    mask.I32(32, 8).I32(36, 4).U32(40, 0xAACC0020);
    PutDib(mask, 84, 92, 128);
    mask.U32(112, 128).U32(116, 0xFFFFFFF0).U32(120, 176).U32(124, 32);
    records.push_back(mask);
    // A core header of 2 bits and 8 x 2 pixels whose bits are cut to 4 bytes.
    RecordBuilder core(81, 112);
    core.I32(40, 8).I32(44, 2).U32(68, 0x00CC0020);
    core.U32(80, 12).U16(84, 8).U16(86, 2).U16(88, 1).U16(90, 2);
    core.U32(48, 80).U32(52, 24).U32(56, 104).U32(60, 4);
    records.push_back(core);
    // Compressed bits shorter than the size the header gives them.
    records.push_back(StretchDIBits().U16(94, 0).U32(96, 5).U32(100, 0x7FFFFFFF).U32(112, 0));
    // Dimensions whose image size does not fit 64 bits.
    records.push_back(StretchDIBits().I32(84, 0x7FFFFFFF).U32(88, 0x80000000).U16(94, 0xFFFF));
    records.push_back(Rec(102, 16).U32(8, 0xFFFFFFFF));
    records.push_back(Rec(103, 36).U32(24, 9));
    records.push_back(Rec(105, 24).U32(12, 0xFFFFFFF0));
    records.push_back(Rec(112, 24).U32(12, 8).U32(16, 0xFFFFFFFF));
    records.push_back(Rec(121, 32).U32(16, 0x80000000).U32(20, 0x80000008));
    records.push_back(Rec(119, 28).U32(8, 3));
    for (uint32_t type : {0u, 107u, 117u, 123u, 0x80000001u}) {
        records.push_back(Rec(type, 16));
    }
}

std::vector<RecordBuilder> DamagedRecords() {
    std::vector<RecordBuilder> records;
    // Text whose string lies far outside the record, a text record of 12 bytes, spacing
    // beyond the record, and a polytext of a huge string count.
    records.push_back(Rec(84, 84).U32(44, 4).U32(48, 0x00100000).U32(72, 76));
    records.push_back(Rec(83, 12));
    records.push_back(Rec(84, 84).U32(44, 2).U32(48, 76).U32(72, 0xFFFFFFF8));
    records.push_back(Rec(97, 80).U32(36, 0x07FFFFFF).U32(48, 3).U32(52, 0x7FFFFFF0));
    records.push_back(Rec(108, 60).U32(16, 0x40000000));
    // Object indices outside the table, stock objects where the player indexes its table.
    records.push_back(Rec(38, 28).U32(8, 100).U32(24, 0x0000FF));
    records.push_back(Rec(38, 28).U32(8, 0x80000001));
    records.push_back(Rec(37, 12).U32(8, 1000));
    records.push_back(Rec(40, 12).U32(8, 0x80000005));
    records.push_back(Rec(40, 12).U32(8, 70000));
    records.push_back(Rec(100, 12).U32(8, 0x80000001));
    records.push_back(Rec(101, 12).U32(8, 0x80000001));
    records.push_back(Rec(50, 20).U32(8, 0x80000003).U32(16, 0));
    records.push_back(Region(71, 24, 32, 1).U32(28, 0x80000004));
    records.push_back(Region(72, 24, 40, 1).U32(28, 9999).I32(32, 1).I32(36, 1));
    // Point and polygon counts beyond the record.
    records.push_back(Rec(87, 32).U32(24, 100000));
    records.push_back(Rec(4, 36).U32(24, 0x20000001));
    records.push_back(Rec(91, 48).U32(24, 2).U32(28, 2).U32(32, 0xFFFFFFFF).U32(36, 3));
    records.push_back(Rec(90, 40).U32(24, 0x3FFFFFFF).U32(28, 1));
    records.push_back(Rec(56, 40).U32(24, 0x0FFFFFFF));
    // Regions with rectangles beyond their data.
    records.push_back(Region(75, 8, 16, 0x01000000).U32(12, 5));
    records.push_back(Region(74, 24, 28, 0xFFFFFFFF));
    records.push_back(Region(73, 24, 28, 1).U32(24, 0xFFFFFFF0));
    // Bitmaps: bits short of the image, header beyond the record, offsets that wrap,
    // dimensions far larger than the bits.
    records.push_back(StretchDIBits().U32(60, 16));
    records.push_back(StretchDIBits().U32(48, 0x7FFFFF00));
    records.push_back(StretchDIBits().U32(56, 0xFFFFFFF0));
    records.push_back(StretchDIBits().I32(84, 0x7FFFFFFF).I32(88, 0x7FFFFFFF));
    records.push_back(StretchDIBits().U32(112, 0));  // 256 colours for a table of two
    records.push_back(BitBlt(76).U32(84, 0x40000000));
    records.push_back(BitBlt(77).U32(96, 8));
    records.push_back(BitBlt(114).U32(96, 8));
    records.push_back(BitBlt(116).I32(112, 5000).I32(116, 5000));
    RecordBuilder mask(78, 128);
    mask.I32(32, 8).I32(36, 4).U32(40, 0xAACC0020);
    PutDib(mask, 112, 120, 128);
    mask.I32(132, 4000);
    records.push_back(mask);
    RecordBuilder plg(79, 140);
    plg.I32(56, 8).I32(60, 4);
    PutDib(plg, 96, 104, 140);
    plg.U32(108, 0x10000);
    records.push_back(plg);
    RecordBuilder set(80, 76);
    set.I32(40, 8).I32(44, 4).U32(72, 4);
    PutDib(set, 48, 56, 76);
    set.U32(76, 0x40000000);
    records.push_back(set);
    RecordBuilder brush(94, 32);
    brush.U32(8, 2);
    PutDib(brush, 16, 24, 32);
    brush.U32(16, 0xFFFFFFF8).U32(20, 0x10);
    records.push_back(brush);
    RecordBuilder mono(93, 32);
    mono.U32(8, 2);
    PutDib(mono, 16, 24, 32);
    mono.U32(28, 0x7FFFFFFF);
    records.push_back(mono);
    // Brush and pen whose pattern the player would take from a pointer in the record.
    records.push_back(Rec(39, 24).U32(8, 2).U32(12, 6).U32(20, 0x12345678));
    records.push_back(Rec(95, 52).U32(8, 2).U32(28, 0x10000).U32(32, 1).U32(36, 6).U32(48, 1000));
    RecordBuilder pen(95, 52);
    pen.U32(8, 2).U32(28, 0x10000).U32(32, 1).U32(36, 6);
    PutDib(pen, 12, 20, 52);
    pen.U32(52, 0x01000000);
    records.push_back(pen);
    // Palettes of more entries than the record holds.
    records.push_back(Rec(49, 24).U32(8, 3).U16(12, 0x300).U16(14, 0xFFFF));
    records.push_back(Rec(50, 24).U32(8, 3).U32(16, 0x3FFFFFFF));
    // A font whose design vector runs on.
    records.push_back(Rec(82, 368).U32(8, 1).U32(360, 0x08007664).U32(364, 0x7FFFFFFF));
    // A gradient whose mesh names vertices that are not there.
    records.push_back(Rec(118, 96).U32(24, 3).U32(28, 1).U32(32, 2).U32(92, 0x00FFFFFF));
    records.push_back(Rec(118, 96).U32(24, 0x10000000).U32(28, 1).U32(32, 2));
    // Data sizes beyond the record, some wrapping 32 bits when added.
    records.push_back(Rec(70, 16).U32(8, 0xFFFFFFFF));
    records.push_back(Rec(106, 24).U32(8, 0x1017).U32(12, 0x7FFFFFFF));
    records.push_back(Rec(110, 24).U32(12, 0xFFFFFFFF).U32(16, 8));
    records.push_back(Rec(113, 24).U32(12, 0x80000000).U32(16, 0x80000004));
    records.push_back(Rec(122, 612).U32(8, 3).U32(604, 0xFFFFFFFF));
    // Types the format does not define, and records that belong only first or last.
    records.push_back(Rec(69, 16));
    records.push_back(Rec(200, 16));
    records.push_back(Rec(14, 20).U32(8, 1000).U32(12, 16).U32(16, 20));
    AddMoreDamagedRecords(records);
    return records;
}

}  // namespace

std::vector<HostileMetafile> HostileMetafiles() {
    std::vector<HostileMetafile> files;
    const std::vector<RecordBuilder> records = DamagedRecords();
    EmfBuilder all;
    all.Handles(kHandles);
    // A pen and a brush in the table first, so that a damaged record meets a live table.
    all.Add(Rec(38, 28).U32(8, 1).U32(16, 3)).Add(Rec(37, 12).U32(8, 1));
    all.Add(Rec(39, 24).U32(8, 2).U32(16, 0x00FF00)).Add(Rec(37, 12).U32(8, 2));
    for (size_t i = 0; i < records.size(); ++i) {
        all.Add(records[i]);
        EmfBuilder one;
        one.Handles(kHandles).Add(Rec(43, 24).I32(16, 50).I32(20, 50)).Add(records[i]);
        files.push_back({"record-" + std::to_string(i), one.Build()});
    }
    all.Add(Rec(42, 24).I32(16, 60).I32(20, 60));
    files.push_back({"all-records", all.Build()});

    // Headers the player would trust: no object table, a description and a pixel format
    // outside the header, an empty frame and device, an end-of-file palette beyond its record,
    // no end-of-file record at all.
    files.push_back({"no-object-table",
                     EmfBuilder().Handles(0).Add(Rec(38, 28).U32(8, 0)).Add(Rec(40, 12)).Build()});
    files.push_back({"description-outside", WithHeader(EmfBuilder().Description(u"x"),
                                                       {{60, 0x7FFFFFFF}, {64, 0xFFFFFF00}})});
    files.push_back({"pixel-format-outside", WithHeader(EmfBuilder().Description(u"pixel format"),
                                                        {{88, 40}, {92, 0x7FFFFFF0}})});
    const RecordBuilder square = Rec(42, 24).I32(16, 50).I32(20, 50);
    files.push_back({"empty-frame", WithHeader(EmfBuilder().Frame(0, 0, 0, 0).Add(square),
                                               {{72, 0}, {76, 0}, {80, 0}, {84, 0}})});
    files.push_back(
        {"no-end-of-file", EmfBuilder().NoEof().Add(Rec(43, 24).I32(16, 50).I32(20, 50)).Build()});
    return files;
}

namespace {

void PutU32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value) {
    for (int i = 0; i < 4 && offset + i < bytes.size(); ++i) {
        bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

std::vector<uint8_t> With32(std::vector<uint8_t> bytes, size_t offset, uint32_t value) {
    PutU32(bytes, offset, value);
    return bytes;
}

std::vector<uint8_t> Cut(const std::vector<uint8_t>& bytes, size_t length) {
    return std::vector<uint8_t>(bytes.begin(), bytes.begin() + std::min(length, bytes.size()));
}

// A sound little picture of six records: a described header, a pen made and selected, a
// rectangle, a three-point polyline and the end-of-file record.
std::vector<uint8_t> BaseFile() {
    return EmfBuilder()
        .Handles(2)
        .Description(std::u16string_view(u"Orvella\0hostile\0\0", 17))
        .Add(Rec(38, 28).U32(8, 1).U32(16, 3).U32(24, 0x0000C0))
        .Add(Rec(37, 12).U32(8, 1))
        .Add(Rec(43, 24).I32(8, 10).I32(12, 10).I32(16, 90).I32(20, 60))
        .Add(Rec(87, 40).U32(24, 3).I16(32, 50).I16(34, 90).I16(36, 99))
        .Build();
}

// Where each record of a sound file starts.
std::vector<size_t> RecordStarts(const std::vector<uint8_t>& bytes) {
    std::vector<size_t> starts;
    for (size_t at = 0; at + 8 <= bytes.size();) {
        starts.push_back(at);
        at += RecordSizeField(RecordView{bytes.data() + at, 8});
    }
    return starts;
}

constexpr int32_t kLeast = INT32_MIN;
constexpr int32_t kMost = INT32_MAX;

void AddHeaderDamage(std::vector<HostileMetafile>& files, const std::vector<uint8_t>& base) {
    const size_t header = RecordSizeField(RecordView{base.data(), 8});
    files.push_back({"empty-file", {}});
    for (size_t length : {size_t{4}, size_t{8}, size_t{40}, size_t{87}, size_t{108}}) {
        files.push_back({"header-cut-at-" + std::to_string(length), Cut(base, length)});
    }
    files.push_back({"header-only", Cut(base, header)});
    for (uint32_t size : {0u, 8u, 87u, static_cast<uint32_t>(header) + 2,
                          static_cast<uint32_t>(base.size()) + 8, 0xFFFFFFF8u}) {
        files.push_back({"header-size-" + std::to_string(size), With32(base, 4, size)});
    }
    files.push_back({"no-signature", With32(base, 40, 0x20464D45)});
    files.push_back({"description-into-head", With32(With32(base, 64, 8), 60, 20)});
    files.push_back({"description-huge", With32(base, 60, 0x7FFFFFFF)});
    files.push_back({"description-odd-offset", With32(base, 64, 109)});
}

void AddCountDamage(std::vector<HostileMetafile>& files, const std::vector<uint8_t>& base) {
    const size_t header = RecordSizeField(RecordView{base.data(), 8});
    for (uint32_t records : {0u, 1u, 2u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
        files.push_back({"records-" + std::to_string(records), With32(base, 52, records)});
    }
    const uint32_t size = static_cast<uint32_t>(base.size());
    for (uint32_t bytes : {0u, 8u, static_cast<uint32_t>(header), size - 4, size + 0x10000000,
                           0x7FFFFFFFu, 0xFFFFFFFFu}) {
        files.push_back({"bytes-" + std::to_string(bytes), With32(base, 48, bytes)});
    }
    files.push_back({"all-counts-absurd",
                     With32(With32(With32(base, 48, 0xFFFFFFFF), 52, 0x7FFFFFFF), 56, 0xFFFF)});
}

void AddRecordSizeDamage(std::vector<HostileMetafile>& files, const std::vector<uint8_t>& base) {
    const std::vector<size_t> starts = RecordStarts(base);
    const size_t rectangle = starts[3];
    const size_t polyline = starts[4];
    const size_t eof = starts[5];
    for (uint32_t size : {0u, 4u, 26u, 0x1000u, 0xFFFFFFF8u}) {
        files.push_back({"record-size-" + std::to_string(size), With32(base, rectangle + 4, size)});
    }
    files.push_back({"end-of-file-size-0", With32(base, eof + 4, 0)});
    files.push_back({"end-of-file-size-beyond", With32(base, eof + 4, 24)});
    files.push_back({"cut-mid-record", Cut(base, polyline + 20)});
    files.push_back({"cut-before-end-of-file", Cut(base, eof)});
    files.push_back({"cut-mid-end-of-file", Cut(base, eof + 12)});
}

void AddOrderDamage(std::vector<HostileMetafile>& files, const std::vector<uint8_t>& base) {
    const size_t header = RecordSizeField(RecordView{base.data(), 8});
    EmfBuilder after_end;
    after_end.Handles(2).Add(Rec(43, 24).I32(16, 50).I32(20, 50)).Add(EofRecord());
    after_end.Add(Rec(38, 28).U32(8, 1).U32(16, 3)).Add(Rec(37, 12).U32(8, 1));
    files.push_back({"records-after-end-of-file", after_end.Build()});
    EmfBuilder second;
    second.Handles(2).Add(std::vector<uint8_t>(base.begin(), base.begin() + header));
    second.Add(Rec(42, 24).I32(16, 50).I32(20, 50));
    files.push_back({"second-header", second.Build()});
    EmfBuilder only_headers;
    only_headers.NoEof();
    for (int i = 0; i < 3; ++i) {
        only_headers.Add(std::vector<uint8_t>(base.begin(), base.begin() + header));
    }
    files.push_back({"headers-only", only_headers.Build()});
}

void AddPictureDamage(std::vector<HostileMetafile>& files) {
    const RecordBuilder square = Rec(43, 24).I32(8, 10).I32(12, 10).I32(16, 90).I32(20, 90);
    files.push_back(
        {"frame-at-limits", EmfBuilder().Frame(kLeast, kLeast, kMost, kMost).Add(square).Build()});
    files.push_back({"bounds-at-limits",
                     EmfBuilder().Bounds(kLeast, kLeast, kMost, kMost).Add(square).Build()});
    files.push_back({"frame-inverted", EmfBuilder().Frame(2645, 2645, 0, 0).Add(square).Build()});
    files.push_back({"frame-thin", EmfBuilder().Frame(0, 0, kMost, 1).Add(square).Build()});
    files.push_back({"frame-tall", EmfBuilder().Frame(kMost, kLeast, kMost, kMost).Build()});
    files.push_back(
        {"device-negative",
         WithHeader(EmfBuilder().Add(square),
                    {{72, 0xFFFFFFFF}, {76, 0x80000000}, {80, 0x80000000}, {84, 0xFFFFFFFF}})});
    files.push_back({"handles-65535", EmfBuilder()
                                          .Handles(0xFFFF)
                                          .Add(Rec(39, 24).U32(8, 0xFFFE).U32(16, 0xFF))
                                          .Add(Rec(37, 12).U32(8, 0xFFFE))
                                          .Add(square)
                                          .Add(Rec(40, 12).U32(8, 0xFFFE))
                                          .Build()});
    files.push_back(
        {"huge-coordinates",
         EmfBuilder()
             .Add(Rec(43, 24).I32(8, kLeast).I32(12, kLeast).I32(16, kMost).I32(20, kMost))
             .Add(Rec(9, 16).I32(8, kMost).I32(12, kMost))
             .Add(Rec(10, 16).I32(8, kLeast).I32(12, kLeast))
             .Add(Rec(42, 24).I32(8, kLeast).I32(16, kMost))
             .Build()});
}

}  // namespace

std::vector<HostileMetafile> MalformedMetafiles() {
    std::vector<HostileMetafile> files;
    const std::vector<uint8_t> base = BaseFile();
    files.push_back({"base", base});
    AddHeaderDamage(files, base);
    AddCountDamage(files, base);
    AddRecordSizeDamage(files, base);
    AddOrderDamage(files, base);
    AddPictureDamage(files);
    return files;
}

namespace {

// The types swept: every type the format defines, the gaps it leaves, and types beyond it.
std::vector<uint32_t> SweptTypes() {
    std::vector<uint32_t> types;
    for (uint32_t type = 0; type <= 124; ++type) {
        if (type != 14) {
            types.push_back(type);
        }
    }
    types.push_back(0x7FFFFFFF);
    types.push_back(0xFFFFFFFF);
    return types;
}

uint32_t StructureOrSome(uint32_t type) {
    const uint32_t structure = RecordStructureBytes(type);
    return structure < 8 ? 8 : structure;
}

// Each type cut to `size(structure)` bytes (at least 8), every byte after the head `fill`.
// With `filled_end`, the end-of-file record is of 32 bytes filled the same way.
template <typename Size>
std::vector<uint8_t> EveryType(Size size, uint8_t fill, bool filled_end) {
    EmfBuilder file;
    file.Handles(kHandles);
    std::vector<uint32_t> types = SweptTypes();
    if (filled_end) {
        file.NoEof();
        types.push_back(14);
    }
    for (uint32_t type : types) {
        RecordBuilder record(type, type == 14 ? 32 : size(StructureOrSome(type)));
        for (uint32_t at = 8; at < record.bytes().size(); ++at) {
            record.U8(at, fill);
        }
        file.Add(record);
    }
    return file.Build();
}

// A small deterministic generator, so that every run builds the same files.
class WordSource {
  public:
    explicit WordSource(uint32_t seed) : state_(seed * 2654435761u + 1) {}
    uint32_t Next() {
        state_ = state_ * 1664525u + 1013904223u;
        return (state_ >> 8) ^ (state_ << 13);
    }
    uint32_t Below(uint32_t bound) { return Next() % bound; }

  private:
    uint32_t state_;
};

// A word a hostile writer would put in a count, an offset, a size or an object index: the
// limits of 32 bits, stock objects, places inside, at and just past the record, or noise.
uint32_t HostileWord(WordSource& source, uint32_t record_size) {
    const uint32_t pick = source.Below(16);
    if (pick == 2) {
        return 2 + source.Below(6);
    }
    if (pick == 7) {
        return 0x80000000 + source.Below(20);
    }
    if (pick == 8 || pick == 9) {
        return source.Below(record_size + 1);
    }
    if (pick == 12) {
        return source.Below(0x10000);
    }
    const uint32_t fixed[] = {0,          1, 0, 0x7FFFFFFF, 0x80000000,  0xFFFFFFFF,
                              0xFFFFFFF8, 0, 0, 0,          record_size, record_size + 4};
    return pick < 12 ? fixed[pick] : source.Next();
}

std::vector<uint8_t> EveryTypeMixed(uint32_t seed) {
    WordSource source(seed);
    EmfBuilder file;
    file.Handles(kHandles);
    for (uint32_t type : SweptTypes()) {
        const uint32_t size = StructureOrSome(type) + 4 * source.Below(24);
        RecordBuilder record(type, size);
        for (uint32_t at = 8; at < size; at += 4) {
            record.U32(at, HostileWord(source, size));
        }
        file.Add(record);
    }
    return file.Build();
}

}  // namespace

std::vector<HostileMetafile> EveryTypeMetafiles() {
    std::vector<HostileMetafile> files;
    for (uint8_t fill : {0x00, 0x7F, 0x80, 0xFF}) {
        char name[32];
        std::snprintf(name, sizeof name, "every-type-filled-%02x", fill);
        files.push_back(
            {name, EveryType([](uint32_t structure) { return structure + 24; }, fill, true)});
    }
    files.push_back({"every-type-head-only", EveryType([](uint32_t) { return 8u; }, 0x41, false)});
    files.push_back({"every-type-word-short",
                     EveryType([](uint32_t structure) { return structure - 4; }, 0x41, false)});
    for (uint32_t seed = 1; seed <= 8; ++seed) {
        files.push_back({"every-type-mixed-" + std::to_string(seed), EveryTypeMixed(seed)});
    }
    return files;
}
