// The record filter: one bit per record with a count of those switched off, the header and the
// last record never among them, and whole types switched at once.
#include "document/record_filter.h"

#include <gtest/gtest.h>

#include <vector>

#include "document/record_store.h"
#include "tests/support/emf_builder.h"

namespace {

std::vector<int32_t> OffRecords(const RecordFilter& filter) {
    std::vector<int32_t> off;
    for (int32_t i = -1; i <= filter.record_count(); ++i) {
        if (filter.IsOff(i)) {
            off.push_back(i);
        }
    }
    EXPECT_EQ(static_cast<int32_t>(off.size()), filter.off_count());
    return off;
}

TEST(RecordFilter, CountsDrawingRecordsOnlyAcrossWordBoundaries) {
    RecordFilter filter;
    filter.Reset(200);
    for (int32_t record : {-1, 0, 63, 64, 127, 128, 198, 199, 200, 64}) {
        filter.Set(record, true);
    }
    filter.Set(127, false);
    EXPECT_EQ((std::vector<int32_t>{63, 64, 128, 198}), OffRecords(filter));
    filter.SetAll(true);
    EXPECT_EQ(198, filter.off_count());
    EXPECT_FALSE(filter.IsOff(199));
    filter.Reset(200);
    EXPECT_TRUE(OffRecords(filter).empty());
    for (int32_t count : {-3, 0, 1, 2}) {
        filter.Reset(count);
        filter.SetAll(true);
        EXPECT_TRUE(OffRecords(filter).empty()) << count;
    }
}

TEST(RecordFilter, SwitchesEveryDrawingRecordOfOneType) {
    const uint32_t kTypes[] = {1, 37, 39, 37, 43, 37, 37};
    RecordStore store;
    ASSERT_EQ(1, store.Reset(7, 7 * 8));
    for (uint32_t type : kTypes) {
        store.Append(RecordBuilder(type, 8).bytes().data(), 8);
    }
    RecordFilter filter;
    filter.Reset(store.count());
    EXPECT_EQ(3, filter.SetType(store, 37, true));
    filter.SetType(store, 43, true);
    EXPECT_EQ((std::vector<int32_t>{1, 3, 4, 5}), OffRecords(filter));
    filter.SetType(store, 37, false);
    EXPECT_EQ((std::vector<int32_t>{4}), OffRecords(filter));
    EXPECT_EQ(0u, RecordTypeOf(store, 7));
}

}  // namespace
