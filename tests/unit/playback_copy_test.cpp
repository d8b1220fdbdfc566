// The playback copy: the stored records as the platform's player is given them.
#include "document/playback_copy.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "document/emf_format.h"
#include "document/metafile_document.h"
#include "fuzz/fuzz_checks.h"
#include "tests/support/emf_builder.h"

namespace {

// Stores the given records back to back, as the document does after reading a file.
void StoreRecords(const std::vector<std::vector<uint8_t>>& records, RecordStore* store) {
    uint32_t bytes = 0;
    for (const std::vector<uint8_t>& record : records) {
        bytes += static_cast<uint32_t>(record.size());
    }
    ASSERT_EQ(store->Reset(static_cast<int32_t>(records.size()), bytes), 1);
    for (const std::vector<uint8_t>& record : records) {
        store->Append(record.data(), static_cast<uint32_t>(record.size()));
    }
}

// The records of a whole metafile built by the tests.
std::vector<std::vector<uint8_t>> RecordsOf(const std::vector<uint8_t>& file) {
    std::vector<std::vector<uint8_t>> records;
    for (size_t offset = 0; offset + 8 <= file.size();) {
        const uint32_t size = LoadLe32(file.data() + offset + 4);
        records.emplace_back(file.begin() + offset, file.begin() + offset + size);
        offset += size;
    }
    return records;
}

void StoreFile(const std::vector<uint8_t>& file, RecordStore* store) {
    StoreRecords(RecordsOf(file), store);
}

std::vector<RecordView> CopyRecords(const PlaybackCopy& copy) {
    std::vector<RecordView> records;
    for (size_t offset = 0; offset + 8 <= copy.bytes.size();) {
        const uint32_t size = LoadLe32(copy.bytes.data() + offset + 4);
        records.push_back(RecordView{copy.bytes.data() + offset, size});
        if (size < 8) {
            break;
        }
        offset += size;
    }
    return records;
}

// The playback copy of `store`, which must be built and playable.
PlaybackCopy Copy(const RecordStore& store) {
    PlaybackCopy copy;
    EXPECT_EQ(BuildPlaybackCopy(store, &copy), 1);
    const char* broken = CheckPlayable(copy);
    EXPECT_EQ(broken, nullptr) << broken;
    return copy;
}

RecordBuilder Pen(uint32_t index) {
    return RecordBuilder(38, 28).U32(8, index);
}

TEST(PlaybackCopy, WellFormedFileIsCopiedByteForByte) {
    RecordBuilder text(84, 84);
    text.U32(44, 1).U32(48, 76).Utf16(76, u"A").U32(72, 80).U32(80, 9);
    const std::vector<uint8_t> file = EmfBuilder()
                                          .Handles(2)
                                          .Description(u"well formed")
                                          .Add(Pen(1))
                                          .Add(RecordBuilder(37, 12).U32(8, 1))
                                          .Add(RecordBuilder(87, 36).U32(24, 2))
                                          .Add(text)
                                          .Add(RecordBuilder(40, 12).U32(8, 1))
                                          .Build();
    RecordStore store;
    StoreFile(file, &store);
    const PlaybackCopy copy = Copy(store);
    EXPECT_EQ(copy.bytes, file);
    EXPECT_TRUE(copy.replacements.empty());
}

TEST(PlaybackCopy, UnsoundRecordsBecomeCommentsOfTheSameSizeInTheirPlace) {
    RecordBuilder far_text(84, 96);
    far_text.U32(44, 4).U32(48, 0x00100000);
    const std::vector<uint8_t> file = EmfBuilder()
                                          .Handles(3)
                                          .Add(RecordBuilder(33, 8))
                                          .Add(far_text)
                                          .Add(Pen(2))
                                          .Add(Pen(3))
                                          .Add(RecordBuilder(34, 12).I32(8, -1))
                                          .Build();
    RecordStore store;
    StoreFile(file, &store);
    const PlaybackCopy copy = Copy(store);
    ASSERT_EQ(copy.bytes.size(), file.size());
    const std::vector<RecordView> records = CopyRecords(copy);
    ASSERT_EQ(records.size(), 7u);
    for (int i : {0, 1, 3, 5, 6}) {
        EXPECT_EQ(0, std::memcmp(records[i].data, store.RecordAt(i).data, records[i].size)) << i;
    }
    for (int i : {2, 4}) {
        SCOPED_TRACE(i);
        EXPECT_EQ(RecordType(records[i]), kEmrGdiComment);
        EXPECT_EQ(records[i].size, store.RecordAt(i).size);
        EXPECT_EQ(LoadLe32(records[i].data + 8), records[i].size - 12);
        for (uint32_t b = 12; b < records[i].size; ++b) {
            EXPECT_EQ(records[i].data[b], 0);
        }
    }
    ASSERT_EQ(copy.replacements.size(), 2u);
    EXPECT_EQ(copy.replacements[0].index, 2);
    EXPECT_EQ(copy.replacements[0].type, 84u);
    EXPECT_EQ(copy.replacements[0].verdict.fault, GuardFault::kOffsetBeyondRecord);
    EXPECT_EQ(copy.replacements[0].mend, PlaybackMend::kComment);
    EXPECT_EQ(copy.replacements[1].index, 4);
    EXPECT_EQ(copy.replacements[1].verdict.fault, GuardFault::kObjectIndexOutsideTable);
}

TEST(PlaybackCopy, HeaderIsMendedPartByPart) {
    const std::vector<uint8_t> file = EmfBuilder()
                                          .Handles(0)
                                          .Frame(10, 20, 3000, 4000)
                                          .Description(u"description")
                                          .HeaderU32(60, 500)
                                          .Add(Pen(1))
                                          .Build();
    RecordStore store;
    StoreFile(file, &store);
    const PlaybackCopy copy = Copy(store);
    const uint8_t* header = copy.bytes.data();
    EXPECT_EQ(header[kHeaderHandlesOffset], 1);
    EXPECT_EQ(LoadLe32(header + 60), 0u);
    EXPECT_EQ(LoadLe32(header + 64), 0u);
    EXPECT_EQ(0, std::memcmp(header + 8, file.data() + 8, 40));  // bounds, frame, signature
    ASSERT_EQ(copy.replacements.size(), 2u);
    EXPECT_EQ(copy.replacements[0].mend, PlaybackMend::kHeader);
    EXPECT_EQ(copy.replacements[0].verdict.fault, GuardFault::kUnsafeValue);
    // With a table of one slot, the pen has nowhere to go.
    EXPECT_EQ(copy.replacements[1].index, 1);
    EXPECT_EQ(copy.replacements[1].verdict.fault, GuardFault::kObjectIndexOutsideTable);
}

// A description right after the base header hides the fields after it; once the description
// is dropped, its text would read as a pixel format block, so that goes too.
TEST(PlaybackCopy, PixelFormatIsCheckedOnceTheDescriptionIsDropped) {
    const std::vector<uint8_t> file = EmfBuilder()
                                          .Description(u"abcdefgh")
                                          .HeaderU32(64, 88)
                                          .HeaderU32(60, 400)
                                          .HeaderU32(88, 0x7FFF)
                                          .HeaderU32(92, 0x7FFF)
                                          .Build();
    RecordStore store;
    StoreFile(file, &store);
    const PlaybackCopy copy = Copy(store);
    EXPECT_EQ(LoadLe32(copy.bytes.data() + 88), 0u);
    EXPECT_EQ(LoadLe32(copy.bytes.data() + 92), 0u);
}

TEST(PlaybackCopy, EndOfFileIsMendedOrAdded) {
    RecordStore store;
    PlaybackCopy copy;
    // A palette beyond the record: an end-of-file record of the same size without one.
    std::vector<std::vector<uint8_t>> records = RecordsOf(EmfBuilder().PalEntries(9).Build());
    records[1] = RecordBuilder(14, 24).U32(8, 9).U32(12, 16).U32(20, 24).bytes();
    StoreRecords(records, &store);
    copy = Copy(store);
    EXPECT_EQ(CopyRecords(copy)[1].size, 24u);
    EXPECT_EQ(LoadLe32(copy.bytes.data() + 68), 0u);  // nPalEntries follows the copy's record
    ASSERT_EQ(copy.replacements.size(), 1u);
    EXPECT_EQ(copy.replacements[0].mend, PlaybackMend::kEndOfFile);

    // A sound palette: the header's nPalEntries says what the record holds.
    records[1] = RecordBuilder(14, 28).U32(8, 2).U32(12, 16).U32(24, 28).bytes();
    StoreRecords(records, &store);
    copy = Copy(store);
    EXPECT_TRUE(copy.replacements.empty());
    EXPECT_EQ(LoadLe32(copy.bytes.data() + 68), 2u);

    // Too short for an end-of-file record: one of 20 bytes.
    records[1] = RecordBuilder(14, 12).bytes();
    StoreRecords(records, &store);
    copy = Copy(store);
    EXPECT_EQ(CopyRecords(copy)[1].size, 20u);

    // None at all: one is added after the last stored record.
    StoreFile(EmfBuilder().NoEof().Add(RecordBuilder(33, 8)).Build(), &store);
    copy = Copy(store);
    EXPECT_EQ(CopyRecords(copy).size(), 3u);
    ASSERT_EQ(copy.replacements.size(), 1u);
    EXPECT_EQ(copy.replacements[0].index, 2);
    EXPECT_EQ(copy.replacements[0].mend, PlaybackMend::kAddedEndOfFile);
}

TEST(PlaybackCopy, HeaderOrEndOfFileInTheMiddleBecomesAComment) {
    std::vector<std::vector<uint8_t>> records =
        RecordsOf(EmfBuilder().Add(EofRecord()).Add(RecordBuilder(33, 8)).Build());
    RecordStore store;
    records.insert(records.begin() + 2, records[0]);  // a second header
    StoreRecords(records, &store);
    const PlaybackCopy copy = Copy(store);
    ASSERT_EQ(copy.replacements.size(), 2u);
    EXPECT_EQ(copy.replacements[0].index, 1);
    EXPECT_EQ(copy.replacements[1].index, 2);
}

// Only a store filled by hand can hold these: a first record that is no header, and a size
// that is not a multiple of 4.
TEST(PlaybackCopy, StoreFilledByHandStillGivesAPlayableCopy) {
    RecordStore store;
    PlaybackCopy copy;
    RecordBuilder odd(70, 16);
    odd.U32(8, 2).NSize(14);
    StoreRecords({RecordBuilder(33, 8).bytes(), odd.bytes(), RecordBuilder(33, 8).bytes()}, &store);
    ASSERT_EQ(store.count(), 3);
    copy = Copy(store);
    EXPECT_EQ(CopyRecords(copy)[1].size, 16u);
    EXPECT_EQ(copy.replacements[0].mend, PlaybackMend::kHeader);

    // An empty store plays as an empty picture: a header and an end-of-file record.
    store.Clear();
    copy = Copy(store);
    ASSERT_EQ(CopyRecords(copy).size(), 2u);
    EXPECT_EQ(RecordType(CopyRecords(copy)[1]), kEmrEof);
    EXPECT_TRUE(copy.replacements.empty());
}

}  // namespace
