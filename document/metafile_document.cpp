// The one loaded metafile: its path, its handle, a copy of its header and of every record.
#include "document/metafile_document.h"

#include <new>
#include <utility>

#include "document/emf_format.h"

namespace {

// The store being filled, and the first record it had no room for.
struct Filling {
    RecordStore* store;
    uint32_t file_size;
    // Where the record handed over next starts in the file.
    uint32_t offset;
    ReadingStop refused;
};

int AppendRecord(void* context, const uint8_t* record, uint32_t available) {
    Filling* filling = static_cast<Filling*>(context);
    const int32_t count = filling->store->count();
    filling->store->Append(record, available);
    const uint32_t size = RecordSizeField(RecordView{record, available});
    if (filling->store->count() == count && filling->refused.reason == ReadingStopReason::kNone) {
        const uint32_t left =
            filling->offset < filling->file_size ? filling->file_size - filling->offset : 0;
        filling->refused = ReadingStop{ReadingStopReason::kNoRoom, filling->offset, size, left};
    }
    filling->offset += size;
    return 1;
}

// Why AcceptedPathLength refused `path`.
const char* PathFailure(const char16_t* path) {
    return path == nullptr ? "no path was given" : "its path is longer than 258 characters";
}

// The length of a path the document accepts, or -1 when it is missing or too long.
int AcceptedPathLength(const char16_t* path) {
    if (path == nullptr) {
        return -1;
    }
    int length = 0;
    while (path[length] != 0) {
        if (++length > kLongestPath) {
            return -1;
        }
    }
    return length;
}

uint32_t ReadU32(const uint8_t* bytes, uint32_t size, uint32_t offset) {
    return RecordReader(RecordView{bytes, size}).U32(offset);
}

DocumentPlatform g_platform = {nullptr, nullptr, nullptr};

}  // namespace

void InstallDocumentPlatform(const DocumentPlatform& platform) {
    g_platform = platform;
}

const DocumentPlatform& InstalledDocumentPlatform() {
    return g_platform;
}

const MetafileReader& PlatformMetafileReader() {
    return g_platform.reader != nullptr ? *g_platform.reader : DirectMetafileReader();
}

int MetafileDocument::LoadFile(const char16_t* path) {
    return LoadFileWith(PlatformMetafileReader(), path);
}

int MetafileDocument::LoadFileWith(const MetafileReader& reader, const char16_t* path) {
    const int length = AcceptedPathLength(path);
    if (length < 0) {
        load_failure_.Say(PathFailure(path));
        return 0;
    }
    load_failure_.Say("");
    return Adopt(reader, reader.open(path, &load_failure_), path, length);
}

int MetafileDocument::LoadBytes(const uint8_t* bytes, size_t size, const char16_t* name) {
    const int length = AcceptedPathLength(name);
    if (length < 0) {
        load_failure_.Say(PathFailure(name));
        return 0;
    }
    load_failure_.Say("");
    return Adopt(DirectMetafileReader(), OpenDirectMetafileInMemory(bytes, size, &load_failure_),
                 name, length);
}

// Takes over a metafile just opened by `reader` and copies its header and records; `path` is
// kept as the document's path. The new file is read into a document of its own and exchanged
// with this one only once it is whole, so a failure leaves the loaded file as it was.
int MetafileDocument::Adopt(const MetafileReader& reader, void* metafile, const char16_t* path,
                            int length) {
    if (metafile == nullptr) {
        if (load_failure_.text[0] == 0) {
            load_failure_.Say("it cannot be read as an enhanced metafile");
        }
        return 0;
    }
    MetafileDocument loaded;
    loaded.metafile_ = metafile;
    loaded.close_metafile_ = reader.close;
    int read = 0;
    try {
        read = loaded.ReadAll(reader);
    } catch (const std::bad_alloc&) {
        loaded.load_failure_.Say(kFailureOutOfMemory);
    }
    if (read == 0) {
        load_failure_ = loaded.load_failure_;
        return 0;
    }
    for (int i = 0; i <= length; ++i) {
        loaded.path_[i] = path[i];
    }
    // Counted on the thread that loads, which is the only one that does.
    static uint32_t loads = 0;
    loaded.serial_ = ++loads;
    Swap(loaded);
    return 1;
}

