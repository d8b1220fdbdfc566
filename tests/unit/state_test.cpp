// The graphics state tracker: each family of records as its text shows it, the walk's
// checkpoints and steps, and the filter.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/metafile_document.h"
#include "document/record_types.h"
#include "state/state_text.h"
#include "state/state_tracker.h"
#include "tests/support/emf_builder.h"

namespace {

using Records = std::vector<RecordBuilder>;

RecordBuilder R(uint32_t type, std::initializer_list<int32_t> fields = {}) {
    return FieldRecord(type, fields);
}

RecordBuilder Xform(uint32_t type, std::initializer_list<float> m, uint32_t mode = 0) {
    RecordBuilder record(type, type == kEmrModifyWorldTransform ? 36 : 32);
    uint32_t at = 8;
    for (const float value : m) {
        record.F32(at, value);
        at += 4;
    }
    return type == kEmrModifyWorldTransform ? record.U32(32, mode) : record;
}

std::vector<uint8_t> File(const Records& records, uint16_t handles = 4) {
    EmfBuilder builder;
    builder.Handles(handles);
    for (const RecordBuilder& record : records) {
        builder.Add(record);
    }
    return builder.Build();
}

std::string Text(StateTracker& tracker, int32_t index) {
    std::vector<StateLine> lines;
    const GraphicsState* state = tracker.StateAt(index);
    if (state == nullptr || !StateText(*state, tracker.PathOpenAtEnd(), &lines)) {
        return "(no state)";
    }
    std::string text;
    for (const StateLine& line : lines) {
        text += ToUtf8(line.text) + "\n";
    }
    return text;
}

// The state text after the last record added.
std::string StateAfter(const Records& records, uint16_t handles = 4) {
    const std::vector<uint8_t> bytes = File(records, handles);
    MetafileDocument document;
    if (document.LoadBytes(bytes.data(), bytes.size(), u"state.emf") != 1) {
        return "(not loaded)";
    }
    StateTracker tracker;
    tracker.Reset(document, nullptr);
    return Text(tracker, int32_t(records.size()));
}

struct Case {
    const char* what;
    Records records;
    const char* expect;
};

void Check(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        const std::string text = StateAfter(c.records);
        EXPECT_NE(text.find(c.expect), std::string::npos) << c.what << "\n" << text;
    }
}

constexpr int32_t kAniso = 8;
constexpr int32_t kStock = int32_t(0x80000000u);

TEST(StateTracker, Mapping) {
    Check({
        {"anisotropic mapping",
         {R(kEmrSetMapMode, {kAniso}), R(kEmrSetWindowExtEx, {100, 200}),
          R(kEmrSetViewportExtEx, {50, 50}), R(kEmrSetViewportOrgEx, {10, 20})},
         "Logical to device units: [0.5 0 0 0.25 10 20]  (record 4)"},
        {"isotropic shrinks the larger scale",
         {R(kEmrSetMapMode, {7}), R(kEmrSetWindowExtEx, {100, 100}),
          R(kEmrSetViewportExtEx, {200, 100})},
         "Viewport extent: (100, 100)  (record 3)"},
        {"fixed modes take the reference device",
         {R(kEmrSetMapMode, {2})},
         "Window extent: (2710, 2030)  (record 1)\n  Viewport origin: (0, 0)  (default)\n"
         "  Viewport extent: (1024, -768)  (record 1)"},
        {"extents are ignored in MM_TEXT",
         {R(kEmrSetWindowExtEx, {5, 5})},
         "Window extent: (1, 1)  (default)"},
        {"scaled viewport",
         {R(kEmrSetMapMode, {kAniso}), R(kEmrSetViewportExtEx, {100, 100}),
          R(kEmrScaleViewportExtEx, {1, 2, 3, 1})},
         "Viewport extent: (50, 300)  (record 3)"},
        {"a zero extent is refused and said",
         {R(kEmrSetMapMode, {kAniso}), R(kEmrSetWindowExtEx, {0, 5})},
         "Record 2 sets a zero window extent; ignored"},
        {"left multiply applies the given transform first",
         {Xform(kEmrSetWorldTransform, {2, 0, 0, 2, 0, 0}),
          Xform(kEmrModifyWorldTransform, {1, 0, 0, 1, 5, 0}, 2)},
         "World transform: [2 0 0 2 10 0]  (record 2)"},
        {"right multiply applies it last",
         {Xform(kEmrSetWorldTransform, {2, 0, 0, 2, 0, 0}),
          Xform(kEmrModifyWorldTransform, {1, 0, 0, 1, 5, 0}, 3)},
         "World transform: [2 0 0 2 5 0]  (record 2)"},
        {"MWT_SET",
         {Xform(kEmrModifyWorldTransform, {3, 0, 0, 3, 1, 1}, 4)},
         "World transform: [3 0 0 3 1 1]  (record 1)"},
        {"MWT_IDENTITY",
         {Xform(kEmrSetWorldTransform, {2, 0, 0, 2, 0, 0}),
          Xform(kEmrModifyWorldTransform, {9, 9, 9, 9, 9, 9}, 1)},
         "World transform: [1 0 0 1 0 0]  (record 2)"},
        {"a singular transform is said",
         {Xform(kEmrSetWorldTransform, {1, 2, 2, 4, 0, 0})},
         "The world transform cannot be inverted"},
        {"a record too short for its transform changes nothing",
         {Xform(kEmrSetWorldTransform, {2, 0, 0, 2, 0, 0}).NSize(28)},
         "World transform: [1 0 0 1 0 0]  (default)"},
    });
}

