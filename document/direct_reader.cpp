// Reads an enhanced metafile straight from its file, as the format lays it out.
//
// The file is accepted when its first record is a header record (type 1) of at least the base
// header's 88 bytes, lying inside the file, with the signature " EMF". The records follow one
// another, each nSize bytes long. Reading stops after the end-of-file record, as the
// platform's enumeration does; a record whose nSize is below 8 or runs past the end of the file
// also ends the reading there, and the records read before it are kept: an inspector shows what
// it can. A record whose nSize is not a multiple of 4 is kept too, and the next one is read at
// the byte after it: such a size is an exporter's fault that a reader of the file wants to see.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "document/emf_format.h"
#include "document/metafile_reader.h"
#include "document/record_view.h"
#include "text/utf16.h"

namespace {

struct DirectMetafile {
    uint8_t* bytes;
    uint32_t size;
    // Where the last walk over the records stopped.
    ReadingStop stop;
};

// Whether the path names a folder, which the C library opens on some systems and refuses with
// a misleading reason on others.
bool IsFolder(const char16_t* path, FILE* opened) {
#ifdef _WIN32
    (void)opened;
    struct _stat64 status;
    return _wstat64(reinterpret_cast<const wchar_t*>(path), &status) == 0 &&
           (status.st_mode & _S_IFDIR) != 0;
#else
    (void)path;
    struct stat status;
    return opened != nullptr && fstat(fileno(opened), &status) == 0 && S_ISDIR(status.st_mode);
#endif
}

FILE* OpenForReading(const char16_t* path) {
#ifdef _WIN32
    return _wfopen(reinterpret_cast<const wchar_t*>(path), L"rb");
#else
    return std::fopen(ToUtf8(path).c_str(), "rb");
#endif
}

// The size of an open file, or -1 when it cannot be told.
int64_t FileLength(FILE* file) {
#ifdef _WIN32
    if (_fseeki64(file, 0, SEEK_END) != 0) {
        return -1;
    }
    const int64_t length = _ftelli64(file);
    return _fseeki64(file, 0, SEEK_SET) == 0 ? length : -1;
#else
    if (fseeko(file, 0, SEEK_END) != 0) {
        return -1;
    }
    const int64_t length = ftello(file);
    return fseeko(file, 0, SEEK_SET) == 0 ? length : -1;
#endif
}

// The bytes of an open file, or nullptr with why in `failure`.
uint8_t* ReadOpenFile(FILE* file, uint32_t* size, LoadFailure* failure) {
    const int64_t length = FileLength(file);
    if (length < 0) {
        SayFailure(failure, std::strerror(errno));
        return nullptr;
    }
    if (length > INT64_C(0xFFFFFFFF)) {
        SayFailure(failure, kFailureTooLarge);
        return nullptr;
    }
    uint8_t* bytes = new (std::nothrow) uint8_t[length == 0 ? 1 : static_cast<size_t>(length)];
    if (bytes == nullptr) {
        SayFailure(failure, kFailureOutOfMemory);
        return nullptr;
    }
    if (std::fread(bytes, 1, static_cast<size_t>(length), file) != static_cast<size_t>(length)) {
        SayFailure(failure, std::ferror(file) ? std::strerror(errno)
                                              : "the file grew shorter while it was read");
        delete[] bytes;
        return nullptr;
    }
    *size = static_cast<uint32_t>(length);
    return bytes;
}

// The whole file, or nullptr with why in `failure`: it cannot be read, is a folder, or is
// 4 GiB or larger.
uint8_t* ReadWholeFile(const char16_t* path, uint32_t* size, LoadFailure* failure) {
    FILE* file = OpenForReading(path);
    const int error = errno;
    if (IsFolder(path, file)) {
        SayFailure(failure, kFailureFolder);
        if (file != nullptr) {
            std::fclose(file);
        }
        return nullptr;
    }
    if (file == nullptr) {
        SayFailure(failure, std::strerror(error));
        return nullptr;
    }
    uint8_t* bytes = ReadOpenFile(file, size, failure);
    std::fclose(file);
    return bytes;
}

// Whether a record of `size` bytes can start where `available` bytes of the file are left.
bool RecordFits(uint32_t size, uint32_t available) {
    return size >= kRecordHeadBytes && size <= available;
}

// Takes over `bytes` (allocated with new[]): the metafile owns them from here on, or they are
// freed when they hold no enhanced metafile.
void* Adopt(uint8_t* bytes, uint32_t size, LoadFailure* failure) {
    if (CheckEnhancedMetafile(bytes, size) != MetafileRefusal::kNone) {
        if (failure != nullptr) {
            ExplainRefusal(bytes, size, failure);
        }
        delete[] bytes;
        return nullptr;
    }
    DirectMetafile* metafile = new (std::nothrow) DirectMetafile{bytes, size, {}};
    if (metafile == nullptr) {
        SayFailure(failure, kFailureOutOfMemory);
        delete[] bytes;
    }
    return metafile;
}

void* Open(const char16_t* path, LoadFailure* failure) {
    uint32_t size = 0;
    uint8_t* bytes = ReadWholeFile(path, &size, failure);
    return bytes == nullptr ? nullptr : Adopt(bytes, size, failure);
}

uint32_t HeaderSize(void* handle) {
    const DirectMetafile* metafile = static_cast<DirectMetafile*>(handle);
    return RecordSizeField(RecordView{metafile->bytes, metafile->size});
}

uint32_t CopyHeader(void* handle, uint32_t size, uint8_t* out) {
    const uint32_t available = HeaderSize(handle);
    const uint32_t copied = size < available ? size : available;
    std::memcpy(out, static_cast<DirectMetafile*>(handle)->bytes, copied);
    return copied;
}

int Enumerate(void* handle, RecordSink sink, void* context) {
    DirectMetafile* metafile = static_cast<DirectMetafile*>(handle);
    metafile->stop = WalkMetafileBytes(metafile->bytes, metafile->size, sink, context);
    return 1;
}

ReadingStop Stop(void* handle) {
    return static_cast<DirectMetafile*>(handle)->stop;
}

uint32_t FileSize(void* handle) {
    return static_cast<DirectMetafile*>(handle)->size;
}

void Close(void* handle) {
    DirectMetafile* metafile = static_cast<DirectMetafile*>(handle);
    delete[] metafile->bytes;
    delete metafile;
}

}  // namespace

