// The two ways of reading an enhanced metafile: the platform's metafile functions, or the
// file itself.
#pragma once

#include <cstddef>
#include <cstdint>

#include "document/load_failure.h"
#include "document/reading_stop.h"
#include "document/record_view.h"

// Receives one record during enumeration: its first byte and the number of bytes that the
// reader vouches for (at least the record's nSize). Returns 1 to carry on.
using RecordSink = int (*)(void* context, const uint8_t* record, uint32_t available);

// The operations the document needs of a reader. A metafile is the reader's own handle.
struct MetafileReader {
    // Opens the file at `path` as an enhanced metafile; nullptr when it cannot be read or is
    // not one, with why in `failure` when it is given.
    void* (*open)(const char16_t* path, LoadFailure* failure);
    // The size in bytes of the metafile's header record; 0 on failure.
    uint32_t (*header_size)(void* metafile);
    // Copies the first `size` bytes of the header record into `out`; the bytes copied.
    uint32_t (*copy_header)(void* metafile, uint32_t size, uint8_t* out);
    // Hands every record to `sink`, in file order, from the header record to the end-of-file
    // record inclusive. Non-zero when the enumeration completed.
    int (*enumerate)(void* metafile, RecordSink sink, void* context);
    // Where the last enumeration stopped short of the end-of-file record, if it did.
    ReadingStop (*stop)(void* metafile);
    // The size of the file in bytes: no header can make the document hold more than this.
    uint32_t (*file_size)(void* metafile);
    void (*close)(void* metafile);
};

// Reads the file as the format lays it out; available on every platform.
const MetafileReader& DirectMetafileReader();

// Opens a metafile held in memory as the direct reader opens a file holding those bytes, for
// the direct reader's other operations. The bytes are copied; nullptr when they are not an
// enhanced metafile, with why in `failure` when it is given.
void* OpenDirectMetafileInMemory(const uint8_t* bytes, size_t size, LoadFailure* failure = nullptr);

// Why bytes are not an enhanced metafile the direct reader opens, or kNone when they are one.
enum class MetafileRefusal {
    kNone,
    // Fewer bytes than the base header's 88.
    kTooShort,
    // The first record's iType is not 1.
    kNotHeader,
    // The header record's nSize is below 88, not a multiple of 4, or runs past the end.
    kHeaderSize,
    // dSignature is not " EMF".
    kSignature,
};
MetafileRefusal CheckEnhancedMetafile(const uint8_t* bytes, size_t size);

// Hands the records of a whole file held in memory to `sink` as the direct reader reads them,
// until the sink returns 0. Returns where the walk stopped short of an end-of-file record: the
// record it could not read and why (kNone after the end-of-file record or when the sink
// stopped it).
ReadingStop WalkMetafileBytes(const uint8_t* bytes, uint32_t size, RecordSink sink, void* context);

// The whole file a metafile opened by the direct reader holds.
RecordView DirectMetafileBytes(void* direct_metafile);

// Whether a metafile opened by the direct reader can be handed to the platform's metafile
// functions safely and be read by them as the direct reader reads it: its header's byte count
// lies inside the file, every record that starts below that count has a size of at least 8, a
// multiple of 4, that stays inside the file, and one of them is the end-of-file record. The
// platform trusts these sizes and walks the records by that count: on other files it may read
// past the file, never finish, or stop before records the file holds.
bool DirectMetafileIsWellFormed(void* direct_metafile);

// The reader the program uses: the one a platform installed (see InstallDocumentPlatform), or
// the direct reader.
const MetafileReader& PlatformMetafileReader();