TEST(StateTracker, Attributes) {
    RecordBuilder adjustment(kEmrSetColorAdjustment, 32);
    adjustment.U16(8, 24).U16(10, 3).U16(14, 9000).I16(26, -20);
    Check({
        {"background",
         {R(kEmrSetBkMode, {1}), R(kEmrSetBkColor, {0x0000FF})},
         "Background mode: TRANSPARENT  (record 1)\n  Background colour: RGB(255, 0, 0)  (record "
         "2)"},
        {"text",
         {R(kEmrSetTextColor, {0x00FF00}), R(kEmrSetTextAlign, {24 | 6 | 1})},
         "Text colour: RGB(0, 255, 0)  (record 1)\n"
         "  Text alignment: TA_CENTER | TA_BASELINE | TA_UPDATECP  (record 2)"},
        {"modes",
         {R(kEmrSetRop2, {7}), R(kEmrSetPolyFillMode, {2}), R(kEmrSetStretchBltMode, {3}),
          R(kEmrSetArcDirection, {2})},
         "ROP2: R2_XORPEN  (record 1)\n  Polygon fill mode: WINDING  (record 2)\n"
         "  Stretch mode: COLORONCOLOR | STRETCH_DELETESCANS  (record 3)\n"
         "  Arc direction: AD_CLOCKWISE  (record 4)"},
        {"a miter limit as a float",
         {RecordBuilder(kEmrSetMiterLimit, 12).F32(8, 2.5f)},
         "Miter limit: 2.5  (record 1)"},
        {"a miter limit as a whole number",
         {R(kEmrSetMiterLimit, {4})},
         "Miter limit: 4  (record 1)"},
        {"the rest",
         {R(kEmrSetBrushOrgEx, {3, 4}), R(kEmrSetLayout, {1}), R(kEmrSetMapperFlags, {1}),
          R(kEmrSetIcmMode, {2}), R(kEmrSetTextJustification, {30, 3})},
         "Brush origin: (3, 4)  (record 1)\n  Layout: 0x1 LAYOUT_RTL  (record 2)\n"
         "  Mapper flags: 0x1  (record 3)\n  ICM mode: ICM_ON  (record 4)"},
        {"colour adjustment",
         {adjustment},
         "Colour adjustment: flags 0x3, illuminant 0, gamma 9000 0 0, black 0, white 0, "
         "contrast 0, brightness -20"},
        {"justification",
         {R(kEmrSetTextJustification, {30, 3})},
         "Text justification: 30 extra over 3 breaks  (record 1)"},
        {"a record without its field changes nothing",
         {R(kEmrSetBkColor)},
         "Background colour: RGB(255, 255, 255)  (default)"},
    });
}

