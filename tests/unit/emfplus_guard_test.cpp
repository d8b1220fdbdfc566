// The guard of the EMF+ records handed to the platform's EMF+ player: what it replaces, with
// which field named, and how; what it keeps, byte for byte.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "emfplus/bezier_snap.h"
#include "emfplus/emfplus_guard.h"
#include "emfplus/emfplus_names.h"
#include "fuzz/fuzz_checks.h"
#include "tests/support/emf_builder.h"
#include "tests/support/emfplus_builder.h"

namespace {

// The file of `comments`, guarded; `out` receives the guarded bytes when given.
std::vector<std::string> Guard(const std::vector<RecordBuilder>& comments,
                               std::vector<uint8_t>* out = nullptr) {
    EmfBuilder file;
    for (const auto& comment : comments) {
        file.Add(comment);
    }
    std::vector<uint8_t> bytes = file.Build();
    const char* broken = CheckEmfPlusGuard(bytes);
    EXPECT_EQ(broken, nullptr) << broken;
    std::vector<std::string> replaced;
    for (const EmfPlusReplacement& r : GuardEmfPlusRecords(bytes)) {
        replaced.push_back(std::to_string(r.index) + "." + std::to_string(r.k) + " " +
                           r.verdict.field);
    }
    if (out != nullptr) {
        *out = bytes;
    }
    return replaced;
}

using Replaced = std::vector<std::string>;

// Objects of each kind held whole, sound.
std::vector<uint8_t> SolidBrush(uint8_t id) {
    return Plus(kEmfPlusObject, 0x0100 | id, Data().U32(0xDBC01002).U32(0).U32(0xFF00FF00));
}
std::vector<uint8_t> Pen(uint8_t id) {
    return Plus(kEmfPlusObject, 0x0200 | id,
                Data().U32(0xDBC01002).U32(0).U32(0).U32(2).F32(1).U32(0xDBC01002).U32(0).U32(0));
}
std::vector<uint8_t> Font(uint8_t id) {
    return Plus(kEmfPlusObject, 0x0600 | id,
                Data().U32(0xDBC01002).F32(12).U32(3).U32(0).U32(0).U32(2).Text(u"Ab"));
}
// A 2 x 2 bitmap of 32-bit pixels; `stride` and `rows` of pixel data as given.
std::vector<uint8_t> Bitmap(uint8_t id, uint32_t stride, uint32_t rows,
                            uint32_t format = 0x0026200A) {
    Data data;
    data.U32(0xDBC01002).U32(1).U32(2).U32(2).U32(stride).U32(format).U32(0);
    for (uint32_t k = 0; k < stride * rows / 4; ++k) {
        data.U32(0);
    }
    return Plus(kEmfPlusObject, 0x0500 | id, data);
}
std::vector<uint8_t> DrawLines(uint8_t pen, uint32_t count, uint32_t points) {
    Data data;
    data.U32(count);
    for (uint32_t k = 0; k < points; ++k) {
        data.F32(k).F32(k);
    }
    return Plus(kEmfPlusDrawLines, pen, data);
}

TEST(EmfPlusGuard, SoundRecordsPassUntouched) {
    const std::vector<RecordBuilder> comments = {
        PlusComment({Plus(kEmfPlusHeader, 1, Data().U32(0xDBC01002).U32(1).U32(96).U32(96)),
                     SolidBrush(1), Pen(2), Font(3), Bitmap(4, 8, 2)}),
        PlusComment(
            {Plus(kEmfPlusFillRects, 1, Data().U32(1).U32(1).F32(0).F32(0).F32(1).F32(1)),
             DrawLines(2, 2, 2),
             Plus(kEmfPlusFillPolygon, 0x8800,
                  Data().U32(0xFF000000).U32(2).U8(1).U8(0x81).U8(0).U8(3).U8(4)),
             Plus(kEmfPlusDrawString, 0x8003,
                  Data().U32(0xFF000000).U32(0).U32(2).F32(0).F32(0).F32(9).F32(9).Text(u"Hi")),
             Plus(kEmfPlusDrawImage, 4,
                  Data().U32(0).U32(2).F32(0).F32(0).F32(2).F32(2).F32(0).F32(0).F32(2).F32(2)),
             Plus(kEmfPlusDrawCurve, 2,
                  Data().F32(0.5f).U32(0).U32(1).U32(2).F32(0).F32(0).F32(1).F32(1)),
             Plus(kEmfPlusEndOfFile, 0)}),
    };
    std::vector<uint8_t> guarded;
    EXPECT_EQ(Guard(comments, &guarded), Replaced{});
    EmfBuilder file;
    for (const auto& comment : comments) {
        file.Add(comment);
    }
    EXPECT_EQ(guarded, file.Build());
}

TEST(EmfPlusGuard, SizesAndTheCommentsWalk) {
    // A DataSize past the Size; the replacement keeps the Size and zeroes the data.
    std::vector<uint8_t> clear = Plus(kEmfPlusClear, 0, Data().U32(0xFF112233));
    clear[8] = 8;
    std::vector<uint8_t> guarded;
    EXPECT_EQ(Guard({PlusComment({Plus(kEmfPlusResetClip, 0), clear})}, &guarded),
              Replaced{"1.1 DataSize"});
    // The header is 108 bytes, the comment's EMF+ data starts at its byte 16.
    const std::vector<uint8_t> mended = {0x03, 0x40, 0, 0, 16, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::vector<uint8_t>(guarded.begin() + 108 + 16 + 12, guarded.begin() + 108 + 44),
              mended);

    // A Size that runs past the comment: the rest becomes one comment record of its length.
    std::vector<uint8_t> tail = Data().U16(kEmfPlusClear).U16(0).U32(64).U32(4).U32(0).bytes;
    EXPECT_EQ(Guard({PlusComment({Plus(kEmfPlusResetClip, 0), tail})}, &guarded),
              Replaced{"1.1 Size"});
    EXPECT_EQ(LoadLe32(guarded.data() + 108 + 28), 0x4003u);
    EXPECT_EQ(LoadLe32(guarded.data() + 108 + 32), 16u);
    // A head cut short: the comment's data ends at the last whole record instead.
    const RecordBuilder short_head =
        PlusComment({Plus(kEmfPlusResetClip, 0), Data().U32(0x4009).U32(0).bytes});
    EXPECT_EQ(Guard({short_head}, &guarded), Replaced{"1.1 Size"});
    EXPECT_EQ(LoadLe32(guarded.data() + 108 + 8), 4u + 12u);
    // Types outside the table and records shorter than their fields.
    EXPECT_EQ(Guard({PlusComment({Plus(0x4006, 0), Plus(0x4100, 0), Plus(kEmfPlusClear, 0),
                                  Plus(kEmfPlusBeginContainer, 0, Data().U32(0))})}),
              (Replaced{"1.0 Type", "1.1 Type", "1.2 DataSize", "1.3 DataSize"}));
}

TEST(EmfPlusGuard, CountsInsideTheRecord) {
    const RecordBuilder objects = PlusComment({SolidBrush(1), Pen(2), Font(3), Bitmap(4, 8, 2)});
    EXPECT_EQ(
        Guard(
            {objects,
             PlusComment({
                 DrawLines(2, 3, 2),
                 // Relative points: the last y is a two-byte step cut after its first byte.
                 Plus(kEmfPlusDrawLines, 0x0802, Data().U32(2).U8(1).U8(2).U8(3).U8(0x81)),
                 Plus(kEmfPlusFillRects, 0x4001, Data().U32(1).U32(2).U16(0).U16(0).U16(1).U16(1)),
                 Plus(kEmfPlusDrawString, 0x8003,
                      Data().U32(0).U32(0).U32(3).F32(0).F32(0).F32(9).F32(9).Text(u"Hi")),
                 // Two glyphs and their positions, one position short.
                 Plus(kEmfPlusDrawDriverString, 0x8003,
                      Data().U32(0).U32(0).U32(0).U32(2).U16(1).U16(2).F32(0).F32(0)),
                 // A curve of 2 points cannot start at point 1 and run over 1 segment.
                 Plus(kEmfPlusDrawCurve, 2,
                      Data().F32(0.5f).U32(1).U32(1).U32(2).F32(0).F32(0).F32(1).F32(1)),
                 Plus(kEmfPlusDrawImagePoints, 4,
                      Data().U32(0).U32(2).F32(0).F32(0).F32(1).F32(1).U32(2)),
             })}),
        (Replaced{"2.0 Count", "2.1 Count", "2.2 Count", "2.3 Length", "2.4 GlyphCount",
                  "2.5 NumSegments", "2.6 Count"}));
    // A path object whose types, or run-length types, are cut.
    auto path = [](uint32_t flags, Data tail) {
        Data data;
        data.U32(0xDBC01002).U32(3).U32(flags).U16(0).U16(0).U16(1).U16(1).U16(2).U16(2);
        data.bytes.insert(data.bytes.end(), tail.bytes.begin(), tail.bytes.end());
        return Plus(kEmfPlusObject, 0x0300, data);
    };
    EXPECT_EQ(Guard({PlusComment({path(0x4000, Data()), path(0x4000, Data().U8(0).U8(1).U8(1)),
                                  path(0x5000, Data().U8(1).U8(0).U8(2).U8(1)),
                                  path(0x5000, Data().U8(1).U8(0).U8(3).U8(1))})}),
              (Replaced{"1.0 PathPointTypes", "1.3 PathPointTypes"}));
}

// A coordinate, angle or matrix element that is not a number, or beyond 10^18, sends the
// player's curve flattening into endless subdivision or its products to infinity.
TEST(EmfPlusGuard, FloatsThatAreNotNumbersOrTooLarge) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    Data nan_path;
    nan_path.U32(0xDBC01002).U32(2).U32(0).F32(0).F32(0).F32(nan).F32(1).U8(0).U8(1);
    EXPECT_EQ(
        Guard({PlusComment({
            Pen(2),
            Plus(kEmfPlusObject, 0x0300, nan_path),
            DrawLines(2, 2, 2),
            Plus(kEmfPlusDrawLines, 2, Data().U32(2).F32(0).F32(0).F32(inf).F32(1)),
            Plus(kEmfPlusSetWorldTransform, 0, Data().F32(1).F32(0).F32(0).F32(1).F32(nan).F32(0)),
            Plus(kEmfPlusScaleWorldTransform, 0, Data().F32(1e19f).F32(1)),
            Plus(kEmfPlusDrawEllipse, 2, Data().F32(0).F32(0).F32(-inf).F32(1)),
            Plus(kEmfPlusDrawArc, 2, Data().F32(nan).F32(90).F32(0).F32(0).F32(9).F32(9)),
            // Compressed, the same bits are integers.
            Plus(kEmfPlusDrawEllipse, 0x4002, Data().U16(0).U16(0).U16(0xFFFF).U16(0x7FC0)),
        })}),
        (Replaced{"1.1 PathPoints", "1.3 a coordinate or angle", "1.4 a coordinate or angle",
                  "1.5 a coordinate or angle", "1.6 a coordinate or angle",
                  "1.7 a coordinate or angle"}));
}

