// The one loaded metafile: its path, its handle, a copy of its header and of every record.
#pragma once

#include <cstddef>
#include <cstdint>

#include "document/load_failure.h"
#include "document/metafile_reader.h"
#include "document/reading_stop.h"
#include "document/record_store.h"
#include "document/record_view.h"

// Paths are held in buffers of this many UTF-16 units; the longest path accepted has 258.
inline constexpr int kPathUnits = 260;
inline constexpr int kLongestPath = 258;

// What a platform lends every document: the reader LoadFile uses, and the handle its player
// plays, made from the stored records. Until a platform installs its own, files are read
// directly and the reader's handle is kept.
struct DocumentPlatform {
    const MetafileReader* reader;
    // nullptr where the platform plays no handle of its own.
    void* (*create_playback)(const RecordStore& store);
    void (*delete_playback)(void* handle);
};
void InstallDocumentPlatform(const DocumentPlatform& platform);
const DocumentPlatform& InstalledDocumentPlatform();

class MetafileDocument {
  public:
    MetafileDocument() = default;
    ~MetafileDocument() { Release(); }
    MetafileDocument(const MetafileDocument&) = delete;
    MetafileDocument& operator=(const MetafileDocument&) = delete;

    // Loads the file at `path` through the platform's reader. 1 when it was loaded. A path
    // that is missing or longer than 258 units, a file that cannot be opened as an enhanced
    // metafile, or a load that fails later (out of memory, say) changes nothing: the new file
    // is read beside the loaded one, which it replaces only once it is whole. No exception
    // leaves a load.
    int LoadFile(const char16_t* path);
    // The same through a given reader.
    int LoadFileWith(const MetafileReader& reader, const char16_t* path);
    // Loads a metafile held in memory through the direct reader, as if read from a file of
    // those bytes; `name` stands for the path. The bytes are copied.
    int LoadBytes(const uint8_t* bytes, size_t size, const char16_t* name);

    // Empties the store, frees the header copy, closes the metafile and empties the path.
    void Release();

    int IsLoaded() const { return metafile_ != nullptr ? 1 : 0; }
    const char16_t* Path() const { return path_; }
    // The header copy, or nullptr when nothing is loaded.
    const uint8_t* Header() const { return IsLoaded() ? header_ : nullptr; }
    uint32_t HeaderSize() const { return header_size_; }
    // The header's nRecords, or 0 when nothing is loaded.
    int32_t HeaderRecordCount() const;
    // The handle of the loaded metafile, or nullptr. Where the platform plays handles of its
    // own (an HENHMETAFILE on Windows) it is the one the canvas plays, made from a guarded copy
    // of the stored records in which every record that is not sound for the platform's player
    // stands replaced; the header copy and the store keep the true bytes. Elsewhere it is the
    // reader's own handle.
    void* Metafile() const { return metafile_; }
    RecordView RecordAt(int32_t index) const { return store_.RecordAt(index); }
    const RecordStore& Store() const { return store_; }
    // Where reading the loaded file stopped short of its end-of-file record, if it did.
    const ReadingStop& Stop() const { return stop_; }
    // Why the last load failed, in the words orvella-dump uses after "cannot load FILE: "
    // (plain ASCII); "" after a load that succeeded.
    const char* LastLoadFailure() const { return load_failure_.text; }
    // A number no other load of this process had, 0 when nothing is loaded: what was made from
    // one loaded file is known for that file's by it.
    uint32_t Serial() const { return serial_; }

  private:
    int Adopt(const MetafileReader& reader, void* metafile, const char16_t* path, int length);
    int ReadAll(const MetafileReader& reader);
    int BuildStore(const MetafileReader& reader);
    int UsePlaybackHandle(const MetafileReader& reader, const DocumentPlatform& platform);
    void Swap(MetafileDocument& other);

    char16_t path_[kPathUnits] = {};
    void* metafile_ = nullptr;
    uint32_t serial_ = 0;
    uint8_t* header_ = nullptr;
    uint32_t header_size_ = 0;
    RecordStore store_;
    ReadingStop stop_;
    // Not exchanged by Swap: it belongs to this document's last load.
    LoadFailure load_failure_;
    // Closes metafile_: the reader's close, or the playback handle's.
    void (*close_metafile_)(void*) = nullptr;
};
