// The platform's own handle of a metafile for playback, made from the stored records.
#include "document/playback_handle_win.h"

#include <windows.h>

#include "document/playback_copy.h"

// The platform's player trusts every count, offset and object index a record holds: it is
// given the guarded copy, never the stored records themselves.
void* CreatePlaybackHandle(const RecordStore& store) {
    PlaybackCopy copy;
    if (BuildPlaybackCopy(store, &copy) == 0) {
        return nullptr;
    }
    return SetEnhMetaFileBits(static_cast<UINT>(copy.bytes.size()), copy.bytes.data());
}

void DeletePlaybackHandle(void* handle) {
    DeleteEnhMetaFile(static_cast<HENHMETAFILE>(handle));
}
