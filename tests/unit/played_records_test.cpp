// What a playback up to the current record plays: the records the filter leaves in, the header
// and the last record always, up to the first record played at or after the current one.
#include "document/played_records.h"

#include <gtest/gtest.h>

#include <vector>

#include "document/metafile_document.h"
#include "document/record_filter.h"
#include "tests/support/emf_builder.h"

namespace {

using Played = std::vector<int32_t>;

// Header, SetBkMode records 1 to `drawing`, end of file; nRecords as given when not 0.
void Load(MetafileDocument& document, int drawing, uint32_t header_records = 0) {
    EmfBuilder builder;
    for (int i = 0; i < drawing; ++i) {
        builder.Add(RecordBuilder(18, 12).U32(8, 1));
    }
    if (header_records != 0) {
        builder.HeaderU32(52, header_records);
    }
    const std::vector<uint8_t> bytes = builder.Build();
    ASSERT_EQ(1, document.LoadBytes(bytes.data(), bytes.size(), u"played.emf"));
}

// The records played in file order ({-1}: the whole metafile at once), as a player enumerating
// the records, and two beyond the store, would play them.
Played PlayUpTo(const MetafileDocument& document, const RecordFilter* filter, int32_t current) {
    if (PlaysWholeMetafile(document, filter, current)) {
        return {-1};
    }
    Played played;
    for (int32_t index = 0; index < document.Store().count() + 2; ++index) {
        const PlaybackStep step = PlaybackStepAt(document, filter, current, index);
        if (step != PlaybackStep::kSkip) {
            played.push_back(index);
        }
        if (step == PlaybackStep::kPlayAndStop) {
            break;
        }
    }
    return played;
}

TEST(PlayedRecords, PlayUpToTheFirstRecordPlayedFromTheCurrentOne) {
    MetafileDocument document;
    Load(document, 7);  // records 0 to 8
    struct Case {
        bool filtered;  // false: no filter list
        std::vector<int32_t> off;
        int32_t current;
        Played played;
    } const cases[] = {
        {false, {}, 8, {-1}},
        {false, {}, 3, {0, 8}},
        {true, {}, 8, {-1}},
        {true, {}, 0, {0}},
        {true, {}, 1000, {-1}},
        {true, {1}, 8, {0, 2, 3, 4, 5, 6, 7, 8}},
        {true, {5}, 5, {0, 1, 2, 3, 4, 6}},
        {true, {5, 6, 7}, 5, {0, 1, 2, 3, 4, 8}},
        {true, {2}, 1000, {0, 1, 3, 4, 5, 6, 7, 8}},
        {true, {1, 2, 3, 4, 5, 6, 7}, 3, {0, 8}},
        {true, {3}, 0, {0}},
    };
    for (const Case& c : cases) {
        RecordFilter filter;
        filter.Reset(document.Store().count());
        for (int32_t record : c.off) {
            filter.Set(record, true);
        }
        EXPECT_EQ(c.played, PlayUpTo(document, c.filtered ? &filter : nullptr, c.current))
            << "current " << c.current << ", " << c.off.size() << " off";
    }
}

// The header and the last stored record are played whatever the filter holds, even one left
// from a longer document; the whole metafile is played at the header's last record only.
TEST(PlayedRecords, HeaderAndLastRecordAreAlwaysPlayed) {
    MetafileDocument document;
    Load(document, 3);  // records 0 to 4
    RecordFilter stale;
    stale.Reset(20);
    stale.Set(4, true);
    EXPECT_TRUE(LeavesOutRecords(&stale));
    EXPECT_FALSE(LeavesOutRecords(nullptr));
    EXPECT_EQ((Played{0, 1, 2, 3, 4}), PlayUpTo(document, &stale, 4));
    for (int64_t index : {-1, 5, 6}) {
        EXPECT_FALSE(PlaysRecord(document, &stale, index)) << index;
    }

    MetafileDocument miscounted;
    Load(miscounted, 3, 100);
    RecordFilter none;
    none.Reset(5);
    EXPECT_EQ((Played{0, 1, 2, 3, 4}), PlayUpTo(miscounted, &none, 4));
    EXPECT_EQ(Played{-1}, PlayUpTo(miscounted, &none, 99));
}

}  // namespace
