// Call texts of lines, rectangles, arcs, paths, clipping, flood fill and world transforms.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/record_types.h"
#include "tests/support/call_text_utf8.h"

namespace {

RecordBuilder Box(uint32_t type, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    RecordBuilder r(type, 24);
    r.I32(8, left).I32(12, top).I32(16, right).I32(20, bottom);
    return r;
}

RecordBuilder WorldTransform(uint32_t type, uint32_t size) {
    RecordBuilder r(type, size);
    r.F32(8, 2.5f).F32(12, 0.0f).F32(16, -0.5f).F32(20, 1.0f).F32(24, 100.0f).F32(28, -7.25f);
    return r;
}

const char kShearBlock[] =
    "\r\n\t  // Parameter(s):\r\n\t  const XFORM* lpXform;\r\n\t  lpXform->eM11 = 2.500000"
    "\r\n\t  lpXform->eM12 = 0.000000\r\n\t  lpXform->eM21 = -0.500000\r\n\t  lpXform->eM22 = "
    "1.000000\r\n\t  lpXform->eDx  = 100.000000\r\n\t  lpXform->eDy  = -7.250000";

TEST(FormatShape, MoveToExHasThePreviousPositionArgumentAndLineToDoesNot) {
    EXPECT_EQ(CallTextUtf8(RecordBuilder(27, 16).I32(8, 10).I32(12, 20)),
              "MoveToEx(hDC, 10, 20, NULL);");
    EXPECT_EQ(CallTextUtf8(RecordBuilder(54, 16).I32(8, 10).I32(12, 20)), "LineTo(hDC, 10, 20);");
}

TEST(FormatShape, BoxRecordsPrintTheirFieldsInOrderWithSigns) {
    EXPECT_EQ(CallTextUtf8(Box(43, 0, 0, 100, -50)), "Rectangle(hDC, 0, 0, 100, -50);");
    EXPECT_EQ(CallTextUtf8(Box(30, -1, 2, 3, 4)), "IntersectClipRect(hDC, -1, 2, 3, 4);");
    EXPECT_EQ(CallTextUtf8(Box(44, 1, 2, 3, 4).I32(24, 5).I32(28, -6)),
              "RoundRect(hDC, 1, 2, 3, 4, 5, -6);");
    EXPECT_EQ(CallTextUtf8(Box(47, 1, 2, 3, 4).I32(24, 5).I32(28, 6).I32(32, 7).I32(36, -8)),
              "Pie(hDC, 1, 2, 3, 4, 5, 6, 7, -8);");
}

TEST(FormatShape, AllPathDrawingRecordsNameTheStrokePathStructure) {
    EXPECT_EQ(CallTextUtf8(Box(62, 1, 2, 3, 4)),
              "FillPath(hDC);    // EMRSTROKEPATH.rclBounds = RECT(1, 2, 3, 4);");
    EXPECT_EQ(CallTextUtf8(Box(63, 1, 2, 3, 4)),
              "StrokeAndFillPath(hDC);    // EMRSTROKEPATH.rclBounds = RECT(1, 2, 3, 4);");
}

TEST(FormatShape, AngleArcPrintsItsAnglesInFixedPoint) {
    RecordBuilder r(41, 28);
    r.I32(8, 50).I32(12, 60).U32(16, 40).F32(20, 45.5f).F32(24, 90.0f);
    EXPECT_EQ(CallTextUtf8(r), "AngleArc(hDC, 50, 60, 40, 45.500000, 90.000000);");
}

TEST(FormatShape, FloodFillSplitsTheColourAndNamesOnlyKnownModes) {
    RecordBuilder r(53, 24);
    r.I32(8, 5).I32(12, 6).U32(16, 0x00123456).U32(20, 1);
    EXPECT_EQ(CallTextUtf8(r), "ExtFloodFill(hDC, 5, 6, RGB(86, 52, 18), FLOODFILLSURFACE);");
    r.U32(20, 2);
    EXPECT_EQ(CallTextUtf8(r), "ExtFloodFill(hDC, 5, 6, RGB(86, 52, 18), 0x00000002);");
}

TEST(FormatShape, SelectClipPathNamesTheRegionMode) {
    EXPECT_EQ(CallTextUtf8(RecordBuilder(67, 12).U32(8, 5)),
              "SelectClipPath(hDC, RGN_COPY | RGN_MAX);");
    EXPECT_EQ(CallTextUtf8(RecordBuilder(67, 12).U32(8, 0)), "SelectClipPath(hDC, 0x00000000);");
}

TEST(FormatShape, ModifyWorldTransformListsTheMatrixOnlyInVerboseForm) {
    RecordBuilder r = WorldTransform(kEmrModifyWorldTransform, 36);
    r.U32(32, 4);
    EXPECT_EQ(CallTextUtf8(r, 0), "ModifyWorldTransform(hDC, lpXform, 4);");
    EXPECT_EQ(CallTextUtf8(r, 1),
              std::string("ModifyWorldTransform(hDC, lpXform, 4);") + kShearBlock);
    r.U32(32, 2);
    EXPECT_EQ(CallTextUtf8(r, 0), "ModifyWorldTransform(hDC, lpXform, MWT_LEFTMULTIPLY);");
}

TEST(FormatShape, SetWorldTransformBriefFormIgnoresTheMatrix) {
    const RecordBuilder r = WorldTransform(kEmrSetWorldTransform, 32);
    EXPECT_EQ(CallTextUtf8(r, 0), "SetWorldTransform(hDC, lpXform);");
    EXPECT_EQ(CallTextUtf8(RecordBuilder(kEmrSetWorldTransform, 32), 0),
              "SetWorldTransform(hDC, lpXform);");
    EXPECT_EQ(CallTextUtf8(r, 1), std::string("SetWorldTransform(hDC, lpXform);") + kShearBlock);
}

}  // namespace