int MetafileDocument::ReadAll(const MetafileReader& reader) {
    const uint32_t size = reader.header_size(metafile_);
    if (size == 0) {
        load_failure_.Say("its header record cannot be read");
        return 0;
    }
    header_ = new (std::nothrow) uint8_t[size];
    if (header_ == nullptr) {
        load_failure_.Say(kFailureOutOfMemory);
        return 0;
    }
    header_size_ = reader.copy_header(metafile_, size, header_);
    return BuildStore(reader) != 0 && UsePlaybackHandle(reader, g_platform) != 0 ? 1 : 0;
}

// Sizes the store from the header's counts and copies every record into it. The counts come
// from the file and may be absurd, so neither allocation may exceed what the file itself can
// hold: its size in bytes, and one record per 8 bytes. Where reading a damaged file stopped is
// the first record the store had no room for, else where the reader's walk ended.
int MetafileDocument::BuildStore(const MetafileReader& reader) {
    if (header_size_ < kHeaderRecordsOffset + 4) {
        load_failure_.Say("its header record cannot be read");
        return 0;
    }
    const uint32_t file_size = reader.file_size(metafile_);
    uint32_t bytes = ReadU32(header_, header_size_, kHeaderBytesOffset);
    uint32_t records = ReadU32(header_, header_size_, kHeaderRecordsOffset);
    if (bytes > file_size) {
        bytes = file_size;
    }
    if (records > file_size / kRecordHeadBytes) {
        records = file_size / kRecordHeadBytes;
    }
    if (store_.Reset(static_cast<int32_t>(records), bytes) == 0) {
        load_failure_.Say(kFailureOutOfMemory);
        return 0;
    }
    Filling filling{&store_, file_size, 0, ReadingStop{}};
    if (reader.enumerate(metafile_, AppendRecord, &filling) == 0) {
        load_failure_.Say("the platform could not enumerate its records");
        return 0;
    }
    // A file read to its end-of-file record is whole, even where its header counts fewer
    // records than it holds and the store left the last ones out.
    const ReadingStop walked = reader.stop(metafile_);
    const bool cut = walked.reason != ReadingStopReason::kNone;
    stop_ = cut && filling.refused.reason != ReadingStopReason::kNone ? filling.refused : walked;
    return 1;
}

// Where the platform plays metafiles from a handle of its own, the reader's handle is
// exchanged for one made from the guarded playback copy of the stored records, so that the
// player never meets a record whose counts, offsets or object indices lead outside it;
// elsewhere the reader's handle stays.
int MetafileDocument::UsePlaybackHandle(const MetafileReader& reader,
                                        const DocumentPlatform& platform) {
    if (platform.create_playback == nullptr) {
        return 1;
    }
    void* playback = platform.create_playback(store_);
    if (playback == nullptr) {
        load_failure_.Say("the platform refused its playback copy");
        return 0;
    }
    reader.close(metafile_);
    metafile_ = playback;
    close_metafile_ = platform.delete_playback;
    return 1;
}

void MetafileDocument::Swap(MetafileDocument& other) {
    for (int i = 0; i < kPathUnits; ++i) {
        std::swap(path_[i], other.path_[i]);
    }
    std::swap(metafile_, other.metafile_);
    std::swap(serial_, other.serial_);
    std::swap(header_, other.header_);
    std::swap(header_size_, other.header_size_);
    store_.Swap(other.store_);
    std::swap(stop_, other.stop_);
    std::swap(close_metafile_, other.close_metafile_);
}

void MetafileDocument::Release() {
    store_.Clear();
    delete[] header_;
    header_ = nullptr;
    if (metafile_ != nullptr) {
        close_metafile_(metafile_);
        metafile_ = nullptr;
    }
    close_metafile_ = nullptr;
    serial_ = 0;
    path_[0] = 0;
    header_size_ = 0;
    stop_ = ReadingStop{};
}

int32_t MetafileDocument::HeaderRecordCount() const {
    if (!IsLoaded() || header_ == nullptr) {
        return 0;
    }
    return static_cast<int32_t>(ReadU32(header_, header_size_, kHeaderRecordsOffset));
}