TEST(StateTracker, Objects) {
    const RecordBuilder pen = R(kEmrCreatePen, {1, 0, 3, 0, 0x0000FF});
    RecordBuilder font(kEmrExtCreateFontIndirectW, 104);
    font.U32(8, 2).I32(12, 0).I32(20, 900).I32(28, 700).Utf16(40, u"Arial");
    Check({
        {"a pen created and selected",
         {pen, R(kEmrSelectObject, {1})},
         "Selected pen: #1 pen, PS_SOLID, width 3, RGB(255, 0, 0) (created at record 1)  "
         "(record 2)"},
        {"a stock brush",
         {R(kEmrSelectObject, {kStock | 4})},
         "Selected brush: stock BLACK_BRUSH  (record 1)"},
        {"brush and palette",
         {R(kEmrCreateBrushIndirect, {3, 2, 0x00FF00, 5}),
          RecordBuilder(kEmrCreatePalette, 20).U32(8, 2).U16(12, 0x300).U16(14, 16)},
         "#2 palette, 16 entries  (record 2)\n  #3 brush, BS_HATCHED, RGB(0, 255, 0), "
         "HS_DIAGCROSS  (record 1)"},
        {"a font of height 0",
         {font, R(kEmrSelectObject, {2})},
         "#2 font, \"Arial\", height 0, weight 700, escapement 900"},
        {"a font of height 0 is said",
         {font, R(kEmrSelectObject, {2})},
         "The selected font has height 0"},
        {"deleted while selected",
         {pen, R(kEmrSelectObject, {1}), R(kEmrDeleteObject, {1}), R(kEmrLineTo, {5, 5})},
         "Selected pen: #1 pen, PS_SOLID, width 3, RGB(255, 0, 0) (created at record 1), deleted "
         "while selected  (record 3)"},
        {"the selected object outlives its slot",
         {pen, R(kEmrSelectObject, {1}), R(kEmrDeleteObject, {1}),
          R(kEmrCreateBrushIndirect, {1, 0, 0x00FF00, 0})},
         "Selected pen: #1 pen, PS_SOLID, width 3, RGB(255, 0, 0) (created at record 1), deleted "
         "while selected  (record 3)"},
        {"drawing with it is said",
         {pen, R(kEmrSelectObject, {1}), R(kEmrDeleteObject, {1}), R(kEmrLineTo, {5, 5})},
         "Record 4 draws with a pen deleted while selected"},
        {"an empty index",
         {R(kEmrSelectObject, {2})},
         "Record 1 selects index 0x2, which holds no object of its kind"},
        {"an index beyond the table",
         {R(kEmrCreatePen, {4, 0, 1, 0, 0})},
         "Record 1 uses index 4, outside the object table"},
        {"a brush filling a region that was never created",
         {RecordBuilder(kEmrFillRgn, 32).U32(28, 3)},
         "Record 1 draws with a brush never created"},
    });
}

TEST(StateTracker, PositionAndPath) {
    RecordBuilder polyline16(kEmrPolylineTo16, 36);
    polyline16.U32(24, 2).I16(28, 1).I16(30, 2).I16(32, -7).I16(34, 9);
    Check({
        {"move and line",
         {R(kEmrMoveToEx, {3, 4}), R(kEmrLineTo, {8, 9})},
         "Current position: (8, 9)  (record 2)"},
        {"the last point of a list", {polyline16}, "Current position: (-7, 9)  (record 1)"},
        {"a list longer than its record moves nothing",
         {R(kEmrMoveToEx, {3, 4}), RecordBuilder(polyline16).U32(24, 3)},
         "Current position: (3, 4)  (record 1)"},
        {"an arc ends on its ellipse, on the ray to its end point",
         {R(kEmrArcTo, {0, 0, 20, 10, 0, 0, 20, 10})},
         "Current position: (17, 9)  (record 1)"},
        {"an angle arc ends at start plus sweep, counted upward",
         {RecordBuilder(kEmrAngleArc, 28).I32(8, 10).I32(12, 10).U32(16, 10).F32(24, 90)},
         "Current position: (10, 0)  (record 1)"},
        {"text that updates the position leaves it unknown",
         {R(kEmrSetTextAlign, {1}), RecordBuilder(kEmrExtTextOutW, 76)},
         "Current position: unknown  (record 2)"},
        {"an open bracket",
         {R(kEmrBeginPath), R(kEmrLineTo, {1, 1})},
         "Path bracket: open since record 1"},
        {"left open at the end",
         {R(kEmrBeginPath)},
         "The path bracket opened at record 1 is still open at the end of the file"},
        {"a closed one",
         {R(kEmrBeginPath), R(kEmrEndPath)},
         "Path bracket: closed at record 2, waiting for a fill, stroke or clip"},
        {"used by a stroke",
         {R(kEmrBeginPath), R(kEmrEndPath), R(kEmrStrokePath)},
         "Path bracket: none  (record 3)"},
    });
}