// A Bézier whose points differ only by float rounding becomes its start point four times, in a
// path and in a list of Béziers; a small but real one, or one of integers, stays.
TEST(EmfPlusGuard, TinyBeziersAreMadeDegenerate) {
    const float x = 7.824851f, y = 1.883902f, next_x = std::nextafter(x, 9.0f);
    Data path;
    path.U32(0xDBC01002).U32(5).U32(0);
    for (const float px : {x, x, next_x, next_x, x}) {
        path.F32(px).F32(y);
    }
    path.U8(0).U8(3).U8(3).U8(3).U8(1);
    Data beziers;
    beziers.U32(7).F32(0).F32(0).F32(next_x).F32(0).F32(x).F32(0).F32(0).F32(0);
    beziers.F32(0.5f).F32(0).F32(1).F32(1).F32(2).F32(0);
    EmfBuilder file;
    file.Add(
        PlusComment({Plus(kEmfPlusObject, 0x0300, path), Plus(kEmfPlusDrawBeziers, 2, beziers),
                     Plus(kEmfPlusDrawBeziers, 0x4002,
                          Data().U32(4).U16(0).U16(0).U16(1).U16(0).U16(0).U16(1).U16(0).U16(0))}));
    std::vector<uint8_t> bytes = file.Build();
    const std::vector<uint8_t> before = bytes;
    EXPECT_EQ(1u, SnapTinyBeziers(bytes));
    // The path's Bézier (points 1 to 3 after its start, point 0) now repeats point 0.
    const RecordView host = RecordView{bytes.data() + 108, uint32_t(bytes.size() - 108 - 20)};
    EmfPlusWalker walker(host);
    EmfPlusRecordRef plus;
    ASSERT_TRUE(walker.Next(&plus));
    RecordReader r(plus.view);
    for (uint32_t point = 1; point < 4; ++point) {
        EXPECT_EQ(r.U32(24), r.U32(24 + 8 * point)) << point;
    }
    // Neither Bézier of the list is tiny: the first spans 7.8 units, the second 2.
    ASSERT_TRUE(walker.Next(&plus));
    EXPECT_EQ(0, std::memcmp(plus.view.data, before.data() + 108 + plus.offset, plus.size));
}

