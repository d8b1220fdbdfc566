// The call-text dispatch: names, unlisted types and the placeholder.
#include <gtest/gtest.h>

#include "calls/call_text.h"
#include "tests/support/call_text_utf8.h"

namespace {

TEST(CallText, UntranslatedAndDcOnlyTypesPrintTheirFixedArguments) {
    EXPECT_EQ(CallTextUtf8(RecordBuilder(1, 108)), "EMR_HEADER(████████);");
    EXPECT_EQ(CallTextUtf8(RecordBuilder(14, 20)), "EMR_EOF(████████);");
    EXPECT_EQ(CallTextUtf8(RecordBuilder(69, 8)), "unfined(69)(████████);");
    EXPECT_EQ(CallTextUtf8(RecordBuilder(33, 8)), "SaveDC(hDC);");
    EXPECT_EQ(CallTextUtf8(RecordBuilder(70, 16)), "GdiComment(████████);");
}

TEST(CallText, UnlistedTypesPrintUnknownWithoutArguments) {
    EXPECT_EQ(CallTextUtf8(RecordBuilder(0, 8)), "--unknown--");
    EXPECT_EQ(CallTextUtf8(RecordBuilder(121, 8)), "--unknown--");
    EXPECT_EQ(CallTextUtf8(RecordBuilder(0xFFFFFFFF, 8)), "--unknown--");
}

TEST(CallText, MissingRecordGivesEmptyTextAndZero) {
    FixedWideText<kCallTextUnits> text;
    text.Append(u"left over");
    EXPECT_EQ(BuildCallText(RecordView{}, text), 0);
    EXPECT_EQ(text.size(), 0u);
    EXPECT_EQ(BuildCallText(RecordBuilder(33, 8).view(), text), 1);
    EXPECT_EQ(ToUtf8(text.view()), "SaveDC(hDC);");
}

TEST(CallText, SixteenBitPointRecordsShareTheirCallNames) {
    EXPECT_EQ(std::u16string(LookupCallName(3)), std::u16string(LookupCallName(86)));
    EXPECT_EQ(std::u16string(LookupCallName(93)), u"CreatePatternBrush");
    EXPECT_EQ(LookupCallName(0), nullptr);
    EXPECT_EQ(LookupRecordName(121), nullptr);
}

}  // namespace