TEST(StateTracker, SavedStates) {
    const Records saves = {R(kEmrSaveDc), R(kEmrSetBkMode, {1}), R(kEmrSaveDc),
                           R(kEmrSetTextColor, {0xFF})};
    auto with = [&](std::initializer_list<RecordBuilder> more) {
        Records records = saves;
        records.insert(records.end(), more);
        return records;
    };
    Check({
        {"two levels", saves,
         "Depth: 2  (record 3)\n  Level 2 saved by record 3\n"
         "  Level 1 saved by record 1"},
        {"relative restore", with({R(kEmrRestoreDc, {-1})}),
         "Background mode: TRANSPARENT  (record 2)\n  Background colour: RGB(255, 255, 255)  "
         "(default)\n  Text colour: RGB(0, 0, 0)  (default)"},
        {"absolute restore", with({R(kEmrRestoreDc, {1})}), "Background mode: OPAQUE  (default)"},
        {"absolute restore empties the stack", with({R(kEmrRestoreDc, {1})}),
         "Depth: 0  (record 5)"},
        {"beyond the stack", with({R(kEmrRestoreDc, {-3})}),
         "Record 5 restores level -3, beyond the saved states; ignored"},
        {"beyond the stack changes nothing", with({R(kEmrRestoreDc, {3})}),
         "Text colour: RGB(255, 0, 0)  (record 4)"},
        {"a stack no deeper than is kept", Records(GraphicsState::kDeepestSave + 1, R(kEmrSaveDc)),
         "Record 4097 saves a state beyond the 4096 levels kept; ignored"},
    });
}