TEST(EmfPlusGuard, ObjectIdsTypesAndReferences) {
    EXPECT_EQ(Guard({PlusComment({
                  Plus(kEmfPlusObject, 0x0140, Data().U32(0xDBC01002).U32(0).U32(0)),  // id 64
                  Plus(kEmfPlusObject, 0x0A01, Data().U32(0xDBC01002)),                // type 10
                  Pen(2),
                  DrawLines(2, 1, 1),
                  DrawLines(3, 1, 1),  // never defined
                  DrawLines(65, 1, 1),
                  Plus(kEmfPlusFillPath, 2, Data().U32(2)),  // a pen as the path, and as the brush
                  SolidBrush(2),                             // slot 2 now holds a brush
                  DrawLines(2, 1, 1),
                  // A pen whose brush is cut is not defined, so what draws with it goes too.
                  Plus(kEmfPlusObject, 0x0205, Data().U32(0xDBC01002).U32(0).U32(0).U32(2).F32(1)),
                  DrawLines(5, 1, 1),
              })}),
              (Replaced{"1.0 ObjectId", "1.1 ObjectType", "1.4 ObjectId", "1.5 ObjectId",
                        "1.6 BrushId", "1.8 ObjectId", "1.9 BrushData", "1.10 ObjectId"}));
}

