// The record guard: which records may be handed to the platform's metafile player.
#include "document/record_guard.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <map>
#include <string>

#include "tests/support/call_text_utf8.h"

namespace {

constexpr uint32_t kHandles = 5;

testing::AssertionResult Gives(const RecordBuilder& record, GuardFault fault,
                               uint32_t handles = kHandles) {
    const GuardVerdict verdict = CheckRecordForPlayback(record.view(), handles);
    if (verdict.fault == fault) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << "got \"" << GuardFaultText(verdict.fault) << "\" ("
                                       << (verdict.field != nullptr ? verdict.field : "") << ")";
}

testing::AssertionResult Sound(const RecordBuilder& record, uint32_t handles = kHandles) {
    return Gives(record, GuardFault::kNone, handles);
}

RecordBuilder With(RecordBuilder record, uint32_t offset, uint32_t value) {
    record.U32(offset, value);
    return record;
}

constexpr GuardFault kCount = GuardFault::kCountBeyondRecord;
constexpr GuardFault kOffset = GuardFault::kOffsetBeyondRecord;
constexpr GuardFault kInto = GuardFault::kOffsetIntoStructure;
constexpr GuardFault kParts = GuardFault::kPartsDisagree;
constexpr GuardFault kIndex = GuardFault::kObjectIndexOutsideTable;
constexpr GuardFault kStock = GuardFault::kStockObjectNotAllowed;
constexpr GuardFault kUnsafe = GuardFault::kUnsafeValue;

struct Change {
    uint32_t offset;
    uint32_t value;
    GuardFault fault;
};

// `base` is sound, and each change of one field makes it give that change's fault.
void ExpectFaults(const RecordBuilder& base, std::initializer_list<Change> changes) {
    EXPECT_TRUE(Sound(base));
    for (const Change& c : changes) {
        EXPECT_TRUE(Gives(With(base, c.offset, c.value), c.fault)) << c.offset << " = " << c.value;
    }
}

// The smallest record of `type` whose call text is more than the placeholder, or 0.
uint32_t FormatterMinimum(uint32_t type) {
    for (uint32_t size = 8; size <= 1024; ++size) {
        if (CallTextUtf8(RecordBuilder(type, size), 1).find("(████████);") == std::string::npos) {
            return size;
        }
    }
    return 0;
}

// The guard's structure sizes against an independent source: a call formatter translates a
// record from the size of its fixed structure on, so the two agree but for the listed types,
// whose formatter reads fewer fields or which have none. One byte short (by the record's own
// size, whatever bytes follow) the formatter prints the placeholder and the guard refuses.
TEST(RecordGuard, StructureSizesAgreeWithTheFormattersAndFailOneByteShort) {
    struct Listed {
        uint32_t structure;
        uint32_t formatter;  // 0: the placeholder at any size; 8: printed as unknown
    };
    const std::map<uint32_t, Listed> listed = {
        {1, {88, 0}},    {7, {32, 0}},    {8, {32, 0}},     {14, {20, 0}},    {15, {20, 0}},
        {16, {12, 0}},   {23, {32, 0}},   {26, {16, 0}},    {31, {24, 0}},    {32, {24, 0}},
        {50, {20, 0}},   {51, {16, 0}},   {56, {28, 0}},    {57, {12, 0}},    {69, {0, 0}},
        {70, {12, 0}},   {76, {100, 52}}, {78, {128, 108}}, {79, {140, 120}}, {80, {76, 0}},
        {92, {28, 0}},   {93, {32, 20}},  {94, {32, 20}},   {96, {40, 0}},    {97, {40, 0}},
        {99, {340, 0}},  {102, {12, 0}},  {103, {28, 0}},   {104, {48, 0}},   {105, {16, 0}},
        {106, {16, 0}},  {107, {0, 0}},   {108, {36, 24}},  {109, {16, 0}},   {110, {20, 0}},
        {111, {24, 0}},  {112, {20, 0}},  {113, {20, 0}},   {114, {108, 0}},  {115, {12, 0}},
        {116, {108, 0}}, {117, {0, 0}},   {118, {36, 0}},   {119, {12, 0}},   {121, {24, 8}},
        {122, {608, 8}}};
    for (uint32_t type = 1; type <= 122; ++type) {
        SCOPED_TRACE(type);
        const auto found = listed.find(type);
        const uint32_t formatter = FormatterMinimum(type);
        const uint32_t structure = found != listed.end() ? found->second.structure : formatter;
        if (found != listed.end()) {
            EXPECT_EQ(formatter, found->second.formatter);
        }
        EXPECT_EQ(RecordStructureBytes(type), structure);
        if (structure == 0) {
            continue;
        }
        EXPECT_TRUE(Gives(RecordBuilder(type, structure).NSize(structure - 1),
                          GuardFault::kShorterThanStructure));
        // Records of the head alone read no field.
        if (formatter > 8) {
            EXPECT_NE(CallTextUtf8(RecordBuilder(type, formatter).NSize(formatter - 1), 1)
                          .find("(████████);"),
                      std::string::npos);
        }
    }
}

TEST(RecordGuard, TypesTheFormatDoesNotDefineAreNotPlayed) {
    for (uint32_t type : {0u, 69u, 107u, 117u, 123u, 0x80000001u}) {
        SCOPED_TRACE(type);
        EXPECT_TRUE(Gives(RecordBuilder(type, 64), GuardFault::kUnknownType));
    }
}

TEST(RecordGuard, SizeMustBeHeldAndAMultipleOfFour) {
    EXPECT_TRUE(Sound(RecordBuilder(18, 12)));
    EXPECT_TRUE(Sound(RecordBuilder(18, 16)));  // longer than its structure
    RecordBuilder beyond(18, 12);
    beyond.NSize(16);
    EXPECT_TRUE(Gives(beyond, GuardFault::kSizeBeyondBytes));
    RecordBuilder odd(18, 16);
    odd.NSize(14);
    EXPECT_TRUE(Gives(odd, GuardFault::kSizeUnaligned));
    const uint8_t four[4] = {18, 0, 0, 0};
    EXPECT_EQ(CheckRecordForPlayback(RecordView{four, 4}, kHandles).fault,
              GuardFault::kShorterThanStructure);
    EXPECT_EQ(CheckRecordForPlayback(RecordView{}, kHandles).fault,
              GuardFault::kShorterThanStructure);
}

// Point lists: (type, bytes per point, including PolyDraw's type byte).
TEST(RecordGuard, PointCountsStayInsideTheRecord) {
    const struct {
        uint32_t type;
        uint32_t width;
    } kLists[] = {{2, 8}, {4, 8}, {6, 8}, {56, 9}, {85, 4}, {87, 4}, {89, 4}, {92, 5}};
    for (const auto& list : kLists) {
        SCOPED_TRACE(list.type);
        RecordBuilder three(list.type, (28 + 3 * list.width + 3) & ~3u);
        three.U32(24, 3);
        EXPECT_TRUE(Sound(three));
        EXPECT_TRUE(Gives(
            With(three, 24, 3 + (three.bytes().size() - 28 - 3 * list.width) / list.width + 1),
            kCount));
        EXPECT_TRUE(Gives(With(three, 24, 0xFFFFFFFF), kCount));
        // A count whose byte length wraps 32 bits to almost nothing.
        EXPECT_TRUE(Gives(
            With(three, 24, static_cast<uint32_t>((uint64_t{1} << 32) / list.width + 1)), kCount));
    }
}

TEST(RecordGuard, PolygonCountsAndTheirSumStayInsideThePoints) {
    for (const auto& [type, width] :
         {std::pair{8u, 8u}, std::pair{7u, 8u}, std::pair{91u, 4u}, std::pair{90u, 4u}}) {
        SCOPED_TRACE(type);
        // Two polygons of 2 and 3 points.
        RecordBuilder polys(type, 32 + 8 + 5 * width);
        polys.U32(24, 2).U32(28, 5).U32(32, 2).U32(36, 3);
        ExpectFaults(polys,
                     {{24, 3, kCount}, {28, 6, kCount}, {36, 4, kParts}, {24, 0x40000001, kCount}});
        // Counts whose sum wraps 32 bits to 5.
        EXPECT_TRUE(Gives(With(With(polys, 32, 0xFFFFFFFF), 36, 6), kParts));
    }
}

// ExtTextOutW: three characters at 76, three spacing values at 84.
RecordBuilder TextOutW() {
    RecordBuilder text(84, 96);
    text.U32(44, 3).U32(48, 76).Utf16(76, u"abc").U32(72, 84);
    return text;
}

TEST(RecordGuard, ExtTextOutStringAndSpacingStayInsideTheRecord) {
    const RecordBuilder text = TextOutW();
    // 0x2000 in the options is ETO_PDY: two spacing values per character.
    ExpectFaults(text, {{44, 4, kOffset},
                        {48, 92, kOffset},
                        {48, 0xFFFFFFFE, kOffset},
                        {48, 40, kInto},
                        {72, 88, kOffset},
                        {72, 0xFFFFFFFC, kOffset},
                        {52, 0x2000, kOffset}});
    EXPECT_TRUE(Sound(With(With(text, 52, 0x2000), 72, 0)));      // no spacing array
    EXPECT_TRUE(Sound(With(With(text, 44, 0), 48, 0xFFFFFFFF)));  // no characters

    RecordBuilder ansi(83, 96);
    ansi.U32(44, 8).U32(48, 76).Ansi(76, "abcdefgh").U32(72, 0);
    ExpectFaults(ansi, {{44, 21, kOffset}});
    EXPECT_TRUE(Gives(RecordBuilder(83, 12), GuardFault::kShorterThanStructure));
}

TEST(RecordGuard, PolyTextOutChecksEveryStringAndAlwaysItsSpacing) {
    // Two EMRTEXTs at 40 and 80; their strings at 120 and 124, spacing at 128 and 136.
    RecordBuilder poly(97, 144);
    poly.U32(36, 2);
    poly.U32(48, 2).U32(52, 120).U32(76, 128);
    poly.U32(88, 2).U32(92, 124).U32(116, 136);
    ExpectFaults(poly, {{36, 3, kCount}, {92, 142, kOffset}});
    // The player reads the spacing even without an offset: from the record's first byte.
    EXPECT_TRUE(Sound(With(poly, 116, 0)));
    EXPECT_TRUE(Gives(With(With(poly, 116, 0), 88, 37), kOffset));
}

TEST(RecordGuard, SmallTextOutTextFollowsTheOptionalRectangle) {
    RecordBuilder small(108, 60);
    small.U32(16, 4);  // four UTF-16 units after the rectangle
    ExpectFaults(small, {{16, 5, kCount}});
    EXPECT_TRUE(Sound(With(With(small, 20, 0x100), 16, 12)));        // ETO_NO_RECT
    EXPECT_TRUE(Sound(With(small, 20, 0x200 | 0x100).U32(16, 24)));  // ETO_SMALL_CHARS
    EXPECT_TRUE(Gives(RecordBuilder(108, 40), GuardFault::kShorterThanStructure));
}

// (type, structure, offset of the object index) of the records that create an object.
TEST(RecordGuard, CreatedObjectsGoIntoTheTable) {
    const struct {
        uint32_t type;
        uint32_t size;
    } kCreators[] = {{38, 28}, {39, 24}, {49, 16},  {82, 104}, {93, 32},
                     {94, 32}, {95, 52}, {99, 340}, {122, 608}};
    for (const auto& creator : kCreators) {
        SCOPED_TRACE(creator.type);
        const RecordBuilder last = With(RecordBuilder(creator.type, creator.size), 8, kHandles - 1);
        ExpectFaults(last, {{8, kHandles, kIndex}, {8, 0, kIndex}, {8, 0x80000001, kStock}});
        EXPECT_TRUE(Gives(last, kIndex, 1));
    }
}

TEST(RecordGuard, SelectingMayNameAStockObjectUsingOrDeletingMayNot) {
    for (uint32_t type : {37u, 48u}) {
        SCOPED_TRACE(type);
        EXPECT_TRUE(Sound(With(RecordBuilder(type, 12), 8, 0x80000005)));
        EXPECT_TRUE(Sound(With(RecordBuilder(type, 12), 8, kHandles - 1)));
        EXPECT_TRUE(Gives(With(RecordBuilder(type, 12), 8, kHandles), kIndex));
    }
    const struct {
        uint32_t type;
        uint32_t size;
        uint32_t index;
    } kUsers[] = {{40, 12, 8},  {50, 20, 8},  {51, 16, 8},  {100, 12, 8},
                  {101, 12, 8}, {111, 24, 8}, {71, 32, 28}, {72, 40, 28}};
    for (const auto& user : kUsers) {
        SCOPED_TRACE(user.type);
        RecordBuilder record(user.type, user.size);
        if (user.type == 71 || user.type == 72) {
            record.U32(24, 32).U32(user.size, 32).Resize(user.size + 32);
        }
        ExpectFaults(With(record, user.index, kHandles - 1),
                     {{user.index, kHandles, kIndex}, {user.index, 0x80000004, kStock}});
    }
}

TEST(RecordGuard, BrushesMadeFromALogBrushAreSolidNullOrHatched) {
    const RecordBuilder brush = With(RecordBuilder(39, 24), 8, 1);
    for (uint32_t style : {0u, 1u, 2u}) {
        EXPECT_TRUE(Sound(With(brush, 12, style)));
    }
    // The pattern styles make the player take lbHatch for a handle or a pointer.
    for (uint32_t style : {3u, 5u, 6u, 9u, 0xFFFFFFFFu}) {
        EXPECT_TRUE(Gives(With(brush, 12, style), kUnsafe));
    }
}

TEST(RecordGuard, PaletteAndPenStyleEntriesStayInsideTheRecord) {
    // The palette's count is 16 bits, at 14; set palette and pen styles count 32-bit entries.
    ExpectFaults(RecordBuilder(49, 24).U32(8, 1).U32(12, 0x20000), {{12, 0x30000, kCount}});
    ExpectFaults(RecordBuilder(50, 28).U32(8, 1).U32(16, 2),
                 {{16, 3, kCount}, {16, 0x40000001, kCount}});
    ExpectFaults(RecordBuilder(95, 60).U32(8, 1).U32(48, 2),
                 {{48, 3, kCount}, {48, 0x40000001, kCount}});
}

// (type, offset of cbRgnData, offset of the region data) of the records that carry a region.
TEST(RecordGuard, RegionRectanglesStayInsideTheRegionData) {
    const struct {
        uint32_t type;
        uint32_t cb;
        uint32_t data;
    } kRegions[] = {{71, 24, 32}, {72, 24, 40}, {73, 24, 28}, {74, 24, 28}, {75, 8, 16}};
    for (const auto& region : kRegions) {
        SCOPED_TRACE(region.type);
        RecordBuilder record(region.type, region.data + 64);
        record.U32(region.cb, 64).U32(region.data, 32).U32(region.data + 4, 1);
        record.U32(region.data + 8, 2);
        if (region.type == 71 || region.type == 72) {
            record.U32(28, 1);
        }
        ExpectFaults(record, {{region.cb, 68, kCount},
                              {region.cb, 0xFFFFFFF0, kCount},
                              {region.data + 8, 3, kParts},
                              {region.data + 8, 0x10000001, kParts},
                              {region.cb, 16, kParts},
                              {region.data, 48, kParts}});
    }
    // Selecting no region at all resets the clipping.
    EXPECT_TRUE(Sound(RecordBuilder(75, 16).U32(12, 5)));
}

// (type, structure, offset of offBmi, offset of offBits) of every place a bitmap can be.
struct BitmapPlace {
    uint32_t type;
    uint32_t structure;
    uint32_t off_bmi;
    uint32_t off_bits;
};

constexpr BitmapPlace kBitmapPlaces[] = {
    {76, 100, 84, 92},  {77, 108, 84, 92},   {78, 128, 84, 92}, {78, 128, 112, 120},
    {79, 140, 96, 104}, {79, 140, 124, 132}, {80, 76, 48, 56},  {81, 80, 48, 56},
    {93, 32, 16, 24},   {94, 32, 16, 24},    {95, 52, 12, 20},  {114, 108, 84, 92},
    {116, 108, 84, 92},
};

// An 8 x 4 DIB of 8 bits with two colours (biClrUsed 2) right after the structure: header
// and table (48 bytes), then 32 bytes of bits.
RecordBuilder WithBitmap(const BitmapPlace& place) {
    RecordBuilder record(place.type, place.structure + 80);
    if (place.structure == 32 || place.structure == 52) {
        record.U32(8, 1);  // the object index of a brush or pen
    }
    if (place.type == 80) {
        record.U32(72, 4);  // cScans
    }
    const uint32_t at = place.structure;
    record.U32(at, 40).I32(at + 4, 8).I32(at + 8, 4).U16(at + 12, 1).U16(at + 14, 8);
    record.U32(at + 32, 2);
    record.U32(place.off_bmi, at).U32(place.off_bmi + 4, 48);
    record.U32(place.off_bits, at + 48).U32(place.off_bits + 4, 32);
    return record;
}

TEST(RecordGuard, BitmapHeaderTableAndBitsStayInsideTheRecord) {
    for (const BitmapPlace& place : kBitmapPlaces) {
        SCOPED_TRACE(testing::Message() << place.type << " at " << place.off_bmi);
        const RecordBuilder record = WithBitmap(place);
        const uint32_t at = place.structure;
        // biSize at `at`; without biClrUsed an 8-bit bitmap has 256 colours, a table that
        // would run on.
        ExpectFaults(record, {{place.off_bits + 4, 31, kParts},
                              {place.off_bits + 4, 33, kOffset},
                              {place.off_bits, at + 52, kOffset},
                              {place.off_bits, 0xFFFFFFF0, kOffset},
                              {place.off_bmi, 8, kInto},
                              {place.off_bmi, 0xFFFFFFF0, kOffset},
                              {place.off_bmi + 4, 47, kParts},
                              {at, 48, kParts},
                              {at, 16, kParts},
                              {at + 32, 0, kParts}});
        // Absent: no header size, its offset at the record's end, as writers leave it.
        EXPECT_TRUE(Sound(With(With(With(record, place.off_bmi + 4, 0), place.off_bits + 4, 0),
                               place.off_bmi, at + 80)));
        EXPECT_TRUE(
            Gives(With(With(record, place.off_bmi + 4, 0), place.off_bmi, at + 84), kOffset));
    }
}

TEST(RecordGuard, BitmapSizesFollowTheHeaderKind) {
    const BitmapPlace place = kBitmapPlaces[7];  // StretchDIBits
    const uint32_t at = place.structure;
    const RecordBuilder record = WithBitmap(place);
    // Palette indices: two bytes per colour, so the 48-byte block holds the table twice over.
    EXPECT_TRUE(Sound(With(With(record, 64, 1), at + 32, 4)));
    EXPECT_TRUE(Gives(With(With(record, 64, 1), at + 32, 5), kParts));
    // 32 bits with BI_BITFIELDS: three masks after the header; 8 x 1 pixels are 32 bytes.
    RecordBuilder fields = With(With(With(record, at + 8, 1), at + 32, 0), place.off_bmi + 4, 52);
    fields.U16(at + 14, 32).U32(at + 16, 3);
    EXPECT_TRUE(Sound(fields));
    EXPECT_TRUE(Gives(With(fields, place.off_bmi + 4, 48), kParts));
    // A core header: 12 bytes, colours of three bytes; 2 bits, 4 colours, 8 x 2 pixels.
    RecordBuilder core(81, at + 12 + 12 + 8);
    core.U32(at, 12).U16(at + 4, 8).U16(at + 6, 2).U16(at + 8, 1).U16(at + 10, 2);
    core.U32(48, at).U32(52, 24).U32(56, at + 24).U32(60, 8);
    EXPECT_TRUE(Sound(core));
    EXPECT_TRUE(Gives(With(core, 60, 4).Resize(at + 32), kParts));
    // JPEG or PNG bits: no colour table, biSizeImage bytes of bits.
    RecordBuilder png = With(With(record, at + 32, 0), at + 16, 5);
    png.U16(at + 14, 0).U32(at + 20, 32);
    EXPECT_TRUE(Sound(png));
    EXPECT_TRUE(Gives(With(png, at + 20, 33), kParts));
    // Dimensions whose image size does not fit 64 bits.
    RecordBuilder huge = With(With(record, at + 4, 0x7FFFFFFF), at + 8, 0x80000000);
    huge.U16(at + 14, 0xFFFF);
    EXPECT_TRUE(Gives(huge, kParts));
}

TEST(RecordGuard, SetDIBitsToDeviceNeedsOnlyTheScanLinesItSets) {
    const RecordBuilder record = With(WithBitmap(kBitmapPlaces[6]), 60, 16);
    EXPECT_TRUE(Gives(record, kParts));
    EXPECT_TRUE(Sound(With(record, 72, 2)));
}

TEST(RecordGuard, FontDesignVectorStaysInsideTheRecord) {
    EXPECT_TRUE(Sound(With(RecordBuilder(82, 104), 8, 1)));
    EXPECT_TRUE(Sound(With(RecordBuilder(82, 332), 8, 1)));
    RecordBuilder dv(82, 376);
    dv.U32(8, 1).U32(360, 0x08007664).U32(364, 2);
    ExpectFaults(dv, {{364, 3, kCount}});
    EXPECT_TRUE(Gives(With(dv, 364, 17).Resize(440), kCount));
    EXPECT_TRUE(Gives(With(RecordBuilder(82, 340), 8, 1), kCount));
}

TEST(RecordGuard, ValuesWhoseMagnitudeOverflowsAreNotPlayed) {
    const RecordBuilder restore = RecordBuilder(34, 12).I32(8, -1);
    ExpectFaults(restore, {{8, 0x80000000, kUnsafe}});
    EXPECT_TRUE(Sound(With(restore, 8, 0x80000001)));
    EXPECT_TRUE(Sound(With(restore, 8, 0x7FFFFFFF)));

    const RecordBuilder arc = RecordBuilder(41, 28).I32(8, 100).I32(12, -100).U32(16, 50);
    ExpectFaults(arc,
                 {{16, 0x7FFFFFFF, kUnsafe}, {16, 0xFFFFFFFF, kUnsafe}, {12, 0x8000000A, kUnsafe}});
    EXPECT_TRUE(Sound(With(With(With(arc, 8, INT32_MAX), 12, 0x80000000), 16, 0)));
    EXPECT_TRUE(Sound(With(With(With(arc, 8, 0), 12, 0), 16, INT32_MAX)));
    EXPECT_TRUE(Gives(With(With(arc, 8, 0x7F7F7F7F), 16, 0x7F7F7F7F), kUnsafe));
}

TEST(RecordGuard, GradientMeshNamesOnlyVerticesInsideTheRecord) {
    // Three vertices and one triangle.
    RecordBuilder triangle(118, 36 + 48 + 12);
    triangle.U32(24, 3).U32(28, 1).U32(32, 2).U32(84, 0).U32(88, 1).U32(92, 2);
    ExpectFaults(triangle,
                 {{92, 3, kParts}, {28, 2, kCount}, {24, 4, kCount}, {24, 0x10000001, kCount}});
    // Rectangles have two corners: the same bytes hold one rectangle and a spare word.
    EXPECT_TRUE(Sound(With(With(triangle, 32, 0), 88, 2)));
}

// (type, offset of the first size, offset of a second size or 0, offset of the data).
TEST(RecordGuard, OpaqueDataStaysInsideTheRecord) {
    const struct {
        uint32_t type;
        uint32_t size;
        uint32_t second;
        uint32_t data;
    } kData[] = {{70, 8, 0, 12},    {102, 8, 0, 12},   {103, 24, 0, 28},  {105, 12, 0, 16},
                 {106, 12, 0, 16},  {110, 12, 16, 20}, {112, 12, 16, 20}, {113, 12, 16, 20},
                 {121, 16, 20, 24}, {122, 604, 0, 608}};
    for (const auto& data : kData) {
        SCOPED_TRACE(data.type);
        RecordBuilder record(data.type, data.data + 8);
        record.U32(8, data.type == 122 ? 1 : 0).U32(data.size, 8);
        ExpectFaults(record, {{data.size, 9, kCount}, {data.size, 0xFFFFFFFF, kCount}});
        if (data.second != 0) {
            // The two sizes add up to 8 only when wrapped to 32 bits.
            ExpectFaults(record, {{data.second, 1, kCount}, {data.second, 0xFFFFFFFF, kCount}});
        }
    }
    ExpectFaults(RecordBuilder(119, 28).U32(8, 2), {{8, 3, kCount}});
}

RecordBuilder Header() {
    std::vector<uint8_t> file = EmfBuilder().Description(u"guard").Build();
    RecordBuilder header(1, 8);
    header.Bytes(0, std::vector<uint8_t>(file.begin(), file.begin() + 120));
    return header;
}

TEST(RecordGuard, HeaderHasSignatureObjectTableAndItsPartsInside) {
    const RecordBuilder header = Header();
    ExpectFaults(header, {{40, 0, kUnsafe},
                          {60, 7, kOffset},
                          {64, 112, kOffset},
                          {64, 84, kOffset},
                          {60, 0x80000001, kOffset}});
    EXPECT_TRUE(Gives(RecordBuilder(header).U16(56, 0), kUnsafe));
    // A pixel format block of 40 bytes after the description.
    RecordBuilder pixels = RecordBuilder(header).Resize(160);
    pixels.U32(88, 40).U32(92, 120);
    ExpectFaults(pixels, {{88, 39, kOffset}, {92, 124, kOffset}});
    // With the description right after the base header, bytes 88 on are the description's.
    RecordBuilder early = With(With(pixels, 64, 88), 60, 30);
    EXPECT_TRUE(Sound(With(early, 88, 0x00610062)));
}

TEST(RecordGuard, EndOfFilePaletteStaysBeforeTheLastField) {
    RecordBuilder eof(14, 28);
    eof.U32(8, 2).U32(12, 16).U32(24, 28);
    ExpectFaults(eof, {{8, 3, kCount}, {12, 20, kCount}, {12, 12, kInto}, {8, 0x40000001, kCount}});
    // Writers put the file's size in nSizeLast; playback never reads it.
    EXPECT_TRUE(Sound(With(eof, 24, 3212)));
    EXPECT_TRUE(Sound(EofRecord()));
}

}  // namespace
