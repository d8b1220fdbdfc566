// The EMF+ decoder: names, the decoded line of each record family, split objects, the size
// rules at a comment's end, the public comments, and the report as stream and lines.
#include <gtest/gtest.h>

#include <bit>
#include <string>
#include <vector>

#include "emfplus/emfplus_names.h"
#include "fuzz/fuzz_checks.h"
#include "reports/emfplus_report.h"
#include "tests/support/emf_builder.h"
#include "tests/support/emfplus_builder.h"

namespace {

// Every line of the report for a file of `records`, without line ends.
std::vector<std::string> Lines(const std::vector<RecordBuilder>& records) {
    EmfBuilder file;
    for (const auto& record : records) {
        file.Add(record);
    }
    const std::vector<uint8_t> bytes = file.Build();
    MetafileDocument document;
    EXPECT_EQ(document.LoadBytes(bytes.data(), bytes.size(), u"t.emf"), 1);
    // The report ends every line with CR LF, and each line made alone is the stream's.
    const char* broken = CheckEmfPlusReport(document);
    EXPECT_EQ(broken, nullptr) << broken;
    ReportText report;
    CollectReport(*OpenEmfPlusReport(document), &report);
    const std::string text = ToUtf8(JoinReport(report));
    std::vector<std::string> lines;
    for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

// The fields of one record alone in its comment (host record 1, place 0).
std::string Fields(uint16_t type, uint16_t flags, Data data) {
    const std::vector<std::string> lines = Lines({PlusComment({Plus(type, flags, data)})});
    const std::string line = lines.empty() ? "" : lines[0];
    const size_t tab = line.find('\t', line.find('\t') + 1);
    return tab == std::string::npos ? line : line.substr(tab + 1);
}

struct Case {
    uint16_t type;
    uint16_t flags;
    Data data;
    const char* fields;
};

void ExpectFields(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(LookupEmfPlusName(c.type) ? ToUtf8(LookupEmfPlusName(c.type)) : "unknown");
        EXPECT_EQ(Fields(c.type, c.flags, c.data), c.fields);
    }
}

TEST(EmfPlusNames, TableEndsAndUnknownTypes) {
    FixedWideText<64> name;
    const std::pair<uint16_t, const char*> cases[] = {
        {0x4001, "EmfPlusHeader"},    {0x4028, "EmfPlusBeginContainerNoParams"},
        {0x403A, "EmfPlusSetTSClip"}, {0x4000, "Unknown(0x4000)"},
        {0x403B, "Unknown(0x403B)"},  {0x0abc, "Unknown(0x0ABC)"},
    };
    for (const auto& [type, expected] : cases) {
        NameEmfPlusRecord(type, name);
        EXPECT_EQ(ToUtf8(name.view()), expected);
    }
}

TEST(EmfPlusDecode, HeaderStateAndModes) {
    ExpectFields({
        {0x4001, 1, Data().U32(0xDBC01002).U32(1).U32(96).U32(96),
         "version 0xDBC01002 (GraphicsVersion1_1), dual, video display, DPI 96 x 96"},
        {0x4001, 0, Data().U32(0x00000001).U32(0).U32(600).U32(600),
         "version 0x00000001 (GraphicsVersion1, not the EMF+ signature), EMF+ only, printer, "
         "DPI 600 x 600"},
        {0x4001, 0, Data().U32(0xDBC01002), "████████ (the record ends before its fields)"},
        {0x401E, 0x0009, {}, "SmoothingModeAntiAlias8x4, anti-aliased"},
        {0x401F, 0x0003, {}, "TextRenderingHintAntialiasGridFit"},
        {0x4021, 0x0009, {}, "9"},
        {0x4023, 0x0001, {}, "CompositingModeSourceCopy"},
        {0x4009, 0, Data().U32(0x80FF0000), "ARGB(128, 255, 0, 0)"},
        {0x4025, 0, Data().U32(7), "stack index 7"},
        {0x4027, 0x0200, Data().F32(0).F32(0).F32(2).F32(3).F32(1).F32(1).F32(4).F32(6).U32(2),
         "UnitTypePixel, destination (0.000000, 0.000000, 2.000000, 3.000000), source "
         "(1.000000, 1.000000, 4.000000, 6.000000), stack index 2"},
        {0x4002, 0, {}, ""},
        {0x4003, 0, Data().U32(1).U32(2), "8 data bytes"},
    });
}

TEST(EmfPlusDecode, FillsAndDraws) {
    ExpectFields({
        // The S flag makes the brush a colour; the C flag makes rectangles 16-bit.
        {0x400A, 0xC000, Data().U32(0xFF102030).U32(1).U16(1).U16(2).U16(3).U16(4),
         "brush ARGB(255, 16, 32, 48), 1 rects (compressed): (1, 2, 3, 4)"},
        // An element cut by the record's end is beyond it, and is not read.
        {0x400A, 0, Data().U32(5).U32(3).F32(0).F32(0).F32(1).F32(1).F32(7).F32(7),
         "brush #5, 3 rects (float): (0.000000, 0.000000, 1.000000, 1.000000) (2 rects beyond "
         "the record)"},
        {0x4019, 0x0801, Data().U32(2).U8(1).U8(1).U8(1).U8(0x81),
         "pen #1, 2 points (relative): (1, 1) (1 points beyond the record)"},
        {0x400D, 0x6003, Data().U32(2).U16(1).U16(2).U16(3).U16(0xFFFF),
         "pen #3, closed, 2 points (compressed): (1, 2), (3, -1)"},
        // Relative points: 7-bit steps in one byte, 15-bit steps in two.
        {0x4019, 0x0801, Data().U32(2).U16(0x7F05).U16(0x0081).U8(0x7E),
         "pen #1, 2 points (relative): (5, -1), (261, -3)"},
        {0x4010, 0x8000, Data().U32(0xFF000000).F32(90).F32(-45).F32(1).F32(2).F32(3).F32(4),
         "brush ARGB(255, 0, 0, 0), start 90.000000, sweep -45.000000, (1.000000, 2.000000, "
         "3.000000, 4.000000)"},
        {0x4014, 0x0004, Data().U32(9), "brush #9, path #4"},
        {0x4015, 0x0004, Data().U32(2), "pen #2, path #4"},
        {0x400F, 0x4002, Data().U16(1).U16(2).U16(3).U16(4), "pen #2, (1, 2, 3, 4)"},
        {0x400F, 0x0002, Data().U32(1), "pen #2, ████████ (the record ends before its fields)"},
    });
}

TEST(EmfPlusDecode, PointListsStopAtTheCap) {
    Data data;
    data.U32(40);
    for (int k = 0; k < 40; ++k) {
        data.U16(k).U16(0);
    }
    const std::string fields = Fields(0x400D, 0x4000, data);
    EXPECT_NE(fields.find("(31, 0) (8 more points not listed)"), std::string::npos) << fields;
    EXPECT_EQ(fields.find("(32, 0)"), std::string::npos);
}

TEST(EmfPlusDecode, ElementsCutMidwayAreBeyondTheRecord) {
    ExpectFields({
        // Two float points, the record ending half-way through the second.
        {0x400D, 0, Data().U32(2).F32(1).F32(2).F32(3),
         "pen #0, 2 points (float): (1.000000, 2.000000) (1 points beyond the record)"},
        // Two float rects, the record ending inside the second.
        {0x400B, 0, Data().U32(2).F32(0).F32(0).F32(1).F32(1).F32(5).F32(5),
         "pen #0, 2 rects (float): (0.000000, 0.000000, 1.000000, 1.000000) (1 rects beyond "
         "the record)"},
        // Relative points: the second's y is a two-byte step whose second byte is missing.
        {0x400D, 0x0800, Data().U32(2).U8(1).U8(2).U8(3).U8(0x81),
         "pen #0, 2 points (relative): (1, 2) (1 points beyond the record)"},
        // A path's types follow its points: cut inside the points, none is read.
        {0x4008, 0x0300, Data().U32(0xDBC01002).U32(2).U32(0).F32(1).F32(2).F32(3),
         "ObjectTypePath #0: 2 points (float): (1.000000, 2.000000) (1 points beyond the "
         "record); types: 0 start, 0 line, 0 Bezier, 0 closing (2 types beyond the record)"},
        // Glyphs then positions: a glyph is 2 bytes, a position 8; the positions are cut.
        {0x4036, 0x8001, Data().U32(0xFF000000).U32(0).U32(0).U32(2).U16(7).U16(8).F32(1),
         "font #1, brush ARGB(255, 0, 0, 0), options 0x00000000, 2 glyphs: 7, 8"},
    });
}

TEST(EmfPlusDecode, Objects) {
    ExpectFields({
        {0x4008, 0x0103, Data().U32(0xDBC01002).U32(0).U32(0xFF00FF00),
         "ObjectTypeBrush #3: BrushTypeSolidColor ARGB(255, 0, 255, 0)"},
        {0x4008, 0x0201,
         Data()
             .U32(0xDBC01002)
             .U32(0)
             .U32(0)
             .U32(2)
             .F32(1.5f)
             .U32(0xDBC01002)
             .U32(0)
             .U32(0xFF0000FF),
         "ObjectTypePen #1: width 1.500000 UnitTypePixel, flags 0x00000000, BrushTypeSolidColor "
         "ARGB(255, 0, 0, 255)"},
        // A pen whose optional data or brush runs past the record says so.
        {0x4008, 0x0201,
         Data().U32(0xDBC01002).U32(0).U32(0x100).U32(2).F32(1).U32(0xFFFFFFFF).F32(1).F32(2),
         "ObjectTypePen #1: width 1.000000 UnitTypePixel, flags 0x00000100, 4294967295 dash "
         "lengths (4294967293 dash lengths beyond the record)"},
        {0x4008, 0x0201, Data().U32(0xDBC01002).U32(0).U32(0x01).U32(2).F32(1).F32(1),
         "ObjectTypePen #1: width 1.000000 UnitTypePixel, flags 0x00000001, \u2588\u2588\u2588"
         "\u2588\u2588\u2588\u2588\u2588 (the record ends before its fields)"},
        {0x4008, 0x0201, Data().U32(0xDBC01002).U32(0).U32(0).U32(2).F32(1),
         "ObjectTypePen #1: width 1.000000 UnitTypePixel, flags 0x00000000, \u2588\u2588\u2588"
         "\u2588\u2588\u2588\u2588\u2588 (the record ends before its fields)"},
        {0x4008, 0x0300,
         Data().U32(0xDBC01002).U32(2).U32(0x4000).U16(0).U16(0).U16(4).U16(4).U32(0x00008100),
         "ObjectTypePath #0: 2 points (compressed): (0, 0), (4, 4); types: 1 start, 1 line, 0 "
         "Bezier, 1 closing"},
        {0x4008, 0x0502,
         Data().U32(0xDBC01002).U32(1).U32(10).U32(20).U32(40).U32(0x0026200A).U32(0),
         "ObjectTypeImage #2: ImageDataTypeBitmap 10 x 20, stride 40, PixelFormat32bppARGB, "
         "BitmapDataTypePixel"},
        {0x4008, 0x0601,
         Data().U32(0xDBC01002).F32(12).U32(3).U32(3).U32(0).U32(6).Text(u"Ar\"l\t\x7F"),
         "ObjectTypeFont #1: 12.000000 UnitTypePoint, style Bold | Italic, "
         "\"Ar\\\"l\\t\\x7F\""},
        {0x4008, 0x0400, Data().U32(0xDBC01002).U32(0).U32(0x10000000).F32(0).F32(0).F32(1).F32(1),
         "ObjectTypeRegion #0: 0 child nodes, root RegionNodeDataTypeRect (0.000000, 0.000000, "
         "1.000000, 1.000000)"},
        {0x4008, 0x0700, Data().U32(0xDBC01002).U32(0x1000).U32(0x0409).U32(1).U32(2),
         "ObjectTypeStringFormat #0: flags 0x00001000, language 0x0409, StringAlignmentCenter, "
         "line StringAlignmentFar"},
    });
}

TEST(EmfPlusDecode, TextTransformsAndClips) {
    ExpectFields({
        {0x401C, 0x8002,
         Data().U32(0xFF000000).U32(1).U32(3).F32(0).F32(0).F32(10).F32(5).Text(u"H\x7Fi"),
         "font #2, brush ARGB(255, 0, 0, 0), format #1, layout (0.000000, 0.000000, 10.000000, "
         "5.000000), \"H\\x7Fi\""},
        {0x401C, 0x0002, Data().U32(3).U32(1).U32(900).F32(0).F32(0).F32(10).F32(5).Text(u"Hi"),
         "font #2, brush #3, format #1, layout (0.000000, 0.000000, 10.000000, 5.000000), "
         "\"Hi\" (898 characters beyond the record)"},
        {0x4036, 0x0001, Data().U32(4).U32(1).U32(0).U32(1).U16(u'A').F32(2).F32(3),
         "font #1, brush #4, options 0x00000001 CmapLookup, 1 characters \"A\", at (2.000000, "
         "3.000000)"},
        {0x402C, 0x2000, Data().F32(1).F32(0).F32(0).F32(1).F32(5).F32(-5),
         "matrix (1.000000, 0.000000, 0.000000, 1.000000, 5.000000, -5.000000), "
         "MatrixOrderAppend"},
        {0x402F, 0, Data().F32(30), "angle 30.000000, MatrixOrderPrepend"},
        {0x4030, 0x0006, Data().F32(0.5f), "UnitTypeMillimeter, scale 0.500000"},
        {0x4032, 0x0100, Data().F32(0).F32(0).F32(8).F32(8),
         "CombineModeIntersect, (0.000000, 0.000000, 8.000000, 8.000000)"},
        {0x4034, 0x0403, {}, "CombineModeExclude, region #3"},
    });
}

// The object bytes of `object` from `from`, `length` of them, as one part of path #5 with the
// continue flag and the total size first.
std::vector<uint8_t> PathPart(const Data& object, size_t from, size_t length,
                              uint16_t flags = 0x8305) {
    Data part;
    if (flags & 0x8000) {
        part.U32(object.bytes.size());
    }
    part.bytes.insert(part.bytes.end(), object.bytes.begin() + from,
                      object.bytes.begin() + from + length);
    return Plus(0x4008, flags, part);
}

TEST(EmfPlusReport, SplitObjectIsDecodedWholeFromItsFirstPart) {
    // A path of 40 compressed points, one figure of lines, 212 bytes: split in three over two
    // comments, then an object held whole.
    Data path;
    path.U32(0xDBC01002).U32(40).U32(0x4000);
    for (int k = 0; k < 40; ++k) {
        path.U16(k).U16(0);
    }
    for (int k = 0; k < 40; ++k) {
        path.U8(k == 0 ? 0 : 1);
    }
    const std::vector<std::string> lines =
        Lines({PlusComment({PathPart(path, 0, 80), PathPart(path, 80, 80)}),
               PlusComment({PathPart(path, 160, 52)}),
               PlusComment({Plus(0x4008, 0x0101, Data().U32(0xDBC01002).U32(0).U32(0))})});
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_NE(lines[0].find("ObjectTypePath #5 in 3 parts, 212 bytes in all: 40 points "
                            "(compressed): (0, 0), "),
              std::string::npos)
        << lines[0];
    EXPECT_NE(lines[0].find("(31, 0) (8 more points not listed); types: 1 start, 39 line, 0 "
                            "Bezier, 0 closing"),
              std::string::npos)
        << lines[0];
    EXPECT_EQ(lines[1], "1.1\tEmfPlusObject\tObjectTypePath #5 continued: part 2 of 3, 80 bytes");
    EXPECT_EQ(lines[2], "2.0\tEmfPlusObject\tObjectTypePath #5 continued: part 3 of 3, 52 bytes");
    EXPECT_EQ(lines[3],
              "3.0\tEmfPlusObject\tObjectTypeBrush #1: BrushTypeSolidColor ARGB(0, 0, 0, 0)");

    // A last part without the continue flag ends the object; one that never reaches the total,
    // overshoots it or gives another total says so.
    auto first = [&](const std::string& line) { return line.substr(0, line.find(':')); };
    EXPECT_EQ(
        first(Lines({PlusComment({PathPart(path, 0, 200), PathPart(path, 200, 12, 0x0305)})})[0]),
        "1.0\tEmfPlusObject\tObjectTypePath #5 in 2 parts, 212 bytes in all");
    EXPECT_EQ(first(Lines({PlusComment({PathPart(path, 0, 212)})})[0]),
              "1.0\tEmfPlusObject\tObjectTypePath #5 in 1 part, 212 bytes in all");
    const std::vector<std::string> cut =
        Lines({PlusComment({PathPart(path, 0, 80), PathPart(path, 80, 80, 0x0305)})});
    EXPECT_EQ(first(cut[0]),
              "1.0\tEmfPlusObject\tObjectTypePath #5 in 2 parts, 212 bytes in "
              "all, incomplete");
    EXPECT_NE(cut[0].find("its parts hold 160: 40 points (compressed)"), std::string::npos);
    EXPECT_NE(cut[0].find("(40 types beyond the record)"), std::string::npos) << cut[0];
    std::vector<uint8_t> other_total = PathPart(path, 80, 132);
    other_total[12] = 200;
    EXPECT_EQ(first(Lines({PlusComment({PathPart(path, 0, 80), other_total})})[0]),
              "1.0\tEmfPlusObject\tObjectTypePath #5 in 2 parts, 212 bytes in all, inconsistent");
    Data longer = path;
    longer.U32(0);
    std::vector<uint8_t> past = PathPart(longer, 80, 136);
    past[12] = 212;
    EXPECT_EQ(first(Lines({PlusComment({PathPart(path, 0, 80), past})})[0]),
              "1.0\tEmfPlusObject\tObjectTypePath #5 in 2 parts, 212 bytes in all, inconsistent");
}

TEST(EmfPlusReport, BrokenSizeEndsTheCommentAndKeepsWhatWasBefore) {
    const std::vector<uint8_t> good = Plus(0x4031, 0);
    struct {
        std::vector<uint8_t> tail;
        const char* note;
    } cases[] = {
        {Data().U16(0x4031).U16(0).U32(8).U32(0).bytes,
         "1.1\t(unreadable)\tSize 8 at byte 28 is below 12: the last 12 bytes of the comment "
         "are not read"},
        {Data().U16(0x4031).U16(0).U32(14).U32(0).bytes,
         "1.1\t(unreadable)\tSize 14 at byte 28 is not a multiple of 4: the last 12 bytes of the "
         "comment are not read"},
        {Data().U16(0x4031).U16(0).U32(16).U32(4).bytes,
         "1.1\t(unreadable)\tSize 16 at byte 28 runs past the comment's data: the last 12 bytes "
         "of the comment are not read"},
        {Data().U32(0).bytes,
         "1.1\t(unreadable)\t4 bytes at byte 28 are too few for a record head: not read"},
    };
    // A DataSize that disagrees with the Size neither cuts the walk nor the fields.
    std::vector<uint8_t> clear = Plus(0x4009, 0, Data().U32(0xFF000000));
    clear[8] = 100;
    EXPECT_EQ(Lines({PlusComment({clear, good})}),
              (std::vector<std::string>{"1.0\tEmfPlusClear\tARGB(255, 0, 0, 0)",
                                        "1.1\tEmfPlusResetClip\t"}));
    for (const auto& c : cases) {
        const std::vector<std::string> lines = Lines({PlusComment({good, c.tail})});
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0], "1.0\tEmfPlusResetClip\t");
        EXPECT_EQ(lines[1], c.note);
    }
}