TEST(EmfPlusGuard, ImagesAndTheirData) {
    Data palette;
    palette.U32(0xDBC01002).U32(1).U32(2).U32(2).U32(4).U32(0x00030803).U32(0);
    palette.U32(0).U32(300);  // more entries than 8 bits index
    Data metafile;
    metafile.U32(0xDBC01002).U32(2).U32(3).U32(4).U32(0);
    EXPECT_EQ(
        Guard({PlusComment({
            Bitmap(1, 8, 2),
            Bitmap(1, 8, 1),              // rows short
            Bitmap(1, 4, 2),              // stride below the width
            Bitmap(1, 8, 2, 0x00030103),  // unknown pixel format
            Plus(kEmfPlusObject, 0x0501, palette),
            Plus(kEmfPlusObject, 0x0502, metafile),
            Plus(kEmfPlusDrawImage, 2,
                 Data().U32(0).U32(2).F32(0).F32(0).F32(2).F32(2).F32(0).F32(0).F32(2).F32(2)),
        })}),
        (Replaced{"1.1 BitmapDataPixels", "1.2 Stride", "1.3 PixelFormat", "1.4 PaletteCount",
                  "1.5 ImageDataType", "1.6 ObjectId"}));
}

TEST(EmfPlusGuard, SplitObjectsPassOrFailWhole) {
    // A 2 x 2 bitmap of 36 bytes in two parts: sound, then short of its total, then sound in
    // its sizes but with rows missing from the whole.
    const std::vector<uint8_t> whole = Bitmap(3, 8, 2);
    auto part = [&](size_t from, size_t length, uint32_t total) {
        Data data;
        data.U32(total);
        data.bytes.insert(data.bytes.end(), whole.begin() + 12 + from,
                          whole.begin() + 12 + from + length);
        return Plus(kEmfPlusObject, 0x8503, data);
    };
    const auto draw =
        Plus(kEmfPlusDrawImage, 3,
             Data().U32(0).U32(2).F32(0).F32(0).F32(2).F32(2).F32(0).F32(0).F32(2).F32(2));
    EXPECT_EQ(Guard({PlusComment({part(0, 20, 44)}), PlusComment({part(20, 24, 44), draw})}),
              Replaced{});
    EXPECT_EQ(Guard({PlusComment({part(0, 20, 48), part(20, 24, 48), draw})}),
              (Replaced{"1.0 TotalObjectSize", "1.1 TotalObjectSize", "1.2 ObjectId"}));
    EXPECT_EQ(Guard({PlusComment({part(0, 20, 36), part(20, 16, 36), draw})}),
              (Replaced{"1.0 BitmapDataPixels", "1.1 BitmapDataPixels", "1.2 ObjectId"}));
}

}  // namespace
