// The record filter: one bit per record with a count of those switched off, the header and the
// last record never among them, and whole types switched at once.
#include "app/record_filter.h"

#include <gtest/gtest.h>

#include <vector>

#include "document/record_store.h"
#include "tests/support/emf_builder.h"

namespace {

// A store of one 8-byte record per type given.
void StoreTypes(const std::vector<uint32_t>& types, RecordStore* store) {
    ASSERT_EQ(1, store->Reset(static_cast<int32_t>(types.size()),
                              static_cast<uint32_t>(8 * types.size())));
    for (uint32_t type : types) {
        const std::vector<uint8_t> record = RecordBuilder(type, 8).bytes();
        store->Append(record.data(), 8);
    }
}

std::vector<int32_t> OffRecords(const RecordFilter& filter) {
    std::vector<int32_t> off;
    for (int32_t i = -1; i <= filter.record_count(); ++i) {
        if (filter.IsOff(i)) {
            off.push_back(i);
        }
    }
    return off;
}

TEST(RecordFilter, CountsEachRecordOnceAcrossWordBoundaries) {
    RecordFilter filter;
    filter.Reset(200);
    for (int32_t record : {63, 64, 127, 128, 198, 64}) {
        filter.Set(record, true);
    }
    EXPECT_EQ(5, filter.off_count());
    EXPECT_EQ((std::vector<int32_t>{63, 64, 127, 128, 198}), OffRecords(filter));
    filter.Set(64, false);
    filter.Set(64, false);
    filter.Set(65, false);
    EXPECT_EQ(4, filter.off_count());
    EXPECT_FALSE(filter.IsOff(64));
    filter.Reset(200);
    EXPECT_EQ(0, filter.off_count());
    EXPECT_TRUE(OffRecords(filter).empty());
}

TEST(RecordFilter, HeaderLastRecordAndOutsideAreNeverOff) {
    RecordFilter filter;
    filter.Reset(5);
    for (int32_t record : {-1, 0, 4, 5, 1 << 30}) {
        filter.Set(record, true);
    }
    EXPECT_EQ(0, filter.off_count());
    EXPECT_TRUE(OffRecords(filter).empty());
    filter.SetAll(true);
    EXPECT_EQ(3, filter.off_count());
    EXPECT_EQ((std::vector<int32_t>{1, 2, 3}), OffRecords(filter));
    filter.SetAll(false);
    EXPECT_EQ(0, filter.off_count());
    // Files with no drawing record, and a filter never sized.
    for (int32_t count : {-3, 0, 1, 2}) {
        filter.Reset(count);
        filter.SetAll(true);
        filter.Set(1, true);
        EXPECT_EQ(0, filter.off_count()) << count;
    }
}

TEST(RecordFilter, SwitchesEveryDrawingRecordOfOneType) {
    RecordStore store;
    StoreTypes({1, 37, 39, 37, 43, 37, 37}, &store);
    RecordFilter filter;
    filter.Reset(store.count());
    EXPECT_EQ(3, filter.SetType(store, 37, true));
    EXPECT_EQ((std::vector<int32_t>{1, 3, 5}), OffRecords(filter));
    EXPECT_EQ(1, filter.SetType(store, 43, true));
    EXPECT_EQ(4, filter.off_count());
    filter.SetType(store, 37, false);
    EXPECT_EQ((std::vector<int32_t>{4}), OffRecords(filter));
    EXPECT_EQ(0, filter.SetType(store, 99, true));
    EXPECT_EQ(1, filter.off_count());
    EXPECT_EQ(37u, RecordTypeOf(store, 6));
    EXPECT_EQ(0u, RecordTypeOf(store, 7));
    EXPECT_EQ(0u, RecordTypeOf(store, -1));
}

}  // namespace
