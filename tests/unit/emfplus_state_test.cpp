// The EMF+ state as the state text shows it: transforms, clip, stack and containers, object
// table, the GetDC span and what looks wrong, over files of crafted comment records.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/metafile_document.h"
#include "document/record_types.h"
#include "emfplus/emfplus_names.h"
#include "state/state_text.h"
#include "state/state_tracker.h"
#include "state/state_walk.h"
#include "tests/support/emf_builder.h"
#include "tests/support/emfplus_builder.h"

namespace {

using Comments = std::vector<RecordBuilder>;

Data Matrix(float m11, float m12, float m21, float m22, float dx, float dy) {
    return Data().F32(m11).F32(m12).F32(m21).F32(m22).F32(dx).F32(dy);
}
Data Floats(std::initializer_list<float> values) {
    Data data;
    for (const float v : values) {
        data.F32(v);
    }
    return data;
}
std::vector<uint8_t> Scale2() {
    return Plus(kEmfPlusSetWorldTransform, 0, Matrix(2, 0, 0, 2, 0, 0));
}

constexpr uint16_t kAppend = 0x2000;

// The state text after the last of `records`.
std::string TextAt(const Comments& records) {
    EmfBuilder builder;
    for (const RecordBuilder& record : records) {
        builder.Add(record);
    }
    const std::vector<uint8_t> bytes = builder.Build();
    MetafileDocument document;
    if (document.LoadBytes(bytes.data(), bytes.size(), u"plus.emf") != 1) {
        return "(not loaded)";
    }
    StateTracker tracker;
    tracker.Reset(document, nullptr);
    const GraphicsState* state = tracker.StateAt(int32_t(records.size()));
    std::vector<StateLine> lines;
    if (state == nullptr || !StateText(*state, kDefaultState, &lines)) {
        return "(no state)";
    }
    std::string text;
    for (const StateLine& line : lines) {
        text += ToUtf8(line.text) + "\n";
    }
    return text;
}

struct Case {
    const char* what;
    Comments records;
    std::vector<const char*> expect;
};

TEST(EmfPlusState, SectionText) {
    const std::vector<uint8_t> continued_first =
        Plus(kEmfPlusObject, 0x8000 | 0x0200 | 5, Data().U32(20).U32(1).U32(2));
    const std::vector<uint8_t> continued_last =
        Plus(kEmfPlusObject, 0x8000 | 0x0200 | 5, Data().U32(20).U32(3).U32(4).U32(5));
    const Case cases[] = {
        {"no EMF+ record, no section",
         {RecordBuilder(kEmrSetBkMode, 12).U32(8, 1)},
         {"Saved states\n  Depth: 0  (default)\nDiagnostics\n"}},
        {"a translation prepended goes first",
         {PlusComment({Scale2(), Plus(kEmfPlusTranslateWorldTransform, 0, Floats({5, 0}))})},
         {"World transform: [2 0 0 2 10 0]  (record 1.1)"}},
        {"appended goes last",
         {PlusComment({Scale2(), Plus(kEmfPlusTranslateWorldTransform, kAppend, Floats({5, 0}))})},
         {"World transform: [2 0 0 2 5 0]  (record 1.1)"}},
        {"rotation, multiplication and the page",
         {PlusComment({Plus(kEmfPlusRotateWorldTransform, 0, Floats({90})),
                       Plus(kEmfPlusMultiplyWorldTransform, kAppend, Matrix(1, 0, 0, 3, 0, 0)),
                       Plus(kEmfPlusSetPageTransform, 6, Floats({2.5f}))})},
         {"World transform: [0 3 -1 0 0 0]  (record 1.1)",
          "Page transform: UnitTypeMillimeter, scale 2.5  (record 1.2)"}},
        {"a restore brings the transform back",
         {PlusComment({Scale2(), Plus(kEmfPlusSave, 0, Data().U32(7))}),
          PlusComment({Plus(kEmfPlusResetWorldTransform, 0), Plus(kEmfPlusSetAntiAliasMode, 0x09)}),
          PlusComment({Plus(kEmfPlusRestore, 0, Data().U32(7))})},
         {"World transform: [2 0 0 2 0 0]  (record 1.0)",
          "Antialias mode: SmoothingModeDefault, not anti-aliased  (default)",
          "Stack depth: 0  (record 3.0)"}},
        {"what a save pushed",
         {PlusComment({Scale2(), Plus(kEmfPlusSave, 0, Data().U32(7))}),
          PlusComment({Plus(kEmfPlusSetAntiAliasMode, 0x09)})},
         {"Antialias mode: SmoothingModeAntiAlias8x4, anti-aliased  (record 2.0)",
          "Stack depth: 1  (record 1.1)\n  Level 1: Save, stack index 7  (record 1.1)"}},
        {"a container maps its rectangles under the transform outside it",
         {PlusComment({Scale2(), Plus(kEmfPlusSetClipRect, 0, Floats({0, 0, 10, 10})),
                       Plus(kEmfPlusBeginContainer, 0x0200,
                            Floats({10, 10, 20, 20, 0, 0, 10, 10}).U32(3))})},
         {"World transform: [1 0 0 1 0 0]  (record 1.2)",
          "Container transform: [4 0 0 4 20 20]  (record 1.2)", "Clip: infinite  (record 1.2)",
          "Level 1: BeginContainer, stack index 3  (record 1.2)"}},
        {"ending a container drops what was pushed above it",
         {PlusComment({Scale2(), Plus(kEmfPlusBeginContainerNoParams, 0, Data().U32(3)),
                       Plus(kEmfPlusSave, 0, Data().U32(4)),
                       Plus(kEmfPlusEndContainer, 0, Data().U32(3))})},
         {"World transform: [2 0 0 2 0 0]  (record 1.0)\n  Page",
          "Stack depth: 0  (record 1.3)\n  GetDC"}},
        {"clip rectangles in page units, intersected",
         {PlusComment({Scale2(), Plus(kEmfPlusSetClipRect, 0, Floats({0, 0, 100, 50})),
                       Plus(kEmfPlusSetClipRect, 0x0100, Floats({50, 0, 100, 100}))})},
         {"Clip: a rectangle combined by CombineModeIntersect with the clip before, bounds "
          "(100, 0)-(200, 100) in page units  (record 1.2)"}},
        {"an exclusion keeps the bounds, an offset moves them",
         {PlusComment({Plus(kEmfPlusSetClipRect, 0, Floats({0, 0, 10, 10})),
                       Plus(kEmfPlusSetClipRect, 0x0400, Floats({0, 0, 5, 5})),
                       Plus(kEmfPlusOffsetClip, 0, Floats({3, 4}))})},
         {"Clip: a rectangle combined by CombineModeExclude with the clip before, bounds (3, "
          "4)-(13, 14) in page units, moved by an offset  (record 1.2)"}},
        {"a path in union is not traced",
         {PlusComment({Plus(kEmfPlusObject, 0x0302),
                       Plus(kEmfPlusSetClipRect, 0, Floats({0, 0, 1, 1})),
                       Plus(kEmfPlusSetClipPath, 0x0202)})},
         {"Clip: path #2 combined by CombineModeUnion with the clip before, bounds not traced  "
          "(record 1.2)"}},
        {"a union with no clip leaves none",
         {PlusComment({Plus(kEmfPlusObject, 0x0302),
                       Plus(kEmfPlusSetClipRect, 0, Floats({0, 0, 1, 1})),
                       Plus(kEmfPlusResetClip, 0), Plus(kEmfPlusSetClipPath, 0x0202)})},
         {"Clip: infinite  (record 1.3)"}},
        {"an object in parts is defined by its first",
         {PlusComment({continued_first, Plus(kEmfPlusObject, 0x0103)}),
          PlusComment({continued_last})},
         {"Object table: 2 of 64 slots defined\n  #3 brush  (record 1.1)\n  #5 pen  (record 1.0)"}},
        {"inside the GetDC span",
         {PlusComment({Plus(kEmfPlusSetAntiAliasMode, 1), Plus(kEmfPlusGetDC, 0)}),
          RecordBuilder(kEmrSetBkMode, 12).U32(8, 1)},
         {"GetDC span: inside the GetDC span opened at 1.1  (record 1.1)"}},
        {"the next EMF+ comment ends it",
         {PlusComment({Plus(kEmfPlusGetDC, 0)}), RecordBuilder(kEmrSetBkMode, 12).U32(8, 1),
          PlusComment({Plus(kEmfPlusSetTextContrast, 1200)})},
         {"GetDC span: no  (record 3.0)", "Text contrast: 1200  (record 3.0)"}},
        {"objects used and never defined, of another type, beyond the table",
         {PlusComment({Plus(kEmfPlusObject, 0x0303),
                       Plus(kEmfPlusDrawEllipse, 4, Floats({0, 0, 1, 1})),
                       Plus(kEmfPlusFillRects, 0, Data().U32(3).U32(0)),
                       Plus(kEmfPlusFillRects, 0x8000, Data().U32(0xFF0000FF).U32(0)),
                       Plus(kEmfPlusObject, 0x0146)})},
         {"Record 1.1 uses object #4 as a pen, but no object was defined there\n"
          "  Record 1.2 uses object #3 as a brush, but it holds a path\n"
          "  Record 1.4 defines object #70, outside the 64-slot table\n"}},
        {"a restore or end of an index not on the stack, a transform that cannot be inverted",
         {PlusComment({Plus(kEmfPlusSave, 0, Data().U32(1)),
                       Plus(kEmfPlusRestore, 0, Data().U32(9)),
                       Plus(kEmfPlusEndContainer, 0, Data().U32(8)),
                       Plus(kEmfPlusSetWorldTransform, 0, Matrix(1, 2, 2, 4, 0, 0)),
                       Plus(kEmfPlusSetClipRect, 0x0700, Floats({0, 0, 1, 1}))})},
         {"Stack depth: 1  (record 1.0)",
          "  The EMF+ world transform cannot be inverted\n"
          "  Record 1.1 restores stack index 9, which is not on the stack; ignored\n"
          "  Record 1.2 ends the container of stack index 8, which is not on the stack; ignored\n"
          "  Record 1.4 combines the clip by an unknown mode, 7; ignored\n"}},
        {"an empty intersection",
         {PlusComment({Plus(kEmfPlusSetClipRect, 0, Floats({0, 0, 1, 1})),
                       Plus(kEmfPlusSetClipRect, 0x0100, Floats({5, 5, 1, 1}))})},
         {"The EMF+ clip is empty: nothing is drawn"}},
    };
    for (const Case& c : cases) {
        const std::string text = TextAt(c.records);
        for (const char* expect : c.expect) {
            EXPECT_NE(text.find(expect), std::string::npos) << c.what << "\n" << text;
        }
    }
    // Records that skip what cannot change the state still see the comments.
    EXPECT_TRUE(MayChangeState(70));
}

// EMF+ records cut short inside their comment: the fields they lack change nothing, a size
// beyond the comment's data ends the walk, and nothing is read beyond either.
TEST(EmfPlusState, CutRecordsChangeNothing) {
    std::vector<uint8_t> past = Plus(kEmfPlusSetWorldTransform, 0, Matrix(3, 0, 0, 3, 0, 0));
    past[4] = 200;  // Size beyond the comment's data
    RecordBuilder overlong = PlusComment({Plus(kEmfPlusSave, 0, Data().U32(1)), past});
    overlong.U32(8, 200);  // cbData beyond the record
    const std::string text =
        TextAt({PlusComment(
                    {Plus(kEmfPlusSetWorldTransform, 0, Data().F32(2)), Plus(kEmfPlusRestore, 0),
                     Plus(kEmfPlusSetPageTransform, 2), Plus(kEmfPlusSetClipRect, 0),
                     Plus(kEmfPlusBeginContainer, 0, Data().U32(1)), Plus(kEmfPlusObject, 0x8203)}),
                overlong});
    EXPECT_NE(text.find("World transform: [1 0 0 1 0 0]  (default)"), std::string::npos) << text;
    EXPECT_NE(text.find("Page transform: UnitTypeDisplay, scale 1  (default)"), std::string::npos);
    EXPECT_NE(text.find("Clip: infinite  (default)"), std::string::npos);
    EXPECT_NE(text.find("Stack depth: 1  (record 2.0)\n  Level 1: Save"), std::string::npos);
    EXPECT_NE(text.find("#3 pen  (record 1.5)"), std::string::npos);
}

}  // namespace