TEST(StateTracker, Clipping) {
    // Two device units a logical one.
    const Records scaled = {R(kEmrSetMapMode, {kAniso}), R(kEmrSetViewportExtEx, {2, 2})};
    auto with = [&](std::initializer_list<RecordBuilder> more) {
        Records records = scaled;
        records.insert(records.end(), more);
        return records;
    };
    RecordBuilder region(kEmrExtSelectClipRgn, 80);
    region.U32(8, 64).U32(12, 5).U32(16, 32).U32(20, 1).U32(24, 2).U32(28, 32);
    region.I32(48, 0).I32(52, 0).I32(56, 10).I32(60, 10).I32(64, 20).I32(68, 0).I32(72, 30);
    region.I32(76, 10);
    // 600 squares apart: more than a region keeps.
    RecordBuilder scattered(kEmrExtSelectClipRgn, 48 + 600 * 16);
    scattered.U32(8, 32 + 600 * 16).U32(12, 5).U32(16, 32).U32(20, 1).U32(24, 600);
    for (int32_t i = 0; i < 600; ++i) {
        scattered.I32(48 + 16 * i, 2 * i).I32(56 + 16 * i, 2 * i + 1).I32(60 + 16 * i, 1);
    }
    Check({
        {"a region too complex is its bounding box",
         {scattered},
         "Clip region: 1 rectangle, bounds (0, 0)-(1199, 1), its bounding box standing for a "
         "region too complex to keep"},
        {"intersect maps both corners", with({R(kEmrIntersectClipRect, {10, 40, 5, 20})}),
         "Clip region: 1 rectangle, bounds (10, 40)-(20, 80)  (record 3)"},
        {"exclude cuts a hole",
         with({R(kEmrIntersectClipRect, {0, 0, 30, 30}), R(kEmrExcludeClipRect, {10, 10, 20, 20})}),
         "Clip region: 4 rectangles, bounds (0, 0)-(60, 60)  (record 4)"},
        {"a region copied, and offset",
         {region, R(kEmrOffsetClipRgn, {5, 1})},
         "Clip region: 2 rectangles, bounds (5, 1)-(35, 11)  (record 2)\n"
         "    (5, 1)-(15, 11)"},
        {"a null region is no clipping",
         with({R(kEmrIntersectClipRect, {0, 0, 30, 30}), R(kEmrExtSelectClipRgn, {0, 5})}),
         "Clip region: none (the whole surface)  (record 4)"},
        {"an empty clip is said",
         with({R(kEmrIntersectClipRect, {0, 0, 5, 5}), R(kEmrIntersectClipRect, {10, 10, 20, 20})}),
         "The clip region is empty: nothing is drawn"},
        {"the meta region takes the clip",
         with({R(kEmrIntersectClipRect, {0, 0, 5, 5}), R(kEmrSetMetaRgn)}),
         "Clip region: none (the whole surface)  (record 4)\n"
         "  Meta region: 1 rectangle, bounds (0, 0)-(10, 10)  (record 4)"},
        {"the clip in effect is within the meta region",
         with({R(kEmrIntersectClipRect, {0, 0, 5, 5}), R(kEmrSetMetaRgn),
               R(kEmrIntersectClipRect, {3, 3, 9, 9})}),
         "In effect: 1 rectangle, bounds (6, 6)-(10, 10)  (record 5)"},
        {"a clip from the path holds its points, from the position on",
         with({R(kEmrMoveToEx, {5, 5}), R(kEmrBeginPath), R(kEmrLineTo, {20, 10}), R(kEmrEndPath),
               R(kEmrSelectClipPath, {5})}),
         "Clip region: 1 rectangle, bounds (10, 10)-(40, 20), a rectangle holding the region "
         "made from a path  (record 7)"},
        {"and is combined in its mode",
         with({R(kEmrIntersectClipRect, {0, 0, 15, 15}), R(kEmrBeginPath),
               R(kEmrEllipse, {10, 0, 30, 30}), R(kEmrEndPath), R(kEmrSelectClipPath, {1})}),
         "Clip region: 1 rectangle, bounds (20, 0)-(30, 30), a rectangle"},
        {"a region copied over it is kept exactly",
         {R(kEmrBeginPath), R(kEmrRectangle, {0, 0, 9, 9}), R(kEmrEndPath),
          R(kEmrSelectClipPath, {5}), region},
         "Clip region: 2 rectangles, bounds (0, 0)-(30, 10)  (record 5)"},
    });
}

// After one walk, any record's state is the state of a walk from the header, in any order of
// requests; a record switched off changes nothing, and when the current record is off the
// walk ends at the next one played.
TEST(StateTracker, AnyOrderOfRecordsAndTheFilter) {
    Records records;
    for (int32_t i = 0; i < 700; ++i) {
        records.push_back(i % 7 == 0 ? R(kEmrSaveDc) : R(kEmrSetTextColor, {i}));
    }
    const std::vector<uint8_t> bytes = File(records);
    MetafileDocument document;
    ASSERT_EQ(document.LoadBytes(bytes.data(), bytes.size(), u"state.emf"), 1);
    StateTracker tracker;
    tracker.Reset(document, nullptr);
    for (const int32_t at : {600, 601, 602, 3, 300, 299, 129, 128, 127, 701}) {
        StateTracker alone;
        alone.Reset(document, nullptr);
        EXPECT_EQ(Text(tracker, at), Text(alone, at)) << at;
    }
    RecordFilter filter;
    filter.Reset(document.Store().count());
    filter.Set(302, true);
    filter.Set(303, true);
    tracker.Reset(document, &filter);
    EXPECT_NE(Text(tracker, 302).find("Text colour: RGB(47, 1, 0)  (record 304)"),
              std::string::npos);
    EXPECT_NE(Text(tracker, 303).find("Text colour: RGB(47, 1, 0)  (record 304)"),
              std::string::npos);
    EXPECT_NE(Text(tracker, 301).find("Text colour: RGB(44, 1, 0)  (record 301)"),
              std::string::npos);
}

}  // namespace
