// The metafile the platform's player is given: a copy of the stored records in which every
// record that is not sound for playback stands replaced by a harmless one.
#include "document/playback_copy.h"

#include <cstring>
#include <new>

#include "document/emf_format.h"

namespace {

constexpr uint32_t kCommentHeadBytes = 12;
constexpr uint32_t kEofBytes = 20;
constexpr uint32_t kFreshHeaderBytes = 108;
constexpr uint32_t kHeaderPalEntriesOffset = 68;
constexpr uint64_t kMostBytes = 0xFFFFFFFF;

void PutU32(uint8_t* at, uint32_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
    at[2] = static_cast<uint8_t>(value >> 16);
    at[3] = static_cast<uint8_t>(value >> 24);
}

uint32_t RoundUpTo4(uint32_t size) {
    return size > 0xFFFFFFFC ? 0xFFFFFFFC : (size + 3) & ~3u;
}

// Appends `size` zero bytes headed by iType and nSize; returns the new record's first byte.
uint8_t* AppendRecord(std::vector<uint8_t>& bytes, uint32_t type, uint32_t size) {
    const size_t start = bytes.size();
    bytes.resize(start + size, 0);
    uint8_t* record = bytes.data() + start;
    PutU32(record, type);
    PutU32(record + 4, size);
    return record;
}

void AppendComment(std::vector<uint8_t>& bytes, uint32_t stored_size) {
    uint32_t size = RoundUpTo4(stored_size);
    if (size < kCommentHeadBytes) {
        size = kCommentHeadBytes;
    }
    PutU32(AppendRecord(bytes, kEmrGdiComment, size) + 8, size - kCommentHeadBytes);
}

void AppendEndOfFile(std::vector<uint8_t>& bytes, uint32_t stored_size) {
    uint32_t size = RoundUpTo4(stored_size);
    if (size < kEofBytes) {
        size = kEofBytes;
    }
    uint8_t* record = AppendRecord(bytes, kEmrEof, size);
    PutU32(record + 12, 16);  // offPalEntries, where a palette would start
    PutU32(record + size - 4, size);
}

// The header the player is given, in place at the start of `bytes`. A first record that is no
// usable header at all (only a store filled by hand can hold one) gives way to a header made
// of what its first 108 bytes hold; no record at all, to a header of zeros.
GuardVerdict AppendHeader(std::vector<uint8_t>& bytes, RecordView stored) {
    GuardVerdict verdict = CheckRecordForPlayback(stored, 1);
    if (verdict.sound() && RecordType(stored) != kEmrHeader) {
        verdict = GuardVerdict{GuardFault::kUnsafeValue, "iType"};
    }
    const uint32_t size = RecordSizeField(stored);
    if (RecordType(stored) == kEmrHeader && size >= kHeaderBaseBytes && size % 4 == 0 &&
        size <= stored.size) {
        bytes.assign(stored.data, stored.data + size);
        if (!HeaderDescriptionIsSound(stored)) {
            PutU32(bytes.data() + 60, 0);
            PutU32(bytes.data() + 64, 0);
        }
        // Checked on the mended bytes: without the description, the fields after the base
        // header count as there.
        if (!HeaderPixelFormatIsSound(RecordView{bytes.data(), size})) {
            PutU32(bytes.data() + 88, 0);
            PutU32(bytes.data() + 92, 0);
        }
    } else {
        bytes.assign(kFreshHeaderBytes, 0);
        const uint32_t kept = stored.size < kFreshHeaderBytes ? stored.size : kFreshHeaderBytes;
        if (kept != 0) {
            std::memcpy(bytes.data(), stored.data, kept);
        }
        PutU32(bytes.data(), kEmrHeader);
        PutU32(bytes.data() + 4, kFreshHeaderBytes);
        PutU32(bytes.data() + 60, 0);
        PutU32(bytes.data() + 64, 0);
        PutU32(bytes.data() + 88, 0);
        PutU32(bytes.data() + 92, 0);
    }
    PutU32(bytes.data() + kHeaderSignatureOffset, kEnhMetaSignature);
    if (bytes[kHeaderHandlesOffset] == 0 && bytes[kHeaderHandlesOffset + 1] == 0) {
        bytes[kHeaderHandlesOffset] = 1;
    }
    return verdict;
}

int BuildCopy(const RecordStore& store, PlaybackCopy* copy) {
    copy->bytes.clear();
    copy->replacements.clear();
    const int32_t count = store.count();
    std::vector<uint8_t>& bytes = copy->bytes;
    if (count == 0) {
        // A file whose header counts no records loads with an empty store, and plays as an
        // empty picture: a header and an end-of-file record that stand for no stored record.
        AppendHeader(bytes, RecordView{});
        AppendEndOfFile(bytes, kEofBytes);
        PutU32(bytes.data() + kHeaderBytesOffset, static_cast<uint32_t>(bytes.size()));
        PutU32(bytes.data() + kHeaderRecordsOffset, 2);
        return 1;
    }
    bytes.reserve(static_cast<size_t>(store.stored_bytes()) + kEofBytes);

    const GuardVerdict header_verdict = AppendHeader(bytes, store.RecordAt(0));
    if (!header_verdict.sound()) {
        copy->replacements.push_back(
            {0, RecordType(store.RecordAt(0)), header_verdict, PlaybackMend::kHeader});
    }
    const uint32_t handles = LoadLe16(bytes.data() + kHeaderHandlesOffset);

    uint32_t palette_entries = 0;
    bool ends_with_eof = false;
    for (int32_t i = 1; i < count; ++i) {
        const RecordView record = store.RecordAt(i);
        const uint32_t type = RecordType(record);
        const uint32_t size = RecordSizeField(record);
        const bool last = i == count - 1;
        const size_t start = bytes.size();
        GuardVerdict verdict = CheckRecordForPlayback(record, handles);
        if (verdict.sound() && (type == kEmrHeader || (type == kEmrEof && !last))) {
            verdict = GuardVerdict{GuardFault::kUnsafeValue, "iType"};
        }
        if (verdict.sound()) {
            bytes.insert(bytes.end(), record.data, record.data + size);
        } else if (type == kEmrEof && last) {
            AppendEndOfFile(bytes, size);
            copy->replacements.push_back({i, type, verdict, PlaybackMend::kEndOfFile});
        } else {
            AppendComment(bytes, size);
            copy->replacements.push_back({i, type, verdict, PlaybackMend::kComment});
        }
        if (last && type == kEmrEof) {
            ends_with_eof = true;
            palette_entries = LoadLe32(bytes.data() + start + 8);
        }
        if (bytes.size() > kMostBytes) {
            break;
        }
    }
    if (!ends_with_eof) {
        AppendEndOfFile(bytes, kEofBytes);
        copy->replacements.push_back({count, 0, GuardVerdict{}, PlaybackMend::kAddedEndOfFile});
    }
    if (bytes.size() > kMostBytes) {
        copy->bytes.clear();
        copy->replacements.clear();
        return 0;
    }
    const uint32_t records = static_cast<uint32_t>(count) + (ends_with_eof ? 0 : 1);
    PutU32(bytes.data() + kHeaderBytesOffset, static_cast<uint32_t>(bytes.size()));
    PutU32(bytes.data() + kHeaderRecordsOffset, records);
    PutU32(bytes.data() + kHeaderPalEntriesOffset, palette_entries);
    return 1;
}

}  // namespace

int BuildPlaybackCopy(const RecordStore& store, PlaybackCopy* copy) {
    try {
        return BuildCopy(store, copy);
    } catch (const std::bad_alloc&) {
        copy->bytes = {};
        copy->replacements = {};
        return 0;
    }
}
