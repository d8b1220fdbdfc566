// Metafiles built to break a player that trusts their records.
#include "tests/support/hostile_metafiles.h"

#include "tests/support/emf_builder.h"

namespace {

constexpr uint16_t kHandles = 4;

RecordBuilder Rec(uint32_t type, uint32_t size) {
    return RecordBuilder(type, size);
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
    {
        RecordBuilder mask(78, 128);
        mask.I32(32, 8).I32(36, 4).U32(40, 0xAACC0020);
        PutDib(mask, 112, 120, 128);
        mask.I32(132, 4000);
        records.push_back(mask);
    }
    {
        RecordBuilder plg(79, 140);
        plg.I32(56, 8).I32(60, 4);
        PutDib(plg, 96, 104, 140);
        plg.U32(108, 0x10000);
        records.push_back(plg);
    }
    {
        RecordBuilder set(80, 76);
        set.I32(40, 8).I32(44, 4).U32(72, 4);
        PutDib(set, 48, 56, 76);
        set.U32(76, 0x40000000);
        records.push_back(set);
    }
    {
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
    }
    // Brush and pen whose pattern the player would take from a pointer in the record.
    records.push_back(Rec(39, 24).U32(8, 2).U32(12, 6).U32(20, 0x12345678));
    records.push_back(Rec(95, 52).U32(8, 2).U32(28, 0x10000).U32(32, 1).U32(36, 6).U32(48, 1000));
    {
        RecordBuilder pen(95, 52);
        pen.U32(8, 2).U32(28, 0x10000).U32(32, 1).U32(36, 6);
        PutDib(pen, 12, 20, 52);
        pen.U32(52, 0x01000000);
        records.push_back(pen);
    }
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
    files.push_back({"description-outside", EmfBuilder()
                                                .Description(u"x")
                                                .HeaderU32(60, 0x7FFFFFFF)
                                                .HeaderU32(64, 0xFFFFFF00)
                                                .Build()});
    files.push_back({"pixel-format-outside", EmfBuilder()
                                                 .Description(u"pixel format")
                                                 .HeaderU32(88, 40)
                                                 .HeaderU32(92, 0x7FFFFFF0)
                                                 .Build()});
    files.push_back({"empty-frame", EmfBuilder()
                                        .Frame(0, 0, 0, 0)
                                        .HeaderU32(72, 0)
                                        .HeaderU32(76, 0)
                                        .HeaderU32(80, 0)
                                        .HeaderU32(84, 0)
                                        .Add(Rec(42, 24).I32(16, 50).I32(20, 50))
                                        .Build()});
    files.push_back(
        {"no-end-of-file", EmfBuilder().NoEof().Add(Rec(43, 24).I32(16, 50).I32(20, 50)).Build()});
    return files;
}
