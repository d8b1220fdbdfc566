// The platform's own handle of a metafile for playback, made from the stored records.
#include "document/playback_handle.h"

#ifdef _WIN32

#include <windows.h>

#include <cstring>
#include <vector>

#include "document/emf_format.h"

void* CreatePlaybackHandle(const RecordStore& store) {
    if (store.count() == 0) {
        return nullptr;
    }
    // The platform walks the records by the header's counts: they must describe this copy,
    // which may hold fewer records than the file.
    std::vector<uint8_t> copy(store.bytes(), store.bytes() + store.stored_bytes());
    const uint32_t bytes = store.stored_bytes();
    const uint32_t records = static_cast<uint32_t>(store.count());
    std::memcpy(copy.data() + kHeaderBytesOffset, &bytes, 4);
    std::memcpy(copy.data() + kHeaderRecordsOffset, &records, 4);
    return SetEnhMetaFileBits(bytes, copy.data());
}

void DeletePlaybackHandle(void* handle) {
    DeleteEnhMetaFile(static_cast<HENHMETAFILE>(handle));
}

#else

void* CreatePlaybackHandle(const RecordStore&) {
    return nullptr;
}

void DeletePlaybackHandle(void*) {}

#endif
