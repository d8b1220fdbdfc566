// The record-type table and the call-text dispatch: names follow their patterns, the types
// of the device context alone print it, unlisted ones print unknown.
#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

#include "calls/call_text.h"
#include "tests/support/call_text_utf8.h"

namespace {

std::string Upper(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

// A record is named EMR_ and its call in capitals; 16-bit point records add 16 and share their
// call's name, and the types without a call keep the record name.
TEST(RecordTypes, NamesFollowTheirPatternsWithTheListedExceptions) {
    const std::set<uint32_t> named_as_record = {1, 14, 92, 102, 103, 109, 110, 115, 117, 119};
    const std::set<uint32_t> own_call_names = {69, 82, 93, 108};
    std::set<std::string> seen;
    for (uint32_t type = 1; type <= 120; ++type) {
        SCOPED_TRACE(type);
        ASSERT_NE(LookupRecordName(type), nullptr);
        ASSERT_NE(LookupCallName(type), nullptr);
        const std::string record = ToUtf8(LookupRecordName(type));
        const std::string call = ToUtf8(LookupCallName(type));
        EXPECT_TRUE(seen.insert(record).second) << record << " names two types";
        if (named_as_record.count(type) != 0) {
            EXPECT_EQ(call, record);
        } else if (type >= 85 && type <= 91) {
            EXPECT_EQ(record, "EMR_" + Upper(call) + "16");
            EXPECT_EQ(call, ToUtf8(LookupCallName(type - 83)));
        } else if (own_call_names.count(type) == 0) {
            EXPECT_EQ(record, "EMR_" + Upper(call));
        }
    }
    EXPECT_EQ(ToUtf8(LookupRecordName(69)), "undefined(69)");
    EXPECT_EQ(ToUtf8(LookupCallName(69)), "unfined(69)");
    EXPECT_EQ(ToUtf8(LookupRecordName(82)), "EMR_EXTCREATEFONTINDIRECTW");
    EXPECT_EQ(LookupRecordName(0), nullptr);
    EXPECT_EQ(LookupRecordName(121), nullptr);
    EXPECT_EQ(LookupCallName(0xFFFFFFFF), nullptr);
}

TEST(CallText, DcOnlyTypesPrintTheDeviceContextAndUnlistedOnesUnknown) {
    for (const uint32_t type : {28, 33, 52, 59, 60, 61, 65, 66, 68}) {
        SCOPED_TRACE(type);
        EXPECT_EQ(CallTextUtf8(RecordBuilder(type, 8), 1), ToUtf8(LookupCallName(type)) + "(hDC);");
    }
    for (const uint32_t type : {0u, 121u, 0xFFFFFFFFu}) {
        EXPECT_EQ(CallTextUtf8(RecordBuilder(type, 8)), "--unknown--");
    }
}

TEST(CallText, MissingRecordGivesEmptyTextAndZero) {
    FixedWideText<kCallTextUnits> text;
    text.Append(u"left over");
    EXPECT_EQ(BuildCallText(RecordView{}, text), 0);
    EXPECT_EQ(text.size(), 0u);
    EXPECT_EQ(BuildCallText(RecordBuilder(33, 8).view(), text), 1);
    EXPECT_EQ(ToUtf8(text.view()), "SaveDC(hDC);");
}

}  // namespace
