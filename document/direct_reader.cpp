// Reads an enhanced metafile straight from its file, as the format lays it out.
//
// The file is accepted when its first record is a header record (type 1) of at least the base
// header's 88 bytes, lying inside the file, with the signature " EMF". The records follow one
// another, each nSize bytes long. Reading stops after the end-of-file record, as the
// platform's enumeration does; a record whose nSize is below 8, is not a multiple of 4 or runs
// past the end of the file also ends the reading there, and the records read before it are
// kept: an inspector shows what it can. (After a size that is not a multiple of 4 the records
// would follow one another at offsets the format never uses: what follows is not a record.)
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "document/emf_format.h"
#include "document/metafile_reader.h"
#include "document/record_view.h"

namespace {

struct DirectMetafile {
    uint8_t* bytes;
    uint32_t size;
};

FILE* OpenForReading(const char16_t* path) {
#ifdef _WIN32
    return _wfopen(reinterpret_cast<const wchar_t*>(path), L"rb");
#else
    std::string utf8;
    for (const char16_t* p = path; *p != 0; ++p) {
        uint32_t c = *p;
        if (c >= 0xD800 && c <= 0xDBFF && p[1] >= 0xDC00 && p[1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (p[1] - 0xDC00);
            ++p;
        }
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else if (c < 0x800) {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            utf8 += static_cast<char>(0xE0 | (c >> 12));
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            utf8 += static_cast<char>(0xF0 | (c >> 18));
            utf8 += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return std::fopen(utf8.c_str(), "rb");
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

// The whole file, or nullptr when it cannot be read or is 4 GiB or larger.
uint8_t* ReadWholeFile(const char16_t* path, uint32_t* size) {
    FILE* file = OpenForReading(path);
    if (file == nullptr) {
        return nullptr;
    }
    const int64_t length = FileLength(file);
    uint8_t* bytes = nullptr;
    if (length >= 0 && length <= INT64_C(0xFFFFFFFF)) {
        bytes = new (std::nothrow) uint8_t[length == 0 ? 1 : static_cast<size_t>(length)];
    }
    if (bytes != nullptr &&
        std::fread(bytes, 1, static_cast<size_t>(length), file) != static_cast<size_t>(length)) {
        delete[] bytes;
        bytes = nullptr;
    }
    std::fclose(file);
    if (bytes != nullptr) {
        *size = static_cast<uint32_t>(length);
    }
    return bytes;
}

bool IsEnhancedMetafile(const uint8_t* bytes, uint32_t size) {
    RecordReader header(RecordView{bytes, size});
    if (!header.Has(0, kHeaderBaseBytes)) {
        return false;
    }
    const uint32_t header_size = RecordSizeField(RecordView{bytes, size});
    return header.U32(0) == kEmrHeader && header_size >= kHeaderBaseBytes && header_size <= size &&
           header_size % 4 == 0 && header.U32(kHeaderSignatureOffset) == kEnhMetaSignature;
}

// Takes over `bytes` (allocated with new[]): the metafile owns them from here on, or they are
// freed when they hold no enhanced metafile.
void* Adopt(uint8_t* bytes, uint32_t size) {
    if (!IsEnhancedMetafile(bytes, size)) {
        delete[] bytes;
        return nullptr;
    }
    DirectMetafile* metafile = new (std::nothrow) DirectMetafile{bytes, size};
    if (metafile == nullptr) {
        delete[] bytes;
    }
    return metafile;
}

void* Open(const char16_t* path) {
    uint32_t size = 0;
    uint8_t* bytes = ReadWholeFile(path, &size);
    return bytes == nullptr ? nullptr : Adopt(bytes, size);
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
    const DirectMetafile* metafile = static_cast<DirectMetafile*>(handle);
    uint32_t offset = 0;
    while (metafile->size - offset >= kRecordHeadBytes) {
        const RecordView rest{metafile->bytes + offset, metafile->size - offset};
        const uint32_t size = RecordSizeField(rest);
        if (size < kRecordHeadBytes || size % 4 != 0 || size > rest.size) {
            break;
        }
        sink(context, rest.data, size);
        offset += size;
        if (RecordType(rest) == kEmrEof) {
            break;
        }
    }
    return 1;
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
        if (size < kRecordHeadBytes || size % 4 != 0 || size > rest.size) {
            return false;
        }
        end_of_file = end_of_file || RecordType(rest) == kEmrEof;
        offset += size;
    }
    return end_of_file;
}

namespace {

const MetafileReader kDirectReader = {Open, HeaderSize, CopyHeader, Enumerate, FileSize, Close};

}  // namespace

const MetafileReader& DirectMetafileReader() {
    return kDirectReader;
}

void* OpenDirectMetafileInMemory(const uint8_t* bytes, size_t size) {
    if (bytes == nullptr || size > UINT32_C(0xFFFFFFFF)) {
        return nullptr;
    }
    uint8_t* copy = new (std::nothrow) uint8_t[size == 0 ? 1 : size];
    if (copy == nullptr) {
        return nullptr;
    }
    std::memcpy(copy, bytes, size);
    return Adopt(copy, static_cast<uint32_t>(size));
}

#ifndef _WIN32
const MetafileReader& PlatformMetafileReader() {
    return kDirectReader;
}
#endif
