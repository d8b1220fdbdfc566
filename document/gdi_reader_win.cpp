// Reads an enhanced metafile through the platform's metafile functions.
#include <windows.h>

#include <new>

#include "document/emf_format.h"
#include "document/gdi_reader_win.h"
#include "document/metafile_document.h"
#include "document/playback_handle_win.h"

namespace {

struct GdiMetafile {
    HENHMETAFILE handle;
    uint32_t file_size;
};

struct EnumerationContext {
    RecordSink sink;
    void* context;
    bool past_end;
};

// Hands the platform the bytes the direct reader read and checked: the file is read once, and
// a file replaced after the check never reaches the platform.
void* OpenFromDirect(void* direct_metafile) {
    const RecordView file = DirectMetafileBytes(direct_metafile);
    const HENHMETAFILE handle = SetEnhMetaFileBits(file.size, file.data);
    if (handle == nullptr) {
        return nullptr;
    }
    GdiMetafile* metafile = new (std::nothrow) GdiMetafile{handle, file.size};
    if (metafile == nullptr) {
        DeleteEnhMetaFile(handle);
    }
    return metafile;
}

void* Open(const char16_t* path, LoadFailure* failure) {
    const MetafileReader& direct = DirectMetafileReader();
    void* read = direct.open(path, failure);
    if (read == nullptr) {
        return nullptr;
    }
    void* metafile = OpenFromDirect(read);
    direct.close(read);
    if (metafile == nullptr) {
        SayFailure(failure, "the platform's metafile functions refused it");
    }
    return metafile;
}

uint32_t HeaderSize(void* metafile) {
    return GetEnhMetaFileHeader(static_cast<GdiMetafile*>(metafile)->handle, 0, nullptr);
}

uint32_t CopyHeader(void* metafile, uint32_t size, uint8_t* out) {
    return GetEnhMetaFileHeader(static_cast<GdiMetafile*>(metafile)->handle, size,
                                reinterpret_cast<ENHMETAHEADER*>(out));
}

// The platform goes on past the end-of-file record when the header's byte count says there
// is more; the document holds the records up to that record only, as the direct reader does.
int CALLBACK OneRecord(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data) {
    EnumerationContext* context = reinterpret_cast<EnumerationContext*>(data);
    if (!context->past_end) {
        context->sink(context->context, reinterpret_cast<const uint8_t*>(record), record->nSize);
        context->past_end = record->iType == kEmrEof;
    }
    return 1;
}

int Enumerate(void* metafile, RecordSink sink, void* context) {
    EnumerationContext enumeration{sink, context, false};
    return EnumEnhMetaFile(nullptr, static_cast<GdiMetafile*>(metafile)->handle, OneRecord,
                           &enumeration, nullptr)
               ? 1
               : 0;
}

// The platform reads only well-formed files, which end in an end-of-file record.
ReadingStop Stop(void*) {
    return ReadingStop{};
}

uint32_t FileSize(void* metafile) {
    return static_cast<GdiMetafile*>(metafile)->file_size;
}

void Close(void* metafile) {
    GdiMetafile* gdi = static_cast<GdiMetafile*>(metafile);
    DeleteEnhMetaFile(gdi->handle);
    delete gdi;
}

const MetafileReader kGdiReader = {Open, HeaderSize, CopyHeader, Enumerate, Stop, FileSize, Close};

// The program's reader: the platform's functions read every well-formed file; the direct
// reader reads the others, which the platform would refuse, read past their end or never
// finish enumerating.
struct PlatformMetafile {
    const MetafileReader* reader;
    void* metafile;
};

void* OpenPlatform(const char16_t* path, LoadFailure* failure) {
    const MetafileReader& direct = DirectMetafileReader();
    void* metafile = direct.open(path, failure);
    if (metafile == nullptr) {
        return nullptr;
    }
    const MetafileReader* reader = &direct;
    if (DirectMetafileIsWellFormed(metafile)) {
        if (void* gdi = OpenFromDirect(metafile)) {
            direct.close(metafile);
            metafile = gdi;
            reader = &kGdiReader;
        }
    }
    PlatformMetafile* platform = new (std::nothrow) PlatformMetafile{reader, metafile};
    if (platform == nullptr) {
        SayFailure(failure, kFailureOutOfMemory);
        reader->close(metafile);
    }
    return platform;
}

PlatformMetafile* AsPlatform(void* metafile) {
    return static_cast<PlatformMetafile*>(metafile);
}

uint32_t PlatformHeaderSize(void* metafile) {
    return AsPlatform(metafile)->reader->header_size(AsPlatform(metafile)->metafile);
}

uint32_t PlatformCopyHeader(void* metafile, uint32_t size, uint8_t* out) {
    return AsPlatform(metafile)->reader->copy_header(AsPlatform(metafile)->metafile, size, out);
}

int PlatformEnumerate(void* metafile, RecordSink sink, void* context) {
    return AsPlatform(metafile)->reader->enumerate(AsPlatform(metafile)->metafile, sink, context);
}

ReadingStop PlatformStop(void* metafile) {
    return AsPlatform(metafile)->reader->stop(AsPlatform(metafile)->metafile);
}

uint32_t PlatformFileSize(void* metafile) {
    return AsPlatform(metafile)->reader->file_size(AsPlatform(metafile)->metafile);
}

void ClosePlatform(void* metafile) {
    AsPlatform(metafile)->reader->close(AsPlatform(metafile)->metafile);
    delete AsPlatform(metafile);
}

const MetafileReader kPlatformReader = {OpenPlatform,      PlatformHeaderSize, PlatformCopyHeader,
                                        PlatformEnumerate, PlatformStop,       PlatformFileSize,
                                        ClosePlatform};

}  // namespace

const MetafileReader& GdiMetafileReader() {
    return kGdiReader;
}

const MetafileReader& WindowsMetafileReader() {
    return kPlatformReader;
}

void UseWindowsDocumentPlatform() {
    InstallDocumentPlatform(
        DocumentPlatform{&kPlatformReader, CreatePlaybackHandle, DeletePlaybackHandle});
}
