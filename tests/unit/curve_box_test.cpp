// The box a curved record draws in, which the player measures before the platform rasterises it.
#include <gtest/gtest.h>

#include "document/curve_box.h"
#include "document/record_types.h"
#include "tests/support/emf_builder.h"

namespace {

RecordView ViewOf(const RecordBuilder& record) {
    return RecordView{record.bytes().data(), static_cast<uint32_t>(record.bytes().size())};
}

TEST(CurveBox, BoxesOfEllipsesArcsAndAngleArcsOnly) {
    CurveBox box{};
    const RecordBuilder ellipse = RecordBuilder(kEmrEllipse, 24)
                                      .I32(8, -2147483647 - 1)
                                      .I32(12, 0)
                                      .I32(16, 2147483647)
                                      .I32(20, 5);
    ASSERT_TRUE(CurveBoxOf(ViewOf(ellipse), &box));
    EXPECT_EQ(box.right - box.left, 4294967295.0);  // no 32-bit overflow
    EXPECT_EQ(box.bottom, 5.0);

    const RecordBuilder angle_arc =
        RecordBuilder(kEmrAngleArc, 28).I32(8, 10).I32(12, 20).U32(16, 0xFFFFFFFF);
    ASSERT_TRUE(CurveBoxOf(ViewOf(angle_arc), &box));
    EXPECT_EQ(box.left, 10.0 - 4294967295.0);
    EXPECT_EQ(box.bottom, 20.0 + 4294967295.0);

    EXPECT_FALSE(CurveBoxOf(ViewOf(RecordBuilder(kEmrRectangle, 24)), &box));
    EXPECT_FALSE(CurveBoxOf(ViewOf(RecordBuilder(kEmrArcTo, 20)), &box));  // too short for its box
}

}  // namespace
