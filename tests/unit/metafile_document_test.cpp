// The document and its record store: loading, refusals, capacities and look-up by position.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "document/emf_format.h"
#include "document/metafile_document.h"
#include "tests/support/emf_builder.h"

namespace {

RecordBuilder SaveDc() {
    return RecordBuilder(33, 8);
}

std::u16string WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    return ToU16(WriteTempFile(name, bytes));
}

// A path of exactly `units` UTF-16 units naming a copy of `bytes`.
std::u16string PathOfLength(size_t units, const std::vector<uint8_t>& bytes) {
    const std::string folder = WriteTempFile("probe.emf", bytes);
    const std::string base = folder.substr(0, folder.size() - std::string("probe.emf").size());
    std::string name = base + std::string(units - base.size() - 4, 'p') + ".emf";
    return ToU16(WriteTempFile(name.substr(base.size()), bytes));
}

std::vector<uint8_t> FirstBytes(std::vector<uint8_t> bytes, size_t count) {
    bytes.resize(count);
    return bytes;
}

// A well-formed file is held whole; its bytes in memory load as the file does, under the name
// given, and are copied. What is not a metafile, no bytes, or a name too long to be a path
// change nothing.
TEST(MetafileDocument, LoadsEveryRecordOfAFileOrOfItsBytesInMemory) {
    std::vector<uint8_t> file = EmfBuilder().Add(SaveDc()).Add(RecordBuilder(34, 12)).Build();
    const std::u16string path = WriteFile("well-formed.emf", file);
    MetafileDocument from_disk;
    ASSERT_EQ(from_disk.LoadFile(path.c_str()), 1);
    EXPECT_EQ(from_disk.IsLoaded(), 1);
    EXPECT_EQ(std::u16string(from_disk.Path()), path);
    EXPECT_EQ(from_disk.HeaderRecordCount(), 4);
    EXPECT_EQ(from_disk.HeaderSize(), 108u);
    EXPECT_EQ(from_disk.Store().count(), 4);
    EXPECT_EQ(from_disk.Store().stored_bytes(), file.size());
    EXPECT_EQ(RecordType(from_disk.RecordAt(0)), kEmrHeader);
    EXPECT_EQ(RecordType(from_disk.RecordAt(1)), 33u);
    EXPECT_EQ(from_disk.RecordAt(2).size, 12u);
    EXPECT_EQ(RecordType(from_disk.RecordAt(3)), kEmrEof);
    EXPECT_FALSE(from_disk.RecordAt(-1));
    EXPECT_FALSE(from_disk.RecordAt(4));
    EXPECT_EQ(0, std::memcmp(from_disk.Store().bytes(), file.data(), file.size()));

    MetafileDocument document;
    ASSERT_EQ(document.LoadBytes(file.data(), file.size(), u"in memory"), 1);
    std::fill(file.begin(), file.end(), uint8_t{0xEE});
    EXPECT_EQ(std::u16string(document.Path()), u"in memory");
    EXPECT_EQ(document.HeaderSize(), from_disk.HeaderSize());
    ASSERT_EQ(document.Store().stored_bytes(), from_disk.Store().stored_bytes());
    EXPECT_EQ(document.Store().count(), from_disk.Store().count());
    EXPECT_EQ(0, std::memcmp(document.Store().bytes(), from_disk.Store().bytes(),
                             from_disk.Store().stored_bytes()));
    const std::vector<uint8_t> text(200, 'x');
    EXPECT_EQ(document.LoadBytes(text.data(), text.size(), u"text"), 0);
    EXPECT_EQ(document.LoadBytes(nullptr, 0, u"nothing"), 0);
    const std::u16string long_name(259, u'n');
    const std::vector<uint8_t> other = EmfBuilder().Build();
    EXPECT_EQ(document.LoadBytes(other.data(), other.size(), long_name.c_str()), 0);
    EXPECT_EQ(std::u16string(document.Path()), u"in memory");
    EXPECT_EQ(document.Store().count(), 4);
}