TEST(EmfPlusReport, PublicAndOtherComments) {
    Data begin;
    begin.U32(2).U32(0).U32(0).U32(100).U32(50).U32(3).Text(u"Ab").U16(0);
    Data formats;
    formats.U32(0x40000004).U32(0).U32(0).U32(10).U32(10).U32(2);
    formats.U32(0x464D4520).U32(0x10000).U32(8).U32(48);  // inside: bytes 48..55
    formats.U32(0x46535045).U32(1).U32(100).U32(48);      // outside
    formats.U32(0).U32(0);
    Data wmf;
    wmf.U32(0x80000001).U16(0x300).U16(0).U32(0x1234).U32(0).U32(200);
    const std::vector<std::string> lines =
        Lines({Comment(kPublicCommentIdentifier, begin.bytes),
               Comment(kPublicCommentIdentifier, Data().U32(3).bytes),
               Comment(kPublicCommentIdentifier, formats.bytes),
               Comment(kPublicCommentIdentifier, wmf.bytes),
               Comment(kPublicCommentIdentifier, Data().U32(0x77).bytes),
               Comment(0x4F53544D, Data().U32(1).bytes)});
    const std::vector<std::string> expected = {
        "1\tGDICOMMENT_BEGINGROUP\tbounds (0, 0, 100, 50), description \"Ab\"",
        "2\tGDICOMMENT_ENDGROUP\t",
        "3\tGDICOMMENT_MULTIFORMATS\tbounds (0, 0, 10, 10), 2 formats: ENHMETA version 65536, 8 "
        "bytes at 48; EPS version 1, 100 bytes at 48 (outside the record)",
        "4\tGDICOMMENT_WINDOWS_METAFILE\tversion 0x0300, checksum 0x1234, flags 0x00000000, 200 "
        "bytes (outside the record)",
        "5\tGDICOMMENT\tidentifier 0x00000077, 8 bytes",
        "6\tGdiComment\tidentifier \"MTSO\" (0x4F53544D), 8 bytes",
    };
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(Lines({RecordBuilder(18, 12).U32(8, 1)}),
              std::vector<std::string>{"No EMF+ records or comments in this file."});
}

}  // namespace