ReadingStop WalkMetafileBytes(const uint8_t* bytes, uint32_t size, RecordSink sink, void* context) {
    uint32_t offset = 0;
    while (size - offset >= kRecordHeadBytes) {
        const RecordView rest{bytes + offset, size - offset};
        const uint32_t record_size = RecordSizeField(rest);
        if (!RecordFits(record_size, rest.size)) {
            const ReadingStopReason reason = record_size < kRecordHeadBytes
                                                 ? ReadingStopReason::kSizeBelowEight
                                                 : ReadingStopReason::kSizePastEnd;
            return ReadingStop{reason, offset, record_size, rest.size};
        }
        if (sink(context, rest.data, record_size) == 0) {
            return ReadingStop{};
        }
        offset += record_size;
        if (RecordType(rest) == kEmrEof) {
            return ReadingStop{};
        }
    }
    return ReadingStop{ReadingStopReason::kFileEnds, offset, 0, size - offset};
}

MetafileRefusal CheckEnhancedMetafile(const uint8_t* bytes, size_t size) {
    if (bytes == nullptr || size < kHeaderBaseBytes) {
        return MetafileRefusal::kTooShort;
    }
    const uint32_t held =
        size > UINT32_C(0xFFFFFFFF) ? UINT32_C(0xFFFFFFFF) : static_cast<uint32_t>(size);
    RecordReader header(RecordView{bytes, held});
    if (RecordType(RecordView{bytes, held}) != kEmrHeader) {
        return MetafileRefusal::kNotHeader;
    }
    const uint32_t header_size = RecordSizeField(RecordView{bytes, held});
    if (header_size < kHeaderBaseBytes || header_size > held || header_size % 4 != 0) {
        return MetafileRefusal::kHeaderSize;
    }
    if (header.U32(kHeaderSignatureOffset) != kEnhMetaSignature) {
        return MetafileRefusal::kSignature;
    }
    return MetafileRefusal::kNone;
}

RecordView DirectMetafileBytes(void* handle) {
    const DirectMetafile* metafile = static_cast<DirectMetafile*>(handle);
    return RecordView{metafile->bytes, metafile->size};
}

bool DirectMetafileIsWellFormed(void* handle) {
    const DirectMetafile* metafile = static_cast<DirectMetafile*>(handle);
    RecordReader header(RecordView{metafile->bytes, metafile->size});
    const uint32_t bytes = header.U32(kHeaderBytesOffset);
    if (bytes > metafile->size) {
        return false;
    }
    // The platform walks every record that starts below the byte count, past the end-of-file
    // record too, and stops there.
    bool end_of_file = false;
    uint32_t offset = 0;
    while (offset < bytes) {
        const RecordView rest{metafile->bytes + offset, metafile->size - offset};
        const uint32_t size = RecordSizeField(rest);
        if (!RecordFits(size, rest.size) || size % 4 != 0) {
            return false;
        }
        end_of_file = end_of_file || RecordType(rest) == kEmrEof;
        offset += size;
    }
    return end_of_file;
}

namespace {

const MetafileReader kDirectReader = {Open, HeaderSize, CopyHeader, Enumerate,
                                      Stop, FileSize,   Close};

}  // namespace

const MetafileReader& DirectMetafileReader() {
    return kDirectReader;
}

void* OpenDirectMetafileInMemory(const uint8_t* bytes, size_t size, LoadFailure* failure) {
    if (size > UINT32_C(0xFFFFFFFF)) {
        SayFailure(failure, kFailureTooLarge);
        return nullptr;
    }
    if (bytes == nullptr) {
        if (failure != nullptr) {
            ExplainRefusal(nullptr, 0, failure);
        }
        return nullptr;
    }
    uint8_t* copy = new (std::nothrow) uint8_t[size == 0 ? 1 : size];
    if (copy == nullptr) {
        SayFailure(failure, kFailureOutOfMemory);
        return nullptr;
    }
    std::memcpy(copy, bytes, size);
    return Adopt(copy, static_cast<uint32_t>(size), failure);
}