// A path of 259 units, a file that is no metafile and a missing file are refused, saying why,
// and a second load replaces the first; releasing empties the document as it was before any
// load.
TEST(MetafileDocument, RefusesWhatItCannotLoadKeepingTheLoadedFileUntilReleased) {
    const std::vector<uint8_t> first = EmfBuilder().Add(SaveDc()).Build();
    const std::vector<uint8_t> second = EmfBuilder().Add(SaveDc()).Add(SaveDc()).Build();
    const std::u16string path258 = PathOfLength(258, first);
    const std::u16string path259 = PathOfLength(259, second);
    ASSERT_EQ(path258.size(), 258u);
    ASSERT_EQ(path259.size(), 259u);
    const std::u16string text = WriteFile("text.emf", std::vector<uint8_t>(200, 'x'));
    const std::u16string missing = ToU16(WriteTempFile("gone.emf", {}) + ".missing");
    const std::u16string empty = WriteFile("empty.emf", {});
    const std::vector<uint8_t> unsigned_emf =
        EmfBuilder().HeaderU32(kHeaderSignatureOffset, 0x20464D45).Build();
    MetafileDocument document;
    ASSERT_EQ(document.LoadFile(path258.c_str()), 1);
    EXPECT_STREQ(document.LastLoadFailure(), "");
    // Each failed load says why, in orvella-dump's words.
    const auto why = [&document](int loaded) {
        EXPECT_EQ(loaded, 0);
        return std::string(document.LastLoadFailure());
    };
    EXPECT_EQ(why(document.LoadFile(path259.c_str())), "its path is longer than 258 characters");
    EXPECT_EQ(why(document.LoadFile(text.c_str())),
              "not an enhanced metafile: its first record is of type 2021161080, not a header "
              "record (type 1)");
    EXPECT_EQ(why(document.LoadFile(missing.c_str())), "No such file or directory");
    EXPECT_EQ(why(document.LoadFile(nullptr)), "no path was given");
    EXPECT_EQ(why(document.LoadFile(text.substr(0, text.find_last_of(u"/\\")).c_str())),
              "it is a folder");
    EXPECT_EQ(why(document.LoadFile(empty.c_str())),
              "too short for an enhanced metafile header (0 bytes; it needs 88)");
    EXPECT_EQ(why(document.LoadBytes(unsigned_emf.data(), unsigned_emf.size(), u"unsigned")),
              "not an enhanced metafile: its signature is 0x20464D45, not 0x464D4520 (\" EMF\")");
    EXPECT_EQ(std::u16string(document.Path()), path258);
    EXPECT_EQ(document.Store().count(), 3);
    const std::u16string other = WriteFile("second.emf", second);
    ASSERT_EQ(document.LoadFile(other.c_str()), 1);
    EXPECT_STREQ(document.LastLoadFailure(), "");
    EXPECT_EQ(std::u16string(document.Path()), other);
    EXPECT_EQ(document.Store().count(), 4);
    document.Release();
    EXPECT_EQ(document.IsLoaded(), 0);
    EXPECT_EQ(document.Header(), nullptr);
    EXPECT_EQ(document.HeaderSize(), 0u);
    EXPECT_EQ(document.HeaderRecordCount(), 0);
    EXPECT_EQ(document.Store().count(), 0);
    EXPECT_FALSE(document.RecordAt(0));
    EXPECT_EQ(document.Path()[0], 0);
    EXPECT_EQ(document.Metafile(), nullptr);
    document.Release();
}

// The counts in the header come from the file: a 150-byte file claiming 4 GiB and two
// billion records must not make the store reserve them.
TEST(MetafileDocument, CapsTheStoreByWhatTheFileCanHold) {
    const std::vector<uint8_t> file = EmfBuilder()
                                          .Add(SaveDc())
                                          .HeaderU32(kHeaderBytesOffset, 0xFFFFFFF0)
                                          .HeaderU32(kHeaderRecordsOffset, 0x7FFFFFFF)
                                          .Build();
    MetafileDocument document;
    ASSERT_EQ(document.LoadFile(WriteFile("absurd-counts.emf", file).c_str()), 1);
    EXPECT_EQ(document.Store().byte_capacity(), file.size());
    EXPECT_EQ(document.Store().index_capacity(), static_cast<int32_t>(file.size() / 8));
    EXPECT_EQ(document.Store().count(), 3);
    EXPECT_EQ(document.HeaderRecordCount(), 0x7FFFFFFF);
}

TEST(DirectReader, RefusesFilesWithoutAHeaderRecordItCanTrust) {
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
    } refused[] = {
        {"type-2.emf", EmfBuilder().HeaderU32(0, 2).Build()},
        {"no-signature.emf", EmfBuilder().HeaderU32(kHeaderSignatureOffset, 0x20464D45).Build()},
        {"header-87.emf", EmfBuilder().HeaderU32(4, 87).Build()},
        {"header-unaligned.emf", EmfBuilder().HeaderU32(4, 110).Build()},
        {"header-past-end.emf", EmfBuilder().HeaderU32(4, 4096).Build()},
        {"short.emf", FirstBytes(EmfBuilder().Build(), 60)},
        {"empty.emf", {}},
    };
    for (const auto& file : refused) {
        SCOPED_TRACE(file.name);
        MetafileDocument document;
        EXPECT_EQ(
            document.LoadFileWith(DirectMetafileReader(), WriteFile(file.name, file.bytes).c_str()),
            0);
    }
}

// Reading ends at a record whose size cannot be right, keeping what came before it; it ends
// after the end-of-file record; without one it goes to the end of the file. A record of an odd
// size is kept, and reading goes on at the byte after it. (The input sweep's damaged files add
// sizes of 0 and past the file's end, and a file without an end-of-file record.)
TEST(DirectReader, KeepsTheRecordsBeforeARecordWithAnImpossibleSize) {
    RecordBuilder size4 = SaveDc();
    size4.NSize(4);
    RecordBuilder unaligned(70, 16);
    unaligned.NSize(14).Resize(14);
    std::vector<uint8_t> after_eof = EmfBuilder().Add(SaveDc()).Build();
    const RecordBuilder trailing = SaveDc();
    after_eof.insert(after_eof.end(), trailing.bytes().begin(), trailing.bytes().end());
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        int32_t count;
    } files[] = {
        {"size-4.emf", EmfBuilder().Add(SaveDc()).Add(size4).Add(SaveDc()).Build(), 2},
        {"unaligned.emf", EmfBuilder().Add(SaveDc()).Add(unaligned).Add(SaveDc()).Build(), 5},
        {"after-eof.emf", after_eof, 3},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        MetafileDocument document;
        ASSERT_EQ(
            document.LoadFileWith(DirectMetafileReader(), WriteFile(file.name, file.bytes).c_str()),
            1);
        EXPECT_EQ(document.Store().count(), file.count);
        EXPECT_EQ(RecordType(document.RecordAt(0)), kEmrHeader);
    }
    MetafileDocument odd;
    ASSERT_EQ(odd.LoadFileWith(DirectMetafileReader(),
                               WriteFile("unaligned.emf", files[1].bytes).c_str()),
              1);
    EXPECT_EQ(odd.RecordAt(2).size, 14u);
    EXPECT_EQ(RecordType(odd.RecordAt(3)), 33u);
    EXPECT_EQ(RecordType(odd.RecordAt(4)), kEmrEof);
}

// The records lie back to back in the file: a record left out for want of room still moves
// the offsets of those after it.
TEST(RecordStore, KeepsEachRecordsOffsetInTheFilePastRecordsItRefused) {
    RecordStore store;
    ASSERT_EQ(store.Reset(3, 24), 1);
    const RecordBuilder twelve(34, 12);
    const RecordBuilder twenty(70, 20);
    store.Append(twelve.bytes().data(), 12);
    store.Append(twenty.bytes().data(), 20);  // no room left in the buffer
    store.Append(twelve.bytes().data(), 12);
    ASSERT_EQ(store.count(), 2);
    EXPECT_EQ(store.OffsetAt(0), 0u);
    EXPECT_EQ(store.OffsetAt(1), 32u);
    EXPECT_EQ(store.OffsetAt(2), 0u);
}

TEST(RecordStore, RefusesWhatItCannotHoldAndStoresLaterRecordsThatFit) {
    RecordStore store;
    ASSERT_EQ(store.Reset(3, 40), 1);
    const RecordBuilder twelve(34, 12);
    const RecordBuilder twenty(70, 20);
    const RecordBuilder tiny = RecordBuilder(33, 8).NSize(4);
    store.Append(nullptr, 8);
    store.Append(tiny.bytes().data(), 8);
    store.Append(twelve.bytes().data(), 8);  // its size exceeds what the caller vouches for
    EXPECT_EQ(store.count(), 0);
    store.Append(twenty.bytes().data(), 20);
    store.Append(twenty.bytes().data(), 20);
    store.Append(twenty.bytes().data(), 20);  // no room left in the buffer
    store.Append(twelve.bytes().data(), 12);  // still no room: 40 bytes hold 20 + 20
    EXPECT_EQ(store.count(), 2);
    EXPECT_EQ(store.stored_bytes(), 40u);

    ASSERT_EQ(store.Reset(1, 100), 1);
    store.Append(twelve.bytes().data(), 12);
    store.Append(twelve.bytes().data(), 12);  // the index is full
    EXPECT_EQ(store.count(), 1);
    EXPECT_EQ(store.RecordAt(0).size, 12u);
    EXPECT_FALSE(store.RecordAt(1));
    store.Clear();
    EXPECT_EQ(store.count(), 0);
    EXPECT_EQ(store.bytes(), nullptr);
}

}  // namespace
